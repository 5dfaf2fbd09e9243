#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/UniqueHandle.h"

namespace zephtune {

// An opened registry key. A predefined root (HKEY_LOCAL_MACHINE, ...) handed back by
// the registry for an empty path is never closed.
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle key) noexcept;
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

// The path as the registry API takes it: one leading and one closing backslash removed.
std::wstring RegistrySubKeyPath(std::wstring_view keyPath);

// The access mask with the 64-bit view flag added when asked for.
REGSAM RegistryAccess(REGSAM access, bool use64BitView) noexcept;

// Opens an existing key. On failure the key is empty and `status` (when given) holds
// the registry's error code.
UniqueRegistryKey OpenRegistryKey(HKEY root, std::wstring_view keyPath, REGSAM access,
                                  LONG* status = nullptr);

// Opens the key or creates it with all missing levels.
UniqueRegistryKey CreateRegistryKey(HKEY root, std::wstring_view keyPath, REGSAM access,
                                    LONG* status = nullptr);

}  // namespace zephtune
