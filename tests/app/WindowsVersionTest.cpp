#include "app/WindowsVersion.h"

#include <gtest/gtest.h>

namespace zephtune {
namespace {

struct VersionCase {
  DWORD major;
  DWORD minor;
  BYTE productType;
  int code;
  friend void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << c.major << "." << c.minor << " type " << int(c.productType);
  }
};

class VersionCodes : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionCodes, FollowTheVersionAndProductType) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(WindowsVersionCode(c.major, c.minor, c.productType), c.code);
}

constexpr BYTE kNone = 0;
constexpr BYTE kWorkstation = VER_NT_WORKSTATION;
constexpr BYTE kDomainController = VER_NT_DOMAIN_CONTROLLER;
constexpr BYTE kServer = VER_NT_SERVER;

const VersionCase kVersionCases[] = {
    {5, 0, kWorkstation, 0}, {5, 0, kServer, 0}, {5, 0, kNone, 0},
    {5, 1, kWorkstation, 1}, {5, 1, kServer, 1}, {5, 1, kNone, 1},
    {5, 2, kWorkstation, 1}, {5, 2, kServer, 2}, {5, 2, kDomainController, 2}, {5, 2, kNone, -1},
    {5, 3, kWorkstation, -1}, {5, 3, kNone, -1},
    {6, 0, kWorkstation, 3}, {6, 0, kServer, 4}, {6, 0, kNone, -1},
    {6, 1, kWorkstation, 5}, {6, 1, kServer, 4}, {6, 1, kDomainController, 4}, {6, 1, kNone, -1},
    {6, 2, kWorkstation, 6}, {6, 2, kServer, 7}, {6, 2, kNone, -1},
    {6, 3, kWorkstation, 6}, {6, 3, kServer, 7}, {6, 3, kNone, -1},
    {6, 4, kWorkstation, -1}, {6, 4, kServer, -1},
    {10, 0, kWorkstation, 8}, {10, 0, kServer, 8}, {10, 0, kNone, 8}, {10, 5, kWorkstation, 8},
    {4, 0, kWorkstation, -1}, {4, 10, kNone, -1}, {11, 0, kWorkstation, -1}, {0, 0, kNone, -1},
    {6, 1, 4, 4},  // an unknown product type above 1 counts as a server
};
INSTANTIATE_TEST_SUITE_P(Table, VersionCodes, ::testing::ValuesIn(kVersionCases));

// A stand-in for the system's version query: the sizes it was asked with, and the
// answer it gives to each size.
struct FakeSystem {
  std::vector<DWORD> sizes;
  bool acceptsFull = true;
  bool acceptsBasic = true;
  DWORD major = 6;
  DWORD minor = 1;
  BYTE productType = VER_NT_WORKSTATION;
};
FakeSystem fake;

BOOL WINAPI FakeQuery(OSVERSIONINFOW* info) {
  const DWORD size = info->dwOSVersionInfoSize;
  fake.sizes.push_back(size);
  const bool full = size == sizeof(OSVERSIONINFOEXW);
  auto* extended = reinterpret_cast<OSVERSIONINFOEXW*>(info);
  if (full && !fake.acceptsFull) {
    // A refusing system may still have scribbled over the structure.
    extended->wProductType = VER_NT_SERVER;
    info->dwMajorVersion = 99;
    return FALSE;
  }
  if (!full && !fake.acceptsBasic) return FALSE;
  info->dwMajorVersion = fake.major;
  info->dwMinorVersion = fake.minor;
  if (full) extended->wProductType = fake.productType;
  return TRUE;
}

class VersionDetection : public ::testing::Test {
 protected:
  void SetUp() override { fake = FakeSystem(); }
};

TEST_F(VersionDetection, AsksOnceWithTheFullStructure) {
  fake.productType = VER_NT_SERVER;
  EXPECT_EQ(DetectWindowsVersion(&FakeQuery), kWindowsServer2008);
  EXPECT_EQ(fake.sizes, std::vector<DWORD>{284});
}

TEST_F(VersionDetection, FallsBackToTheBasicStructureWithoutProductType) {
  fake.acceptsFull = false;
  fake.major = 5;
  fake.minor = 1;
  EXPECT_EQ(DetectWindowsVersion(&FakeQuery), kWindowsXp);
  EXPECT_EQ(fake.sizes, (std::vector<DWORD>{284, 276}));

  // Without a product type, only versions that do not depend on it are known.
  fake = FakeSystem();
  fake.acceptsFull = false;
  EXPECT_EQ(DetectWindowsVersion(&FakeQuery), kWindowsUnknown);
}

TEST_F(VersionDetection, IsUnknownWhenBothQueriesFail) {
  fake.acceptsFull = false;
  fake.acceptsBasic = false;
  EXPECT_EQ(DetectWindowsVersion(&FakeQuery), kWindowsUnknown);
  EXPECT_EQ(fake.sizes, (std::vector<DWORD>{284, 276}));
}

TEST(SystemVersion, IsOneTheProgramKnowsOnTheTestSystem) {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)));
  const int code = DetectWindowsVersion();
  EXPECT_NE(code, kWindowsUnknown);
  EXPECT_EQ(code, WindowsVersionCode(info.dwMajorVersion, info.dwMinorVersion, info.wProductType));
}

}  // namespace
}  // namespace zephtune
