#pragma once

#include <string>

namespace zephtune::testing {

// The Windows form (drive Z:) of a Unix path that ctest passes in an environment
// variable; empty when the variable is not set.
std::wstring WindowsPathFromEnvironment(const char* variable);

}  // namespace zephtune::testing
