#pragma once

namespace zephtune::ui {

// Registers the common controls the forms use (Common Controls 6 via the manifest).
void InitializeCommonControls() noexcept;

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop() noexcept;

// Processes every message that is waiting and returns at once when none is.
void ProcessMessages() noexcept;

}  // namespace zephtune::ui
