#pragma once

#include "ui/Form.h"

namespace zephtune {

// The about window: created hidden at start, shown over the main window on request,
// hidden again (never destroyed) when closed.
class AboutForm : public ui::Form {
 public:
  AboutForm();

 protected:
  void FormShow() override;
};

}  // namespace zephtune
