#pragma once

#include <exception>
#include <utility>

namespace zephtune {

// Services never let a failure escape; in debug builds the swallowed failure is
// written to the debugger so a bug does not vanish without a trace.
void TraceSwallowed(const wchar_t* where) noexcept;

// Runs `body` and returns its result, or `fallback` when it throws.
template <typename Result, typename Body>
Result Guarded(const wchar_t* where, Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    TraceSwallowed(where);
    return fallback;
  }
}

// The same for bodies without a result.
template <typename Body>
void Guarded(const wchar_t* where, Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    TraceSwallowed(where);
  }
}

}  // namespace zephtune
