#include <algorithm>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace zephtune::ui {

MenuItem::MenuItem(Form& owner, std::wstring_view name, PopupMenu& menu) : Component(owner, name), menu_(menu) {
  menu.items_.push_back(this);
}

MenuItem::~MenuItem() {
  auto& items = menu_.items_;
  items.erase(std::remove(items.begin(), items.end(), this), items.end());
}

void MenuItem::Click() {
  if (onClick) onClick(*this);
}

PopupMenu::PopupMenu(Form& owner, std::wstring_view name) : Component(owner, name) {}

UniqueMenu PopupMenu::CreateMenuHandle() const {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const MenuItem& item = *items_[i];
    if (item.IsSeparator()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      const std::wstring text = item.Text();
      AppendMenuW(menu.get(), MF_STRING, i + 1, text.c_str());
    }
  }
  return menu;
}

void PopupMenu::Popup(POINT point) {
  HWND owner = Owner().Handle();
  if (owner == nullptr) return;
  const UniqueMenu menu = CreateMenuHandle();
  if (!menu) return;
  const UINT flags = TPM_LEFTBUTTON | TPM_TOPALIGN | TPM_VERPOSANIMATION | TPM_RETURNCMD |
                     (rightAligned_ ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  // The choice comes back as the result rather than as WM_COMMAND, so it needs no routing.
  const auto command = static_cast<std::size_t>(TrackPopupMenuEx(menu.get(), flags, point.x, point.y, owner, nullptr));
  if (command >= 1 && command <= items_.size()) items_[command - 1]->Click();
}

}  // namespace zephtune::ui
