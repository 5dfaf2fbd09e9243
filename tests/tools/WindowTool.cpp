// Finds and closes the program's windows for the scripts that drive it from Linux:
//   zt_window_tool wait CLASS [TIMEOUT_MS]  prints "left top width height" of the visible window
//   zt_window_tool close CLASS             asks every window of the class to close
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

HWND VisibleWindow(const wchar_t* windowClass) {
  for (HWND window = FindWindowW(windowClass, nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: zt_window_tool wait|close CLASS [TIMEOUT_MS]\n");
    return 2;
  }
  const wchar_t* windowClass = argv[2];
  if (std::wcscmp(argv[1], L"close") == 0) {
    for (HWND window = FindWindowW(windowClass, nullptr); window != nullptr; window = FindWindowW(windowClass, nullptr)) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
      if (FindWindowW(windowClass, nullptr) == window) return 1;
    }
    return 0;
  }
  const DWORD timeout = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 30000;
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = VisibleWindow(windowClass)) {
      RECT frame{};
      GetWindowRect(window, &frame);
      std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
      return 0;
    }
    if (GetTickCount() - start > timeout) return 1;
    Sleep(50);
  }
}
