#include "desktop/SystemFont.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "ui/Controls.h"
#include "ui/Font.h"
#include "ui/Layout.h"

namespace zephtune {
namespace {

// A window whose desktop font is fed in rather than changed on the system.
class DesktopFontForm : public ui::Form {
 public:
  explicit DesktopFontForm(const ui::FontSpec& desktopFont)
      : ui::Form(ui::FormDesign{.name = L"ZTSystemFontForm", .clientWidth = 400, .clientHeight = 300,
                                .style = WS_OVERLAPPED | WS_CAPTION}),
        desktopFont_(desktopFont) {}

 protected:
  ui::FontSpec DesktopFontSpec() const override { return desktopFont_; }

 private:
  ui::FontSpec desktopFont_;
};

constexpr COLORREF kLinkBlue = RGB(0, 102, 204);
constexpr ui::FontDesign kTahoma8{.size = 8};
constexpr ui::FontDesign kTahoma8Blue{.size = 8, .color = kLinkBlue};
constexpr ui::FontDesign kTahoma10Bold{.size = 10, .bold = true};
constexpr ui::FontDesign kTahoma12BoldWhite{.size = 12, .bold = true, .color = RGB(255, 255, 255)};

// The about window's mix: own fonts of several sizes, components that follow their
// parent, and kinds without fonts.
constexpr ui::ComponentDesign kLayout[] = {
    {.name = L"AboutPanel", .kind = ui::ComponentKind::Panel, .bounds = {0, 0, 400, 250}},
    {.name = L"BannerImage", .kind = ui::ComponentKind::Picture, .parent = L"AboutPanel", .bounds = {0, 0, 400, 40}},
    {.name = L"BannerLabel", .kind = ui::ComponentKind::Label, .parent = L"AboutPanel", .bounds = {48, 18, 0, 0},
     .font = &kTahoma12BoldWhite},
    {.name = L"VersionLabel", .kind = ui::ComponentKind::Label, .parent = L"AboutPanel", .bounds = {72, 82, 0, 0},
     .font = &kTahoma10Bold},
    {.name = L"CopyrightLabel", .kind = ui::ComponentKind::Label, .parent = L"AboutPanel", .bounds = {72, 101, 0, 0}},
    {.name = L"LicensedMemo", .kind = ui::ComponentKind::Memo, .parent = L"AboutPanel", .bounds = {72, 136, 300, 73}},
    {.name = L"LicenseAgreementLabel", .kind = ui::ComponentKind::Label, .parent = L"AboutPanel",
     .bounds = {72, 220, 0, 0}, .font = &kTahoma8Blue},
    {.name = L"AboutBevel", .kind = ui::ComponentKind::Bevel, .bounds = {0, 250, 400, 5}},
    {.name = L"SpeedTrackBar", .kind = ui::ComponentKind::TrackBar, .bounds = {0, 255, 100, 30}},
    {.name = L"MainProgress", .kind = ui::ComponentKind::ProgressBar, .bounds = {100, 260, 100, 17}},
    {.name = L"CloseButton", .kind = ui::ComponentKind::Button, .bounds = {300, 260, 79, 25}, .font = &kTahoma8},
    {.name = L"WindowsCombo", .kind = ui::ComponentKind::ComboBox, .bounds = {200, 260, 90, 0}, .font = &kTahoma8},
};

const ui::FontSpec kDesktop12{.face = L"Desktop Sans", .size = 12, .charset = ANSI_CHARSET};
const ui::FontSpec kDesktop8{.face = L"Desktop Sans", .size = 8, .charset = ANSI_CHARSET};

class SystemFont : public ::testing::Test {
 protected:
  // As the windows do it: desktop-font flag, then ApplySystemFont.
  void Prepare(DesktopFontForm& form) {
    ui::BuildLayout(form, kLayout);
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    form.SetDesktopFont(true);
    ApplySystemFont(form);
  }
  static ui::FontSpec FontOf(const ui::Form& form, const wchar_t* name) { return form.FindComponent(name)->Font(); }
};

TEST_F(SystemFont, ADesktopFontAbove9PointsIsCappedAndOwnFontsTakeItsFace) {
  DesktopFontForm form(kDesktop12);
  Prepare(form);
  EXPECT_EQ(form.Font().face, L"Desktop Sans");
  EXPECT_EQ(form.Font().size, 9);

  const ui::FontSpec link = FontOf(form, L"LicenseAgreementLabel");
  EXPECT_EQ(link.face, L"Desktop Sans");
  EXPECT_EQ(link.size, 9);  // raised to the window's size
  EXPECT_EQ(link.color, kLinkBlue);
  EXPECT_FALSE(link.bold);

  const ui::FontSpec banner = FontOf(form, L"BannerLabel");
  EXPECT_EQ(banner.face, L"Desktop Sans");
  EXPECT_EQ(banner.size, 12);  // larger sizes stay, with their style and colour
  EXPECT_TRUE(banner.bold);
  EXPECT_EQ(banner.color, RGB(255, 255, 255));
  EXPECT_EQ(banner.charset, DEFAULT_CHARSET);  // the character set is never touched

  EXPECT_EQ(FontOf(form, L"VersionLabel").size, 10);
  // Windowed controls with own fonts show the new face in their windows.
  for (const wchar_t* name : {L"CloseButton", L"WindowsCombo"}) {
    EXPECT_EQ(FontOf(form, name).face, L"Desktop Sans") << name;
    LOGFONTW shown{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(form.Get<ui::WinControl>(name).Handle(), WM_GETFONT, 0, 0)),
               sizeof(shown), &shown);
    EXPECT_STREQ(shown.lfFaceName, L"Desktop Sans") << name;
    EXPECT_EQ(shown.lfHeight, ui::FontHeightForDpi(9, form.Dpi())) << name;
  }
}

TEST_F(SystemFont, ADesktopFontOf8PointsStaysAndOwnSizesStay) {
  DesktopFontForm form(kDesktop8);
  Prepare(form);
  EXPECT_EQ(form.Font().size, 8);
  EXPECT_TRUE(form.DesktopFont());  // nothing to cap: the window still follows the desktop
  EXPECT_EQ(FontOf(form, L"LicenseAgreementLabel").size, 8);
  EXPECT_EQ(FontOf(form, L"VersionLabel").size, 10);
  EXPECT_EQ(FontOf(form, L"VersionLabel").face, L"Desktop Sans");
}

TEST_F(SystemFont, ComponentsThatFollowTheirParentAreLeftAlone) {
  DesktopFontForm form(kDesktop12);
  Prepare(form);
  for (const wchar_t* name : {L"AboutPanel", L"CopyrightLabel", L"LicensedMemo"}) {
    const ui::Component& component = *form.FindComponent(name);
    EXPECT_TRUE(component.ParentFont()) << name;
    EXPECT_EQ(component.Font(), form.Font()) << name;  // the window's font, through the panel
  }
  // Kinds without fonts pass through.
  for (const wchar_t* name : {L"BannerImage", L"AboutBevel", L"SpeedTrackBar", L"MainProgress"}) {
    EXPECT_FALSE(form.FindComponent(name)->HasOwnFont()) << name;
  }
}

TEST_F(SystemFont, TwiceGivesTheFontsOfOnce) {
  for (const ui::FontSpec& desktop : {kDesktop12, kDesktop8}) {
    DesktopFontForm form(desktop);
    Prepare(form);
    std::vector<ui::FontSpec> once;
    for (const ui::Component* component : form.Components()) once.push_back(component->Font());
    form.SetDesktopFont(true);
    ApplySystemFont(form);
    std::vector<ui::FontSpec> twice;
    for (const ui::Component* component : form.Components()) twice.push_back(component->Font());
    EXPECT_EQ(once, twice) << desktop.size;
    EXPECT_EQ(form.Font().size, std::min(desktop.size, 9));
  }
}

// A component whose font cannot be set.
class BrokenFontComponent : public ui::Component {
 public:
  using ui::Component::Component;
  ui::ComponentKind Kind() const noexcept override { return ui::ComponentKind::Label; }
  bool HasOwnFont() const noexcept override { return true; }
  void SetFont(const ui::FontSpec&) override { throw std::runtime_error("font refused"); }
};

TEST_F(SystemFont, AFailureEndsTheWalkAndKeepsWhatWasDone) {
  DesktopFontForm form(kDesktop12);
  ui::Label before(form, L"Before", form);
  before.SetFont(kTahoma8.ToFontSpec());
  BrokenFontComponent broken(form, L"Broken");
  ui::Label after(form, L"After", form);
  after.SetFont(kTahoma8.ToFontSpec());
  form.SetDesktopFont(true);
  ApplySystemFont(form);  // does not throw
  EXPECT_EQ(form.Font().size, 9);
  EXPECT_EQ(before.Font().face, L"Desktop Sans");
  EXPECT_EQ(after.Font().face, L"Tahoma");
}

}  // namespace
}  // namespace zephtune
