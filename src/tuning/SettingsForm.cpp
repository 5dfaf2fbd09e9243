#include "tuning/SettingsForm.h"

namespace zephtune {
namespace {

constexpr ui::FormDesign kSettingsFormDesign{
    .name = L"ZTSettingsForm",
    .clientWidth = 479,
    .clientHeight = 146,
    .style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
    .exStyle = WS_EX_CONTROLPARENT,
    .placement = ui::Placement::OwnerFormCenter,
    .closeAction = ui::CloseAction::Hide,
};

}  // namespace

SettingsForm::SettingsForm() : ui::Form(kSettingsFormDesign) {}

}  // namespace zephtune
