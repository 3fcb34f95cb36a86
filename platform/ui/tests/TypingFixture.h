#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Utf8.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {

// A shown form in the test font (16 pixels: every character 8 wide, lines 16 high) on which tests place
// controls and type.
class TypingTestBase : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(300, 200);
    form->Font().SetName(kTestFontName);
    form->Font().SetHeight(-16);
    form->SetColor(clBtnFace);
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }

  template <class T>
  T* Place(TRect bounds) {
    auto* control = new T(form.get());
    control->SetParent(form.get());
    control->SetBoundsRect(bounds);
    Settle();
    return control;
  }
  // Types the text one character at a time.
  void Type(std::string_view utf8) {
    for (size_t pos = 0; pos < utf8.size(); pos = NextCodePoint(utf8, pos))
      Input().Char(utf8.substr(pos, NextCodePoint(utf8, pos) - pos));
    Settle();
  }
  // A key as the keyboard gives it: Backspace, Enter and Tab also type their character.
  void Press(int virtualKey, unsigned shift = 0) {
    const char* typed = virtualKey == VK_BACK ? "\b" : virtualKey == VK_RETURN ? "\r" : virtualKey == VK_TAB ? "\t" : "";
    Input().PressKey(virtualKey, shift, typed);
    Settle();
  }

  std::unique_ptr<TForm> form;
};

}  // namespace platform
