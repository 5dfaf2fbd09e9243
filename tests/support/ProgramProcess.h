#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace zephtune::testing {

// The real program (the test variant) started as a separate process.
class ProgramProcess {
 public:
  // Starts the program with the given command-line arguments (after the program name).
  explicit ProgramProcess(const std::wstring& arguments = L"");
  ~ProgramProcess();  // ends the process if it still runs
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }

  // The visible top-level window of the class that belongs to this process, or null
  // when none appeared within the time.
  HWND WaitForWindow(const wchar_t* className, std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  // The process's exit code, or STILL_ACTIVE when it did not end within the time.
  DWORD WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  // Sends WM_CLOSE to the main window and waits for the exit code.
  DWORD CloseMainWindow() const;

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The path of the test variant, from the environment variable ZT_E2E_EXE.
std::wstring ProgramPath();

// Every top-level window of the class, of any process, visible or not.
std::vector<HWND> TopLevelWindows(const wchar_t* className);

// The process that owns a window.
DWORD WindowProcessId(HWND window);

}  // namespace zephtune::testing
