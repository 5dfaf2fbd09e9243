#include "tuning/RegistryRun.h"

#include <utility>

#include "base/Trace.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"
#include "tuning/RestoreRecord.h"

namespace zephtune::tuning {
namespace {

// Thrown by the test seam to end a run at once; never leaves the run.
struct RunCutOff {};

RegistryOperationHook& OperationHook() {
  static RegistryOperationHook hook;
  return hook;
}

}  // namespace

void SetRegistryOperationHookForTesting(RegistryOperationHook hook) { OperationHook() = std::move(hook); }

RegistryRun::RegistryRun() : windowsView_(RunsOn64BitWindows()) {}

RegistryPlace RegistryRun::WindowsValue(Hive hive, std::wstring_view keyPath, std::wstring_view valueName) const {
  return {HiveRoot(hive), keyPath, valueName, windowsView_};
}

RegistryPlace RegistryRun::WindowsKey(Hive hive, std::wstring_view keyPath) const {
  return WindowsValue(hive, keyPath, {});
}

RegistryPlace RegistryRun::ProgramValue(std::wstring_view valueName) {
  return {programkey::kRoot, programkey::kPath, valueName, programkey::kUse64BitView};
}

RegistryPlace RegistryRun::RecordEntry(std::wstring_view entryName) {
  return {programkey::kRoot, kRestoreRecordPath, entryName, programkey::kUse64BitView};
}

RegistryPlace RegistryRun::RecordKey() { return RecordEntry({}); }

template <typename Operation>
auto RegistryRun::Perform(const RegistryPlace& place, Operation&& operation) {
  auto result = std::forward<Operation>(operation)(place.root, place.keyPath, place.valueName, place.use64BitView);
  ++operations_;
  const RegistryOperationHook& hook = OperationHook();
  if (hook && !hook(RegistryOperation{place.root, place.keyPath, place.valueName, place.use64BitView})) {
    throw RunCutOff{};
  }
  return result;
}

bool RegistryRun::ReadBool(const RegistryPlace& place, bool defaultValue) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryReadBool(root, key, name, defaultValue, view);
  });
}

std::int32_t RegistryRun::ReadInteger(const RegistryPlace& place, std::int32_t defaultValue) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryReadInteger(root, key, name, defaultValue, view);
  });
}

std::wstring RegistryRun::ReadString(const RegistryPlace& place, std::wstring_view defaultValue) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryReadString(root, key, name, defaultValue, view);
  });
}

RegistryRawRead RegistryRun::ReadRaw(const RegistryPlace& place) { return Perform(place, RegistryReadRaw); }

RegistryKeyValues RegistryRun::ReadAllValues(const RegistryPlace& key) {
  return Perform(key, [](HKEY root, std::wstring_view path, std::wstring_view, bool view) {
    return RegistryReadAllValues(root, path, view);
  });
}

RegistryPresence RegistryRun::KeyPresence(const RegistryPlace& key) {
  return Perform(key, [](HKEY root, std::wstring_view path, std::wstring_view, bool view) {
    return RegistryKeyPresence(root, path, view);
  });
}

bool RegistryRun::WriteInteger(const RegistryPlace& place, std::int32_t value) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryWriteInteger(root, key, name, value, view);
  });
}

bool RegistryRun::WriteString(const RegistryPlace& place, std::wstring_view value) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryWriteString(root, key, name, value, view);
  });
}

bool RegistryRun::WriteBinary(const RegistryPlace& place, std::span<const std::uint8_t> data) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryWriteBinary(root, key, name, data, view);
  });
}

bool RegistryRun::WriteBool(const RegistryPlace& place, bool value) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryWriteBool(root, key, name, value, view);
  });
}

bool RegistryRun::WriteRaw(const RegistryPlace& place, const RegistryValue& value) {
  return Perform(place, [&](HKEY root, std::wstring_view key, std::wstring_view name, bool view) {
    return RegistryWriteRaw(root, key, name, value, view);
  });
}

bool RegistryRun::DeleteValue(const RegistryPlace& place) { return Perform(place, RegistryDeleteValue); }

bool RegistryRun::DeleteValueOrFindItGone(const RegistryPlace& place) {
  return DeleteValue(place) || ReadRaw(place).presence == RegistryPresence::kAbsent;
}

RegistryKeyRemoval RegistryRun::DeleteEmptyKey(const RegistryPlace& key) {
  return Perform(key, [](HKEY root, std::wstring_view path, std::wstring_view, bool view) {
    return RegistryDeleteEmptyKey(root, path, view);
  });
}

bool RegistryRun::Check(bool tookEffect) noexcept {
  if (!tookEffect) ++failures_;
  return tookEffect;
}

RunOutcome RegistryRun::Complete(const wchar_t* where, const std::function<void()>& body) noexcept {
  bool finished = false;
  try {
    body();
    finished = true;
  } catch (const RunCutOff&) {
  } catch (...) {
    TraceSwallowed(where);
  }
  return RunOutcome{failures_, operations_, finished, backupHeld_};
}

}  // namespace zephtune::tuning
