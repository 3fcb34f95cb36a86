#pragma once

#include <memory>

#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/app/tests/LoopFixture.h"

namespace platform {

// A test on the virtual clock with a fresh headless backend: shows forms, injects input through
// Input() and settles the loop with Settle().
class FormTest : public LoopTest {
protected:
  void SetUp() override {
    LoopTest::SetUp();
    SetBackend(std::make_unique<THeadlessBackend>());
    ApplicationHints().CancelHint();
  }
  void TearDown() override {
    Settle();
    ApplicationHints().CancelHint();
    LoopTest::TearDown();
  }

  THeadlessBackend& Input() { return HeadlessBackend(); }
  // Handles every queued event and paints.
  void Settle() { Application().ProcessMessages(); }
  // A key as the keyboard gives it: Enter, Escape, Tab and Backspace also type their character.
  void Press(int key, unsigned shift = 0) {
    const char* typed = key == VK_RETURN ? "\r" : key == VK_ESCAPE ? "\x1b" : key == VK_TAB ? "\t" : key == VK_BACK ? "\b" : "";
    Input().PressKey(key, shift, typed);
    Settle();
  }
  // A shown form of the given client size at (100, 100).
  std::unique_ptr<TForm> ShowForm(int width = 200, int height = 150) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, width, height);
    form->Show();
    Settle();
    return form;
  }
  // The screen point of a control's client point.
  static TPoint At(const TControl& control, int x, int y) { return control.ClientToScreen({x, y}); }
};

}  // namespace platform
