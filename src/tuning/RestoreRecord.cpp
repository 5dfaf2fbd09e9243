#include "tuning/RestoreRecord.h"

#include <cstring>

#include "base/AsciiCase.h"
#include "registry/RegistryKey.h"

namespace zephtune::tuning {
namespace {

constexpr std::wstring_view kAbsentMark = L"absent";
constexpr std::wstring_view kCreatedMark = L"created";
constexpr std::size_t kHeaderSize = 8;

std::wstring_view HiveName(Hive hive) { return hive == Hive::kCurrentUser ? L"HKCU" : L"HKLM"; }

RegistryValue TextValue(std::wstring_view text) {
  RegistryValue value{REG_SZ, std::vector<std::uint8_t>((text.size() + 1) * sizeof(wchar_t))};
  std::memcpy(value.data.data(), text.data(), text.size() * sizeof(wchar_t));
  return value;
}

void AppendDword(std::vector<std::uint8_t>& data, std::uint32_t number) {
  for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<std::uint8_t>(number >> shift));
}

std::uint32_t DwordAt(const std::vector<std::uint8_t>& data, std::size_t offset) {
  std::uint32_t number = 0;
  for (int byte = 3; byte >= 0; --byte) number = (number << 8) | data[offset + static_cast<std::size_t>(byte)];
  return number;
}

}  // namespace

std::wstring ValueEntryName(Hive hive, std::wstring_view keyPath, std::wstring_view valueName) {
  std::wstring name(HiveName(hive));
  name += L'\\';
  name += RegistrySubKeyPath(keyPath);
  name += L'\\';
  name += valueName;
  return name;
}

std::wstring KeyEntryName(Hive hive, std::wstring_view keyPath) { return ValueEntryName(hive, keyPath, L""); }

RegistryValue EncodePriorState(const PriorState& prior) {
  if (!prior.present) return TextValue(kAbsentMark);
  RegistryValue entry{REG_BINARY, {}};
  entry.data.reserve(kHeaderSize + prior.value.data.size());
  AppendDword(entry.data, prior.value.type);
  AppendDword(entry.data, static_cast<std::uint32_t>(prior.value.data.size()));
  entry.data.insert(entry.data.end(), prior.value.data.begin(), prior.value.data.end());
  return entry;
}

std::optional<PriorState> DecodePriorState(const RegistryValue& entry) {
  if (entry == TextValue(kAbsentMark)) return PriorState{};
  if (entry.type != REG_BINARY || entry.data.size() < kHeaderSize) return std::nullopt;
  if (DwordAt(entry.data, 4) != entry.data.size() - kHeaderSize) return std::nullopt;
  return PriorState{true, RegistryValue{DwordAt(entry.data, 0), {entry.data.begin() + kHeaderSize, entry.data.end()}}};
}

RegistryValue CreatedKeyMark() { return TextValue(kCreatedMark); }

bool IsCreatedKeyMark(const RegistryValue& entry) { return entry == TextValue(kCreatedMark); }

std::vector<const Tweak*> DistinctValues(std::span<const Tweak* const> tweaks) {
  std::vector<const Tweak*> distinct;
  std::vector<std::wstring> names;
  for (const Tweak* tweak : tweaks) {
    std::wstring name = ValueEntryName(tweak->hive, tweak->key, tweak->name);
    bool seen = false;
    for (const std::wstring& earlier : names) seen = seen || EqualIgnoringAsciiCase(earlier, name);
    if (seen) continue;
    names.push_back(std::move(name));
    distinct.push_back(tweak);
  }
  return distinct;
}

}  // namespace zephtune::tuning
