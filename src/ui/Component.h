#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace zephtune::ui {

class Form;

// What a component is, for the services that treat kinds differently (captions, fonts).
enum class ComponentKind {
  Label,
  Panel,
  Button,
  MenuItem,
  Memo,
  Picture,
  Bevel,
  ComboBox,
  TrackBar,
  ProgressBar,
  ImageList,
  PopupMenu,
  ApplicationEvents,
};

// Colours as the designs give them: an RGB value or one of the system's colours, which
// is looked up when drawn so that a change of the colour scheme shows at once.
inline constexpr COLORREF kSystemColorFlag = 0x80000000;
constexpr COLORREF SystemColor(int index) noexcept { return kSystemColorFlag | static_cast<COLORREF>(index); }
inline constexpr COLORREF kSystemTextColor = SystemColor(COLOR_WINDOWTEXT);
// The RGB value of a design colour.
COLORREF ResolveColor(COLORREF color) noexcept;

// A font as the window designs give it: face, size in points, style, colour, character set.
struct FontSpec {
  std::wstring face = L"Tahoma";
  int size = 8;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  COLORREF color = kSystemTextColor;
  BYTE charset = DEFAULT_CHARSET;
  bool operator==(const FontSpec&) const = default;
};

// A named part of a form. The form owns its components and keeps them in creation
// order; names are unique within a form and matched without regard to the case of A-Z.
class Component {
 public:
  Component(Form& owner, std::wstring_view name);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::wstring& Name() const noexcept { return name_; }
  Form& Owner() const noexcept { return owner_; }
  virtual ComponentKind Kind() const noexcept = 0;

  // The caption (label, panel, button, menu item) or the whole text (memo). Kinds
  // without a text ignore it.
  virtual void SetText(std::wstring_view) {}
  virtual std::wstring Text() const { return std::wstring(); }

  // Font capabilities. Kinds without a font of their own keep the defaults: no own font
  // and no parent-font flag.
  virtual bool HasParentFontFlag() const noexcept { return false; }
  virtual bool ParentFont() const noexcept { return false; }
  virtual void SetParentFont(bool) {}
  virtual bool HasOwnFont() const noexcept { return false; }
  virtual FontSpec Font() const { return FontSpec(); }
  virtual void SetFont(const FontSpec&) {}

 private:
  Form& owner_;
  std::wstring name_;
};

// What an event handler receives: the component that raised the event.
using EventHandler = std::function<void(Component& sender)>;


}  // namespace zephtune::ui
