#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace zephtune::testing {

// A form for the tests: a plain frame, a desktop font that the test may feed in, and
// hooks for its show handler and its messages.
class TestForm : public ui::Form {
 public:
  explicit TestForm(std::wstring_view name, int clientWidth = 400, int clientHeight = 300,
                    ui::CloseAction closeAction = ui::CloseAction::Destroy);

  using ui::Form::SetDpi;

  std::optional<ui::FontSpec> desktopFont;
  std::function<void()> onShow;
  // Sees every message the form passes on; true with `result` set when it handled it.
  std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> onMessage;

 protected:
  ui::FontSpec DesktopFontSpec() const override;
  void FormShow() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Runs the waiting messages until `done` holds or `timeoutMs` passes; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Runs the messages of the next `milliseconds`.
void PumpFor(DWORD milliseconds);

// The face name and height of the font a window uses (WM_GETFONT).
LOGFONTW WindowFont(HWND window);

// What the screen shows of a window (frame included), as 32-bit pixels, top row first.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;  // 0x00RRGGBB
  DWORD At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0x00FFFFFF; }
};
Capture CaptureWindow(HWND window);
// Writes a capture as a PNG file; false when the file cannot be written.
bool WritePng(const Capture& capture, const std::wstring& path);

}  // namespace zephtune::testing
