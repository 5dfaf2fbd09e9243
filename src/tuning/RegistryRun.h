#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "registry/RawRegistry.h"
#include "tuning/TuningRuns.h"
#include "tuning/TweakCatalogue.h"

namespace zephtune::tuning {

// Where one registry operation of a run goes.
struct RegistryPlace {
  HKEY root;
  std::wstring_view keyPath;
  std::wstring_view valueName;
  bool use64BitView;
};

// The registry operations of one optimise or restore run: each is counted, passed to
// the test seam, and failures are tallied for the outcome.
class RegistryRun {
 public:
  RegistryRun();

  RegistryPlace WindowsValue(Hive hive, std::wstring_view keyPath, std::wstring_view valueName) const;
  RegistryPlace WindowsKey(Hive hive, std::wstring_view keyPath) const;
  static RegistryPlace ProgramValue(std::wstring_view valueName);
  static RegistryPlace RecordEntry(std::wstring_view entryName);
  static RegistryPlace RecordKey();

  bool ReadBool(const RegistryPlace& place, bool defaultValue);
  std::int32_t ReadInteger(const RegistryPlace& place, std::int32_t defaultValue);
  std::wstring ReadString(const RegistryPlace& place, std::wstring_view defaultValue);
  RegistryRawRead ReadRaw(const RegistryPlace& place);
  RegistryKeyValues ReadAllValues(const RegistryPlace& key);
  RegistryPresence KeyPresence(const RegistryPlace& key);

  // The writes and deletions return whether they took effect.
  bool WriteInteger(const RegistryPlace& place, std::int32_t value);
  bool WriteString(const RegistryPlace& place, std::wstring_view value);
  bool WriteBinary(const RegistryPlace& place, std::span<const std::uint8_t> data);
  bool WriteBool(const RegistryPlace& place, bool value);
  bool WriteRaw(const RegistryPlace& place, const RegistryValue& value);
  bool DeleteValue(const RegistryPlace& place);
  // A deletion that was refused still took effect when the value is not there.
  bool DeleteValueOrFindItGone(const RegistryPlace& place);
  RegistryKeyRemoval DeleteEmptyKey(const RegistryPlace& key);

  // Counts a failure when `tookEffect` is false; returns it.
  bool Check(bool tookEffect) noexcept;
  void CountFailure() noexcept { ++failures_; }
  void SetBackupHeld(bool held) noexcept { backupHeld_ = held; }

  // Runs the body and gives the outcome, also when the seam or an error ends it early.
  RunOutcome Complete(const wchar_t* where, const std::function<void()>& body) noexcept;

 private:
  template <typename Operation>
  auto Perform(const RegistryPlace& place, Operation&& operation);

  bool windowsView_;
  int operations_ = 0;
  int failures_ = 0;
  bool backupHeld_ = false;
};

}  // namespace zephtune::tuning
