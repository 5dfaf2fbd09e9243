#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "ui/Component.h"
#include "ui/Controls.h"
#include "ui/Dpi.h"

namespace zephtune::ui {

class Form;

// An own font as a layout table gives it.
struct FontDesign {
  std::wstring_view face = L"Tahoma";
  int size = 8;  // points; PointsForPixelHeight converts a design given as a pixel height
  bool bold = false;
  bool italic = false;
  bool underline = false;
  COLORREF color = kSystemTextColor;
  FontSpec ToFontSpec() const;
};

struct ComboItemDesign {
  std::wstring_view text{};
  int image = 0;
};

// One row of a window's layout: a component, where it lies and how it is set. A row sets
// only the fields its kind uses; the rest keep their defaults and are ignored.
struct ComponentDesign {
  std::wstring_view name{};
  ComponentKind kind = ComponentKind::Label;
  std::wstring_view parent{};           // a panel, or a menu item's pop-up menu; empty: the form
  DesignBounds bounds{};                // at 96 DPI; auto-sized labels take their size from the text
  const FontDesign* font = nullptr;   // an own font; null: the parent's font
  CursorKind cursor = CursorKind::Default;
  int tabOrder = -1;                  // windowed controls; -1: their order of creation
  bool enabled = true;
  LabelStyle label{};
  std::wstring_view resource{};         // picture: its PNG; image list: its strip
  int imageSize = 16;                 // image list: the images' size at 96 DPI
  COLORREF color = SystemColor(COLOR_BTNFACE);  // panel background
  bool defaultButton = false;
  int modalResult = 0;
  bool shield = false;
  std::wstring_view images{};           // combo box: the name of its image list
  std::span<const ComboItemDesign> items{};  // combo box
  TrackBarSettings trackBar{};
  int minimum = 0;                    // progress bar range
  int maximum = 100;
  BevelShape bevel = BevelShape::TopLine;
  bool border = true;                 // memo
  bool rightAligned = false;          // pop-up menu
  std::wstring_view text{};           // a design text: only the separator items' "-"
};

// Makes the components of `rows`, in their order, owned by `form`; a parent comes before
// the rows that name it. When the form already has its window, windowed controls get
// theirs at once. Throws std::invalid_argument for a row whose parent or image list is
// missing or of the wrong kind: the tables are the program's own data.
void BuildLayout(Form& form, std::span<const ComponentDesign> rows);

}  // namespace zephtune::ui
