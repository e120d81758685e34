#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <utility>

namespace framework {

// A Windows handle closed on destruction; INVALID_HANDLE_VALUE and null both mean none, as
// CreateFileW and the other calls return one or the other.
class UniqueHandle {
public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
  ~UniqueHandle() {
    if (*this) ::CloseHandle(m_handle);
  }
  UniqueHandle(UniqueHandle &&other) noexcept
      : m_handle(std::exchange(other.m_handle, INVALID_HANDLE_VALUE)) {}
  UniqueHandle &operator=(UniqueHandle &&) = delete;

  HANDLE get() const { return m_handle; }
  explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
  // A close that fails may have lost written data.
  bool close() { return ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0; }

private:
  HANDLE m_handle;
};

} // namespace framework
