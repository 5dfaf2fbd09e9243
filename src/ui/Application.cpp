#include "ui/Application.h"

#include <windows.h>
#include <commctrl.h>

namespace zephtune::ui {
namespace {

void Dispatch(MSG& message) noexcept {
  // Tab, arrow keys, Enter and accelerators move through the top-level form's controls.
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root != nullptr && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void InitializeCommonControls() noexcept {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS |
                   ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
}

int RunMessageLoop() noexcept {
  MSG message{};
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    if (result == -1) return 0;
    Dispatch(message);
  }
}

void ProcessMessages() noexcept {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the message loop that owns it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

}  // namespace zephtune::ui
