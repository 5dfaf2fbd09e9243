#include <algorithm>
#include <optional>
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

using RecordEntries = std::vector<std::pair<std::wstring, RegistryValue>>;

// A key level the optimisation may have created: every level of a catalogue key.
struct KeyLevel {
  Hive hive;
  std::wstring path;
  std::size_t depth;
};

std::vector<KeyLevel> CatalogueKeyLevels() {
  std::vector<KeyLevel> levels;
  for (const Tweak& tweak : TweakCatalogue()) {
    const std::wstring path = RegistrySubKeyPath(tweak.key);
    for (std::size_t end = path.find(L'\\'), depth = 1;; end = path.find(L'\\', end + 1), ++depth) {
      std::wstring level = path.substr(0, end);
      const bool known = std::any_of(levels.begin(), levels.end(), [&](const KeyLevel& l) {
        return l.hive == tweak.hive && EqualIgnoringAsciiCase(l.path, level);
      });
      if (!known) levels.push_back({tweak.hive, std::move(level), depth});
      if (end == std::wstring::npos) break;
    }
  }
  return levels;
}

std::vector<const Tweak*> WholeCatalogue() {
  std::vector<const Tweak*> all;
  for (const Tweak& tweak : TweakCatalogue()) all.push_back(&tweak);
  return all;
}

// Puts one value back as it was. A refused write is no failure when the value already
// is as it was (the optimisation's write was refused as well).
bool PutBack(RegistryRun& run, const RegistryPlace& place, const PriorState& prior) {
  if (!prior.present) return run.DeleteValueOrFindItGone(place);
  if (run.WriteRaw(place, prior.value)) return true;
  const RegistryRawRead now = run.ReadRaw(place);
  return now.presence == RegistryPresence::kPresent && now.value == prior.value;
}

// Removes "Restore", the saved copies of the backup set and the record key, once
// nothing is left to put back: "Restore" first, so that a run cut off here never
// leaves the flag over a partial backup set.
void DropBackup(RegistryRun& run, bool withRecordKey) {
  if (run.Check(run.DeleteValueOrFindItGone(RegistryRun::ProgramValue(programkey::kRestore)))) {
    run.SetBackupHeld(false);
  }
  for (const RestoreOperation& operation : RestoreTable()) {
    if (operation.action != RestoreAction::kDropSavedCopy) continue;
    run.Check(run.DeleteValueOrFindItGone(RegistryRun::ProgramValue(operation.name)));
  }
  if (withRecordKey) run.Check(run.DeleteEmptyKey(RegistryRun::RecordKey()) == RegistryKeyRemoval::kRemoved);
}

// Every recorded value goes back exactly, then the keys the optimisation created are
// removed once empty. Each entry is dropped as soon as its value is back, so a run cut
// off anywhere leaves a record of what is still to do. An entry that cannot be trusted
// is left alone, with its value.
void RestoreFromRecord(RegistryRun& run, const RecordEntries& entries) {
  std::vector<bool> handled(entries.size(), false);
  const auto find = [&](std::wstring_view name) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (EqualIgnoringAsciiCase(entries[i].first, name)) return i;
    }
    return std::nullopt;
  };

  int pending = 0;
  const std::vector<const Tweak*> all = WholeCatalogue();
  for (const Tweak* tweak : DistinctValues(all)) {
    const std::optional<std::size_t> index = find(ValueEntryName(tweak->hive, tweak->key, tweak->name));
    if (!index) continue;
    handled[*index] = true;
    const std::optional<PriorState> prior = DecodePriorState(entries[*index].second);
    if (!prior || !PutBack(run, run.WindowsValue(tweak->hive, tweak->key, tweak->name), *prior)) {
      run.CountFailure();
      ++pending;
      continue;
    }
    if (!run.Check(run.DeleteValueOrFindItGone(RegistryRun::RecordEntry(entries[*index].first)))) ++pending;
  }

  std::vector<std::pair<KeyLevel, std::size_t>> createdKeys;
  for (KeyLevel& level : CatalogueKeyLevels()) {
    const std::optional<std::size_t> index = find(KeyEntryName(level.hive, level.path));
    if (!index || !IsCreatedKeyMark(entries[*index].second)) continue;
    handled[*index] = true;
    createdKeys.emplace_back(std::move(level), *index);
  }
  for (bool done : handled) {
    if (done) continue;
    run.CountFailure();
    ++pending;
  }
  // While a value is still to be put back, its key stays.
  if (pending != 0) return;

  std::sort(createdKeys.begin(), createdKeys.end(),
            [](const auto& a, const auto& b) { return a.first.depth > b.first.depth; });
  for (const auto& [level, index] : createdKeys) {
    // A key that holds something now is someone else's: it stays, and is forgotten.
    if (!run.Check(run.DeleteEmptyKey(run.WindowsKey(level.hive, level.path)) != RegistryKeyRemoval::kFailed) ||
        !run.Check(run.DeleteValueOrFindItGone(RegistryRun::RecordEntry(entries[index].first)))) {
      ++pending;
    }
  }
  if (pending == 0) DropBackup(run, true);
}

// What a saved copy gives back: the default when it is missing; nothing when it is
// there but not of its kind (another type, truncated) or cannot be read, as it cannot
// be trusted.
std::optional<std::int32_t> SavedInteger(RegistryRun& run, const RestoreOperation& operation) {
  const RegistryRawRead saved = run.ReadRaw(RegistryRun::ProgramValue(operation.name));
  if (saved.presence == RegistryPresence::kAbsent) return operation.defaultInteger;
  if (saved.presence != RegistryPresence::kPresent || saved.value.type != REG_DWORD ||
      saved.value.data.size() != sizeof(DWORD)) {
    return std::nullopt;
  }
  const std::vector<std::uint8_t>& bytes = saved.value.data;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                   static_cast<std::uint32_t>(bytes[2]) << 16 |
                                   static_cast<std::uint32_t>(bytes[3]) << 24);
}

// As the string reads take it: an empty text gives the default as well.
std::optional<std::wstring> SavedText(RegistryRun& run, const RestoreOperation& operation) {
  const RegistryRawRead saved = run.ReadRaw(RegistryRun::ProgramValue(operation.name));
  std::wstring text;
  if (saved.presence == RegistryPresence::kUnreadable) return std::nullopt;
  if (saved.presence == RegistryPresence::kPresent) {
    if (saved.value.type != REG_SZ && saved.value.type != REG_EXPAND_SZ) return std::nullopt;
    text = RegistryDataText(saved.value.data);
  }
  return text.empty() ? std::wstring(operation.defaultText) : text;
}

// A backup set saved before the record existed, put back by the restore table. The
// saved copies and "Restore" are dropped only after every copy went back, so that a
// run cut off or refused midway can be repeated with the same copies.
void RestoreByTable(RegistryRun& run, const RestoreChoices& choices) {
  const int versionCode = ConvertWindowsVersion(choices.windowsListPosition);
  bool copiesKept = false;
  for (const RestoreOperation& operation : RestoreTable()) {
    if (operation.action == RestoreAction::kDropSavedCopy ||
        !ConditionHolds(operation.condition, versionCode, choices.connectionType)) {
      continue;
    }
    const RegistryPlace place = run.WindowsValue(operation.hive, operation.key, operation.name);
    if (operation.action == RestoreAction::kDelete) {
      run.Check(run.DeleteValueOrFindItGone(place));
      continue;
    }
    bool written = false;
    if (operation.kind == ValueKind::kString) {
      const std::optional<std::wstring> text = SavedText(run, operation);
      written = text && run.WriteString(place, *text);
    } else {
      const std::optional<std::int32_t> number = SavedInteger(run, operation);
      written = number && run.WriteInteger(place, *number);
    }
    if (!run.Check(written)) copiesKept = true;
  }
  if (copiesKept) return;
  DropBackup(run, false);
}

void Restore(RegistryRun& run, const RestoreChoices& choices) {
  const bool backupHeld = run.ReadBool(RegistryRun::ProgramValue(programkey::kRestore), false);
  run.SetBackupHeld(backupHeld);
  const RegistryKeyValues record = run.ReadAllValues(RegistryRun::RecordKey());
  switch (record.presence) {
    case RegistryPresence::kPresent:
      RestoreFromRecord(run, record.values);
      break;
    case RegistryPresence::kAbsent:
      // Without a record or a flag nothing was changed that could be put back.
      if (backupHeld) RestoreByTable(run, choices);
      break;
    case RegistryPresence::kUnreadable:
      run.CountFailure();
      break;
  }
}

}  // namespace

RunOutcome RestoreRegistry(const RestoreChoices& choices) noexcept {
  RegistryRun run;
  return run.Complete(L"RestoreRegistry", [&] { Restore(run, choices); });
}

}  // namespace zephtune::tuning
