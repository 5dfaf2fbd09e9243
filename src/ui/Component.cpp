#include "ui/Component.h"

#include "ui/Form.h"

namespace zephtune::ui {
namespace {

wchar_t LowerAscii(wchar_t c) noexcept { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

}  // namespace

Component::Component(Form& owner, std::wstring_view name) : owner_(owner), name_(name) { owner.AddComponent(*this); }

Component::~Component() { owner_.RemoveComponent(*this); }

COLORREF ResolveColor(COLORREF color) noexcept {
  if ((color & kSystemColorFlag) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

bool SameComponentName(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace zephtune::ui
