#include "app/RunOnce.h"

#include <windows.h>

#include <string>

#include "base/Trace.h"

namespace zephtune {

bool ActivateRunningInstance(std::wstring_view className, bool restore) noexcept {
  return Guarded(L"ActivateRunningInstance", false, [&] {
    const std::wstring name(className);
    HWND window = FindWindowW(name.c_str(), nullptr);
    if (window == nullptr) return false;
    if (restore) {
      ShowWindow(window, SW_RESTORE);
      SetForegroundWindow(window);
    }
    return true;
  });
}

}  // namespace zephtune
