// Measures one optimisation and one restore of the whole catalogue through the tuning
// engine against the same sequence of registry operations written as plain Reg* calls
// (open, operate, close for each value), alternately in one run, and prints the
// medians and their ratio. For reference it also times the plain sequence without the
// restore record (catalogue, backup set and restore table only).
//   bench_registry.exe [ROUNDS]
// It works on the real tuned values and program key of the Wine prefix it runs in and
// leaves them as it found them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "registry/ProgramKey.h"
#include "registry/RegistryKey.h"
#include "tuning/RestoreRecord.h"
#include "tuning/TuningRuns.h"
#include "tuning/TweakCatalogue.h"

#include "common/BenchClock.h"

using zephtune::bench::Median;
using zephtune::bench::NowMilliseconds;

namespace {

using namespace zephtune;
using namespace zephtune::tuning;

// Windows 10, broadband, "Maximum Boost": 46 of the 47 entries are written.
constexpr OptimiseChoices kChoices{0, 0, 0, 1};
constexpr int kVersionCode = 8;

// ---- The plain registry calls -------------------------------------------------------
// Each opens its key, does one thing and closes it; operations are counted.

int rawOperations = 0;
const std::wstring kProgram = RegistrySubKeyPath(programkey::kPath);
const std::wstring kRecord = RegistrySubKeyPath(kRestoreRecordPath);

bool RawSet(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size) {
  ++rawOperations;
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool set = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

bool RawSetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
  return RawSet(root, path, name, REG_DWORD, &value, sizeof(value));
}

bool RawSetText(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
  return RawSet(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Returns the registry's answer; `keyMissing` when the key could not be found.
LONG RawQuery(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type, std::vector<BYTE>& data,
              bool& keyMissing) {
  ++rawOperations;
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key);
  keyMissing = opened == ERROR_FILE_NOT_FOUND;
  if (opened != ERROR_SUCCESS) return opened;
  data.resize(256);
  DWORD size = static_cast<DWORD>(data.size());
  LONG queried = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  if (queried == ERROR_MORE_DATA) {
    data.resize(size);
    queried = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  }
  data.resize(queried == ERROR_SUCCESS ? size : 0);
  RegCloseKey(key);
  return queried;
}

bool RawKeyExists(HKEY root, const std::wstring& path) {
  ++rawOperations;
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key);
  if (opened == ERROR_SUCCESS) RegCloseKey(key);
  return opened != ERROR_FILE_NOT_FOUND;
}

void RawDelete(HKEY root, const std::wstring& path, const std::wstring& name) {
  ++rawOperations;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

void RawDeleteEmptyKey(HKEY root, const std::wstring& path) {
  ++rawOperations;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  DWORD subKeys = 0;
  DWORD values = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  if (subKeys == 0 && values == 0) RegDeleteKeyW(root, path.c_str());
}

std::vector<std::pair<std::wstring, RegistryValue>> RawEnumerate(HKEY root, const std::wstring& path) {
  ++rawOperations;
  std::vector<std::pair<std::wstring, RegistryValue>> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return values;
  DWORD longestName = 0;
  DWORD largestData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &largestData,
                   nullptr, nullptr);
  std::vector<wchar_t> name(longestName + 1);
  std::vector<BYTE> data(largestData + 1);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    values.emplace_back(std::wstring(name.data(), nameLength),
                        RegistryValue{type, std::vector<std::uint8_t>(data.begin(), data.begin() + size)});
  }
  RegCloseKey(key);
  return values;
}

std::vector<const Tweak*> Selected() {
  std::vector<const Tweak*> selected;
  for (const Tweak& tweak : TweakCatalogue()) {
    if (ConditionHolds(tweak.condition, kVersionCode, kChoices.connectionType)) selected.push_back(&tweak);
  }
  return selected;
}

void RawWriteTweaks() {
  for (const Tweak* tweak : Selected()) {
    const HKEY root = HiveRoot(tweak->hive);
    const std::wstring path = RegistrySubKeyPath(tweak->key);
    const std::wstring name(tweak->name);
    if (tweak->value.kind == ValueKind::kString) {
      RawSetText(root, path, name, std::wstring(tweak->value.text));
    } else if (tweak->value.kind == ValueKind::kBinary) {
      const BYTE zeros[4] = {};
      RawSet(root, path, name, REG_BINARY, zeros, static_cast<DWORD>(tweak->value.binaryZeros));
    } else {
      RawSetDword(root, path, name, static_cast<DWORD>(TweakInteger(tweak->value, kChoices.speedSetting)));
    }
  }
}

void RawSaveBackupSet() {
  for (const BackupEntry& entry : BackupSet()) {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool keyMissing = false;
    const LONG read = RawQuery(HiveRoot(entry.hive), RegistrySubKeyPath(entry.key), std::wstring(entry.name), type,
                               data, keyMissing);
    if (entry.kind == ValueKind::kString) {
      std::wstring text = read == ERROR_SUCCESS && type == REG_SZ ? reinterpret_cast<const wchar_t*>(data.data()) : L"";
      RawSetText(HKEY_LOCAL_MACHINE, kProgram, std::wstring(entry.name), text.empty() ? std::wstring(entry.defaultText) : text);
    } else {
      DWORD value = static_cast<DWORD>(entry.defaultInteger);
      if (read == ERROR_SUCCESS && type == REG_DWORD && data.size() == 4) value = *reinterpret_cast<DWORD*>(data.data());
      RawSetDword(HKEY_LOCAL_MACHINE, kProgram, std::wstring(entry.name), value);
    }
  }
}

// Reads "Restore" and stores the three choices.
void RawStartOptimise() {
  DWORD type = 0;
  std::vector<BYTE> data;
  bool keyMissing = false;
  RawQuery(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kRestore), type, data, keyMissing);
  RawSetDword(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kInternetType), 0);
  RawSetDword(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kProcessorType), 0);
  RawSetDword(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kSpeedSetting), 1);
}

// The engine's optimisation from a clean program key, call for call.
void RawOptimise() {
  RawStartOptimise();
  DWORD type = 0;
  std::vector<BYTE> data;
  bool keyMissing = false;
  RawEnumerate(HKEY_LOCAL_MACHINE, kRecord);

  std::vector<std::wstring> keysRecorded;
  for (const Tweak* tweak : DistinctValues(Selected())) {
    const HKEY root = HiveRoot(tweak->hive);
    const std::wstring path = RegistrySubKeyPath(tweak->key);
    const LONG read = RawQuery(root, path, std::wstring(tweak->name), type, data, keyMissing);
    if (keyMissing && std::find(keysRecorded.begin(), keysRecorded.end(), path) == keysRecorded.end()) {
      std::vector<std::wstring> missing{path};
      for (std::size_t cut = path.rfind(L'\\'); cut != std::wstring::npos; cut = path.rfind(L'\\', cut - 1)) {
        if (RawKeyExists(root, path.substr(0, cut))) break;
        missing.push_back(path.substr(0, cut));
      }
      for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
        RawSetText(HKEY_LOCAL_MACHINE, kRecord, KeyEntryName(tweak->hive, *level), L"created");
        keysRecorded.push_back(*level);
      }
    }
    const RegistryValue entry =
        EncodePriorState({read == ERROR_SUCCESS, RegistryValue{type, std::vector<std::uint8_t>(data.begin(), data.end())}});
    RawSet(HKEY_LOCAL_MACHINE, kRecord, ValueEntryName(tweak->hive, tweak->key, tweak->name), entry.type,
           entry.data.data(), static_cast<DWORD>(entry.data.size()));
  }
  RawSaveBackupSet();
  RawSetDword(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kRestore), 1);
  RawWriteTweaks();
}

void RawDropBackup() {
  RawDelete(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kRestore));
  for (const BackupEntry& entry : BackupSet()) RawDelete(HKEY_LOCAL_MACHINE, kProgram, std::wstring(entry.name));
}

// The engine's restore from the record the optimisation left, call for call.
void RawRestore() {
  DWORD type = 0;
  std::vector<BYTE> data;
  bool keyMissing = false;
  RawQuery(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kRestore), type, data, keyMissing);
  const auto entries = RawEnumerate(HKEY_LOCAL_MACHINE, kRecord);
  std::vector<const Tweak*> all;
  for (const Tweak& tweak : TweakCatalogue()) all.push_back(&tweak);
  for (const Tweak* tweak : DistinctValues(all)) {
    const std::wstring name = ValueEntryName(tweak->hive, tweak->key, tweak->name);
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; });
    if (entry == entries.end()) continue;
    const PriorState prior = *DecodePriorState(entry->second);
    const HKEY root = HiveRoot(tweak->hive);
    const std::wstring path = RegistrySubKeyPath(tweak->key);
    if (prior.present) {
      RawSet(root, path, std::wstring(tweak->name), prior.value.type, prior.value.data.data(),
             static_cast<DWORD>(prior.value.data.size()));
    } else {
      RawDelete(root, path, std::wstring(tweak->name));
    }
    RawDelete(HKEY_LOCAL_MACHINE, kRecord, name);
  }
  std::vector<std::pair<std::size_t, std::pair<HKEY, std::wstring>>> keys;
  for (const auto& [name, value] : entries) {
    if (name.back() != L'\\') continue;
    const HKEY root = name.rfind(L"HKCU", 0) == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring path = name.substr(5, name.size() - 6);
    keys.push_back({static_cast<std::size_t>(std::count(path.begin(), path.end(), L'\\')), {root, path}});
  }
  std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [depth, key] : keys) {
    RawDeleteEmptyKey(key.first, key.second);
    RawDelete(HKEY_LOCAL_MACHINE, kRecord, KeyEntryName(key.first == HKEY_CURRENT_USER ? Hive::kCurrentUser
                                                                                        : Hive::kLocalMachine,
                                                        key.second));
  }
  RawDropBackup();
  RawDeleteEmptyKey(HKEY_LOCAL_MACHINE, kRecord);
}

// The sequence without the restore record: choices, backup set, "Restore" and the
// catalogue; then the restore table.
void PlainOptimise() {
  RawStartOptimise();
  RawSaveBackupSet();
  RawSetDword(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kRestore), 1);
  RawWriteTweaks();
}

void PlainRestore() {
  RawDelete(HKEY_LOCAL_MACHINE, kProgram, std::wstring(programkey::kRestore));
  for (const RestoreOperation& operation : RestoreTable()) {
    if (!ConditionHolds(operation.condition, kVersionCode, kChoices.connectionType)) continue;
    const std::wstring name(operation.name);
    if (operation.action == RestoreAction::kDropSavedCopy) {
      RawDelete(HKEY_LOCAL_MACHINE, kProgram, name);
    } else if (operation.action == RestoreAction::kDelete) {
      RawDelete(HiveRoot(operation.hive), RegistrySubKeyPath(operation.key), name);
    } else {
      DWORD type = 0;
      std::vector<BYTE> data;
      bool keyMissing = false;
      const bool saved = RawQuery(HKEY_LOCAL_MACHINE, kProgram, name, type, data, keyMissing) == ERROR_SUCCESS;
      const HKEY root = HiveRoot(operation.hive);
      const std::wstring path = RegistrySubKeyPath(operation.key);
      if (operation.kind == ValueKind::kString) {
        const std::wstring text = saved && type == REG_SZ ? reinterpret_cast<const wchar_t*>(data.data()) : L"";
        RawSetText(root, path, name, text.empty() ? std::wstring(operation.defaultText) : text);
      } else {
        const bool usable = saved && type == REG_DWORD && data.size() == 4;
        RawSetDword(root, path, name,
                    usable ? *reinterpret_cast<DWORD*>(data.data()) : static_cast<DWORD>(operation.defaultInteger));
      }
    }
  }
}

struct Contender {
  const wchar_t* label;
  std::function<int()> optimise;  // each returns its registry operations
  std::function<int()> restore;
  std::vector<double> optimiseMs = {};
  std::vector<double> restoreMs = {};
  int optimiseOperations = 0;
  int restoreOperations = 0;
};

bool MeasureOnce(Contender& contender) {
  double start = NowMilliseconds();
  const int optimised = contender.optimise();
  const double optimiseMs = NowMilliseconds() - start;
  start = NowMilliseconds();
  const int restored = contender.restore();
  const double restoreMs = NowMilliseconds() - start;
  if (optimised < 0 || restored < 0) return false;
  contender.optimiseMs.push_back(optimiseMs);
  contender.restoreMs.push_back(restoreMs);
  contender.optimiseOperations = optimised;
  contender.restoreOperations = restored;
  return true;
}

int Counted(void (*sequence)()) {
  rawOperations = 0;
  sequence();
  return rawOperations;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 31;
  Contender engine{L"engine",
                   [] {
                     const RunOutcome outcome = OptimiseRegistry(kChoices);
                     return outcome.finished && outcome.failedOperations == 0 ? outcome.registryOperations : -1;
                   },
                   [] {
                     const RunOutcome outcome = RestoreRegistry({kChoices.windowsListPosition, kChoices.connectionType});
                     return outcome.finished && outcome.failedOperations == 0 ? outcome.registryOperations : -1;
                   }};
  Contender raw{L"raw Reg* calls", [] { return Counted(RawOptimise); }, [] { return Counted(RawRestore); }};
  Contender plain{L"without record", [] { return Counted(PlainOptimise); }, [] { return Counted(PlainRestore); }};

  // The program key as a first optimisation finds it: whatever an earlier, broken-off
  // run left is put back first.
  RestoreRegistry({kChoices.windowsListPosition, kChoices.connectionType});
  for (int round = -2; round < rounds; ++round) {
    Contender* order[2] = {&engine, &raw};
    if (round % 2) std::swap(order[0], order[1]);
    for (Contender* contender : order) {
      if (!MeasureOnce(*contender)) {
        std::fwprintf(stderr, L"%ls: a run failed\n", contender->label);
        return 1;
      }
    }
    if (round < 0) {
      engine.optimiseMs.clear(), engine.restoreMs.clear(), raw.optimiseMs.clear(), raw.restoreMs.clear();
    }
  }
  // The plain sequence cannot put back exactly what it changed: it runs inside an
  // optimisation of the engine, whose restore then puts everything back.
  OptimiseRegistry(kChoices);
  for (int round = 0; round < rounds; ++round) MeasureOnce(plain);
  RestoreRegistry({kChoices.windowsListPosition, kChoices.connectionType});

  std::wprintf(L"registry: one optimisation and one restore of the whole catalogue, %d rounds each, alternating\n",
               rounds);
  for (const Contender* contender : {&engine, &raw, &plain}) {
    std::wprintf(L"  %-16ls optimise median %7.2f ms (%3d operations)   restore median %7.2f ms (%3d operations)\n",
                 contender->label, Median(contender->optimiseMs), contender->optimiseOperations,
                 Median(contender->restoreMs), contender->restoreOperations);
  }
  std::wprintf(L"  ratio engine / raw:  optimise %.3f   restore %.3f   both %.3f\n",
               Median(engine.optimiseMs) / Median(raw.optimiseMs), Median(engine.restoreMs) / Median(raw.restoreMs),
               (Median(engine.optimiseMs) + Median(engine.restoreMs)) /
                   (Median(raw.optimiseMs) + Median(raw.restoreMs)));
  return 0;
}
