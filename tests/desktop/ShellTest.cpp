#include "desktop/Shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

namespace zephtune {
namespace {

std::wstring ModulePath() {
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST(ProgramDirectory, IsTheFoldersOwnDirectoryWhateverTheCurrentDirectory) {
  const std::wstring before = ProgramDirectory();
  const std::wstring module = ModulePath();
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(before.back(), L'\\');
  EXPECT_EQ(before + module.substr(module.find_last_of(L'\\') + 1), module);

  wchar_t current[MAX_PATH]{};
  GetCurrentDirectoryW(MAX_PATH, current);
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
  EXPECT_EQ(ProgramDirectory(), before);
  SetCurrentDirectoryW(current);
}

TEST(HelpAddress, NamesTheTopicInTheHelpWindowOfTheFileBesideTheProgram) {
  EXPECT_EQ(HelpAddress(L"C:\\Tools\\", L"Zephtune.chm", L"/html/main.htm"),
            L"C:\\Tools\\Zephtune.chm::/html/main.htm>HelpWindow");
}

TEST(MakerSite, IsAReservedName) {
  EXPECT_EQ(kMakerHomePage, L"http://www.brelix.example");
  EXPECT_EQ(kMakerSupportPage, L"http://www.brelix.example/support/");
}

// A fresh folder under the temporary directory, removed with what it holds.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"zt-shell-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((path_ + found.cFileName).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

// The line that something writes into the file, once it is complete, within the time limit.
std::string WaitForFile(const std::wstring& path, DWORD milliseconds = 20000) {
  std::string text;
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    std::ifstream file(path.c_str(), std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() == '\n') break;
    Sleep(100);
  }
  return text;
}

std::wstring SystemProgram(const wchar_t* name) {
  wchar_t directory[MAX_PATH]{};
  GetSystemDirectoryW(directory, MAX_PATH);
  return std::wstring(directory) + L"\\" + name;
}

void WriteScript(const std::wstring& path, const std::string& text) {
  std::ofstream file(path.c_str(), std::ios::binary);
  file << text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(ShellRun, StartsTheProgramWithItsParameters) {
  ScratchFolder folder;
  const std::wstring marker = folder.Path() + L"ran.txt";
  ShellRun(SystemProgram(L"cmd.exe"), L"/c echo ran with parameters> \"" + marker + L"\"");
  EXPECT_EQ(WaitForFile(marker), "ran with parameters\r\n");
}

TEST(ShellOpen, OpensADocumentWithItsProgram) {
  ScratchFolder folder;
  const std::wstring marker = folder.Path() + L"opened.txt";
  WriteScript(folder.Path() + L"open.cmd", "@echo opened> \"" + Narrow(marker) + "\"\r\n");
  ShellOpen(folder.Path() + L"open.cmd", L"");
  EXPECT_EQ(WaitForFile(marker), "opened\r\n");
}

TEST(OpenWebAddress, OpensAnyShellOpenableString) {
  ScratchFolder folder;
  const std::wstring marker = folder.Path() + L"address.txt";
  WriteScript(folder.Path() + L"address.cmd", "@echo address> \"" + Narrow(marker) + "\"\r\n");
  OpenWebAddress(folder.Path() + L"address.cmd");
  EXPECT_EQ(WaitForFile(marker), "address\r\n");
}

// The process's window of that class, waiting for it while the thread's messages are
// processed (the help viewer runs on the calling thread).
HWND WaitForOwnWindow(const wchar_t* windowClass, DWORD milliseconds = 20000) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    for (HWND window = FindWindowW(windowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process == GetCurrentProcessId()) return window;
    }
    Sleep(50);
  }
  return nullptr;
}

TEST(ShowHelpTopic, OpensTheHelpFileBesideTheProgramWhateverTheCurrentDirectory) {
  wchar_t current[MAX_PATH]{};
  GetCurrentDirectoryW(MAX_PATH, current);
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\windows"));
  ShowHelpTopic(L"Zephtune.chm", L"/html/main.htm");
  SetCurrentDirectoryW(current);

  HWND help = WaitForOwnWindow(L"HH Parent");
  ASSERT_NE(help, nullptr) << "no help window";
  wchar_t title[64]{};
  GetWindowTextW(help, title, 64);
  EXPECT_STREQ(title, L"Zephtune Help");
  // The library stays loaded for the help window's lifetime.
  EXPECT_NE(GetModuleHandleW(L"hhctrl.ocx"), nullptr);
  DestroyWindow(help);
}

// Missing files, programs and help files produce no error from the program: each call
// returns, and the caller goes on.
TEST(ShellCalls, ReturnForMissingTargets) {
  const std::wstring missing = ProgramDirectory() + L"NoSuchProgram.exe";
  ShellRun(missing, L"/checkupdate");
  ShellRun(L"", L"");
  ShellOpen(ProgramDirectory() + L"NoSuchDocument.rtf", L"");
  ShellOpen(L"", L"");
  OpenWebAddress(L"");
  ShowHelpTopic(L"NoSuchHelp.chm", L"/html/main.htm");
  ShowHelpTopic(L"NoSuchHelp.chm", L"/html/main.htm");
  SUCCEED();
}

}  // namespace
}  // namespace zephtune
