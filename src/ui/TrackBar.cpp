#include <algorithm>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace zephtune::ui {

TrackBar::TrackBar(Form& owner, std::wstring_view name, ControlHost& parent)
    : WinControl(owner, name, parent, false) {}

const wchar_t* TrackBar::WindowClass() const noexcept { return TRACKBAR_CLASSW; }

DWORD TrackBar::Style() const noexcept {
  return WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_FIXEDLENGTH | (settings_.ticksBothSides ? TBS_BOTH : TBS_BOTTOM);
}

void TrackBar::HandleCreated() {
  HWND window = Handle();
  SendMessageW(window, TBM_SETRANGEMIN, FALSE, settings_.minimum);
  SendMessageW(window, TBM_SETRANGEMAX, FALSE, settings_.maximum);
  SendMessageW(window, TBM_SETTICFREQ, 1, 0);
  SendMessageW(window, TBM_SETPAGESIZE, 0, settings_.pageSize);
  SendMessageW(window, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Owner().Scale(settings_.thumbLength)), 0);
  SendMessageW(window, TBM_SETPOS, TRUE, position_);
}

void TrackBar::SetSettings(const TrackBarSettings& settings) {
  settings_ = settings;
  if (settings_.maximum < settings_.minimum) settings_.maximum = settings_.minimum;
  position_ = std::clamp(position_, settings_.minimum, settings_.maximum);
  if (Handle() == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(TBS_BOTH | TBS_BOTTOM);
  SetWindowLongPtrW(Handle(), GWL_STYLE, style | (settings_.ticksBothSides ? TBS_BOTH : TBS_BOTTOM));
  HandleCreated();
}

int TrackBar::Position() const noexcept {
  if (Handle() == nullptr) return position_;
  return static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
}

void TrackBar::SetPosition(int position) {
  position_ = std::clamp(position, settings_.minimum, settings_.maximum);
  if (Handle() != nullptr) SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

}  // namespace zephtune::ui
