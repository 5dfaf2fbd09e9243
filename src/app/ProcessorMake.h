#pragma once

#include <string_view>

namespace zephtune {

// Processor makes as positions of the main window's processor list.
inline constexpr int kProcessorIntel = 0;
inline constexpr int kProcessorAmd = 1;
inline constexpr int kProcessorVia = 2;

// The make of the machine's first processor, Intel when its name names none of the three.
int DetectProcessorMake() noexcept;

// The make a processor name names (A-Z compared without case), Intel when none.
int ProcessorMakeFromName(std::wstring_view name) noexcept;

}  // namespace zephtune
