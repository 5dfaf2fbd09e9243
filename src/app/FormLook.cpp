#include "app/FormLook.h"

#include "base/Trace.h"
#include "captions/Captions.h"
#include "desktop/SystemFont.h"

namespace zephtune {

void ApplyFormLook(ui::Form& form) noexcept {
  Guarded(L"ApplyFormLook", [&] {
    form.SetDesktopFont(true);
    ApplySystemFont(form);
    ApplyCaptions(form);
  });
}

}  // namespace zephtune
