#include "ui/Layout.h"

#include <memory>
#include <stdexcept>

#include "ui/Form.h"

namespace zephtune::ui {
namespace {

ControlHost& HostFor(Form& form, const ComponentDesign& row) {
  if (row.parent.empty()) return form;
  if (auto* panel = dynamic_cast<Panel*>(form.FindComponent(row.parent))) return *panel;
  throw std::invalid_argument("layout row names a parent that is no panel made before it");
}

PopupMenu& MenuFor(Form& form, const ComponentDesign& row) {
  if (auto* menu = dynamic_cast<PopupMenu*>(form.FindComponent(row.parent))) return *menu;
  throw std::invalid_argument("menu item row names no pop-up menu made before it");
}

void SetUpControl(Control& control, const ComponentDesign& row) {
  if (row.font != nullptr) control.SetFont(row.font->ToFontSpec());
  control.SetCursor(row.cursor);
  control.SetEnabled(row.enabled);
  control.SetBounds(row.bounds);
}

template <typename T>
T& Make(Form& form, const ComponentDesign& row) {
  auto& made = form.Adopt(std::make_unique<T>(form, row.name, HostFor(form, row)));
  SetUpControl(made, row);
  return made;
}

Component& MakeComponent(Form& form, const ComponentDesign& row) {
  switch (row.kind) {
    case ComponentKind::Label: {
      auto& label = Make<Label>(form, row);
      label.SetStyle(row.label);
      label.SetText(row.text);
      return label;
    }
    case ComponentKind::Picture: {
      auto& picture = Make<Picture>(form, row);
      picture.SetResource(row.resource);
      return picture;
    }
    case ComponentKind::Bevel: {
      auto& bevel = Make<Bevel>(form, row);
      bevel.SetShape(row.bevel);
      return bevel;
    }
    case ComponentKind::Panel: {
      auto& panel = Make<Panel>(form, row);
      panel.SetColor(row.color);
      panel.SetText(row.text);
      return panel;
    }
    case ComponentKind::Button: {
      auto& button = Make<Button>(form, row);
      button.SetDefault(row.defaultButton);
      button.SetModalResult(row.modalResult);
      button.SetShield(row.shield);
      button.SetText(row.text);
      return button;
    }
    case ComponentKind::ComboBox: {
      auto& combo = Make<ComboBox>(form, row);
      if (!row.images.empty()) {
        auto* images = dynamic_cast<ImageList*>(form.FindComponent(row.images));
        if (images == nullptr) throw std::invalid_argument("combo box row names no image list made before it");
        combo.SetImages(images);
      }
      for (const ComboItemDesign& item : row.items) combo.AddItem(item.text, item.image);
      return combo;
    }
    case ComponentKind::TrackBar: {
      auto& trackBar = Make<TrackBar>(form, row);
      trackBar.SetSettings(row.trackBar);
      return trackBar;
    }
    case ComponentKind::ProgressBar: {
      auto& progressBar = Make<ProgressBar>(form, row);
      progressBar.SetRange(row.minimum, row.maximum);
      return progressBar;
    }
    case ComponentKind::Memo: {
      auto& memo = Make<Memo>(form, row);
      memo.SetBorder(row.border);
      memo.SetText(row.text);
      return memo;
    }
    case ComponentKind::ImageList: {
      auto& images = form.Adopt(std::make_unique<ImageList>(form, row.name));
      images.SetImages(row.resource, row.imageSize);
      return images;
    }
    case ComponentKind::PopupMenu: {
      auto& menu = form.Adopt(std::make_unique<PopupMenu>(form, row.name));
      menu.SetRightAligned(row.rightAligned);
      return menu;
    }
    case ComponentKind::MenuItem: {
      auto& item = form.Adopt(std::make_unique<MenuItem>(form, row.name, MenuFor(form, row)));
      item.SetText(row.text);
      return item;
    }
    case ComponentKind::ApplicationEvents:
      return form.Adopt(std::make_unique<ApplicationEvents>(form, row.name));
  }
  throw std::invalid_argument("layout row of an unknown kind");
}

}  // namespace

FontSpec FontDesign::ToFontSpec() const {
  FontSpec result;
  result.face.assign(face);
  result.size = size;
  result.bold = bold;
  result.italic = italic;
  result.underline = underline;
  result.color = color;
  return result;
}

void BuildLayout(Form& form, std::span<const ComponentDesign> rows) {
  for (const ComponentDesign& row : rows) {
    auto* control = dynamic_cast<WinControl*>(&MakeComponent(form, row));
    if (control == nullptr) continue;
    if (row.tabOrder >= 0) control->SetTabOrder(row.tabOrder);
    control->CreateHandle();  // only once the form has its window
  }
}

}  // namespace zephtune::ui
