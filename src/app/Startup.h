#pragma once

#include <windows.h>

#include <string_view>

namespace zephtune {

// Window classes through which running copies of the program find each other.
inline constexpr std::wstring_view kMainFormClass = L"TZTMainForm";
inline constexpr std::wstring_view kAboutFormClass = L"TZTAboutForm";
inline constexpr std::wstring_view kSettingsFormClass = L"TZTSettingsForm";

// Records the install date once and, after an update, clears "Updated" and stamps
// "UpdatedDate". Registry failures leave the defaults; nothing escapes.
void RecordInstallAndUpdateDates() noexcept;

// True for a first argument that selects the update-check mode ("/checkupdate" in
// any mix of capitals).
bool IsUpdateCheckArgument(std::wstring_view firstArgument) noexcept;

// The whole start-up: dates, mode, single instance, windows and message loop.
// Returns the process exit code, 0 in every mode.
int RunZephtune(HINSTANCE instance, int argumentCount, wchar_t** arguments) noexcept;

}  // namespace zephtune
