#include "captions/Captions.h"

#include <algorithm>
#include <array>

#include "base/AsciiCase.h"
#include "base/Trace.h"
#include "captions/CaptionTable.h"
#include "registry/CustomRegistry.h"
#include "registry/ProgramKey.h"

namespace zephtune {
namespace {

using captions::CaptionFields;

constexpr std::wstring_view kDefaultLanguage = L"english";

// The kinds whose caption or text an entry sets.
constexpr std::array kCaptionedKinds{
    ui::ComponentKind::Label, ui::ComponentKind::Panel, ui::ComponentKind::Button,
    ui::ComponentKind::MenuItem, ui::ComponentKind::Memo,
};

bool TakesCaption(ui::ComponentKind kind) noexcept {
  return std::find(kCaptionedKinds.begin(), kCaptionedKinds.end(), kind) != kCaptionedKinds.end();
}

std::wstring LanguageName() {
  using namespace programkey;
  const std::wstring language =
      LowerAscii(RegistryReadString(kRoot, kPath, kLanguage, kDefaultLanguage, kUse64BitView));
  return language.empty() ? std::wstring(kDefaultLanguage) : language;
}

// The table of the current language as text; empty when the program carries none.
std::wstring LoadCaptionTable() {
  const std::wstring language = LanguageName();
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, language.c_str(), RT_RCDATA);
  if (resource == nullptr) return std::wstring();
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return std::wstring();
  const std::span bytes(static_cast<const std::uint8_t*>(data), SizeofResource(module, resource));
  return captions::DecodeCaptionTable(bytes, CP_ACP);
}

}  // namespace

std::wstring GetCaption(std::wstring_view section, std::wstring_view key) noexcept {
  return Guarded(L"GetCaption", std::wstring(),
                 [&] { return captions::FindCaption(LoadCaptionTable(), section, key); });
}

void ApplyCaptions(ui::Form& form) noexcept {
  Guarded(L"ApplyCaptions", [&] {
    const std::wstring table = LoadCaptionTable();
    const std::wstring& formName = form.Name();
    captions::WalkCaptionSection(table, formName, [&](std::wstring_view key, CaptionFields& fields) {
      // The title's key must match with its case; any other spelling of the form's
      // name names no component either, so it changes nothing.
      if (key == formName) {
        const std::optional<std::wstring> title = fields.Next();
        if (!title) return false;
        form.SetTitle(*title);
        return true;
      }
      ui::Component* component = form.FindComponent(key);
      if (component == nullptr || !TakesCaption(component->Kind())) return true;
      const std::optional<std::wstring> text = fields.Next();
      if (!text) return false;
      component->SetText(*text);
      return true;
    });
  });
}

}  // namespace zephtune
