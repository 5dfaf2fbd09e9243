#include "support/ProgramProcess.h"

#include <thread>

#include "support/TestPaths.h"

namespace zephtune::testing {
namespace {

struct WindowSearch {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  if (std::wstring(name) == search->className) search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::wstring ProgramPath() { return WindowsPathFromEnvironment("ZT_E2E_EXE"); }

std::vector<HWND> TopLevelWindows(const wchar_t* className) {
  WindowSearch search{className, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DWORD WindowProcessId(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

ProgramProcess::ProgramProcess(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

ProgramProcess::~ProgramProcess() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 10000);
  }
  CloseHandle(process_);
}

HWND ProgramProcess::WaitForWindow(const wchar_t* className, std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    for (HWND window : TopLevelWindows(className)) {
      if (WindowProcessId(window) == id_ && IsWindowVisible(window)) return window;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return nullptr;
}

DWORD ProgramProcess::WaitForExit(std::chrono::milliseconds timeout) const {
  if (process_ == nullptr) return STILL_ACTIVE;
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

DWORD ProgramProcess::CloseMainWindow() const {
  for (HWND window : TopLevelWindows(L"TZTMainForm")) {
    if (WindowProcessId(window) == id_) PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return WaitForExit();
}

}  // namespace zephtune::testing
