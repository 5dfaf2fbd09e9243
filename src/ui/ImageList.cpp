#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Png.h"

namespace zephtune::ui {

ImageList::ImageList(Form& owner, std::wstring_view name) : Component(owner, name) {}

ImageList::~ImageList() {
  // Lists that show these images let go of them before they are destroyed.
  for (Component* component : Owner().Components()) {
    auto* combo = dynamic_cast<ComboBox*>(component);
    if (combo != nullptr && combo->Images() == this) combo->SetImages(nullptr);
  }
}

void ImageList::SetImages(std::wstring_view resourceName, int size) {
  resource_.assign(resourceName);
  size_ = size;
  tried_ = false;
  list_.reset();
}

HIMAGELIST ImageList::Handle() {
  if (list_ || tried_) return list_.get();
  tried_ = true;
  const std::span<const BYTE> png = PngResource(resource_);
  const std::optional<SIZE> stripSize = PngSize(png);
  if (!stripSize || stripSize->cy <= 0) return nullptr;
  const int count = stripSize->cx / stripSize->cy;
  const int size = Owner().Scale(size_);
  if (count <= 0 || size <= 0) return nullptr;
  const PixelBitmap strip = DecodePng(png, count * size, size, AlphaFormat::Straight);
  if (!strip) return nullptr;
  UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, count, 0));
  if (!list || ImageList_Add(list.get(), strip.bitmap.get(), nullptr) < 0) return nullptr;
  list_ = std::move(list);
  return list_.get();
}

int ImageList::Count() {
  HIMAGELIST list = Handle();
  return list != nullptr ? ImageList_GetImageCount(list) : 0;
}

}  // namespace zephtune::ui
