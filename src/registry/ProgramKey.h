#pragma once

#include <windows.h>

#include <string_view>

namespace zephtune::programkey {

// The one key where the program keeps its state between runs. It lives in the
// registry view of the program's own bitness (every access passes the 64-bit-view
// flag false), so stored data stays where earlier versions put it.
inline const HKEY kRoot = HKEY_LOCAL_MACHINE;
inline constexpr std::wstring_view kPath = L"\\Software\\BRELIX\\Zephtune\\";
inline constexpr bool kUse64BitView = false;

inline constexpr std::wstring_view kInstalledDate = L"InstalledDate";
inline constexpr std::wstring_view kUpdated = L"Updated";
inline constexpr std::wstring_view kUpdatedDate = L"UpdatedDate";
inline constexpr std::wstring_view kInternetType = L"InternetType";
inline constexpr std::wstring_view kProcessorType = L"ProcessorType";
inline constexpr std::wstring_view kSpeedSetting = L"SpeedSetting";
inline constexpr std::wstring_view kRestore = L"Restore";
inline constexpr std::wstring_view kLanguage = L"Language";

}  // namespace zephtune::programkey
