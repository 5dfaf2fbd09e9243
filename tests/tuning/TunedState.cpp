#include "TunedState.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "registry/ProgramKey.h"
#include "tuning/TuningRuns.h"

namespace zephtune::testing {
namespace {

const HKEY kLm = HKEY_LOCAL_MACHINE;
constexpr std::wstring_view kRecordKey = L"Restore Record";

std::wstring Trimmed(std::wstring_view path) {
  if (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return std::wstring(path);
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                                b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string Narrow(std::wstring_view text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return narrow;
}

std::string Describe(const std::optional<RawValue>& value) {
  if (!value) return "absent";
  std::ostringstream out;
  out << "type " << value->type << ", " << value->data.size() << " bytes";
  if (value->data.size() <= 16) {
    out << " [";
    for (std::uint8_t b : value->data) out << ' ' << static_cast<int>(b);
    out << " ]";
  }
  return out.str();
}

void CreateKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create a tuned key");
  }
  RegCloseKey(key);
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

// Stores exactly these bytes: RegSetValueExW lengthens string data without a NUL when
// a NUL happens to follow it in memory.
void SetExact(HKEY root, const std::wstring& path, const std::wstring& name, const RawValue& value) {
  std::vector<std::uint8_t> padded = value.data;
  padded.insert(padded.end(), {0xFF, 0xFF});
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot open a tuned key");
  }
  const LONG result = RegSetValueExW(key, name.c_str(), 0, value.type, padded.data(),
                                     static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set a tuned value");
}

}  // namespace

bool Holds(When when, int versionCode, int connectionType) {
  switch (when) {
    case When::kAlways:
      return true;
    case When::kNotWindows2000:
      return versionCode != 0;
    case When::kNotDialUpOrIsdn:
      return connectionType != 2 && connectionType != 7;
    case When::kWindows2000OrServer:
      return versionCode == 0 || versionCode == 2 || versionCode == 4 || versionCode == 7;
    case When::kDesktopFromXp:
      return versionCode == 1 || versionCode == 3 || versionCode == 5 || versionCode == 6 || versionCode == 8;
  }
  return false;
}

const std::vector<CatalogueRow>& CatalogueRows() {
  const HKEY kCu = HKEY_CURRENT_USER;
  using enum When;
  static const std::vector<CatalogueRow> rows = {
      {kLm, L"\\System\\CurrentControlSet\\Control\\FileSystem\\", L"NtfsDisableLastAccessupdate", DwordValue(1), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\FileSystem\\", L"NtfsMftZoneReservation", DwordValue(2), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"SynAttackProtect", DwordValue(2), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"TcpMaxHalfOpen", DwordValue(100), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"TcpMaxHalfOpenRetried", DwordValue(50), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"EnablePMTUDiscovery", DwordValue(0), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"EnableDeadGWDetect", DwordValue(0), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"KeepAliveTime", DwordValue(300000), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\", L"EnableICMPRedirects", DwordValue(0), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Netbt\\Parameters\\", L"NoNameReleaseOnDemand", DwordValue(1), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\", L"PerformRouterDiscovery", DwordValue(0), kAlways},
      {kCu, L"\\Control Panel\\Desktop\\WindowMetrics\\", L"MinAnimate", StringValue(L"1"), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\", L"DisablePagingExecutive", DwordValue(0), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\", L"LargeSystemCache", DwordValue(0), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\PriorityControl\\", L"Win32PrioritySeparation", DwordValue(1), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\CrashControl\\", L"AutoReboot", DwordValue(1), kAlways},
      {kCu, L"\\Control Panel\\Desktop\\", L"SmoothScroll", RawValue{REG_BINARY, {0, 0, 0, 0}}, kAlways},
      {kCu, L"\\Software\\Microsoft\\Internet Explorer\\Main\\", L"Use StyleSheets", StringValue(L"Yes"), kAlways},
      {kCu, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete\\", L"Append Completion", StringValue(L"Yes"), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\FileSystem\\", L"ContigFileAllocSize", DwordValue(1536), kAlways},
      {kLm, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\", L"LinkResolveIgnoreLinkInfo", DwordValue(0), kAlways},
      {kLm, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\", L"NoResolveSearch", DwordValue(1), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\", L"IoPageLockLimit", DwordValue(4096), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Control\\CrashControl\\", L"SendAlert", DwordValue(1), kAlways},
      {kLm, L"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\", L"NoPopUpsOnBoot", DwordValue(1), kAlways},
      {kLm, L"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\", L"Error Mode", DwordValue(1), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Messenger\\", L"Start", DwordValue(4), kAlways},
      {kCu, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", L"MaxConnectionsPerServer", DwordValue(4), kAlways, true},
      {kCu, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", L"MaxConnectionsPer1_0Server", DwordValue(4), kAlways, true},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"KeepAliveTime", DwordValue(7200000), kAlways},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"KeepAliveInterval", DwordValue(1000), kAlways},
      {kLm, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\", L"ThumbnailSize", DwordValue(96), kNotWindows2000},
      {kLm, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\", L"ThumbnailQuality", DwordValue(80), kNotWindows2000},
      {kLm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\", L"EnablePrefetcher", DwordValue(1), kNotWindows2000},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"DefaultTTL", DwordValue(64), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"EnablePMTUBHDetect", DwordValue(0), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"EnablePMTUDiscovery", DwordValue(1), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"SackOpts", DwordValue(1), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"Tcp1323Opts", DwordValue(3), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"GlobalMaxTcpWindowSize", DwordValue(256960), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"TcpWindowSize", DwordValue(256960), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters", L"TcpMaxDupAcks", DwordValue(2), kNotDialUpOrIsdn},
      {kLm, L"\\Software\\Policies\\Microsoft\\Windows\\Psched", L"NonBestEffortLimit", DwordValue(50), kNotDialUpOrIsdn},
      {kLm, L"\\Software\\Policies\\Microsoft\\Windows\\Psched", L"MaxOutstandingSends", DwordValue(65535), kNotDialUpOrIsdn},
      {kLm, L"\\System\\CurrentControlSet\\Control\\Session Manager\\", L"AutoChkTimeOut", DwordValue(0), kWindows2000OrServer},
      {kLm, L"\\Software\\Microsoft\\Dfrg\\BootOptimizeFunction\\", L"Enable", StringValue(L"Y"), kDesktopFromXp},
      {kLm, L"\\System\\CurrentControlSet\\Services\\P3\\Parameters\\", L"HackFlags", DwordValue(1), kDesktopFromXp},
  };
  return rows;
}

std::string ValuePlace::Label() const {
  return (root == kLm ? "HKLM\\" : "HKCU\\") + Narrow(key) + "\\" + Narrow(name);
}

const std::vector<ValuePlace>& TunedValues() {
  static const std::vector<ValuePlace> values = [] {
    std::vector<ValuePlace> distinct;
    for (const CatalogueRow& row : CatalogueRows()) {
      const ValuePlace place{row.root, Trimmed(row.key), std::wstring(row.name)};
      bool seen = false;
      for (const ValuePlace& v : distinct) {
        seen = seen || (v.root == place.root && SameText(v.key, place.key) && SameText(v.name, place.name));
      }
      if (!seen) distinct.push_back(place);
    }
    return distinct;
  }();
  return values;
}

const std::vector<KeyLevel>& TunedKeyLevels() {
  static const std::vector<KeyLevel> levels = [] {
    std::vector<KeyLevel> all;
    for (const ValuePlace& value : TunedValues()) {
      int depth = 1;
      for (std::size_t end = value.key.find(L'\\');; end = value.key.find(L'\\', end + 1), ++depth) {
        const std::wstring level = value.key.substr(0, end);
        bool seen = false;
        for (const KeyLevel& l : all) seen = seen || (l.root == value.root && SameText(l.path, level));
        if (!seen) all.push_back({value.root, level, depth});
        if (end == std::wstring::npos) break;
      }
    }
    return all;
  }();
  return levels;
}

std::size_t TunedValueIndex(std::wstring_view key, std::wstring_view name) {
  const std::wstring trimmed = Trimmed(key);
  for (std::size_t i = 0; i < TunedValues().size(); ++i) {
    if (SameText(TunedValues()[i].key, trimmed) && SameText(TunedValues()[i].name, name)) return i;
  }
  throw std::invalid_argument("not a tuned value");
}

namespace {

// Whether `path` is the key level itself or lies below it.
bool IsSameOrBelow(HKEY root, const std::wstring& path, const KeyLevel& level) {
  if (root != level.root || path.size() < level.path.size()) return false;
  if (path.size() > level.path.size() && path[level.path.size()] != L'\\') return false;
  return SameText(path.substr(0, level.path.size()), level.path);
}

// The levels strictly above level `i`.
std::vector<std::size_t> Ancestors(std::size_t i) {
  std::vector<std::size_t> above;
  const std::vector<KeyLevel>& levels = TunedKeyLevels();
  for (std::size_t j = 0; j < levels.size(); ++j) {
    if (j != i && IsSameOrBelow(levels[i].root, levels[i].path, levels[j])) above.push_back(j);
  }
  return above;
}

}  // namespace

TunedState CaptureTunedState() {
  TunedState state;
  for (const ValuePlace& value : TunedValues()) state.values.push_back(QueryRaw(value.root, value.key, value.name));
  // Deepest first: a level that exists needs no look at the levels above it.
  const std::vector<KeyLevel>& levels = TunedKeyLevels();
  state.keys.assign(levels.size(), false);
  std::vector<bool> known(levels.size(), false);
  for (int depth = 15; depth > 0; --depth) {
    for (std::size_t i = 0; i < levels.size(); ++i) {
      if (levels[i].depth != depth || known[i]) continue;
      known[i] = true;
      state.keys[i] = KeyExists(levels[i].root, levels[i].path);
      if (!state.keys[i]) continue;
      for (std::size_t j : Ancestors(i)) known[j] = state.keys[j] = true;
    }
  }
  return state;
}

void ApplyTunedState(const TunedState& state) {
  const std::vector<KeyLevel>& levels = TunedKeyLevels();
  // Creating a key creates the levels above it, so only the deepest ones are created.
  std::vector<bool> covered(levels.size(), false);
  for (int depth = 15; depth > 0; --depth) {
    for (std::size_t i = 0; i < levels.size(); ++i) {
      if (levels[i].depth != depth || !state.keys[i] || covered[i]) continue;
      CreateKey(levels[i].root, levels[i].path);
      for (std::size_t j : Ancestors(i)) covered[j] = true;
    }
  }
  for (std::size_t i = 0; i < TunedValues().size(); ++i) {
    const ValuePlace& place = TunedValues()[i];
    if (state.values[i]) {
      SetExact(place.root, place.key, place.name, *state.values[i]);
    } else {
      DeleteValue(place.root, place.key, place.name);
    }
  }
  // Deleting a key deletes the levels below it, so only the topmost ones are deleted.
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (state.keys[i]) continue;
    const std::vector<std::size_t> above = Ancestors(i);
    if (std::all_of(above.begin(), above.end(), [&](std::size_t j) { return state.keys[j]; })) {
      DeleteKeyTree(levels[i].root, levels[i].path);
    }
  }
}

std::string Differences(const TunedState& expected, const TunedState& actual) {
  std::ostringstream out;
  for (std::size_t i = 0; i < TunedValues().size(); ++i) {
    if (expected.values[i] == actual.values[i]) continue;
    out << TunedValues()[i].Label() << ": expected " << Describe(expected.values[i]) << ", found "
        << Describe(actual.values[i]) << "\n";
  }
  for (std::size_t i = 0; i < TunedKeyLevels().size(); ++i) {
    if (expected.keys[i] == actual.keys[i]) continue;
    out << "key " << Narrow(TunedKeyLevels()[i].path) << (expected.keys[i] ? " missing" : " left behind") << "\n";
  }
  return out.str();
}

RawValue RandomValue(std::mt19937& random) {
  const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
  const auto bytes = [&](std::size_t count) {
    std::vector<std::uint8_t> data(count);
    for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(random());
    return data;
  };
  const auto text = [&](DWORD type) {
    std::wstring letters;
    for (int n = pick(12); n > 0; --n) letters += static_cast<wchar_t>(L'a' + pick(26));
    return StringValue(letters, type);
  };
  switch (pick(10)) {
    case 0:
    case 1:
      return DwordValue(static_cast<std::uint32_t>(random()));
    case 2:
      return text(REG_SZ);
    case 3:
      return text(REG_EXPAND_SZ);
    case 4:
      return {REG_SZ, bytes(static_cast<std::size_t>(pick(9)))};  // odd sizes, no NUL
    case 5:
      return {REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}};
    case 6:
      return {REG_QWORD, bytes(8)};
    case 7:
      return {REG_DWORD, bytes(static_cast<std::size_t>(pick(8)))};  // of a wrong size
    case 8:
      return {REG_BINARY, bytes(static_cast<std::size_t>(pick(600)))};
    default:
      return {static_cast<DWORD>(pick(3) == 0 ? REG_NONE : 0x10000 + pick(100)), bytes(static_cast<std::size_t>(pick(5)))};
  }
}

TunedState RandomState(std::mt19937& random, const TunedState& base) {
  TunedState state = base;
  const std::vector<KeyLevel>& levels = TunedKeyLevels();
  for (std::size_t i = 0; i < levels.size(); ++i) state.keys[i] = base.keys[i] || random() % 3 == 0;
  for (std::size_t i = 0; i < state.values.size(); ++i) {
    state.values[i] = random() % 5 < 2 ? std::nullopt : std::optional<RawValue>(RandomValue(random));
  }
  // A key that holds a value, or a key below it, exists with its whole path.
  for (std::size_t v = 0; v < TunedValues().size(); ++v) {
    if (!state.values[v]) continue;
    for (std::size_t i = 0; i < levels.size(); ++i) {
      if (IsSameOrBelow(TunedValues()[v].root, TunedValues()[v].key, levels[i])) state.keys[i] = true;
    }
  }
  for (std::size_t j = 0; j < levels.size(); ++j) {
    if (!state.keys[j]) continue;
    for (std::size_t i = 0; i < levels.size(); ++i) {
      if (IsSameOrBelow(levels[j].root, levels[j].path, levels[i])) state.keys[i] = true;
    }
  }
  return state;
}

const std::vector<std::wstring_view>& BackupSetNames() {
  static const std::vector<std::wstring_view> names = {
      L"NtfsDisableLastAccessupdate", L"NtfsMftZoneReservation",  L"MinAnimate",
      L"DisablePagingExecutive",      L"LargeSystemCache",        L"Win32PrioritySeparation",
      L"AutoReboot",                  L"MaxConnectionsPerServer", L"MaxConnectionsPer1_0Server",
      L"KeepAliveTime",               L"KeepAliveInterval"};
  return names;
}

void DeleteProgramKey() { DeleteKeyTree(programkey::kRoot, programkey::kPath); }

std::optional<RawValue> ProgramValue(std::wstring_view name) {
  return QueryRaw(programkey::kRoot, programkey::kPath, name);
}

void SetProgramValue(std::wstring_view name, const RawValue& value) {
  SetRaw(programkey::kRoot, programkey::kPath, name, value.type, value.data);
}

std::wstring RecordPath() { return std::wstring(programkey::kPath) + std::wstring(kRecordKey) + L"\\"; }

namespace {
TunedState& OriginalState() {
  static TunedState original;
  return original;
}
}  // namespace

void TunedRegistryTest::SetUpTestSuite() {
  static bool captured = false;
  if (captured) return;
  DeleteProgramKey();
  OriginalState() = CaptureTunedState();
  captured = true;
}

// The state is put back after each test, so a test finds it as the first one did.
void TunedRegistryTest::SetUp() { DeleteProgramKey(); }

void TunedRegistryTest::TearDown() {
  tuning::SetRegistryOperationHookForTesting(nullptr);
  ApplyTunedState(Original());
  DeleteProgramKey();
}

const TunedState& TunedRegistryTest::Original() { return OriginalState(); }

}  // namespace zephtune::testing
