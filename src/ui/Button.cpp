#include "ui/Controls.h"
#include "ui/Form.h"

namespace zephtune::ui {
namespace {

// Not declared for Windows XP; Vista and later show the administrator shield.
constexpr UINT kSetShield = 0x160C;  // BCM_SETSHIELD

}  // namespace

Button::Button(Form& owner, std::wstring_view name, ControlHost& parent) : WinControl(owner, name, parent, true) {}

DWORD Button::Style() const noexcept {
  // BS_NOTIFY reports focus changes, by which the default frame moves to the focused button.
  return WS_TABSTOP | BS_NOTIFY | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void Button::SetText(std::wstring_view text) {
  text_.assign(text);
  if (Handle() != nullptr) SetWindowTextW(Handle(), text_.c_str());
}

void Button::SetDefault(bool isDefault) {
  default_ = isDefault;
  Form& form = Owner();
  if (Handle() != nullptr) form.ButtonFocusChanged(form.focusedButton_);
}

void Button::SetShield(bool shield) {
  shield_ = shield;
  if (Handle() != nullptr) SendMessageW(Handle(), kSetShield, 0, shield ? TRUE : FALSE);
}

void Button::HandleCreated() {
  if (shield_) SendMessageW(Handle(), kSetShield, 0, TRUE);
}

void Button::ShowAsDefault(bool asDefault) noexcept {
  if (Handle() == nullptr) return;
  SendMessageW(Handle(), BM_SETSTYLE, BS_NOTIFY | (asDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), TRUE);
}

void Button::Click() {
  if (modalResult_ != 0) Owner().SetModalResult(modalResult_);
  if (onClick) onClick(*this);
}

void Button::Command(WORD code) {
  switch (code) {
    case BN_CLICKED:
    case BN_DOUBLECLICKED:  // with BS_NOTIFY the second click of a quick pair comes as this
      Click();
      break;
    case BN_SETFOCUS:
      Owner().ButtonFocusChanged(this);
      break;
    case BN_KILLFOCUS:
      Owner().ButtonFocusChanged(nullptr);
      break;
    default:
      break;
  }
}

}  // namespace zephtune::ui
