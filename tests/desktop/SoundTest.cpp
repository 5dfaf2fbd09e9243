#include "desktop/Sound.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/TestPaths.h"

namespace zephtune {
namespace {

std::uint32_t U32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// A program's resource read without running the program (the 32-bit build cannot run here).
class ProgramFile {
 public:
  explicit ProgramFile(const std::wstring& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramFile() {
    if (module_) FreeLibrary(module_);
  }
  ProgramFile(const ProgramFile&) = delete;
  ProgramFile& operator=(const ProgramFile&) = delete;
  bool Loaded() const { return module_ != nullptr; }
  std::vector<std::uint8_t> Resource(LPCWSTR type, LPCWSTR name, WORD language) const {
    HRSRC found = FindResourceExW(module_, type, name, language);
    if (found == nullptr) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found)));
    return data ? std::vector<std::uint8_t>(data, data + SizeofResource(module_, found)) : std::vector<std::uint8_t>();
  }

 private:
  HMODULE module_;
};

class ShippedClickSound : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedClickSound, IsAShortMonoPcmWave) {
  const std::wstring exe = testing::WindowsPathFromEnvironment(GetParam()) + L"\\Zephtune.exe";
  ProgramFile program(exe);
  ASSERT_TRUE(program.Loaded()) << ::testing::PrintToString(exe);
  const std::vector<std::uint8_t> wave =
      program.Resource(L"WAVE", L"CLICK", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_EQ(wave.size(), 44u + 2158u);
  const std::uint8_t* p = wave.data();
  EXPECT_EQ(std::memcmp(p, "RIFF", 4), 0);
  EXPECT_EQ(U32(p + 4), wave.size() - 8);
  EXPECT_EQ(std::memcmp(p + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(U32(p + 16), 16u);
  EXPECT_EQ(U16(p + 20), 1u);       // PCM
  EXPECT_EQ(U16(p + 22), 1u);       // mono
  EXPECT_EQ(U32(p + 24), 22050u);   // samples per second
  EXPECT_EQ(U32(p + 28), 44100u);   // bytes per second
  EXPECT_EQ(U16(p + 32), 2u);       // block alignment
  EXPECT_EQ(U16(p + 34), 16u);      // bits per sample
  EXPECT_EQ(std::memcmp(p + 36, "data", 4), 0);
  EXPECT_EQ(U32(p + 40), 2158u);
}

INSTANTIATE_TEST_SUITE_P(Builds, ShippedClickSound, ::testing::Values("ZT_X86_DIST", "ZT_X64_DIST"));

// A soft click: it starts and ends in silence, stays well below full scale, and its
// energy lies at the start instead of spreading evenly as noise would.
TEST(ClickSound, IsASoftDecayingClick) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, L"click", L"WAVE");
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(self, found)));
  ASSERT_EQ(SizeofResource(self, found), 44u + 2158u);
  std::vector<int> samples;
  for (std::size_t i = 0; i < 1079; ++i) samples.push_back(static_cast<std::int16_t>(U16(data + 44 + 2 * i)));

  EXPECT_EQ(samples.front(), 0);
  EXPECT_EQ(samples.back(), 0);
  int peak = 0;
  double early = 0;
  double late = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    peak = std::max(peak, std::abs(samples[i]));
    (i < samples.size() / 3 ? early : late) += double(samples[i]) * samples[i];
  }
  EXPECT_GT(peak, 32767 / 10);
  EXPECT_LT(peak, 32767 / 2);
  EXPECT_GT(early, 20 * late);
}

TEST(PlayClickSound, ReturnsWithAndWithoutSoundOutput) {
  PlayClickSound();
  PlayClickSound();
  SUCCEED();
}

}  // namespace
}  // namespace zephtune
