#include "registry/RawRegistry.h"

#include <algorithm>
#include <cstring>

#include "base/SystemLibrary.h"
#include "base/Trace.h"
#include "registry/RegistryKey.h"

namespace zephtune {
namespace {

// A value that keeps growing between the size query and the read is given up on.
constexpr int kReadAttempts = 8;

UniqueRegistryKey OpenForQuery(HKEY root, std::wstring_view keyPath, bool use64BitView, LONG* status) {
  return OpenRegistryKey(root, keyPath, RegistryAccess(KEY_QUERY_VALUE, use64BitView), status);
}

// RegDeleteKeyExW, the only way to delete in the 64-bit view from a 32-bit program,
// is missing from 32-bit Windows XP, where no other view exists anyway.
LONG DeleteKey(HKEY root, const std::wstring& path, bool use64BitView) {
  if (use64BitView) {
    using RegDeleteKeyExWFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
    const auto deleteKeyEx = GetProc<RegDeleteKeyExWFn>(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW");
    if (deleteKeyEx != nullptr) return deleteKeyEx(root, path.c_str(), KEY_WOW64_64KEY, 0);
  }
  return RegDeleteKeyW(root, path.c_str());
}

}  // namespace

RegistryRawRead RegistryReadRaw(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                bool use64BitView) noexcept {
  return Guarded(L"RegistryReadRaw", RegistryRawRead{}, [&] {
    RegistryRawRead result;
    LONG status = ERROR_SUCCESS;
    const UniqueRegistryKey key = OpenForQuery(root, keyPath, use64BitView, &status);
    if (!key) {
      if (status == ERROR_FILE_NOT_FOUND) {
        result.presence = RegistryPresence::kAbsent;
        result.keyMissing = true;
      }
      return result;
    }
    const std::wstring name(valueName);
    // Most values fit the first buffer, so one query usually does.
    std::vector<std::uint8_t> data(256);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
      DWORD type = REG_NONE;
      DWORD size = static_cast<DWORD>(data.size());
      const LONG query = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size);
      if (query == ERROR_MORE_DATA) {
        data.resize(size);
        continue;
      }
      if (query == ERROR_FILE_NOT_FOUND) result.presence = RegistryPresence::kAbsent;
      if (query != ERROR_SUCCESS) return result;
      data.resize(size);
      result.presence = RegistryPresence::kPresent;
      result.value = RegistryValue{type, std::move(data)};
      return result;
    }
    return result;
  });
}

bool RegistryWriteRaw(HKEY root, std::wstring_view keyPath, std::wstring_view valueName, const RegistryValue& value,
                      bool use64BitView) noexcept {
  return Guarded(L"RegistryWriteRaw", false, [&] {
    if (value.data.size() > MAXDWORD) return false;
    const UniqueRegistryKey key = CreateRegistryKey(root, keyPath, RegistryAccess(KEY_SET_VALUE, use64BitView));
    if (!key) return false;
    const std::wstring name(valueName);
    // Windows adds a NUL to string data that lacks one when a NUL happens to follow it in
    // memory; two non-zero bytes after the data keep the stored bytes exactly as given.
    std::vector<std::uint8_t> padded(value.data);
    padded.push_back(0xFF);
    padded.push_back(0xFF);
    return RegSetValueExW(key.get(), name.c_str(), 0, value.type, padded.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  });
}

RegistryPresence RegistryKeyPresence(HKEY root, std::wstring_view keyPath, bool use64BitView) noexcept {
  return Guarded(L"RegistryKeyPresence", RegistryPresence::kUnreadable, [&] {
    LONG status = ERROR_SUCCESS;
    const UniqueRegistryKey key = OpenForQuery(root, keyPath, use64BitView, &status);
    // A key that refuses to be opened still exists.
    if (key || status == ERROR_ACCESS_DENIED) return RegistryPresence::kPresent;
    return status == ERROR_FILE_NOT_FOUND ? RegistryPresence::kAbsent : RegistryPresence::kUnreadable;
  });
}

RegistryKeyValues RegistryReadAllValues(HKEY root, std::wstring_view keyPath, bool use64BitView) noexcept {
  return Guarded(L"RegistryReadAllValues", RegistryKeyValues{}, [&] {
    RegistryKeyValues result;
    LONG status = ERROR_SUCCESS;
    const UniqueRegistryKey key = OpenForQuery(root, keyPath, use64BitView, &status);
    if (!key) {
      if (status == ERROR_FILE_NOT_FOUND) result.presence = RegistryPresence::kAbsent;
      return result;
    }
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &largestData, nullptr, nullptr) != ERROR_SUCCESS) {
      return result;
    }
    std::vector<wchar_t> name(longestName + 1);
    // Never an empty buffer: a null data pointer would be told the size but given no bytes.
    std::vector<std::uint8_t> data(std::max<DWORD>(largestData, 1));
    DWORD index = 0;
    for (int attempt = 0; attempt < kReadAttempts;) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      DWORD type = REG_NONE;
      DWORD size = static_cast<DWORD>(data.size());
      const LONG enumerated =
          RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
      if (enumerated == ERROR_NO_MORE_ITEMS) {
        result.presence = RegistryPresence::kPresent;
        return result;
      }
      if (enumerated == ERROR_MORE_DATA) {
        // A value changed since the sizes were asked for: ask again and retry it.
        ++attempt;
        if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                             &largestData, nullptr, nullptr) != ERROR_SUCCESS) {
          return result;
        }
        name.resize(std::max<std::size_t>(name.size(), longestName + 1) * 2);
        data.resize(std::max<std::size_t>(data.size(), largestData) * 2);
        continue;
      }
      if (enumerated != ERROR_SUCCESS || size > data.size()) return result;
      result.values.emplace_back(std::wstring(name.data(), nameLength),
                                 RegistryValue{type, std::vector<std::uint8_t>(data.begin(), data.begin() + size)});
      ++index;
    }
    result.values.clear();
    return result;
  });
}

RegistryKeyRemoval RegistryDeleteEmptyKey(HKEY root, std::wstring_view keyPath, bool use64BitView) noexcept {
  return Guarded(L"RegistryDeleteEmptyKey", RegistryKeyRemoval::kFailed, [&] {
    const std::wstring path = RegistrySubKeyPath(keyPath);
    if (path.empty()) return RegistryKeyRemoval::kFailed;
    {
      LONG status = ERROR_SUCCESS;
      const UniqueRegistryKey key = OpenForQuery(root, keyPath, use64BitView, &status);
      if (!key) return status == ERROR_FILE_NOT_FOUND ? RegistryKeyRemoval::kRemoved : RegistryKeyRemoval::kFailed;
      DWORD subKeys = 0;
      DWORD values = 0;
      if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return RegistryKeyRemoval::kFailed;
      }
      if (subKeys != 0 || values != 0) return RegistryKeyRemoval::kNotEmpty;
    }
    const LONG deleted = DeleteKey(root, path, use64BitView);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND ? RegistryKeyRemoval::kRemoved
                                                                       : RegistryKeyRemoval::kFailed;
  });
}

std::wstring RegistryDataText(const std::vector<std::uint8_t>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  const std::size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace zephtune
