#include "captions/Captions.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>

#include "captions/TextComponent.h"
#include "registry/ProgramKey.h"
#include "support/ScratchKey.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

using testing::DwordValue;
using testing::RawValue;
using testing::StringValue;
using testing::TextComponent;
using Kind = ui::ComponentKind;

// Each test chooses the language itself and leaves "Language" as it found it.
class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keyExisted_ = testing::KeyExists(programkey::kRoot, programkey::kPath);
    saved_ = testing::QueryRaw(programkey::kRoot, programkey::kPath, programkey::kLanguage);
    RemoveLanguage();
  }
  void TearDown() override {
    RemoveLanguage();
    if (saved_) SetLanguage(*saved_);
    if (!keyExisted_) testing::DeleteKeyTree(programkey::kRoot, programkey::kPath);
  }
  static void SetLanguage(const RawValue& value) {
    testing::SetRaw(programkey::kRoot, programkey::kPath, programkey::kLanguage, value.type, value.data);
  }
  static void SetLanguage(std::wstring_view name) { SetLanguage(StringValue(name)); }
  static void RemoveLanguage() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(programkey::kRoot, L"Software\\BRELIX\\Zephtune", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, L"Language");
    RegCloseKey(key);
  }

 private:
  bool keyExisted_ = false;
  std::optional<RawValue> saved_;
};

struct CaptionCase {
  std::wstring_view section;
  std::wstring_view key;
  std::wstring_view text;
  friend void PrintTo(const CaptionCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(std::wstring(c.section)) << "/" << ::testing::PrintToString(std::wstring(c.key));
  }
};

class ShippedCaptions : public LanguageTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(ShippedCaptions, AreFoundWithoutALanguageSetting) {
  EXPECT_EQ(GetCaption(GetParam().section, GetParam().key), GetParam().text);
}

const CaptionCase kShippedCaptions[] = {
    {L"ztmainform", L"GOBUTTON", L"&Optimize now"},
    {L"ZTMainForm", L"OSVersionLabel", L"Operating System : "},
    {L"ZTMainForm", L"UpdatesButton", L" &Check for updates ..."},
    {L"ZTMainForm", L"ZTMainForm", L"Zephtune - Make your computer, games & internet run faster"},
    {L"ZTMainForm", L"MessageBoxChangeFailed",
     L"The changes to the computer's system, gaming and internet performance settings have finished, but %1 of "
     L"them could not be made."},
    {L"ZTAboutForm", L"VersionLabel", L"Zephtune 2  (Version : "},
    {L"ZTAboutForm", L"CopyrightLabel", L"\u00a9 2015-2018 BRELIX, all rights reserved"},
    {L"ZTSettingsForm", L"MessageChange9", L"Backing up system, gaming && internet settings"},
    {L"ZTUpdateForm", L"MessageBoxUpdate2", L"Do you want to download and install a new version of this software?"},
    {L"ZTMainForm", L"NoSuchKey", L""},
    {L"NoSuchForm", L"GoButton", L""},
    {L"ZTAboutForm", L"GoButton", L""},
    {L"", L"", L""},
};
INSTANTIATE_TEST_SUITE_P(Entries, ShippedCaptions, ::testing::ValuesIn(kShippedCaptions));

struct LanguageCase {
  const char* label;
  std::optional<RawValue> language;  // nothing: the value is missing
  std::wstring_view goButton;        // what GetCaption gives for the main window's GoButton
  friend void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.label; }
};

class LanguageSetting : public LanguageTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageSetting, SelectsTheTable) {
  if (GetParam().language) SetLanguage(*GetParam().language);
  EXPECT_EQ(GetCaption(L"ZTMainForm", L"GoButton"), GetParam().goButton);
}

std::vector<LanguageCase> LanguageCases() {
  return {
      {"missing", std::nullopt, L"&Optimize now"},
      {"english", StringValue(L"english"), L"&Optimize now"},
      {"capitals", StringValue(L"ENGLISH"), L"&Optimize now"},
      {"mixed case", StringValue(L"EnGlish"), L"&Optimize now"},
      {"empty", StringValue(L""), L"&Optimize now"},
      {"a number", DwordValue(1), L"&Optimize now"},
      {"a language without a table", StringValue(L"deutsch"), L""},
      {"english with a blank", StringValue(L"english "), L""},
      {"64 KB long", StringValue(std::wstring(32 * 1024, L'e')), L""},
  };
}
INSTANTIATE_TEST_SUITE_P(Values, LanguageSetting, ::testing::ValuesIn(LanguageCases()));

using CaptionReading = LanguageTest;

TEST_F(CaptionReading, FollowsAChangedLanguageAtTheNextCall) {
  EXPECT_EQ(GetCaption(L"ZTMainForm", L"GoButton"), L"&Optimize now");
  SetLanguage(L"ZTApply");
  EXPECT_EQ(GetCaption(L"ZTMainForm", L"GoButton"), L"");
  EXPECT_EQ(GetCaption(L"ZTTestForm", L"GoButton"), L"&Go");
  SetLanguage(L"english");
  EXPECT_EQ(GetCaption(L"ZTMainForm", L"GoButton"), L"&Optimize now");
}

ui::FormDesign TestDesign(std::wstring_view name) {
  return ui::FormDesign{.name = name, .clientWidth = 200, .clientHeight = 100, .style = WS_OVERLAPPEDWINDOW};
}

// A window of the tests with one component of every kind; all texts start as "-".
class TestForm {
 public:
  TestForm() : form(TestDesign(L"ZTTestForm")) {
    for (const auto& [name, kind] : kParts) parts.push_back(std::make_unique<TextComponent>(form, name, kind, L"-"));
    form.SetTitle(L"-");
  }
  TextComponent& Part(std::wstring_view name) {
    for (auto& part : parts) {
      if (part->Name() == name) return *part;
    }
    throw std::invalid_argument("no such part");
  }

  struct PartDesign {
    std::wstring_view name;
    Kind kind;
  };
  static constexpr PartDesign kParts[] = {
      {L"InfoLabel", Kind::Label},
      {L"InfoPanel", Kind::Panel},
      {L"GoButton", Kind::Button},
      {L"HelpItem", Kind::MenuItem},
      {L"NotesMemo", Kind::Memo},
      {L"LogoPicture", Kind::Picture},
      {L"Divider", Kind::Bevel},
      {L"ChoiceCombo", Kind::ComboBox},
      {L"SpeedTrackBar", Kind::TrackBar},
      {L"StepProgress", Kind::ProgressBar},
      {L"Images", Kind::ImageList},
      {L"LinkMenu", Kind::PopupMenu},
      {L"AppEvents", Kind::ApplicationEvents},
      {L"CaseName", Kind::Label},
      {L"CASENAME", Kind::Label},
      {L"TailLabel", Kind::Label},
  };

  ui::Form form;
  std::vector<std::unique_ptr<TextComponent>> parts;
};

using ApplyingCaptions = LanguageTest;

TEST_F(ApplyingCaptions, SetsTitleAndCaptionedKindsFromTheFormsSection) {
  SetLanguage(L"ztapply");
  TestForm test;
  ASSERT_TRUE(test.form.Create(GetModuleHandleW(nullptr)));
  ApplyCaptions(test.form);

  // The title key matches with its case only; the later entry in another case is no title.
  EXPECT_EQ(test.form.Title(), L"Test & title");
  wchar_t shown[64]{};
  GetWindowTextW(test.form.Handle(), shown, 64);
  EXPECT_STREQ(shown, L"Test & title");

  EXPECT_EQ(test.Part(L"InfoLabel").Text(), L"&Label text");  // entries of other sections ignored
  EXPECT_EQ(test.Part(L"InfoPanel").Text(), L"Panel text");   // section and name without case
  EXPECT_EQ(test.Part(L"GoButton").Text(), L"&Go");           // the later of two entries
  EXPECT_EQ(test.Part(L"HelpItem").Text(), L"&Help item");
  EXPECT_EQ(test.Part(L"NotesMemo").Text(), L"Memo text, one line");
  // Names that collide in case: the entry goes to the first component of the name.
  EXPECT_EQ(test.Part(L"CaseName").Text(), L"to the first of two");
  EXPECT_EQ(test.Part(L"CASENAME").Writes(), 0);
  // Lines that need no text (an unknown component, a bevel) do not end the walk.
  EXPECT_EQ(test.Part(L"TailLabel").Text(), L"the last line");
}

TEST_F(ApplyingCaptions, LeavesOtherKindsAlone) {
  SetLanguage(L"ztapply");
  TestForm test;
  ApplyCaptions(test.form);
  for (std::wstring_view name : {L"LogoPicture", L"Divider", L"ChoiceCombo", L"SpeedTrackBar", L"StepProgress",
                                 L"Images", L"LinkMenu", L"AppEvents"}) {
    EXPECT_EQ(test.Part(name).Writes(), 0) << ::testing::PrintToString(std::wstring(name));
  }
}

TEST_F(ApplyingCaptions, StopsAtAnEntryWithoutItsText) {
  SetLanguage(L"ztapplystop");
  TestForm test;
  ApplyCaptions(test.form);
  EXPECT_EQ(test.form.Title(), L"Title before");
  EXPECT_EQ(test.Part(L"InfoLabel").Text(), L"before");
  EXPECT_EQ(test.Part(L"GoButton").Text(), L"-");
  EXPECT_EQ(test.Part(L"InfoPanel").Text(), L"-");
}

TEST_F(ApplyingCaptions, WithoutATableChangesNothing) {
  SetLanguage(L"ztapply");
  TestForm test;
  ApplyCaptions(test.form);
  SetLanguage(L"klingon");
  ApplyCaptions(test.form);
  EXPECT_EQ(test.form.Title(), L"Test & title");
  EXPECT_EQ(test.Part(L"GoButton").Text(), L"&Go");

  TestForm fresh;
  ApplyCaptions(fresh.form);
  EXPECT_EQ(fresh.form.Title(), L"-");
  for (const auto& part : fresh.parts) EXPECT_EQ(part->Writes(), 0) << ::testing::PrintToString(part->Name());
}

TEST_F(ApplyingCaptions, OverwritesWhatTheWindowWroteSince) {
  SetLanguage(L"ztapply");
  TestForm test;
  ApplyCaptions(test.form);
  test.Part(L"InfoLabel").SetText(L"&Label text 2.1.28.2018");
  test.form.SetTitle(L"changed");
  ApplyCaptions(test.form);
  EXPECT_EQ(test.Part(L"InfoLabel").Text(), L"&Label text");
  EXPECT_EQ(test.form.Title(), L"Test & title");
}

TEST_F(ApplyingCaptions, GivesTheShippedWindowsTheirTexts) {
  ui::Form mainForm(TestDesign(L"ZTMainForm"));
  TextComponent goButton(mainForm, L"GoButton", Kind::Button);
  TextComponent updatesButton(mainForm, L"UpdatesButton", Kind::Button);
  TextComponent speedLabel(mainForm, L"SpeedLabel", Kind::Label);
  TextComponent helpPopup(mainForm, L"HelpFilePopup", Kind::MenuItem);
  TextComponent heading(mainForm, L"BenefitsLabel", Kind::Label);
  TextComponent modemCombo(mainForm, L"ModemCombo", Kind::ComboBox);
  ApplyCaptions(mainForm);
  EXPECT_EQ(mainForm.Title(), L"Zephtune - Make your computer, games & internet run faster");
  EXPECT_EQ(goButton.Text(), L"&Optimize now");
  EXPECT_EQ(updatesButton.Text(), L" &Check for updates ...");
  EXPECT_EQ(speedLabel.Text(), L"Speed Setting : ");
  EXPECT_EQ(helpPopup.Text(), L"Get &help with Zephtune");
  EXPECT_EQ(heading.Text(), L"Benefits of Zephtune");
  EXPECT_EQ(modemCombo.Writes(), 0);

  ui::Form aboutForm(TestDesign(L"ZTAboutForm"));
  TextComponent memo(aboutForm, L"LicensedMemo", Kind::Memo);
  TextComponent copyright(aboutForm, L"CopyrightLabel", Kind::Label);
  ApplyCaptions(aboutForm);
  EXPECT_EQ(aboutForm.Title(), L"About Zephtune");
  EXPECT_EQ(memo.Text(), GetCaption(L"ZTAboutForm", L"LicensedMemo"));
  EXPECT_GT(memo.Text().size(), 200u);
  EXPECT_EQ(memo.Text().find_first_of(L"\r\n"), std::wstring::npos) << "one paragraph";
  EXPECT_NE(memo.Text().find(L"http://www.brelix.example"), std::wstring::npos);
  EXPECT_EQ(copyright.Text(), L"\u00a9 2015-2018 BRELIX, all rights reserved");
}

// The window layer's own controls: the texts reach their windows.
constexpr ui::ComponentDesign kControlsLayout[] = {
    {.name = L"NavPanel", .kind = Kind::Panel, .bounds = {0, 0, 300, 100}},
    {.name = L"BenefitsLabel", .kind = Kind::Label, .parent = L"NavPanel", .bounds = {8, 8, 0, 0}},
    {.name = L"GoButton", .kind = Kind::Button, .bounds = {8, 110, 120, 25}},
    {.name = L"ModemCombo", .kind = Kind::ComboBox, .bounds = {8, 140, 150, 0}},
    {.name = L"SpeedTrackBar", .kind = Kind::TrackBar, .bounds = {8, 170, 150, 30}},
    {.name = L"LinkPopup", .kind = Kind::PopupMenu},
    {.name = L"HelpFilePopup", .kind = Kind::MenuItem, .parent = L"LinkPopup"},
};

TEST_F(ApplyingCaptions, ReachesTheWindowLayersControls) {
  ui::Form form(TestDesign(L"ZTMainForm"));
  ui::BuildLayout(form, kControlsLayout);
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  ApplyCaptions(form);

  wchar_t shown[64]{};
  GetWindowTextW(form.Handle(), shown, 64);
  EXPECT_STREQ(shown, L"Zephtune - Make your computer, games & internet run faster");
  GetWindowTextW(form.Get<ui::WinControl>(L"GoButton").Handle(), shown, 64);
  EXPECT_STREQ(shown, L"&Optimize now");
  EXPECT_EQ(form.FindComponent(L"BenefitsLabel")->Text(), L"Benefits of Zephtune");
  EXPECT_EQ(form.FindComponent(L"HelpFilePopup")->Text(), L"Get &help with Zephtune");
  EXPECT_EQ(form.FindComponent(L"NavPanel")->Text(), L"");
  EXPECT_EQ(form.FindComponent(L"ModemCombo")->Text(), L"");
}

}  // namespace
}  // namespace zephtune
