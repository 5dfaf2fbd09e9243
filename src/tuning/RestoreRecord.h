#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registry/RawRegistry.h"
#include "tuning/TweakCatalogue.h"

namespace zephtune::tuning {

// The restore record: what every tuned value held before the program first wrote it
// (since the last restore), so that a restore puts back exactly that. It lives in this
// key below the program key, in the same registry view, one value per entry:
//   "HKLM\System\...\FileSystem\NtfsDisableLastAccessupdate"  a tuned value's prior state:
//       REG_BINARY = its registry type (4 bytes, little-endian), its byte count
//       (4 bytes, little-endian), then exactly its bytes -- when it existed;
//       REG_SZ "absent" -- when it did not (restore deletes it)
//   "HKLM\Software\Policies\Microsoft\Windows\Psched\"  (closing backslash: a key)
//       REG_SZ "created" -- the key did not exist; restore removes it once empty
inline constexpr std::wstring_view kRestoreRecordPath = L"\\Software\\BRELIX\\Zephtune\\Restore Record\\";

// Entry names do not depend on how a key path is spelled ("...\Parameters" and
// "...\Parameters\" give one name).
std::wstring ValueEntryName(Hive hive, std::wstring_view keyPath, std::wstring_view valueName);
std::wstring KeyEntryName(Hive hive, std::wstring_view keyPath);


struct PriorState {
  bool present = false;
  RegistryValue value;  // when present
};

RegistryValue EncodePriorState(const PriorState& prior);
// Empty when the entry is not one this encoding produces (wrong type, truncated, ...):
// such an entry cannot be trusted.
std::optional<PriorState> DecodePriorState(const RegistryValue& entry);

RegistryValue CreatedKeyMark();
bool IsCreatedKeyMark(const RegistryValue& entry);

// The catalogue entries that name distinct values, in catalogue order: a value written
// twice ("KeepAliveTime", "EnablePMTUDiscovery") appears once, at its first entry.
std::vector<const Tweak*> DistinctValues(std::span<const Tweak* const> tweaks);

}  // namespace zephtune::tuning
