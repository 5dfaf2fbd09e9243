#pragma once

#include <windows.h>

namespace zephtune::ui {

class ApplicationEvents;

// Registers the common controls the forms use (Common Controls 6 via the manifest).
void InitializeCommonControls() noexcept;

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop() noexcept;

// Processes every message that is waiting and returns at once when none is.
void ProcessMessages() noexcept;

// Handles one message as the message loop does: the keyboard shortcut hooks first, then
// the dialog keys (Tab, Enter, accelerators) of the message's top-level window, then the
// window itself. For loops of their own, such as a modal window's.
void DispatchApplicationMessage(MSG& message) noexcept;

// The shortcut hooks that see key presses before their windows (ApplicationEvents does this).
void AddShortCutHook(ApplicationEvents& hook);
void RemoveShortCutHook(ApplicationEvents& hook) noexcept;

}  // namespace zephtune::ui
