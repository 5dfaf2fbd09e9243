#include "ui/Application.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/Trace.h"
#include "ui/Controls.h"

namespace zephtune::ui {
namespace {

std::vector<ApplicationEvents*>& ShortCutHooks() noexcept {
  static std::vector<ApplicationEvents*> hooks;
  return hooks;
}

// True when a hook marked the key press handled.
bool RunShortCutHooks(const MSG& message) noexcept {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  bool handled = false;
  Guarded(L"Keyboard shortcut hook", [&] {
    // By index: a hook may add or remove hooks.
    const std::vector<ApplicationEvents*>& hooks = ShortCutHooks();
    for (std::size_t i = 0; i < hooks.size(); ++i) {
      ApplicationEvents* hook = hooks[i];
      if (hook->onShortCut) hook->onShortCut(message, handled);
    }
  });
  return handled;
}

}  // namespace

void InitializeCommonControls() noexcept {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_PROGRESS_CLASS |
                   ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
}

void DispatchApplicationMessage(MSG& message) noexcept {
  if (RunShortCutHooks(message)) return;
  // Tab, arrow keys, Enter and accelerators move through the top-level form's controls.
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root != nullptr && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop() noexcept {
  MSG message{};
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    if (result == -1) return 0;
    DispatchApplicationMessage(message);
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
    DispatchApplicationMessage(message);
  }
}

ApplicationEvents::ApplicationEvents(Form& owner, std::wstring_view name) : Component(owner, name) {
  AddShortCutHook(*this);
}

ApplicationEvents::~ApplicationEvents() { RemoveShortCutHook(*this); }

void AddShortCutHook(ApplicationEvents& hook) { ShortCutHooks().push_back(&hook); }

void RemoveShortCutHook(ApplicationEvents& hook) noexcept {
  auto& hooks = ShortCutHooks();
  hooks.erase(std::remove(hooks.begin(), hooks.end(), &hook), hooks.end());
}

}  // namespace zephtune::ui
