#include "app/MainForm.h"

#include "app/FormLook.h"

#include "ResourceIds.h"

namespace zephtune {
namespace {

constexpr ui::FormDesign kMainFormDesign{
    .name = L"ZTMainForm",
    .clientWidth = 764,
    .clientHeight = 500,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    .exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
    .placement = ui::Placement::ScreenCenter,
    .closeAction = ui::CloseAction::Destroy,
    .endsMessageLoop = true,
    .iconResource = IDI_ZEPHTUNE,
};

}  // namespace

MainForm::MainForm() : ui::Form(kMainFormDesign) {}

void MainForm::FormCreate() { ApplyFormLook(*this); }

}  // namespace zephtune
