#pragma once

#include "base/SystemLibrary.h"

namespace zephtune {

// A function of a DLL from the system directory whose library, once loaded, stays
// loaded until the program ends; null when the DLL or the function is missing.
template <typename Function>
Function LoadKeptSystemFunction(const wchar_t* library, const char* name) noexcept {
  UniqueModule module = LoadSystemLibrary(library);
  const auto function = GetProc<Function>(module.get(), name);
  if (function != nullptr) module.release();
  return function;
}

}  // namespace zephtune
