#include "app/ProcessorMake.h"

#include <windows.h>

#include <array>
#include <string>

#include "base/AsciiCase.h"
#include "base/Trace.h"
#include "registry/CustomRegistry.h"

namespace zephtune {
namespace {

constexpr std::wstring_view kProcessorKey = L"\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\";
constexpr std::wstring_view kProcessorName = L"ProcessorNameString";

struct MakeWord {
  std::wstring_view word;  // lower case
  int make;
};

// Tested in this order; the first word found decides, so a name with both "intel" and
// "amd" counts as Intel.
constexpr std::array kMakeWords{
    MakeWord{L"intel", kProcessorIntel},
    MakeWord{L"amd", kProcessorAmd},
    MakeWord{L"via", kProcessorVia},
};

}  // namespace

int ProcessorMakeFromName(std::wstring_view name) noexcept {
  return Guarded(L"ProcessorMakeFromName", kProcessorIntel, [&] {
    const std::wstring lower = LowerAscii(name);
    for (const MakeWord& entry : kMakeWords) {
      if (lower.find(entry.word) != std::wstring::npos) return entry.make;
    }
    return kProcessorIntel;
  });
}

int DetectProcessorMake() noexcept {
  // The name is Windows' own value, so it is read where Windows keeps it: in the
  // 64-bit view on 64-bit Windows.
  const std::wstring name =
      RegistryReadString(HKEY_LOCAL_MACHINE, kProcessorKey, kProcessorName, L"", RunsOn64BitWindows());
  return ProcessorMakeFromName(name);
}

}  // namespace zephtune
