#include "ui/Component.h"

#include "ui/Form.h"

namespace zephtune::ui {

Component::Component(Form& owner, std::wstring_view name) : owner_(owner), name_(name) { owner.AddComponent(*this); }

Component::~Component() { owner_.RemoveComponent(*this); }

COLORREF ResolveColor(COLORREF color) noexcept {
  if ((color & kSystemColorFlag) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

}  // namespace zephtune::ui
