#include "registry/RegistryKey.h"

namespace zephtune {
namespace {

bool IsPredefinedKey(HKEY key) noexcept {
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                    HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
    if (key == root) return true;
  }
  return false;
}

// Takes ownership only of a key the API reports as opened.
UniqueRegistryKey Adopt(LONG result, HKEY key, LONG* status) noexcept {
  if (status != nullptr) *status = result;
  return result == ERROR_SUCCESS ? UniqueRegistryKey(key) : UniqueRegistryKey();
}

}  // namespace

void RegistryKeyTraits::Close(Handle key) noexcept {
  if (!IsPredefinedKey(key)) RegCloseKey(key);
}

std::wstring RegistrySubKeyPath(std::wstring_view keyPath) {
  if (!keyPath.empty() && keyPath.front() == L'\\') keyPath.remove_prefix(1);
  if (!keyPath.empty() && keyPath.back() == L'\\') keyPath.remove_suffix(1);
  return std::wstring(keyPath);
}

REGSAM RegistryAccess(REGSAM access, bool use64BitView) noexcept {
  return use64BitView ? (access | KEY_WOW64_64KEY) : access;
}

UniqueRegistryKey OpenRegistryKey(HKEY root, std::wstring_view keyPath, REGSAM access, LONG* status) {
  const std::wstring path = RegistrySubKeyPath(keyPath);
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExW(root, path.c_str(), 0, access, &key);
  return Adopt(result, key, status);
}

UniqueRegistryKey CreateRegistryKey(HKEY root, std::wstring_view keyPath, REGSAM access, LONG* status) {
  const std::wstring path = RegistrySubKeyPath(keyPath);
  // The root itself cannot be created, only opened.
  if (path.empty()) return OpenRegistryKey(root, keyPath, access, status);
  HKEY key = nullptr;
  const LONG result = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                      nullptr, &key, nullptr);
  return Adopt(result, key, status);
}

}  // namespace zephtune
