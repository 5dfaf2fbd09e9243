#include "desktop/Shell.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "base/Trace.h"
#include "desktop/SystemFunction.h"

namespace zephtune {
namespace {

constexpr UINT kHhDisplayTopic = 0;
using HtmlHelpFn = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

// Shell extensions that handle a verb may need COM on the calling thread, set up as the
// shell expects it (apartment-threaded, without OLE 1 DDE); a call that finds COM
// already set up leaves it as it was.
class ComApartment {
 public:
  ComApartment() noexcept
      : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

void ShellExecuteOpen(HWND owner, std::wstring_view file, const std::wstring* parameters) {
  const std::wstring fileText(file);
  ComApartment com;
  ShellExecuteW(owner, L"open", fileText.c_str(), parameters != nullptr ? parameters->c_str() : nullptr, nullptr,
                SW_SHOW);
}

// HTML Help keeps its windows running on hhctrl's code until the program ends, so the
// library, once loaded, stays loaded for the program's lifetime and is never freed.
HtmlHelpFn HtmlHelpFunction() noexcept {
  static const HtmlHelpFn function = LoadKeptSystemFunction<HtmlHelpFn>(L"hhctrl.ocx", "HtmlHelpW");
  return function;
}

}  // namespace

std::wstring ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    // A full buffer may hold a cut path: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return std::wstring();
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L'\\') + 1);
  return path;
}

void ShellOpen(std::wstring_view file, std::wstring_view parameters) noexcept {
  Guarded(L"ShellOpen", [&] {
    const std::wstring parameterText(parameters);
    ShellExecuteOpen(GetActiveWindow(), file, &parameterText);
  });
}

void ShellRun(std::wstring_view file, std::wstring_view parameters) noexcept {
  Guarded(L"ShellRun", [&] {
    const std::wstring parameterText(parameters);
    ShellExecuteOpen(nullptr, file, &parameterText);
  });
}

void OpenWebAddress(std::wstring_view address) noexcept {
  Guarded(L"OpenWebAddress", [&] { ShellExecuteOpen(GetActiveWindow(), address, nullptr); });
}

std::wstring HelpAddress(std::wstring_view programDirectory, std::wstring_view helpFile, std::wstring_view topic) {
  std::wstring address(programDirectory);
  address.append(helpFile).append(L"::").append(topic).append(L">HelpWindow");
  return address;
}

void ShowHelpTopic(std::wstring_view helpFile, std::wstring_view topic) noexcept {
  Guarded(L"ShowHelpTopic", [&] {
    const HtmlHelpFn htmlHelp = HtmlHelpFunction();
    if (htmlHelp == nullptr) return;
    const std::wstring address = HelpAddress(ProgramDirectory(), helpFile, topic);
    htmlHelp(GetDesktopWindow(), address.c_str(), kHhDisplayTopic, 0);
  });
}

}  // namespace zephtune
