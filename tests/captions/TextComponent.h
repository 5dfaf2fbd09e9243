#pragma once

#include <string>
#include <string_view>

#include "ui/Component.h"
#include "ui/Form.h"

namespace zephtune::testing {

// A component of any kind that keeps every text it is given, so a test sees whether a
// service wrote to a kind that must be left alone.
class TextComponent : public ui::Component {
 public:
  TextComponent(ui::Form& owner, std::wstring_view name, ui::ComponentKind kind, std::wstring_view text = L"")
      : ui::Component(owner, name), kind_(kind), text_(text) {}

  ui::ComponentKind Kind() const noexcept override { return kind_; }
  void SetText(std::wstring_view text) override {
    text_.assign(text);
    ++writes_;
  }
  std::wstring Text() const override { return text_; }
  int Writes() const noexcept { return writes_; }

 private:
  ui::ComponentKind kind_;
  std::wstring text_;
  int writes_ = 0;
};

}  // namespace zephtune::testing
