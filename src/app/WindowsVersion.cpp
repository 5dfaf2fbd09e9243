#include "app/WindowsVersion.h"

#include <array>

#include "base/Trace.h"

namespace zephtune {
namespace {

static_assert(sizeof(OSVERSIONINFOEXW) == 284 && sizeof(OSVERSIONINFOW) == 276);

constexpr DWORD kAnyMinor = 0xFFFFFFFF;

// A reported version and what it means for a workstation, for a server (domain
// controller or server) and when the system gives no product type.
struct VersionRow {
  DWORD major;
  DWORD minor;
  int workstation;
  int server;
  int noProductType;
};

// The first row that matches decides; a version without a row is unknown.
constexpr std::array kVersionTable{
    VersionRow{5, 0, kWindows2000, kWindows2000, kWindows2000},
    VersionRow{5, 1, kWindowsXp, kWindowsXp, kWindowsXp},
    VersionRow{5, 2, kWindowsXp, kWindowsServer2003, kWindowsUnknown},
    VersionRow{6, 0, kWindowsVista, kWindowsServer2008, kWindowsUnknown},
    VersionRow{6, 1, kWindows7, kWindowsServer2008, kWindowsUnknown},
    VersionRow{6, 2, kWindows8, kWindowsServer2012, kWindowsUnknown},
    VersionRow{6, 3, kWindows8, kWindowsServer2012, kWindowsUnknown},
    VersionRow{10, kAnyMinor, kWindows10, kWindows10, kWindows10},
};

BOOL WINAPI SystemVersionQuery(OSVERSIONINFOW* info) {
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // deprecated, but the manifest makes it truthful up to Windows 10
#endif
  return GetVersionExW(info);
}

}  // namespace

int WindowsVersionCode(DWORD major, DWORD minor, BYTE productType) noexcept {
  for (const VersionRow& row : kVersionTable) {
    if (row.major != major || (row.minor != kAnyMinor && row.minor != minor)) continue;
    if (productType == VER_NT_WORKSTATION) return row.workstation;
    return productType == 0 ? row.noProductType : row.server;
  }
  return kWindowsUnknown;
}

int DetectWindowsVersion(VersionQuery query) noexcept {
  return Guarded(L"DetectWindowsVersion", kWindowsUnknown, [&] {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    if (!query(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
      // Systems that know only the basic structure; its answer is taken as it is, and
      // a second refusal leaves every field zero, which is unknown.
      info = OSVERSIONINFOEXW{};
      info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
      query(reinterpret_cast<OSVERSIONINFOW*>(&info));
    }
    return WindowsVersionCode(info.dwMajorVersion, info.dwMinorVersion, info.wProductType);
  });
}

int DetectWindowsVersion() noexcept { return DetectWindowsVersion(&SystemVersionQuery); }

}  // namespace zephtune
