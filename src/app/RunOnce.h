#pragma once

#include <string_view>

namespace zephtune {

// Looks for a top-level window of the class (any title). When one exists and `restore`
// is set, restores it and brings it to the front. True whenever a window was found;
// any failure counts as finding none.
bool ActivateRunningInstance(std::wstring_view className, bool restore) noexcept;

}  // namespace zephtune
