#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zephtune::testing {

// The facts of a Windows executable that the packaging checks look at, read from the
// file's bytes.
struct PeFacts {
  std::uint16_t machine = 0;         // 0x14C i386, 0x8664 x64
  std::uint16_t optionalMagic = 0;   // 0x10B PE32, 0x20B PE32+
  std::uint16_t subsystem = 0;       // 2 GUI, 3 console
  std::uint16_t dllCharacteristics = 0;
  std::vector<std::string> importedDlls;
};

std::optional<PeFacts> ReadPeFacts(const std::wstring& path);

}  // namespace zephtune::testing
