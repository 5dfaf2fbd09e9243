#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

namespace zephtune::tuning {

// The Windows version code of a position in the main window's Windows list:
// 0 Windows 2000, 1 XP, 2 Server 2003, 3 Vista, 4 Server 2008, 5 Windows 7,
// 6 Windows 8, 7 Server 2012, 8 Windows 10; -1 for any other position.
int ConvertWindowsVersion(int listPosition) noexcept;

enum class Hive { kLocalMachine, kCurrentUser };
HKEY HiveRoot(Hive hive) noexcept;

// What decides whether an entry is written (or, in the restore table, undone).
enum class Condition {
  kAlways,
  kNotWindows2000,       // version code not 0 (-1 included)
  kNotDialUpOrIsdn,      // connection type neither 2 nor 7
  kWindows2000OrServer,  // version code 0, 2, 4 or 7
  kDesktopFromXp,        // version code 1, 3, 5, 6 or 8
};
bool ConditionHolds(Condition condition, int versionCode, int connectionType) noexcept;

enum class ValueKind { kInteger, kString, kBinary };

// What a catalogue entry writes. Binary entries write `binaryZeros` zero bytes.
struct TweakValue {
  ValueKind kind = ValueKind::kInteger;
  std::int32_t integer = 0;
  std::wstring_view text;
  std::size_t binaryZeros = 0;
  bool bySpeedSetting = false;  // 4 connections at "Boost", 8 at "Maximum Boost"
};

struct Tweak {
  Hive hive;
  std::wstring_view key;  // as the optimisation writes it, with or without the closing backslash
  std::wstring_view name;
  TweakValue value;
  Condition condition;
};

// The 47 entries, in the order of writing.
std::span<const Tweak> TweakCatalogue() noexcept;

// The integer an entry writes, for the given speed setting.
std::int32_t TweakInteger(const TweakValue& value, int speedSetting) noexcept;

// The values copied into the program key by the first optimisation, under their own names.
struct BackupEntry {
  Hive hive;
  std::wstring_view key;
  std::wstring_view name;
  ValueKind kind;  // kInteger or kString
  std::int32_t defaultInteger;
  std::wstring_view defaultText;
};

// The eleven entries, in the order of copying.
std::span<const BackupEntry> BackupSet() noexcept;

enum class RestoreAction {
  kCopyBack,       // the program key's saved copy (or the default) written to the key
  kDelete,         // the value deleted
  kDropSavedCopy,  // the saved copy of that name deleted from the program key
};

struct RestoreOperation {
  RestoreAction action;
  ValueKind kind;  // of a copy back
  Hive hive;
  std::wstring_view key;  // empty for kDropSavedCopy: the program key
  std::wstring_view name;
  std::int32_t defaultInteger;
  std::wstring_view defaultText;
  Condition condition;
};

// How a backup set saved without a restore record is put back: the 56 operations in order.
std::span<const RestoreOperation> RestoreTable() noexcept;

}  // namespace zephtune::tuning
