#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "PeFile.h"
#include "support/TestPaths.h"

namespace zephtune {
namespace {

using testing::ReadPeFacts;
using testing::WindowsPathFromEnvironment;

struct Build {
  const char* label;
  const char* distVariable;
  std::uint16_t machine;
  std::uint16_t optionalMagic;
  const char* manifestArchitecture;
  friend void PrintTo(const Build& build, std::ostream* out) { *out << build.label; }
};

const Build kBuilds[] = {
    {"x86", "ZT_X86_DIST", IMAGE_FILE_MACHINE_I386, IMAGE_NT_OPTIONAL_HDR32_MAGIC, "x86"},
    {"x64", "ZT_X64_DIST", IMAGE_FILE_MACHINE_AMD64, IMAGE_NT_OPTIONAL_HDR64_MAGIC, "amd64"},
    {"e2e", "ZT_E2E_DIST", IMAGE_FILE_MACHINE_AMD64, IMAGE_NT_OPTIONAL_HDR64_MAGIC, "amd64"},
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  return text;
}

std::string FileStart(const std::wstring& path, std::size_t count) {
  std::ifstream stream(path.c_str(), std::ios::binary);
  std::string bytes(count, '\0');
  stream.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(stream.gcount()));
  return bytes;
}

struct DataFile {
  HMODULE module = nullptr;
  explicit DataFile(const std::wstring& path) : module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataFile() {
    if (module) FreeLibrary(module);
  }
  std::string Resource(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
  }
};

class ShippedProgram : public ::testing::TestWithParam<Build> {
 protected:
  std::wstring Dist() const { return WindowsPathFromEnvironment(GetParam().distVariable); }
  std::wstring Exe() const { return Dist() + L"\\Zephtune.exe"; }
};

TEST_P(ShippedProgram, IsAGuiExecutableOfItsArchitecture) {
  const auto facts = ReadPeFacts(Exe());
  ASSERT_TRUE(facts.has_value()) << "cannot read " << ::testing::PrintToString(Exe());
  EXPECT_EQ(facts->machine, GetParam().machine);
  EXPECT_EQ(facts->optionalMagic, GetParam().optionalMagic);
  EXPECT_EQ(facts->subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  EXPECT_TRUE(facts->dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
  EXPECT_TRUE(facts->dllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
}

// Only DLLs that Windows always takes from its system directory (Known DLLs, and Common
// Controls through the manifest) may be imported statically; a DLL planted beside the
// elevated program must never load.
TEST_P(ShippedProgram, ImportsOnlyDllsThatWindowsLoadsFromItsSystemDirectory) {
  const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll",  "advapi32.dll",
                                         "shell32.dll",  "ole32.dll",  "oleaut32.dll", "comctl32.dll",
                                         "msvcrt.dll",   "comdlg32.dll"};
  const auto facts = ReadPeFacts(Exe());
  ASSERT_TRUE(facts.has_value());
  EXPECT_FALSE(facts->importedDlls.empty());
  for (const std::string& dll : facts->importedDlls) EXPECT_TRUE(allowed.count(Lower(dll))) << dll;
}

// The manifest's <assemblyIdentity .../> element of the named assembly.
std::string AssemblyIdentity(const std::string& manifest, const std::string& name) {
  for (std::size_t at = manifest.find("<assemblyIdentity"); at != std::string::npos;
       at = manifest.find("<assemblyIdentity", at + 1)) {
    const std::string element = manifest.substr(at, manifest.find("/>", at) - at);
    if (element.find("name=\"" + name + "\"") != std::string::npos) return element;
  }
  return std::string();
}

TEST_P(ShippedProgram, CarriesItsManifest) {
  DataFile file(Exe());
  ASSERT_NE(file.module, nullptr);
  const std::string manifest = file.Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty());
  const std::string architecture = std::string("processorArchitecture=\"") + GetParam().manifestArchitecture + "\"";

  const std::string program = AssemblyIdentity(manifest, "BRELIX.Zephtune");
  EXPECT_NE(program.find("version=\"1.0.0.0\""), std::string::npos) << program;
  EXPECT_NE(program.find(architecture), std::string::npos) << program;
  const std::string controls = AssemblyIdentity(manifest, "Microsoft.Windows.Common-Controls");
  EXPECT_NE(controls.find("version=\"6.0.0.0\""), std::string::npos) << controls;
  EXPECT_NE(controls.find(architecture), std::string::npos) << controls;
  EXPECT_NE(controls.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos) << controls;

  for (const char* expected : {"<description>Zephtune</description>",
                               "level=\"requireAdministrator\" uiAccess=\"false\"",
                               "{e2011457-1546-43c5-a5fe-008deee3d3f0}",   // Vista
                               "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // 7
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // 8
                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // 8.1
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",   // 10
                               ">true</dpiAware>"}) {
    EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
  }
}

TEST_P(ShippedProgram, ShowsItsVersionInTheFileProperties) {
  const std::wstring exe = Exe();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 2));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(2018, 28));
  for (const auto& [key, expected] : {std::pair{L"FileVersion", L"2.1.28.2018"}, std::pair{L"ProductName", L"Zephtune"},
                                      std::pair{L"CompanyName", L"BRELIX"}, std::pair{L"LegalCopyright", L"\u00A9 2015-2018 BRELIX"}}) {
    wchar_t* text = nullptr;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
    ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) << ::testing::PrintToString(std::wstring(key));
    EXPECT_EQ(std::wstring(text), std::wstring(expected));
  }
}

TEST_P(ShippedProgram, CarriesTheProgramIcon) {
  DataFile file(Exe());
  ASSERT_NE(file.module, nullptr);
  EXPECT_FALSE(file.Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1)).empty());
}

TEST_P(ShippedProgram, ShipsWithItsHelpAndLicenceTerms) {
  EXPECT_EQ(FileStart(Dist() + L"\\Zephtune.chm", 4), "ITSF");
  EXPECT_EQ(FileStart(Dist() + L"\\License.rtf", 6), "{\\rtf1");
}

INSTANTIATE_TEST_SUITE_P(Builds, ShippedProgram, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace zephtune
