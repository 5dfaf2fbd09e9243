#include <gtest/gtest.h>

#include <thread>

#include "app/DateStamp.h"
#include "registry/ProgramKey.h"
#include "support/ProgramProcess.h"
#include "support/ScratchKey.h"

namespace zephtune {
namespace {

using namespace std::chrono_literals;
using testing::DwordValue;
using testing::ProgramProcess;
using testing::QueryRaw;
using testing::RawValue;
using testing::TopLevelWindows;
using testing::WindowProcessId;

const HKEY kRoot = HKEY_LOCAL_MACHINE;
constexpr std::wstring_view kKey = programkey::kPath;
constexpr DWORD kExited0 = 0;

std::int64_t StampOf(const std::optional<RawValue>& value) {
  if (!value || value->type != REG_SZ || value->data.size() < 4) return -1;
  return std::stoll(std::wstring(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / 2 - 1));
}

std::int64_t NowStamp() { return DateTimeToUnixSeconds(CurrentDateTime()); }

class StartupE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testing::ProgramPath().empty()) << "ZT_E2E_EXE is not set";
    testing::DeleteKeyTree(kRoot, kKey);
  }
  void TearDown() override { testing::DeleteKeyTree(kRoot, kKey); }
};

TEST_F(StartupE2E, FirstStartWritesOnlyTheInstallDateAndOpensTheMainWindow) {
  ProgramProcess program;
  ASSERT_TRUE(program.Started());
  HWND main = program.WaitForWindow(L"TZTMainForm");
  ASSERT_NE(main, nullptr);

  EXPECT_EQ(testing::ValueNames(kRoot, kKey), std::vector<std::wstring>{L"InstalledDate"});
  EXPECT_NEAR(StampOf(QueryRaw(kRoot, kKey, L"InstalledDate")), NowStamp(), 60);

  // Its title comes from the caption table, the ampersand shown as it stands.
  wchar_t title[128] = {};
  GetWindowTextW(main, title, 128);
  EXPECT_EQ(std::wstring(title), L"Zephtune - Make your computer, games & internet run faster");

  // A fixed-border window with a minimise box, its own task-bar button, the designed
  // client size (at the prefix's 96 DPI) and centred in the work area.
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 764);
  EXPECT_EQ(client.bottom, 500);
  RECT frame{};
  GetWindowRect(main, &frame);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);

  // The about and progress windows exist, hidden, owned by the main window.
  for (const wchar_t* className : {L"TZTAboutForm", L"TZTSettingsForm"}) {
    const std::vector<HWND> windows = TopLevelWindows(className);
    ASSERT_EQ(windows.size(), 1u) << ::testing::PrintToString(std::wstring(className));
    EXPECT_EQ(WindowProcessId(windows[0]), program.Id());
    EXPECT_FALSE(IsWindowVisible(windows[0]));
    EXPECT_EQ(GetWindow(windows[0], GW_OWNER), main);
  }

  EXPECT_EQ(program.CloseMainWindow(), kExited0);
  EXPECT_TRUE(TopLevelWindows(L"TZTMainForm").empty());
}

// A later start, in either mode, fronts the first copy's minimised window and ends
// without a second one.
class SecondStart : public StartupE2E, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(SecondStart, RestoresTheFirstCopysMinimisedWindowAndEnds) {
  ProgramProcess first;
  HWND main = first.WaitForWindow(L"TZTMainForm");
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_MINIMIZE);
  for (int i = 0; i < 100 && !IsIconic(main); ++i) std::this_thread::sleep_for(20ms);
  ASSERT_TRUE(IsIconic(main));

  ProgramProcess second(GetParam());
  EXPECT_EQ(second.WaitForExit(), kExited0);
  EXPECT_EQ(TopLevelWindows(L"TZTMainForm").size(), 1u);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetForegroundWindow(), main);

  EXPECT_EQ(first.CloseMainWindow(), kExited0);
}

INSTANTIATE_TEST_SUITE_P(Modes, SecondStart, ::testing::Values(L"", L"/checkupdate"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return std::string(info.index == 0 ? "Normal" : "UpdateCheck");
                         });

// "Updated" is cleared and "UpdatedDate" stamped at the next start in either mode, and
// the start after that leaves both alone.
class UpdatedFlag : public StartupE2E, public ::testing::WithParamInterface<const wchar_t*> {
 protected:
  void RunOnce() {
    ProgramProcess program(GetParam());
    if (std::wstring(GetParam()).empty()) {
      ASSERT_NE(program.WaitForWindow(L"TZTMainForm"), nullptr);
      EXPECT_EQ(program.CloseMainWindow(), kExited0);
    } else {
      EXPECT_EQ(program.WaitForExit(), kExited0);
    }
  }
};

TEST_P(UpdatedFlag, IsClearedAndTheUpdateDateStamped) {
  testing::SetRaw(kRoot, kKey, L"InstalledDate", REG_SZ, testing::StringValue(L"1500000000").data);
  testing::SetRaw(kRoot, kKey, L"Updated", REG_DWORD, DwordValue(1).data);
  RunOnce();
  EXPECT_EQ(QueryRaw(kRoot, kKey, L"Updated"), DwordValue(0));
  const std::optional<RawValue> stamped = QueryRaw(kRoot, kKey, L"UpdatedDate");
  EXPECT_NEAR(StampOf(stamped), NowStamp(), 60);
  EXPECT_EQ(QueryRaw(kRoot, kKey, L"InstalledDate"), testing::StringValue(L"1500000000"));

  RunOnce();
  EXPECT_EQ(QueryRaw(kRoot, kKey, L"Updated"), DwordValue(0));
  EXPECT_EQ(QueryRaw(kRoot, kKey, L"UpdatedDate"), stamped);
}

INSTANTIATE_TEST_SUITE_P(Modes, UpdatedFlag, ::testing::Values(L"", L"/checkupdate"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           return std::string(info.index == 0 ? "Normal" : "UpdateCheck");
                         });

TEST_F(StartupE2E, UpdateCheckInCapitalsOpensNoWindow) {
  ProgramProcess program(L"/CHECKUPDATE");
  ASSERT_TRUE(program.Started());
  // Watch for a window of the program for as long as it runs.
  DWORD exitCode = STILL_ACTIVE;
  bool sawWindow = false;
  for (int i = 0; i < 1000 && exitCode == STILL_ACTIVE; ++i) {
    for (const wchar_t* className : {L"TZTMainForm", L"TZTAboutForm", L"TZTSettingsForm"}) {
      for (HWND window : TopLevelWindows(className)) sawWindow |= WindowProcessId(window) == program.Id();
    }
    exitCode = program.WaitForExit(10ms);
  }
  EXPECT_EQ(exitCode, kExited0);
  EXPECT_FALSE(sawWindow);
  EXPECT_EQ(testing::ValueNames(kRoot, kKey), std::vector<std::wstring>{L"InstalledDate"});
}

TEST_F(StartupE2E, UpdateCheckAsTheSecondArgumentOpensTheMainWindow) {
  ProgramProcess program(L"/other /checkupdate");
  ASSERT_NE(program.WaitForWindow(L"TZTMainForm"), nullptr);
  EXPECT_EQ(program.CloseMainWindow(), kExited0);
}

}  // namespace
}  // namespace zephtune
