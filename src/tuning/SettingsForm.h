#pragma once

#include "ui/Form.h"

namespace zephtune {

// The progress window of the optimise and restore runs: no border icons, hidden
// between runs.
class SettingsForm : public ui::Form {
 public:
  SettingsForm();
};

}  // namespace zephtune
