#pragma once

#include <string>
#include <string_view>

#include "ui/Form.h"

// Every visible text of the program comes from the caption table of the language that
// "Language" in the program key names (default english). The table is read afresh on
// every call, so a changed language takes effect at the next one.
namespace zephtune {

// The text of the entry with this section and key (A-Z compared without case), the last
// one when several match; the empty text when there is none or no table.
std::wstring GetCaption(std::wstring_view section, std::wstring_view key) noexcept;

// Gives the form its title (the entry whose key is the form's name, with the same case)
// and its labels, panels, buttons, menu items and memos their texts from the entries of
// the form's section. Other kinds stay untouched; with no table nothing changes.
void ApplyCaptions(ui::Form& form) noexcept;

}  // namespace zephtune
