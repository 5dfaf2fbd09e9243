#include "app/AboutForm.h"

#include "app/FormLook.h"

namespace zephtune {
namespace {

constexpr ui::FormDesign kAboutFormDesign{
    .name = L"ZTAboutForm",
    .clientWidth = 700,
    .clientHeight = 441,
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    .exStyle = WS_EX_CONTROLPARENT,
    .placement = ui::Placement::OwnerFormCenter,
    .closeAction = ui::CloseAction::Hide,
};

}  // namespace

AboutForm::AboutForm() : ui::Form(kAboutFormDesign) {}

void AboutForm::FormShow() { ApplyFormLook(*this); }

}  // namespace zephtune
