#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zephtune::testing {

// A registry key made fresh for one test and deleted with everything below it when
// the test ends: \Software\ZephtuneTests\<suite>.<test>\ under the given root.
class ScratchKey {
 public:
  explicit ScratchKey(HKEY root = HKEY_CURRENT_USER);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY Root() const { return root_; }
  // With the leading and the closing backslash, as the program writes key paths.
  const std::wstring& Path() const { return path_; }
  // A key below this one: Sub(L"a\\b") is Path() + "a\\b\\".
  std::wstring Sub(std::wstring_view relative) const;

 private:
  HKEY root_;
  std::wstring path_;
};

// A value exactly as the registry holds it.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;
  bool operator==(const RawValue&) const = default;
};

// Test-side registry access, straight on the API (not through the code under test).
// Paths may carry leading and closing backslashes.
std::optional<RawValue> QueryRaw(HKEY root, std::wstring_view path, std::wstring_view name, REGSAM view = 0);
void SetRaw(HKEY root, std::wstring_view path, std::wstring_view name, DWORD type,
            const std::vector<std::uint8_t>& data, REGSAM view = 0);
bool KeyExists(HKEY root, std::wstring_view path, REGSAM view = 0);
void DeleteKeyTree(HKEY root, std::wstring_view path);
std::vector<std::wstring> ValueNames(HKEY root, std::wstring_view path, REGSAM view = 0);

RawValue DwordValue(std::uint32_t value);
RawValue StringValue(std::wstring_view text, DWORD type = REG_SZ);  // with its NUL

// Replaces the key's security with one that grants everyone only `allowed` rights
// (0: no access at all). The key must exist.
void RestrictKeyAccess(HKEY root, std::wstring_view path, DWORD allowed);

// Gives everyone full access to the key and everything below it again.
void GrantFullAccess(HKEY root, std::wstring_view path);

}  // namespace zephtune::testing
