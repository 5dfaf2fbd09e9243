#include <algorithm>
#include <string>
#include <vector>

#include "base/AsciiCase.h"
#include "registry/ProgramKey.h"
#include "registry/RegistryKey.h"
#include "tuning/RegistryRun.h"
#include "tuning/RestoreRecord.h"
#include "tuning/TuningRuns.h"
#include "tuning/TweakCatalogue.h"

namespace zephtune::tuning {
namespace {

using EntryNames = std::vector<std::wstring>;

bool Contains(const EntryNames& names, std::wstring_view name) {
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return EqualIgnoringAsciiCase(n, name); });
}

std::vector<const Tweak*> SelectedTweaks(int versionCode, int connectionType) {
  std::vector<const Tweak*> selected;
  for (const Tweak& tweak : TweakCatalogue()) {
    if (ConditionHolds(tweak.condition, versionCode, connectionType)) selected.push_back(&tweak);
  }
  return selected;
}

// Records the key levels that the first write into `keyPath` will create, shallowest
// first: a level is recorded only after every level above it, so an entry for the key
// itself means its whole missing path is recorded.
bool RecordCreatedKeys(RegistryRun& run, Hive hive, std::wstring_view keyPath, EntryNames& recorded) {
  if (Contains(recorded, KeyEntryName(hive, keyPath))) return true;
  std::vector<std::wstring> missing{RegistrySubKeyPath(keyPath)};
  for (;;) {
    const std::size_t cut = missing.back().rfind(L'\\');
    if (cut == std::wstring::npos) break;
    std::wstring parent = missing.back().substr(0, cut);
    // A level that cannot be told absent is taken as existing: it is never removed.
    if (run.KeyPresence(run.WindowsKey(hive, parent)) != RegistryPresence::kAbsent) break;
    missing.push_back(std::move(parent));
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    const std::wstring entry = KeyEntryName(hive, *level);
    if (Contains(recorded, entry)) continue;
    if (!run.WriteRaw(RegistryRun::RecordEntry(entry), CreatedKeyMark())) return false;
    recorded.push_back(entry);
  }
  return true;
}

struct RecordResult {
  bool complete = true;
  EntryNames unrecorded;  // values whose earlier state is not held: they are not written
};

// Records the earlier state of each selected value that the record does not hold yet.
// A backup set saved before the record existed ("Restore" set, no record) is left to
// the restore table: starting a record then would keep values that are already tuned.
RecordResult RecordPriorStates(RegistryRun& run, std::span<const Tweak* const> selected, bool backupHeld) {
  RecordResult result;
  const RegistryKeyValues record = run.ReadAllValues(RegistryRun::RecordKey());
  if (record.presence == RegistryPresence::kAbsent && backupHeld) return result;

  const std::vector<const Tweak*> values = DistinctValues(selected);
  if (record.presence == RegistryPresence::kUnreadable) {
    // Which values it holds cannot be told, so none may be written.
    result.complete = false;
    for (const Tweak* tweak : values) result.unrecorded.push_back(ValueEntryName(tweak->hive, tweak->key, tweak->name));
    return result;
  }

  EntryNames recorded;
  for (const auto& [name, value] : record.values) recorded.push_back(name);
  for (const Tweak* tweak : values) {
    std::wstring entry = ValueEntryName(tweak->hive, tweak->key, tweak->name);
    if (Contains(recorded, entry)) continue;
    const RegistryRawRead prior = run.ReadRaw(run.WindowsValue(tweak->hive, tweak->key, tweak->name));
    const bool held = prior.presence != RegistryPresence::kUnreadable &&
                      (!prior.keyMissing || RecordCreatedKeys(run, tweak->hive, tweak->key, recorded)) &&
                      run.WriteRaw(RegistryRun::RecordEntry(entry),
                                   EncodePriorState({prior.presence == RegistryPresence::kPresent, prior.value}));
    if (!held) {
      result.complete = false;
      result.unrecorded.push_back(std::move(entry));
      continue;
    }
    recorded.push_back(std::move(entry));
  }
  return result;
}

// Copies the eleven values of the backup set into the program key, each read and at
// once written. Returns whether every copy was written.
bool SaveBackupSet(RegistryRun& run) {
  bool complete = true;
  for (const BackupEntry& entry : BackupSet()) {
    const RegistryPlace live = run.WindowsValue(entry.hive, entry.key, entry.name);
    const RegistryPlace saved = RegistryRun::ProgramValue(entry.name);
    const bool written = entry.kind == ValueKind::kString
                             ? run.WriteString(saved, run.ReadString(live, entry.defaultText))
                             : run.WriteInteger(saved, run.ReadInteger(live, entry.defaultInteger));
    complete = run.Check(written) && complete;
  }
  return complete;
}

// Writes the selected catalogue entries in order, every one even if it already holds
// its value, except those whose earlier state could not be recorded: each of these
// counts as a failure (the record's own failures are not counted apart).
void ApplyTweaks(RegistryRun& run, std::span<const Tweak* const> selected, int speedSetting,
                 const EntryNames& unrecorded) {
  for (const Tweak* tweak : selected) {
    if (!unrecorded.empty() && Contains(unrecorded, ValueEntryName(tweak->hive, tweak->key, tweak->name))) {
      run.CountFailure();
      continue;
    }
    const RegistryPlace place = run.WindowsValue(tweak->hive, tweak->key, tweak->name);
    const TweakValue& value = tweak->value;
    bool written = false;
    switch (value.kind) {
      case ValueKind::kInteger:
        written = run.WriteInteger(place, TweakInteger(value, speedSetting));
        break;
      case ValueKind::kString:
        written = run.WriteString(place, value.text);
        break;
      case ValueKind::kBinary:
        written = run.WriteBinary(place, std::vector<std::uint8_t>(value.binaryZeros, 0));
        break;
    }
    run.Check(written);
  }
}

void Optimise(RegistryRun& run, const OptimiseChoices& choices) {
  const bool backupHeld = run.ReadBool(RegistryRun::ProgramValue(programkey::kRestore), false);
  run.Check(run.WriteInteger(RegistryRun::ProgramValue(programkey::kInternetType), choices.connectionType));
  run.Check(run.WriteInteger(RegistryRun::ProgramValue(programkey::kProcessorType), choices.processorPosition));
  run.Check(run.WriteInteger(RegistryRun::ProgramValue(programkey::kSpeedSetting), choices.speedSetting));
  run.SetBackupHeld(backupHeld);

  const int versionCode = ConvertWindowsVersion(choices.windowsListPosition);
  const std::vector<const Tweak*> selected = SelectedTweaks(versionCode, choices.connectionType);
  // Everything that keeps the earlier state is saved before anything is tuned, and
  // "Restore" is set only once it all is, so a run cut off anywhere can be undone.
  const RecordResult record = RecordPriorStates(run, selected, backupHeld);
  const bool backupComplete = backupHeld || SaveBackupSet(run);
  if (record.complete && backupComplete &&
      run.Check(run.WriteBool(RegistryRun::ProgramValue(programkey::kRestore), true))) {
    run.SetBackupHeld(true);
  }
  ApplyTweaks(run, selected, choices.speedSetting, record.unrecorded);
}

}  // namespace

RunOutcome OptimiseRegistry(const OptimiseChoices& choices) noexcept {
  RegistryRun run;
  return run.Complete(L"OptimiseRegistry", [&] { Optimise(run, choices); });
}

}  // namespace zephtune::tuning
