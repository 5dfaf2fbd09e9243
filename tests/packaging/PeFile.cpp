#include "PeFile.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace zephtune::testing {
namespace {

template <typename T>
bool ReadAt(const std::vector<char>& file, std::size_t offset, T& out) {
  if (offset > file.size() || file.size() - offset < sizeof(T)) return false;
  std::memcpy(&out, file.data() + offset, sizeof(T));
  return true;
}

}  // namespace

std::optional<PeFacts> ReadPeFacts(const std::wstring& path) {
  std::ifstream stream(path.c_str(), std::ios::binary);
  if (!stream) return std::nullopt;
  const std::vector<char> file((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());

  IMAGE_DOS_HEADER dos{};
  if (!ReadAt(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
  const std::size_t nt = static_cast<std::size_t>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  if (!ReadAt(file, nt, signature) || signature != IMAGE_NT_SIGNATURE || !ReadAt(file, nt + 4, header)) {
    return std::nullopt;
  }
  const std::size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
  PeFacts facts;
  facts.machine = header.Machine;
  if (!ReadAt(file, optional, facts.optionalMagic)) return std::nullopt;

  DWORD importRva = 0;
  if (facts.optionalMagic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 o{};
    if (!ReadAt(file, optional, o)) return std::nullopt;
    facts.subsystem = o.Subsystem;
    facts.dllCharacteristics = o.DllCharacteristics;
    importRva = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  } else if (facts.optionalMagic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    IMAGE_OPTIONAL_HEADER64 o{};
    if (!ReadAt(file, optional, o)) return std::nullopt;
    facts.subsystem = o.Subsystem;
    facts.dllCharacteristics = o.DllCharacteristics;
    importRva = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  } else {
    return std::nullopt;
  }

  // Relative virtual addresses to file offsets through the section table.
  std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
  const std::size_t sectionTable = optional + header.SizeOfOptionalHeader;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!ReadAt(file, sectionTable + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return std::nullopt;
  }
  const auto toOffset = [&](DWORD rva) -> std::optional<std::size_t> {
    for (const IMAGE_SECTION_HEADER& s : sections) {
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData)) {
        return static_cast<std::size_t>(rva - s.VirtualAddress + s.PointerToRawData);
      }
    }
    return std::nullopt;
  };

  if (importRva == 0) return facts;
  std::optional<std::size_t> descriptor = toOffset(importRva);
  if (!descriptor) return std::nullopt;
  for (;; *descriptor += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR entry{};
    if (!ReadAt(file, *descriptor, entry)) return std::nullopt;
    if (entry.Name == 0) break;
    const std::optional<std::size_t> name = toOffset(entry.Name);
    if (!name || *name >= file.size()) return std::nullopt;
    facts.importedDlls.emplace_back(file.data() + *name, strnlen(file.data() + *name, file.size() - *name));
  }
  return facts;
}

}  // namespace zephtune::testing
