#pragma once

#include <windows.h>

namespace zephtune {

// Windows version codes, shared with the tweak catalogue.
inline constexpr int kWindowsUnknown = -1;
inline constexpr int kWindows2000 = 0;
inline constexpr int kWindowsXp = 1;
inline constexpr int kWindowsServer2003 = 2;
inline constexpr int kWindowsVista = 3;
inline constexpr int kWindowsServer2008 = 4;
inline constexpr int kWindows7 = 5;
inline constexpr int kWindows8 = 6;
inline constexpr int kWindowsServer2012 = 7;
inline constexpr int kWindows10 = 8;

// The version code of the running system, -1 when it is not one the program knows.
int DetectWindowsVersion() noexcept;

// The version query the detection makes: GetVersionExW, or a stand-in for tests.
using VersionQuery = BOOL(WINAPI*)(OSVERSIONINFOW* info);

// The detection with the given query: first with the full OSVERSIONINFOEXW (284 bytes),
// and when the system refuses that, once more with the basic OSVERSIONINFOW (276 bytes),
// which carries no product type.
int DetectWindowsVersion(VersionQuery query) noexcept;

// The version code for a reported version and product type (1 workstation, 2 domain
// controller, 3 server, 0 none given).
int WindowsVersionCode(DWORD major, DWORD minor, BYTE productType) noexcept;

}  // namespace zephtune
