#include <algorithm>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace zephtune::ui {
namespace {

constexpr int kDropDownItems = 8;  // items the open list shows before it scrolls

}  // namespace

ComboBox::ComboBox(Form& owner, std::wstring_view name, ControlHost& parent)
    : WinControl(owner, name, parent, true) {}

const wchar_t* ComboBox::WindowClass() const noexcept { return WC_COMBOBOXEXW; }

DWORD ComboBox::Style() const noexcept { return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST; }

int ComboBox::CreationHeight() const noexcept {
  // The window's height is the closed field plus the open list; Windows sizes the field.
  if (Handle() == nullptr) return Owner().Scale(200);
  const auto field = static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const auto item = static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0));
  if (field <= 0 || item <= 0) return Owner().Scale(200);
  const int visible = std::clamp(ItemCount(), 1, kDropDownItems);
  return field + item * visible + 2 * GetSystemMetrics(SM_CYEDGE) + 2;
}

void ComboBox::FitDropDownHeight() noexcept {
  if (Handle() == nullptr) return;
  const RECT bounds = BoundsRect();
  SetWindowPos(Handle(), nullptr, 0, 0, bounds.right - bounds.left, CreationHeight(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboBox::InsertItem(int position, const Item& item) noexcept {
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
  entry.iItem = position;
  entry.pszText = const_cast<wchar_t*>(item.text.c_str());
  entry.iImage = item.image;
  entry.iSelectedImage = item.image;
  SendMessageW(Handle(), CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

void ComboBox::HandleCreated() {
  if (images_ != nullptr) {
    if (HIMAGELIST list = images_->Handle()) SendMessageW(Handle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  }
  for (std::size_t i = 0; i < items_.size(); ++i) InsertItem(static_cast<int>(i), items_[i]);
  SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  FitDropDownHeight();
}

void ComboBox::FontChanged() {
  WinControl::FontChanged();
  FitDropDownHeight();
}

void ComboBox::SetImages(ImageList* images) {
  images_ = images;
  if (Handle() == nullptr) return;
  HIMAGELIST list = images != nullptr ? images->Handle() : nullptr;
  SendMessageW(Handle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  FitDropDownHeight();
}

void ComboBox::AddItem(std::wstring_view text, int image) {
  items_.push_back(Item{std::wstring(text), image});
  if (Handle() == nullptr) return;
  InsertItem(static_cast<int>(items_.size()) - 1, items_.back());
  FitDropDownHeight();
}

void ComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (Handle() == nullptr) return;
  SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  FitDropDownHeight();
}

std::wstring ComboBox::ItemText(int index) const {
  if (index < 0 || index >= ItemCount()) return std::wstring();
  return items_[static_cast<std::size_t>(index)].text;
}

int ComboBox::ItemIndex() const noexcept {
  if (Handle() == nullptr) return itemIndex_;
  return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
  // Windows clears the selection for an index past the end, Wine keeps the old one:
  // asking for -1 clears it on both.
  if (index < 0 || index >= ItemCount()) index = -1;
  itemIndex_ = index;
  if (Handle() != nullptr) SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace zephtune::ui
