#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Control.h"
#include "ui/Handles.h"

namespace zephtune::ui {

class ImageList;
class PopupMenu;

enum class TextAlignment { Left, Right, Center };

// How a label lays out its text.
struct LabelStyle {
  bool autoSize = true;        // the label takes the size of its text
  bool wordWrap = false;       // lines break at the label's width (auto-size then sets only the height)
  bool showAccelChar = true;   // "&" marks the accelerator and "&&" shows one "&"; else shown as is
  bool transparent = false;    // what lies beneath shows through; else the parent's colour
  bool centerVertically = false;
  TextAlignment alignment = TextAlignment::Left;  // Right: an auto-sized label grows to the left
  bool operator==(const LabelStyle&) const = default;
};

// A windowless text.
class Label : public GraphicControl {
 public:
  Label(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::Label; }

  void SetText(std::wstring_view text) override;
  std::wstring Text() const override { return text_; }
  const LabelStyle& Style() const noexcept { return style_; }
  void SetStyle(const LabelStyle& style);

  void Paint(HDC dc) override;

 protected:
  RECT CalculateBounds() override;

 private:
  UINT TextFlags() const noexcept;
  // The text's extent with `flags`, the width limited to `width` when wrapping.
  SIZE MeasureText(UINT flags, int width);

  std::wstring text_;
  LabelStyle style_;
};

// A windowless PNG picture, stretched to the control's size.
class Picture : public GraphicControl {
 public:
  Picture(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::Picture; }

  // The PNG resource (type RCDATA or "PNG") of the program's module.
  void SetResource(std::wstring_view resourceName);
  const std::wstring& Resource() const noexcept { return resource_; }
  // True once the picture has been decoded at the control's size.
  bool Loaded() const noexcept { return static_cast<bool>(image_); }

  void Paint(HDC dc) override;

 private:
  void Load();

  std::wstring resource_;
  PixelBitmap image_;
  SIZE failedSize_{-1, -1};  // a decoding that failed is not retried at the same size
};

enum class BevelShape {
  TopLine,    // a lowered line along the top edge
  RightLine,  // a lowered line along the right edge
};

// A windowless separating line.
class Bevel : public GraphicControl {
 public:
  Bevel(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::Bevel; }
  BevelShape Shape() const noexcept { return shape_; }
  void SetShape(BevelShape shape);
  void Paint(HDC dc) override;

 private:
  BevelShape shape_ = BevelShape::TopLine;
};

// A windowed container with its own background colour; hosts windowless controls too.
class Panel : public WinControl, public ControlHost {
 public:
  Panel(Form& owner, std::wstring_view name, ControlHost& parent);
  ~Panel() override;
  ComponentKind Kind() const noexcept override { return ComponentKind::Panel; }

  // The caption, drawn in the middle.
  void SetText(std::wstring_view text) override;
  std::wstring Text() const override { return text_; }
  COLORREF Color() const noexcept { return color_; }
  void SetColor(COLORREF color);

  HWND HostHandle() const noexcept override { return Handle(); }
  Form& HostForm() const noexcept override { return Owner(); }
  FontSpec HostFont() const override { return Font(); }
  COLORREF HostColor() const noexcept override { return ResolveColor(color_); }
  HBRUSH HostBrush() const noexcept override;

 protected:
  const wchar_t* WindowClass() const noexcept override;
  DWORD Style() const noexcept override;
  DWORD ExStyle() const noexcept override { return WS_EX_CONTROLPARENT; }
  void* CreationParameter() noexcept override { return this; }
  void PaintBackground(HDC dc, const RECT& area) override;
  void FontChanged() override;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::wstring text_;
  COLORREF color_ = SystemColor(COLOR_BTNFACE);
  UniqueBrush brush_;  // for RGB colours; system colours use the system's brushes
};

// A push button.
class Button : public WinControl {
 public:
  Button(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::Button; }

  void SetText(std::wstring_view text) override;
  std::wstring Text() const override { return text_; }
  // The form's default button: Enter presses it while the focus is on no other button.
  bool IsDefault() const noexcept { return default_; }
  void SetDefault(bool isDefault);
  // Pressing the button ends its form's modal showing with this result (0: it does not).
  int ModalResult() const noexcept { return modalResult_; }
  void SetModalResult(int result) noexcept { modalResult_ = result; }
  // The administrator shield beside the caption (Windows Vista and later).
  bool Shield() const noexcept { return shield_; }
  void SetShield(bool shield);

  EventHandler onClick;
  // What pressing the button does: the modal result first, then onClick.
  void Click();

 protected:
  const wchar_t* WindowClass() const noexcept override { return L"BUTTON"; }
  DWORD Style() const noexcept override;
  std::wstring InitialText() const override { return text_; }
  void HandleCreated() override;
  void Command(WORD code) override;

 private:
  friend class Form;
  // Shows the default frame (BS_DEFPUSHBUTTON) or not.
  void ShowAsDefault(bool asDefault) noexcept;

  std::wstring text_;
  bool default_ = false;
  int modalResult_ = 0;
  bool shield_ = false;
};

// A set of same-sized images from one PNG strip, for combo boxes.
class ImageList : public Component {
 public:
  ImageList(Form& owner, std::wstring_view name);
  ~ImageList() override;
  ComponentKind Kind() const noexcept override { return ComponentKind::ImageList; }

  // The strip: a PNG resource holding the images side by side, each `size` x `size`
  // pixels at 96 DPI (scaled to the form's DPI).
  void SetImages(std::wstring_view resourceName, int size);
  int ImageSize() const noexcept { return size_; }
  // The system image list, made when first needed; null when the strip cannot be read.
  HIMAGELIST Handle();
  int Count();

 private:
  std::wstring resource_;
  int size_ = 16;
  bool tried_ = false;
  UniqueImageList list_;
};

// A drop-down list with an image beside each item (ComboBoxEx); no typing.
class ComboBox : public WinControl {
 public:
  ComboBox(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::ComboBox; }

  ImageList* Images() const noexcept { return images_; }
  void SetImages(ImageList* images);
  void AddItem(std::wstring_view text, int image);
  void ClearItems();
  int ItemCount() const noexcept { return static_cast<int>(items_.size()); }
  std::wstring ItemText(int index) const;
  // The selected item, -1 for none.
  int ItemIndex() const noexcept;
  // Selects an item; an index outside the list leaves no item selected.
  void SetItemIndex(int index);

 protected:
  const wchar_t* WindowClass() const noexcept override;
  DWORD Style() const noexcept override;
  int CreationHeight() const noexcept override;
  void HandleCreated() override;
  void FontChanged() override;

 private:
  struct Item {
    std::wstring text;
    int image;
  };
  void InsertItem(int position, const Item& item) noexcept;
  // Lets the drop-down list show the items (up to eight) without a scroll bar.
  void FitDropDownHeight() noexcept;

  std::vector<Item> items_;
  ImageList* images_ = nullptr;
  int itemIndex_ = -1;
};

struct TrackBarSettings {
  int minimum = 0;
  int maximum = 10;
  int pageSize = 2;
  int thumbLength = 20;       // at 96 DPI
  bool ticksBothSides = false;
  bool operator==(const TrackBarSettings&) const = default;
};

// A horizontal track bar with a tick mark at every position.
class TrackBar : public WinControl {
 public:
  TrackBar(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::TrackBar; }
  const TrackBarSettings& Settings() const noexcept { return settings_; }
  void SetSettings(const TrackBarSettings& settings);
  int Position() const noexcept;
  // Moves the thumb; a position outside the range goes to its nearer end.
  void SetPosition(int position);

 protected:
  const wchar_t* WindowClass() const noexcept override;
  DWORD Style() const noexcept override;
  void HandleCreated() override;

 private:
  TrackBarSettings settings_;
  int position_ = 0;
};

// A smooth (continuous) progress bar.
class ProgressBar : public WinControl {
 public:
  ProgressBar(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::ProgressBar; }
  void SetRange(int minimum, int maximum);
  int Position() const noexcept;
  void SetPosition(int position);

 protected:
  const wchar_t* WindowClass() const noexcept override;
  DWORD Style() const noexcept override { return PBS_SMOOTH; }
  void HandleCreated() override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

// A multi-line text box that the user reads but does not edit; word-wrapped, with a
// vertical scroll bar, on its parent's background.
class Memo : public WinControl {
 public:
  Memo(Form& owner, std::wstring_view name, ControlHost& parent);
  ComponentKind Kind() const noexcept override { return ComponentKind::Memo; }
  // The whole text: all lines are replaced.
  void SetText(std::wstring_view text) override;
  std::wstring Text() const override { return text_; }
  bool Border() const noexcept { return border_; }
  void SetBorder(bool border);

 protected:
  const wchar_t* WindowClass() const noexcept override { return L"EDIT"; }
  DWORD Style() const noexcept override;
  DWORD ExStyle() const noexcept override { return border_ ? WS_EX_CLIENTEDGE : 0; }
  std::wstring InitialText() const override { return text_; }

 private:
  std::wstring text_;
  bool border_ = true;
};

// An item of a pop-up menu; the caption "-" makes a separator line.
class MenuItem : public Component {
 public:
  MenuItem(Form& owner, std::wstring_view name, PopupMenu& menu);
  ~MenuItem() override;
  ComponentKind Kind() const noexcept override { return ComponentKind::MenuItem; }
  void SetText(std::wstring_view text) override { text_.assign(text); }
  std::wstring Text() const override { return text_; }
  bool IsSeparator() const noexcept { return text_ == L"-"; }

  EventHandler onClick;
  void Click();

 private:
  PopupMenu& menu_;
  std::wstring text_;
};

// A menu that opens at a point of the screen.
class PopupMenu : public Component {
 public:
  PopupMenu(Form& owner, std::wstring_view name);
  ComponentKind Kind() const noexcept override { return ComponentKind::PopupMenu; }
  const std::vector<MenuItem*>& Items() const noexcept { return items_; }
  // Right-aligned: the menu's right edge lies at the point; else its left edge.
  bool RightAligned() const noexcept { return rightAligned_; }
  void SetRightAligned(bool rightAligned) noexcept { rightAligned_ = rightAligned; }

  // Opens the menu below `point` (screen coordinates), opening downwards, and returns
  // when it closes, after the chosen item's click.
  void Popup(POINT point);
  // The menu as Windows shows it: item i has the command i + 1.
  UniqueMenu CreateMenuHandle() const;

 private:
  friend class MenuItem;
  std::vector<MenuItem*> items_;
  bool rightAligned_ = false;
};

// The program's keyboard shortcut hook: onShortCut sees every key press (WM_KEYDOWN,
// WM_SYSKEYDOWN) before the window it is meant for; setting `handled` keeps it from
// that window.
class ApplicationEvents : public Component {
 public:
  ApplicationEvents(Form& owner, std::wstring_view name);
  ~ApplicationEvents() override;
  ComponentKind Kind() const noexcept override { return ComponentKind::ApplicationEvents; }

  std::function<void(const MSG& message, bool& handled)> onShortCut;
};

}  // namespace zephtune::ui
