#include "desktop/SystemFont.h"

#include "base/Trace.h"

namespace zephtune {

void ApplySystemFont(ui::Form& window) noexcept {
  Guarded(L"ApplySystemFont", [&] {
    ui::FontSpec windowFont = window.Font();
    if (windowFont.size > kSystemFontMaxSize) {
      windowFont.size = kSystemFontMaxSize;
      window.SetFont(windowFont);
    }
    for (ui::Component* component : window.Components()) {
      // A component that follows its parent shows the window's font already.
      if (component->HasParentFontFlag() && component->ParentFont()) continue;
      if (!component->HasOwnFont()) continue;
      ui::FontSpec font = component->Font();
      font.face = windowFont.face;
      if (font.size < windowFont.size) font.size = windowFont.size;
      component->SetFont(font);
    }
  });
}

}  // namespace zephtune
