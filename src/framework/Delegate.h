#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace framework {

template <typename Signature> class Delegate;

// An event handler: code bound to an object. Handlers compare by their code part only, so
// assigning the handler a component already has can be recognised and ignored.
template <typename R, typename... Args> class Delegate<R(Args...)> {
public:
  Delegate() = default;

  // Binds a member function; the method itself is the code part.
  template <auto Method, typename T> static Delegate bind(T *object) {
    Delegate d;
    d.m_object = object;
    d.m_thunk = &invokeMember<Method, T>;
    return d;
  }

  // Binds any callable; `code` stands for its code part and must be non-null. Two delegates made
  // with the same `code` compare equal whatever callable they carry.
  static Delegate fromFunction(std::function<R(Args...)> fn, const void *code) {
    Delegate d;
    d.m_fn = std::make_shared<std::function<R(Args...)>>(std::move(fn));
    d.m_thunk = &invokeFunction;
    d.m_code = code;
    return d;
  }

  explicit operator bool() const { return m_thunk != nullptr; }

  // Compares code parts only: the bound object is not looked at.
  bool operator==(const Delegate &other) const {
    return m_thunk == other.m_thunk && m_code == other.m_code;
  }

  void *object() const { return m_object; }

  R operator()(Args... args) const { return m_thunk(*this, std::forward<Args>(args)...); }

private:
  using Thunk = R (*)(const Delegate &, Args...);

  template <auto Method, typename T> static R invokeMember(const Delegate &d, Args... args) {
    return (static_cast<T *>(d.m_object)->*Method)(std::forward<Args>(args)...);
  }
  static R invokeFunction(const Delegate &d, Args... args) {
    return (*d.m_fn)(std::forward<Args>(args)...);
  }

  void *m_object = nullptr;
  Thunk m_thunk = nullptr;
  const void *m_code = nullptr;
  std::shared_ptr<std::function<R(Args...)>> m_fn;
};

} // namespace framework
