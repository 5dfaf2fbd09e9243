#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zephtune {

// Registry access that keeps values exactly as stored (any type, any size), for
// putting back precisely what a value held. Like the functions of CustomRegistry,
// each call opens its key, does one thing and closes the key; no failure escapes.
// Key paths follow the same rules as there.

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;
  bool operator==(const RegistryValue&) const = default;
};

enum class RegistryPresence {
  kAbsent,      // the value (or key) does not exist
  kPresent,
  kUnreadable,  // it may exist, but could not be read (access refused, or another error)
};

struct RegistryRawRead {
  RegistryPresence presence = RegistryPresence::kUnreadable;
  bool keyMissing = false;  // absent because the key itself does not exist
  RegistryValue value;      // when present
};

RegistryRawRead RegistryReadRaw(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                bool use64BitView) noexcept;

// Sets the value to exactly this type and data, creating the key with all missing
// levels. Returns whether the value was written.
bool RegistryWriteRaw(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                      const RegistryValue& value, bool use64BitView) noexcept;

// Whether the key exists; kUnreadable when that cannot be told.
RegistryPresence RegistryKeyPresence(HKEY root, std::wstring_view keyPath, bool use64BitView) noexcept;

struct RegistryKeyValues {
  RegistryPresence presence = RegistryPresence::kUnreadable;  // of the key
  std::vector<std::pair<std::wstring, RegistryValue>> values;  // in the registry's order
};

// Every value of the key with its name, type and data.
RegistryKeyValues RegistryReadAllValues(HKEY root, std::wstring_view keyPath, bool use64BitView) noexcept;

enum class RegistryKeyRemoval {
  kRemoved,   // deleted, or it did not exist
  kNotEmpty,  // it holds values or subkeys and was left as it is
  kFailed,    // it could not be inspected or deleted
};

// Deletes the key, but only when it holds neither values nor subkeys. Never deletes a root.
RegistryKeyRemoval RegistryDeleteEmptyKey(HKEY root, std::wstring_view keyPath, bool use64BitView) noexcept;

// The text of REG_SZ or REG_EXPAND_SZ data up to its first NUL (an odd last byte is
// dropped), as the string reads take it.
std::wstring RegistryDataText(const std::vector<std::uint8_t>& data);

}  // namespace zephtune
