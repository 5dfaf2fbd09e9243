#include "base/SystemLibrary.h"

#include <string>

namespace zephtune {
namespace {

// Not declared for Windows XP; present where SetDefaultDllDirectories exists.
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;

HMODULE Kernel32() noexcept { return GetModuleHandleW(L"kernel32.dll"); }

}  // namespace

void RestrictDllSearchToSystem() noexcept {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
  if (auto setDefault = GetProc<SetDefaultDllDirectoriesFn>(Kernel32(), "SetDefaultDllDirectories")) {
    if (setDefault(kLoadLibrarySearchSystem32)) return;
  }
  // Older systems: at least take the current directory out of the search order; the
  // DLLs loaded at run time come by full path from LoadSystemLibrary.
  if (auto setDirectory = GetProc<SetDllDirectoryFn>(Kernel32(), "SetDllDirectoryW")) {
    setDirectory(L"");
  }
}

UniqueModule LoadSystemLibrary(const wchar_t* fileName) noexcept {
  try {
    wchar_t directory[MAX_PATH];
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueModule();
    std::wstring path(directory, length);
    if (path.back() != L'\\') path += L'\\';
    path += fileName;
    // A full path, and the DLL's own dependencies searched from its directory first.
    return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  } catch (...) {
    return UniqueModule();
  }
}

}  // namespace zephtune
