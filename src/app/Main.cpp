#include <windows.h>

#include <cstdlib>

#include "app/Startup.h"
#include "base/SystemLibrary.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  zephtune::RestrictDllSearchToSystem();
  return zephtune::RunZephtune(instance, __argc, __wargv);
}
