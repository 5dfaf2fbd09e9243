#include "base/Trace.h"

#include <windows.h>

#include <exception>
#include <string>

namespace zephtune {

void TraceSwallowed([[maybe_unused]] const wchar_t* where) noexcept {
#ifndef NDEBUG
  try {
    std::wstring text = L"Zephtune: failure swallowed in ";
    text += where;
    if (std::exception_ptr current = std::current_exception()) {
      try {
        std::rethrow_exception(current);
      } catch (const std::exception& error) {
        text += L": ";
        for (const char* p = error.what(); *p; ++p) text += static_cast<wchar_t>(static_cast<unsigned char>(*p));
      } catch (...) {
      }
    }
    text += L"\n";
    OutputDebugStringW(text.c_str());
  } catch (...) {
  }
#endif
}

}  // namespace zephtune
