#pragma once

#include "ui/Form.h"

namespace zephtune {

// The program's one working window: its closing ends the program.
class MainForm : public ui::Form {
 public:
  MainForm();

 protected:
  void FormCreate() override;
};

}  // namespace zephtune
