// Measures process start to main window visible for the program and for a bare Win32
// window program, alternately in one run, and prints the medians and their ratio.
//   bench_startup.exe [ROUNDS [PROGRAM.exe BARE.exe]]
// By default the program is ..\dist\Zephtune.exe and the bare one lies beside this file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/BenchClock.h"

using zephtune::bench::Median;
using zephtune::bench::NowMilliseconds;

namespace {

struct Target {
  const wchar_t* path;
  const wchar_t* windowClass;
  std::vector<double> milliseconds;
};

HWND VisibleWindowOf(const wchar_t* windowClass, DWORD processId) {
  for (HWND window = FindWindowW(windowClass, nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// One start: the time until the window is visible, or a negative number on failure.
double MeasureOnce(const Target& target) {
  std::wstring commandLine = L"\"" + std::wstring(target.path) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = NowMilliseconds();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return -1.0;
  }
  CloseHandle(process.hThread);
  double elapsed = -1.0;
  HWND window = nullptr;
  while (NowMilliseconds() - start < 30000.0) {
    window = VisibleWindowOf(target.windowClass, process.dwProcessId);
    if (window != nullptr) {
      elapsed = NowMilliseconds() - start;
      break;
    }
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(0);
  }
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  return elapsed;
}

}  // namespace

std::wstring BesideThisProgram(const wchar_t* relative) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path);
  directory.resize(directory.find_last_of(L'\\') + 1);
  return directory + relative;
}

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 61;
  const std::wstring programPath = argc > 3 ? argv[2] : BesideThisProgram(L"..\\dist\\Zephtune.exe");
  const std::wstring barePath = argc > 3 ? argv[3] : BesideThisProgram(L"bench_bare_window.exe");
  Target program{programPath.c_str(), L"TZTMainForm", {}};
  Target bare{barePath.c_str(), L"ZTBareWindow", {}};
  // One start of each first, so that neither pays for a cold file cache.
  MeasureOnce(program);
  MeasureOnce(bare);
  for (int round = 0; round < rounds; ++round) {
    // Alternate which one goes first, so drift in the machine's load hits both alike.
    Target* order[2] = {&program, &bare};
    if (round % 2) std::swap(order[0], order[1]);
    for (Target* target : order) {
      const double ms = MeasureOnce(*target);
      if (ms < 0) {
        std::fwprintf(stderr, L"start of %ls failed\n", target->path);
        return 1;
      }
      target->milliseconds.push_back(ms);
    }
  }
  const double programMedian = Median(program.milliseconds);
  const double bareMedian = Median(bare.milliseconds);
  std::wprintf(L"startup: process start to main window visible, %d rounds each, alternating\n", rounds);
  std::wprintf(L"  Zephtune     median %8.1f ms  (min %.1f, max %.1f)\n", programMedian,
               *std::min_element(program.milliseconds.begin(), program.milliseconds.end()),
               *std::max_element(program.milliseconds.begin(), program.milliseconds.end()));
  std::wprintf(L"  bare window  median %8.1f ms  (min %.1f, max %.1f)\n", bareMedian,
               *std::min_element(bare.milliseconds.begin(), bare.milliseconds.end()),
               *std::max_element(bare.milliseconds.begin(), bare.milliseconds.end()));
  // Each round's pair ran back to back, so the median of the pairs' ratios is the figure
  // least moved by the machine's changing load.
  std::vector<double> ratios;
  for (std::size_t i = 0; i < program.milliseconds.size(); ++i) ratios.push_back(program.milliseconds[i] / bare.milliseconds[i]);
  std::wprintf(L"  ratio of medians        %.3f\n", programMedian / bareMedian);
  std::wprintf(L"  median ratio of rounds  %.3f\n", Median(ratios));
  return 0;
}
