#include "desktop/Sound.h"

#include <windows.h>

#include "base/Trace.h"
#include "desktop/SystemFunction.h"

namespace zephtune {
namespace {

// From mmsystem.h: the sound name is a resource of the given module.
constexpr DWORD kSndResource = 0x00040004;
using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);

// WinMM is loaded on the first click and kept: loading it sets up the audio system,
// which every later click would otherwise pay for again.
PlaySoundFn PlaySoundFunction() noexcept {
  static const PlaySoundFn function = LoadKeptSystemFunction<PlaySoundFn>(L"winmm.dll", "PlaySoundW");
  return function;
}

}  // namespace

void PlayClickSound() noexcept {
  Guarded(L"PlayClickSound", [] {
    if (const PlaySoundFn playSound = PlaySoundFunction()) playSound(L"click", GetModuleHandleW(nullptr), kSndResource);
  });
}

}  // namespace zephtune
