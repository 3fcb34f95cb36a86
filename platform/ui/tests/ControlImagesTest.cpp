#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/gfx/Png.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/LookFixture.h"

namespace platform {
namespace {

enum class TShownState { Normal, Focused, Disabled, Pressed };
constexpr TShownState kStates[] = {TShownState::Normal, TShownState::Focused, TShownState::Disabled,
                                   TShownState::Pressed};
constexpr int kCellWidth = 100;
constexpr int kCellHeight = 40;

// Draws a control in each state on a form of its own and compares the row of the four pictures with
// the reference picture of the fixtures folder; a differing picture is saved beside the test's temporary
// files for a person to look at.
class ControlImagesTest : public FormTest {
protected:
  void ExpectStatesMatch(const std::string& name, const std::function<TControl*(TWinControl*)>& make) {
    TBitmap sheet(kCellWidth * 4, kCellHeight);
    int column = 0;
    for (TShownState state : kStates) {
      auto form = ShowForm(kCellWidth, kCellHeight);
      form->Font().SetName(kTestFontName);
      form->Font().SetHeight(-12);
      TControl* control = make(form.get());
      control->SetLeft(6);
      control->SetTop(6);
      auto* windowed = dynamic_cast<TWinControl*>(control);
      switch (state) {
        case TShownState::Normal: break;
        case TShownState::Focused:
          if (windowed && windowed->CanFocus()) windowed->SetFocus();
          Input().MouseMove(At(*control, 2, 2));  // a flat button shows its hot frame
          break;
        case TShownState::Disabled: control->SetEnabled(false); break;
        case TShownState::Pressed: Input().MouseDown(TMouseButtonKind::Left, At(*control, 2, 2)); break;
      }
      Settle();
      const TBitmap& shown = Input().Info(form->BackendWindow()).shown;
      TRect cell = Bounds(column * kCellWidth, 0, kCellWidth, kCellHeight);
      sheet.Canvas().CopyRect(cell, const_cast<TBitmap&>(shown).Canvas(), Rect(0, 0, kCellWidth, kCellHeight));
      if (state == TShownState::Pressed) Input().MouseUp(TMouseButtonKind::Left, At(*control, 2, 2));
      Settle();
      ++column;
    }
    ExpectPictureLike(sheet, name);
  }
  template <class T>
  static T* Make(TWinControl* parent, const std::string& caption) {
    auto* control = new T(parent);
    control->SetParent(parent);
    control->SetCaption(caption);
    return control;
  }
};

TEST_F(ControlImagesTest, Button) {
  ExpectStatesMatch("button", [](TWinControl* parent) { return Make<TButton>(parent, "&Ok"); });
}

TEST_F(ControlImagesTest, DefaultButton) {
  ExpectStatesMatch("default_button", [](TWinControl* parent) {
    auto* button = Make<TButton>(parent, "Save");
    button->SetDefault(true);
    return button;
  });
}

TEST_F(ControlImagesTest, CheckBox) {
  ExpectStatesMatch("check_box", [](TWinControl* parent) {
    auto* box = Make<TCheckBox>(parent, "&Log");
    box->SetChecked(true);
    return box;
  });
}

TEST_F(ControlImagesTest, GrayedCheckBoxWithTextLeft) {
  ExpectStatesMatch("check_box_grayed", [](TWinControl* parent) {
    auto* box = Make<TCheckBox>(parent, "Web");
    box->SetAllowGrayed(true);
    box->SetState(TCheckBoxState::cbGrayed);
    box->SetAlignment(TLeftRight::taLeftJustify);
    box->SetWidth(60);
    return box;
  });
}

TEST_F(ControlImagesTest, RadioButton) {
  ExpectStatesMatch("radio_button", [](TWinControl* parent) {
    auto* radio = Make<TRadioButton>(parent, "&Mail");
    radio->SetChecked(true);
    return radio;
  });
}

// A 16 x 16 glyph: a red square with a blue border on the olive transparent colour.
void PaintGlyph(TBitmap& glyph) {
  glyph.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool outside = x < 3 || y < 3 || x > 12 || y > 12;
      const bool border = x == 3 || y == 3 || x == 12 || y == 12;
      glyph.Canvas().SetPixels(x, y, outside ? clOlive : border ? clBlue : clRed);
    }
}

TEST_F(ControlImagesTest, SpeedButtonWithGlyphAboveCaption) {
  ExpectStatesMatch("speed_button", [](TWinControl* parent) {
    auto* button = Make<TSpeedButton>(parent, "Go");
    button->SetBounds(0, 0, 40, 34);
    button->SetLayout(TButtonLayout::blGlyphTop);
    PaintGlyph(button->Glyph());
    return button;
  });
}

TEST_F(ControlImagesTest, FlatSpeedButton) {
  ExpectStatesMatch("speed_button_flat", [](TWinControl* parent) {
    auto* button = Make<TSpeedButton>(parent, "Go");
    button->SetBounds(0, 0, 60, 26);
    button->SetFlat(true);
    PaintGlyph(button->Glyph());
    return button;
  });
}

TEST_F(ControlImagesTest, LabelPanelAndBevel) {
  ExpectStatesMatch("label_panel_bevel", [](TWinControl* parent) {
    auto* bevel = new TBevel(parent);
    bevel->SetParent(parent);
    bevel->SetBounds(70, 4, 24, 30);
    auto* panel = Make<TPanel>(parent, "Pa");
    panel->SetBounds(0, 0, 60, 28);
    panel->SetBevelInner(TBevelCut::bvLowered);
    panel->SetBevelWidth(2);
    auto* label = Make<TLabel>(panel, "&L");
    label->SetLeft(4);
    label->SetTop(6);
    return panel;
  });
}

}  // namespace
}  // namespace platform
