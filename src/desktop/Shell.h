#pragma once

#include <string>
#include <string_view>

// Handing files, programs, web addresses and help topics to Windows. Each call returns
// as soon as Windows has taken the request and never lets a failure reach the caller.
namespace zephtune {

// The maker's web site; a reserved name, so no stranger's site is ever opened.
inline constexpr std::wstring_view kMakerSite = L"http://www.brelix.example";
inline constexpr std::wstring_view kMakerHomePage = kMakerSite;
inline constexpr std::wstring_view kMakerSupportPage = L"http://www.brelix.example/support/";

// The directory of the program's own file with a closing backslash, whatever the
// current directory; empty only when Windows cannot say.
std::wstring ProgramDirectory();

// Opens a file, document or program with the shell's "open" verb. Dialogs the shell
// raises belong to the program's active window (none when it has none).
void ShellOpen(std::wstring_view file, std::wstring_view parameters) noexcept;

// Starts a program (or opens a file) with no owner window.
void ShellRun(std::wstring_view file, std::wstring_view parameters) noexcept;

// Opens a web address (or anything else the shell opens) without parameters.
void OpenWebAddress(std::wstring_view address) noexcept;

// The HTML Help address of a topic in a help file beside the program:
// <directory><helpFile>::<topic>>HelpWindow (the help file defines that window type).
std::wstring HelpAddress(std::wstring_view programDirectory, std::wstring_view helpFile, std::wstring_view topic);

// Shows the topic of the help file beside the program in its help window.
void ShowHelpTopic(std::wstring_view helpFile, std::wstring_view topic) noexcept;

}  // namespace zephtune
