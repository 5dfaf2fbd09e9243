#include "support/ScratchKey.h"

#include <aclapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace zephtune::testing {
namespace {

std::wstring Trimmed(std::wstring_view path) {
  if (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return std::wstring(path);
}

std::wstring Widen(const char* text) {
  std::wstring wide;
  for (; *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return wide;
}

struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle) RegCloseKey(handle);
  }
};

}  // namespace

ScratchKey::ScratchKey(HKEY root) : root_(root) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = info ? Widen(info->test_suite_name()) + L"." + Widen(info->name()) : L"NoTest";
  for (wchar_t& c : name) {
    if (c == L'/' || c == L'\\') c = L'_';
  }
  path_ = L"\\Software\\ZephtuneTests\\" + name + L"\\";
  DeleteKeyTree(root_, path_);
}

ScratchKey::~ScratchKey() { DeleteKeyTree(root_, path_); }

std::wstring ScratchKey::Sub(std::wstring_view relative) const { return path_ + Trimmed(relative) + L"\\"; }

std::optional<RawValue> QueryRaw(HKEY root, std::wstring_view path, std::wstring_view name, REGSAM view) {
  Key key;
  if (RegOpenKeyExW(root, Trimmed(path).c_str(), 0, KEY_QUERY_VALUE | view, &key.handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring valueName(name);
  RawValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key.handle, valueName.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  if (RegQueryValueExW(key.handle, valueName.c_str(), nullptr, &value.type, value.data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

void SetRaw(HKEY root, std::wstring_view path, std::wstring_view name, DWORD type,
            const std::vector<std::uint8_t>& data, REGSAM view) {
  Key key;
  if (RegCreateKeyExW(root, Trimmed(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key.handle,
                      nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("SetRaw: cannot create key");
  }
  const std::wstring valueName(name);
  if (RegSetValueExW(key.handle, valueName.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("SetRaw: cannot set value");
  }
}

bool KeyExists(HKEY root, std::wstring_view path, REGSAM view) {
  Key key;
  return RegOpenKeyExW(root, Trimmed(path).c_str(), 0, KEY_QUERY_VALUE | view, &key.handle) == ERROR_SUCCESS;
}

namespace {

// Gives everyone full access to the key and everything below it again, so that keys a
// test restricted can be deleted.
void OpenUpTree(HKEY root, const std::wstring& path) {
  SECURITY_DESCRIPTOR open{};
  InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
  {
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, WRITE_DAC, &key.handle) != ERROR_SUCCESS) return;
    RegSetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, &open);
  }
  std::vector<std::wstring> children;
  {
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key.handle) != ERROR_SUCCESS) return;
    for (DWORD index = 0;; ++index) {
      wchar_t name[256];
      DWORD length = 256;
      if (RegEnumKeyExW(key.handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        break;
      }
      children.emplace_back(name, length);
    }
  }
  for (const std::wstring& child : children) OpenUpTree(root, path + L"\\" + child);
}

}  // namespace

void GrantFullAccess(HKEY root, std::wstring_view path) { OpenUpTree(root, Trimmed(path)); }

void DeleteKeyTree(HKEY root, std::wstring_view path) {
  const std::wstring trimmed = Trimmed(path);
  OpenUpTree(root, trimmed);
  SHDeleteKeyW(root, trimmed.c_str());
}

std::vector<std::wstring> ValueNames(HKEY root, std::wstring_view path, REGSAM view) {
  std::vector<std::wstring> names;
  Key key;
  if (RegOpenKeyExW(root, Trimmed(path).c_str(), 0, KEY_QUERY_VALUE | view, &key.handle) != ERROR_SUCCESS) {
    return names;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD length = 16384;
    if (RegEnumValueW(key.handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

RawValue DwordValue(std::uint32_t value) {
  RawValue raw{REG_DWORD, std::vector<std::uint8_t>(4)};
  std::memcpy(raw.data.data(), &value, 4);
  return raw;
}

RawValue StringValue(std::wstring_view text, DWORD type) {
  RawValue raw{type, std::vector<std::uint8_t>((text.size() + 1) * sizeof(wchar_t))};
  if (!text.empty()) std::memcpy(raw.data.data(), text.data(), text.size() * sizeof(wchar_t));
  return raw;
}

void RestrictKeyAccess(HKEY root, std::wstring_view path, DWORD allowed) {
  SECURITY_DESCRIPTOR descriptor{};
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  // An empty DACL denies everything; otherwise one entry granting `allowed` to everyone.
  alignas(ACL) std::uint8_t aclBuffer[256] = {};
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  if (allowed != 0) AddAccessAllowedAce(acl, ACL_REVISION, allowed, everyone);
  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  Key key;
  if (RegOpenKeyExW(root, Trimmed(path).c_str(), 0, WRITE_DAC, &key.handle) != ERROR_SUCCESS) {
    FreeSid(everyone);
    throw std::runtime_error("RestrictKeyAccess: cannot open key");
  }
  const LONG result = RegSetKeySecurity(key.handle, DACL_SECURITY_INFORMATION, &descriptor);
  FreeSid(everyone);
  if (result != ERROR_SUCCESS) throw std::runtime_error("RestrictKeyAccess: cannot set security");
}

}  // namespace zephtune::testing
