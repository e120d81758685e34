#pragma once

namespace framework {

// A part of a window description. The window tells each of its components when the stored
// properties start being applied and when they all are, so that work that depends on several
// properties runs once, at the end.
class Component {
public:
  virtual void BeginLoading() {}
  virtual void Loaded() = 0;

protected:
  ~Component() = default;
};

} // namespace framework
