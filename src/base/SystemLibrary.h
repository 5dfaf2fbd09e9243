#pragma once

#include <windows.h>

#include "base/UniqueHandle.h"

namespace zephtune {

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle module) noexcept { FreeLibrary(module); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

// The program runs elevated, possibly from a folder such as Downloads: a DLL planted
// beside it must never load. Called first thing at start.
void RestrictDllSearchToSystem() noexcept;

// Loads a DLL from the system directory only, never from the program's folder or the
// current directory. Empty when the DLL is not there.
UniqueModule LoadSystemLibrary(const wchar_t* fileName) noexcept;

// A typed GetProcAddress; null when the module or the function is missing.
template <typename Function>
Function GetProc(HMODULE module, const char* name) noexcept {
  if (module == nullptr) return nullptr;
  // The detour through a plain function pointer type is the documented way to
  // convert between function pointer types without a cast warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace zephtune
