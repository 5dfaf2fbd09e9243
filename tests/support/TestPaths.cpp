#include "support/TestPaths.h"

#include <cstdlib>

namespace zephtune::testing {

std::wstring WindowsPathFromEnvironment(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == '\0') return std::wstring();
  std::wstring path = value[0] == '/' ? L"Z:" : L"";
  for (const char* p = value; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return path;
}

}  // namespace zephtune::testing
