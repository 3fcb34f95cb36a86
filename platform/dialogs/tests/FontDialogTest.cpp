#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/core/Ascii.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/dialogs/FontDialogForm.h"
#include "platform/dialogs/FormDialogs.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

class FontDialogTest : public FormTest {
protected:
  // Cancels the font form if it is still open once the queued input is handled.
  void CancelLeftOpen() {
    Input().Run([this] {
      if (Input().PendingInput() > 0) {
        CancelLeftOpen();
        return;
      }
      if (TCustomForm* form = Screen().ActiveForm(); form && dynamic_cast<TFontDialogForm*>(form)) form->SetModalResult(mrCancel);
    });
  }
};

TEST_F(FontDialogTest, TheScriptedServiceAnswersAndTheFontTakesTheAnswer) {
  TScriptedDialogService dialogs;
  TFontDialog dialog(nullptr);
  dialog.Font().SetName("Arial");
  dialog.Font().SetSize(10);
  dialog.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
  dialog.Font().SetColor(clRed);
  int shown = 0, closed = 0;
  dialog.OnShow = [&](TObject*) { ++shown; };
  dialog.OnClose = [&](TObject*) { ++closed; };
  dialogs.AnswerFont({"Liberation Serif", 14, 2 | 4, clBlue});
  ASSERT_TRUE(dialog.Execute());
  const TFontRequest& asked = dialogs.FontDialogs().at(0);
  EXPECT_EQ(asked.Name, "Arial");
  EXPECT_EQ(asked.Size, 10);
  EXPECT_EQ(asked.Style, 1u);
  EXPECT_EQ(asked.Color, clRed);
  EXPECT_NE(std::find(asked.Families.begin(), asked.Families.end(), "Liberation Sans"), asked.Families.end());
  EXPECT_TRUE(std::is_sorted(asked.Families.begin(), asked.Families.end(),
                             [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; }));
  EXPECT_EQ(dialog.Font().Name(), "Liberation Serif");
  EXPECT_EQ(dialog.Font().Size(), 14);
  EXPECT_EQ(dialog.Font().Style(), (TFontStyles{TFontStyle::fsItalic, TFontStyle::fsUnderline}));
  EXPECT_EQ(dialog.Font().Color(), clBlue);
  dialogs.AnswerCancel();
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Font().Size(), 14);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(closed, 2);
}

TEST_F(FontDialogTest, TheFormOfOurOwnAnswersWhatIsChosenAndShowsASample) {
  TFormDialogService forms;
  IDialogService* before = SetDialogService(&forms);
  TFontDialog dialog(nullptr);
  dialog.Font().SetName("Liberation Sans");
  dialog.Font().SetSize(10);
  dialog.Font().SetColor(clMaroon);
  Input().Run([&] {
    auto* form = dynamic_cast<TFontDialogForm*>(Screen().ActiveForm());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->Family().Text(), "Liberation Sans");
    EXPECT_EQ(form->Size().Text(), "10");
    EXPECT_EQ(form->ColorBox().Text(), "Maroon");
    form->Size().SetFocus();
    form->Size().SetText("");
    Input().Char("2");
    Input().Char("4");
    Input().Click(form->Bold().ClientToScreen({5, 8}));
    Input().Click(form->Italic().ClientToScreen({5, 8}));
    Input().Run([form, this] {
      form->Update();
      SaveArtefact(Input(), form->BackendWindow(), "font-dialog");
    });
    Input().PressKey(VK_RETURN, 0, "\r");
  });
  CancelLeftOpen();
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Font().Name(), "Liberation Sans");
  EXPECT_EQ(dialog.Font().Size(), 24);
  EXPECT_EQ(dialog.Font().Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic}));
  EXPECT_EQ(dialog.Font().Color(), clMaroon);
  // Cancel keeps the font.
  Input().Run([&] { Input().PressKey(VK_ESCAPE); });
  CancelLeftOpen();
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Font().Size(), 24);
  SetDialogService(before);
}

TEST_F(FontDialogTest, ASizeThatIsNoNumberKeepsTheFormOpen) {
  TFontDialogForm form({"", "Liberation Sans", 10, 0, clBlack, {"Liberation Sans", "Liberation Serif"}});
  Input().Run([&] {
    form.Size().SetText("big");
    form.OkButton().Click();
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.ColorBox().Text(), "Black");
  });
  CancelLeftOpen();
  EXPECT_FALSE(form.Execute());
}

}  // namespace
}  // namespace platform
