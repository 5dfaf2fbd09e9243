#pragma once

#include <string>
#include <string_view>

namespace zephtune {

// Names the program compares (component names, caption keys, registry entry names,
// its command-line switch) ignore the case of the letters A to Z only: the result
// must not depend on the user's locale.

inline wchar_t LowerAscii(wchar_t c) noexcept {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

inline std::wstring LowerAscii(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) c = LowerAscii(c);
  return lower;
}

inline bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace zephtune
