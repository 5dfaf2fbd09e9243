#include "tuning/TweakCatalogue.h"

#include <iterator>

namespace zephtune::tuning {
namespace {

using enum Condition;
constexpr Hive kHklm = Hive::kLocalMachine;
constexpr Hive kHkcu = Hive::kCurrentUser;

// Windows list position -> version code: Windows 10, 8, 7, Vista, XP, Server 2012,
// Server 2008, Server 2003, Windows 2000.
constexpr int kVersionCodeByListPosition[] = {8, 6, 5, 3, 1, 7, 4, 2, 0};

// Key paths exactly as the optimisation writes them.
constexpr std::wstring_view kFileSystem = L"\\System\\CurrentControlSet\\Control\\FileSystem\\";
constexpr std::wstring_view kTcpip = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\";
// The same key as kTcpip, spelled without the closing backslash by the later entries.
constexpr std::wstring_view kTcpipUnclosed = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::wstring_view kNetbt = L"\\System\\CurrentControlSet\\Services\\Netbt\\Parameters\\";
constexpr std::wstring_view kTcpipInterfaces = L"\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
constexpr std::wstring_view kWindowMetrics = L"\\Control Panel\\Desktop\\WindowMetrics\\";
constexpr std::wstring_view kMemoryManagement =
    L"\\System\\CurrentControlSet\\Control\\Session Manager\\Memory Management\\";
constexpr std::wstring_view kPriorityControl = L"\\System\\CurrentControlSet\\Control\\PriorityControl\\";
constexpr std::wstring_view kCrashControl = L"\\System\\CurrentControlSet\\Control\\CrashControl\\";
constexpr std::wstring_view kDesktop = L"\\Control Panel\\Desktop\\";
constexpr std::wstring_view kInternetExplorerMain = L"\\Software\\Microsoft\\Internet Explorer\\Main\\";
constexpr std::wstring_view kAutoComplete = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoComplete\\";
constexpr std::wstring_view kExplorerPolicies = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\";
constexpr std::wstring_view kWindowsNtWindows = L"\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\";
constexpr std::wstring_view kMessenger = L"\\System\\CurrentControlSet\\Services\\Messenger\\";
constexpr std::wstring_view kInternetSettings = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::wstring_view kExplorer = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr std::wstring_view kSessionManager = L"\\System\\CurrentControlSet\\Control\\Session Manager\\";
constexpr std::wstring_view kPsched = L"\\Software\\Policies\\Microsoft\\Windows\\Psched";
constexpr std::wstring_view kBootOptimize = L"\\Software\\Microsoft\\Dfrg\\BootOptimizeFunction\\";
constexpr std::wstring_view kP3 = L"\\System\\CurrentControlSet\\Services\\P3\\Parameters\\";

constexpr TweakValue Integer(std::int32_t value) { return {ValueKind::kInteger, value, {}, 0, false}; }
constexpr TweakValue Text(std::wstring_view text) { return {ValueKind::kString, 0, text, 0, false}; }
constexpr TweakValue ZeroBytes(std::size_t count) { return {ValueKind::kBinary, 0, {}, count, false}; }
constexpr TweakValue ConnectionsBySpeedSetting() { return {ValueKind::kInteger, 4, {}, 0, true}; }

constexpr Tweak kCatalogue[] = {
    {kHklm, kFileSystem, L"NtfsDisableLastAccessupdate", Integer(1), kAlways},          // 1
    {kHklm, kFileSystem, L"NtfsMftZoneReservation", Integer(2), kAlways},               // 2
    {kHklm, kTcpip, L"SynAttackProtect", Integer(2), kAlways},                          // 3
    {kHklm, kTcpip, L"TcpMaxHalfOpen", Integer(100), kAlways},                          // 4
    {kHklm, kTcpip, L"TcpMaxHalfOpenRetried", Integer(50), kAlways},                    // 5
    {kHklm, kTcpip, L"EnablePMTUDiscovery", Integer(0), kAlways},                       // 6
    {kHklm, kTcpip, L"EnableDeadGWDetect", Integer(0), kAlways},                        // 7
    {kHklm, kTcpip, L"KeepAliveTime", Integer(300000), kAlways},                        // 8
    {kHklm, kTcpip, L"EnableICMPRedirects", Integer(0), kAlways},                       // 9
    {kHklm, kNetbt, L"NoNameReleaseOnDemand", Integer(1), kAlways},                     // 10
    {kHklm, kTcpipInterfaces, L"PerformRouterDiscovery", Integer(0), kAlways},          // 11
    {kHkcu, kWindowMetrics, L"MinAnimate", Text(L"1"), kAlways},                        // 12
    {kHklm, kMemoryManagement, L"DisablePagingExecutive", Integer(0), kAlways},         // 13
    {kHklm, kMemoryManagement, L"LargeSystemCache", Integer(0), kAlways},               // 14
    {kHklm, kPriorityControl, L"Win32PrioritySeparation", Integer(1), kAlways},         // 15
    {kHklm, kCrashControl, L"AutoReboot", Integer(1), kAlways},                         // 16
    {kHkcu, kDesktop, L"SmoothScroll", ZeroBytes(4), kAlways},                          // 17
    {kHkcu, kInternetExplorerMain, L"Use StyleSheets", Text(L"Yes"), kAlways},          // 18
    {kHkcu, kAutoComplete, L"Append Completion", Text(L"Yes"), kAlways},                // 19
    {kHklm, kFileSystem, L"ContigFileAllocSize", Integer(1536), kAlways},               // 20
    {kHklm, kExplorerPolicies, L"LinkResolveIgnoreLinkInfo", Integer(0), kAlways},      // 21
    {kHklm, kExplorerPolicies, L"NoResolveSearch", Integer(1), kAlways},                // 22
    {kHklm, kMemoryManagement, L"IoPageLockLimit", Integer(4096), kAlways},             // 23
    {kHklm, kCrashControl, L"SendAlert", Integer(1), kAlways},                          // 24
    {kHklm, kWindowsNtWindows, L"NoPopUpsOnBoot", Integer(1), kAlways},                 // 25
    {kHklm, kWindowsNtWindows, L"Error Mode", Integer(1), kAlways},                     // 26
    {kHklm, kMessenger, L"Start", Integer(4), kAlways},                                 // 27
    {kHkcu, kInternetSettings, L"MaxConnectionsPerServer", ConnectionsBySpeedSetting(), kAlways},     // 28
    {kHkcu, kInternetSettings, L"MaxConnectionsPer1_0Server", ConnectionsBySpeedSetting(), kAlways},  // 29
    {kHklm, kTcpipUnclosed, L"KeepAliveTime", Integer(7200000), kAlways},               // 30
    {kHklm, kTcpipUnclosed, L"KeepAliveInterval", Integer(1000), kAlways},              // 31
    {kHklm, kExplorer, L"ThumbnailSize", Integer(96), kNotWindows2000},                 // 32
    {kHklm, kExplorer, L"ThumbnailQuality", Integer(80), kNotWindows2000},              // 33
    {kHklm, kSessionManager, L"EnablePrefetcher", Integer(1), kNotWindows2000},         // 34
    {kHklm, kTcpipUnclosed, L"DefaultTTL", Integer(64), kNotDialUpOrIsdn},              // 35
    {kHklm, kTcpipUnclosed, L"EnablePMTUBHDetect", Integer(0), kNotDialUpOrIsdn},       // 36
    {kHklm, kTcpipUnclosed, L"EnablePMTUDiscovery", Integer(1), kNotDialUpOrIsdn},      // 37
    {kHklm, kTcpipUnclosed, L"SackOpts", Integer(1), kNotDialUpOrIsdn},                 // 38
    {kHklm, kTcpipUnclosed, L"Tcp1323Opts", Integer(3), kNotDialUpOrIsdn},              // 39
    {kHklm, kTcpipUnclosed, L"GlobalMaxTcpWindowSize", Integer(256960), kNotDialUpOrIsdn},  // 40
    {kHklm, kTcpipUnclosed, L"TcpWindowSize", Integer(256960), kNotDialUpOrIsdn},       // 41
    {kHklm, kTcpipUnclosed, L"TcpMaxDupAcks", Integer(2), kNotDialUpOrIsdn},            // 42
    {kHklm, kPsched, L"NonBestEffortLimit", Integer(50), kNotDialUpOrIsdn},             // 43
    {kHklm, kPsched, L"MaxOutstandingSends", Integer(65535), kNotDialUpOrIsdn},         // 44
    {kHklm, kSessionManager, L"AutoChkTimeOut", Integer(0), kWindows2000OrServer},      // 45
    {kHklm, kBootOptimize, L"Enable", Text(L"Y"), kDesktopFromXp},                      // 46
    {kHklm, kP3, L"HackFlags", Integer(1), kDesktopFromXp},                             // 47
};
static_assert(std::size(kCatalogue) == 47);

constexpr BackupEntry kBackupSet[] = {
    {kHklm, kFileSystem, L"NtfsDisableLastAccessupdate", ValueKind::kInteger, 1, {}},   // entry 1
    {kHklm, kFileSystem, L"NtfsMftZoneReservation", ValueKind::kInteger, 0, {}},        // entry 2
    {kHkcu, kWindowMetrics, L"MinAnimate", ValueKind::kString, 0, L"1"},                // entry 12
    {kHklm, kMemoryManagement, L"DisablePagingExecutive", ValueKind::kInteger, 0, {}},  // entry 13
    {kHklm, kMemoryManagement, L"LargeSystemCache", ValueKind::kInteger, 0, {}},        // entry 14
    {kHklm, kPriorityControl, L"Win32PrioritySeparation", ValueKind::kInteger, 2, {}},  // entry 15
    {kHklm, kCrashControl, L"AutoReboot", ValueKind::kInteger, 1, {}},                  // entry 16
    {kHkcu, kInternetSettings, L"MaxConnectionsPerServer", ValueKind::kInteger, 2, {}},     // entry 28
    {kHkcu, kInternetSettings, L"MaxConnectionsPer1_0Server", ValueKind::kInteger, 2, {}},  // entry 29
    {kHklm, kTcpipUnclosed, L"KeepAliveTime", ValueKind::kInteger, 7200000, {}},        // entries 8 and 30
    {kHklm, kTcpipUnclosed, L"KeepAliveInterval", ValueKind::kInteger, 1000, {}},       // entry 31
};
static_assert(std::size(kBackupSet) == 11);

constexpr RestoreOperation CopyBackInteger(Hive hive, std::wstring_view key, std::wstring_view name,
                                           std::int32_t defaultValue) {
  return {RestoreAction::kCopyBack, ValueKind::kInteger, hive, key, name, defaultValue, {}, kAlways};
}
constexpr RestoreOperation CopyBackText(Hive hive, std::wstring_view key, std::wstring_view name,
                                        std::wstring_view defaultValue) {
  return {RestoreAction::kCopyBack, ValueKind::kString, hive, key, name, 0, defaultValue, kAlways};
}
constexpr RestoreOperation Delete(Hive hive, std::wstring_view key, std::wstring_view name,
                                  Condition condition = kAlways) {
  return {RestoreAction::kDelete, ValueKind::kInteger, hive, key, name, 0, {}, condition};
}
constexpr RestoreOperation DropSavedCopy(std::wstring_view name) {
  return {RestoreAction::kDropSavedCopy, ValueKind::kInteger, kHklm, {}, name, 0, {}, kAlways};
}

constexpr RestoreOperation kRestoreTable[] = {
    CopyBackInteger(kHklm, kFileSystem, L"NtfsDisableLastAccessupdate", 1),      // 1
    CopyBackInteger(kHklm, kFileSystem, L"NtfsMftZoneReservation", 0),           // 2
    DropSavedCopy(L"NtfsDisableLastAccessupdate"),                               // 3
    DropSavedCopy(L"NtfsMftZoneReservation"),                                    // 4
    Delete(kHklm, kTcpip, L"SynAttackProtect"),                                  // 5
    Delete(kHklm, kTcpip, L"TcpMaxHalfOpen"),                                    // 6
    Delete(kHklm, kTcpip, L"TcpMaxHalfOpenRetried"),                             // 7
    Delete(kHklm, kTcpip, L"EnablePMTUDiscovery"),                               // 8
    Delete(kHklm, kTcpip, L"EnableDeadGWDetect"),                                // 9
    Delete(kHklm, kTcpip, L"KeepAliveTime"),                                     // 10
    Delete(kHklm, kTcpip, L"EnableICMPRedirects"),                               // 11
    Delete(kHklm, kNetbt, L"NoNameReleaseOnDemand"),                             // 12
    Delete(kHklm, kTcpipInterfaces, L"PerformRouterDiscovery"),                  // 13
    CopyBackText(kHkcu, kWindowMetrics, L"MinAnimate", L"1"),                    // 14
    CopyBackInteger(kHklm, kMemoryManagement, L"DisablePagingExecutive", 0),     // 15
    CopyBackInteger(kHklm, kMemoryManagement, L"LargeSystemCache", 0),           // 16
    CopyBackInteger(kHklm, kPriorityControl, L"Win32PrioritySeparation", 2),     // 17
    CopyBackInteger(kHklm, kCrashControl, L"AutoReboot", 1),                     // 18
    DropSavedCopy(L"MinAnimate"),                                                // 19
    DropSavedCopy(L"DisablePagingExecutive"),                                    // 20
    DropSavedCopy(L"LargeSystemCache"),                                          // 21
    DropSavedCopy(L"Win32PrioritySeparation"),                                   // 22
    DropSavedCopy(L"AutoReboot"),                                                // 23
    Delete(kHkcu, kDesktop, L"SmoothScroll"),                                    // 24
    Delete(kHkcu, kInternetExplorerMain, L"Use StyleSheets"),                    // 25
    Delete(kHkcu, kAutoComplete, L"Append Completion"),                          // 26
    Delete(kHklm, kFileSystem, L"ContigFileAllocSize"),                          // 27
    Delete(kHklm, kExplorerPolicies, L"LinkResolveIgnoreLinkInfo"),              // 28
    Delete(kHklm, kExplorerPolicies, L"NoResolveSearch"),                        // 29
    Delete(kHklm, kMemoryManagement, L"IoPageLockLimit"),                        // 30
    Delete(kHklm, kCrashControl, L"SendAlert"),                                  // 31
    Delete(kHklm, kWindowsNtWindows, L"NoPopUpsOnBoot"),                         // 32
    Delete(kHklm, kWindowsNtWindows, L"Error Mode"),                             // 33
    Delete(kHklm, kMessenger, L"Start"),                                         // 34
    CopyBackInteger(kHkcu, kInternetSettings, L"MaxConnectionsPerServer", 2),    // 35
    CopyBackInteger(kHkcu, kInternetSettings, L"MaxConnectionsPer1_0Server", 2), // 36
    DropSavedCopy(L"MaxConnectionsPerServer"),                                   // 37
    DropSavedCopy(L"MaxConnectionsPer1_0Server"),                                // 38
    CopyBackInteger(kHklm, kTcpipUnclosed, L"KeepAliveTime", 7200000),           // 39
    CopyBackInteger(kHklm, kTcpipUnclosed, L"KeepAliveInterval", 1000),          // 40
    DropSavedCopy(L"KeepAliveTime"),                                             // 41
    DropSavedCopy(L"KeepAliveInterval"),                                         // 42
    Delete(kHklm, kTcpipUnclosed, L"DefaultTTL", kNotDialUpOrIsdn),              // 43
    Delete(kHklm, kTcpipUnclosed, L"EnablePMTUBHDetect", kNotDialUpOrIsdn),      // 44
    Delete(kHklm, kTcpipUnclosed, L"EnablePMTUDiscovery", kNotDialUpOrIsdn),     // 45
    Delete(kHklm, kTcpipUnclosed, L"SackOpts", kNotDialUpOrIsdn),                // 46
    Delete(kHklm, kTcpipUnclosed, L"Tcp1323Opts", kNotDialUpOrIsdn),             // 47
    Delete(kHklm, kTcpipUnclosed, L"GlobalMaxTcpWindowSize", kNotDialUpOrIsdn),  // 48
    Delete(kHklm, kTcpipUnclosed, L"TcpWindowSize", kNotDialUpOrIsdn),           // 49
    Delete(kHklm, kTcpipUnclosed, L"TcpMaxDupAcks", kNotDialUpOrIsdn),           // 50
    Delete(kHklm, kPsched, L"NonBestEffortLimit", kNotDialUpOrIsdn),             // 51
    Delete(kHklm, kPsched, L"MaxOutstandingSends", kNotDialUpOrIsdn),            // 52
    Delete(kHklm, kSessionManager, L"EnablePrefetcher", kNotWindows2000),        // 53
    Delete(kHklm, kSessionManager, L"AutoChkTimeOut", kWindows2000OrServer),     // 54
    Delete(kHklm, kBootOptimize, L"Enable", kDesktopFromXp),                     // 55
    Delete(kHklm, kP3, L"HackFlags", kDesktopFromXp),                            // 56
};
static_assert(std::size(kRestoreTable) == 56);

}  // namespace

int ConvertWindowsVersion(int listPosition) noexcept {
  if (listPosition < 0 || listPosition >= static_cast<int>(std::size(kVersionCodeByListPosition))) return -1;
  return kVersionCodeByListPosition[listPosition];
}

HKEY HiveRoot(Hive hive) noexcept { return hive == Hive::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

bool ConditionHolds(Condition condition, int versionCode, int connectionType) noexcept {
  switch (condition) {
    case kAlways:
      return true;
    case kNotWindows2000:
      return versionCode != 0;
    case kNotDialUpOrIsdn:
      return connectionType != 2 && connectionType != 7;
    case kWindows2000OrServer:
      return versionCode == 0 || versionCode == 2 || versionCode == 4 || versionCode == 7;
    case kDesktopFromXp:
      return versionCode == 1 || versionCode == 3 || versionCode == 5 || versionCode == 6 || versionCode == 8;
  }
  return false;
}

std::span<const Tweak> TweakCatalogue() noexcept { return kCatalogue; }

std::int32_t TweakInteger(const TweakValue& value, int speedSetting) noexcept {
  if (value.bySpeedSetting) return speedSetting > 0 ? 8 : 4;
  return value.integer;
}

std::span<const BackupEntry> BackupSet() noexcept { return kBackupSet; }

std::span<const RestoreOperation> RestoreTable() noexcept { return kRestoreTable; }

}  // namespace zephtune::tuning
