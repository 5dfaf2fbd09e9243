#include "registry/CustomRegistry.h"

#include <cstring>
#include <vector>

#include "base/SystemLibrary.h"
#include "base/Trace.h"
#include "registry/RegistryKey.h"

namespace zephtune {
namespace {

UniqueRegistryKey OpenForRead(HKEY root, std::wstring_view keyPath, bool use64BitView) {
  return OpenRegistryKey(root, keyPath, RegistryAccess(KEY_READ, use64BitView));
}

bool WriteValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, DWORD type,
                const void* data, std::size_t size, bool use64BitView) {
  if (size > MAXDWORD) return false;
  const UniqueRegistryKey key = CreateRegistryKey(root, keyPath, RegistryAccess(KEY_WRITE, use64BitView));
  if (!key) return false;
  const std::wstring name(valueName);
  return RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

// The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL; empty when the value
// is missing, empty, of another type or cannot be read.
std::wstring ReadText(HKEY key, const std::wstring& name) {
  // Most values fit the first buffer, so one query usually does; a larger value is asked
  // for again with the size the registry reports (it may grow in between).
  std::vector<BYTE> data(512);
  DWORD type = REG_NONE;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
    if (result == ERROR_MORE_DATA) {
      data.resize(size);
      continue;
    }
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::wstring();
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
  }
  return std::wstring();
}

}  // namespace

std::wstring RegistryReadString(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                std::wstring_view defaultValue, bool use64BitView) noexcept {
  return Guarded(L"RegistryReadString", std::wstring(defaultValue), [&] {
    const UniqueRegistryKey key = OpenForRead(root, keyPath, use64BitView);
    std::wstring text = key ? ReadText(key.get(), std::wstring(valueName)) : std::wstring();
    return text.empty() ? std::wstring(defaultValue) : text;
  });
}

std::int32_t RegistryReadInteger(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                 std::int32_t defaultValue, bool use64BitView) noexcept {
  return Guarded(L"RegistryReadInteger", defaultValue, [&] {
    const UniqueRegistryKey key = OpenForRead(root, keyPath, use64BitView);
    if (!key) return defaultValue;
    const std::wstring name(valueName);
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    // A value larger than four bytes fails with ERROR_MORE_DATA.
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
      return defaultValue;
    }
    return static_cast<std::int32_t>(value);
  });
}

bool RegistryReadBool(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, bool defaultValue,
                      bool use64BitView) noexcept {
  // An unreadable value yields the default's own DWORD, which maps back to it.
  return RegistryReadInteger(root, keyPath, valueName, defaultValue ? 1 : 0, use64BitView) != 0;
}

bool RegistryWriteString(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                         std::wstring_view value, bool use64BitView) noexcept {
  return Guarded(L"RegistryWriteString", false, [&] {
    const std::wstring text(value);  // with its terminating NUL
    return WriteValue(root, keyPath, valueName, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t),
                      use64BitView);
  });
}

bool RegistryWriteInteger(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, std::int32_t value,
                          bool use64BitView) noexcept {
  return Guarded(L"RegistryWriteInteger", false, [&] {
    const DWORD data = static_cast<DWORD>(value);
    return WriteValue(root, keyPath, valueName, REG_DWORD, &data, sizeof(data), use64BitView);
  });
}

bool RegistryWriteBinary(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                         std::span<const std::uint8_t> data, bool use64BitView) noexcept {
  return Guarded(L"RegistryWriteBinary", false, [&] {
    return WriteValue(root, keyPath, valueName, REG_BINARY, data.data(), data.size(), use64BitView);
  });
}

bool RegistryWriteBool(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, bool value,
                       bool use64BitView) noexcept {
  return RegistryWriteInteger(root, keyPath, valueName, value ? 1 : 0, use64BitView);
}

bool RegistryDeleteValue(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                         bool use64BitView) noexcept {
  return Guarded(L"RegistryDeleteValue", false, [&] {
    LONG status = ERROR_SUCCESS;
    const UniqueRegistryKey key =
        OpenRegistryKey(root, keyPath, RegistryAccess(KEY_ALL_ACCESS, use64BitView), &status);
    if (!key) return status == ERROR_FILE_NOT_FOUND;
    const std::wstring name(valueName);
    const LONG result = RegDeleteValueW(key.get(), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  });
}

bool RunsOn64BitWindows() noexcept {
#if defined(_WIN64)
  return true;
#else
  // IsWow64Process is missing before Windows XP SP2, which then is 32-bit only.
  static const bool wow64 = [] {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = GetProc<IsWow64ProcessFn>(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process");
    BOOL result = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &result) && result;
  }();
  return wow64;
#endif
}

}  // namespace zephtune
