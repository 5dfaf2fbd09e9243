#include <algorithm>

#include "ui/Controls.h"

namespace zephtune::ui {

ProgressBar::ProgressBar(Form& owner, std::wstring_view name, ControlHost& parent)
    : WinControl(owner, name, parent, false) {}

const wchar_t* ProgressBar::WindowClass() const noexcept { return PROGRESS_CLASSW; }

void ProgressBar::HandleCreated() {
  SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(minimum_), maximum_);
  SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void ProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  position_ = std::clamp(position_, minimum_, maximum_);
  if (Handle() != nullptr) HandleCreated();
}

int ProgressBar::Position() const noexcept {
  if (Handle() == nullptr) return position_;
  return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
  if (Handle() != nullptr) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace zephtune::ui
