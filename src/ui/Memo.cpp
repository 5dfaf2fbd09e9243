#include "ui/Controls.h"

namespace zephtune::ui {

Memo::Memo(Form& owner, std::wstring_view name, ControlHost& parent) : WinControl(owner, name, parent, true) {}

DWORD Memo::Style() const noexcept {
  // Without ES_AUTOHSCROLL the lines wrap at the memo's width.
  return WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_LEFT;
}

void Memo::SetText(std::wstring_view text) {
  text_.assign(text);
  if (Handle() != nullptr) SetWindowTextW(Handle(), text_.c_str());
}

void Memo::SetBorder(bool border) {
  border_ = border;
  if (Handle() == nullptr) return;
  const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE,
                    border ? exStyle | WS_EX_CLIENTEDGE : exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace zephtune::ui
