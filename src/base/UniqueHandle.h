#pragma once

#include <utility>

namespace zephtune {

// One owner for one Win32 handle. Traits give the handle type, the value that means
// "none" and how to close it:
//   struct Traits { using Handle = HKEY; static Handle Invalid(); static void Close(Handle); };
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  // Gives up ownership without closing.
  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  void reset(Handle handle = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  // For APIs that return a handle through an out-parameter; closes the current one first.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

}  // namespace zephtune
