#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zephtune {

// Every registry access of the program goes through these functions. Each call opens
// its key, does one thing with one value and closes the key again; no failure escapes.
//
// Key paths are written with a leading backslash and usually a closing one
// ("\Software\BRELIX\Zephtune\"); both are optional and a path with or without the
// closing backslash names the same key. An empty path names the root itself.
// `use64BitView` adds KEY_WOW64_64KEY, so a 32-bit build reaches the 64-bit view.

// The value as text (REG_SZ or REG_EXPAND_SZ, unexpanded, cut at the first NUL), or
// `defaultValue` when it is missing, empty, of another type or unreadable.
std::wstring RegistryReadString(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                std::wstring_view defaultValue, bool use64BitView) noexcept;

// A REG_DWORD of exactly four bytes, or `defaultValue`.
std::int32_t RegistryReadInteger(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                 std::int32_t defaultValue, bool use64BitView) noexcept;

// A REG_DWORD read as true when non-zero, or `defaultValue`.
bool RegistryReadBool(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                      bool defaultValue, bool use64BitView) noexcept;

// The writes create the key with all missing levels and replace a value of any type.
// They return whether the value was written; callers may ignore it. A key created
// for a write that was then refused stays created.
bool RegistryWriteString(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                         std::wstring_view value, bool use64BitView) noexcept;
bool RegistryWriteInteger(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                          std::int32_t value, bool use64BitView) noexcept;
bool RegistryWriteBinary(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                         std::span<const std::uint8_t> data, bool use64BitView) noexcept;
bool RegistryWriteBool(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                       bool value, bool use64BitView) noexcept;

// Deletes the value. Returns true when the value is gone afterwards, including when it
// or its key never existed; false when the deletion was refused. Creates nothing.
bool RegistryDeleteValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                         bool use64BitView) noexcept;

// True when the program runs on 64-bit Windows, natively or as a 32-bit program under
// WOW64: then Windows' own settings live in the 64-bit view.
bool RunsOn64BitWindows() noexcept;

}  // namespace zephtune
