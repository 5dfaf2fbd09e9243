#pragma once

#include "ui/Form.h"

namespace zephtune {

// What every window does before it adds texts of its own, each time it is created or
// shown: take the desktop font, cap it with the system font rules, take its texts from
// the caption table. Nothing escapes.
void ApplyFormLook(ui::Form& form) noexcept;

}  // namespace zephtune
