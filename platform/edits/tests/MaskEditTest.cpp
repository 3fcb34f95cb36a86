#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "platform/core/FormatSettings.h"
#include "platform/core/Utf8.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/FormLoader.h"
#include "platform/edits/MaskEdit.h"
#include "platform/edits/Edit.h"
#include "platform/edits/EditClasses.h"
#include "platform/ui/tests/TypingFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

TEST(EditMaskTest, TextsThroughTheMask) {
  FormatSettings().DateSeparator = '.';
  FormatSettings().TimeSeparator = ':';
  struct Case {
    const char* mask;
    const char* text;  // set as Text
    const char* editText;
    const char* maskedText;
    bool blanks;
  };
  const Case cases[] = {
      {"00:00", "12:30", "12:30", "12:30", false},
      {"00:00;0;_", "1230", "12:30", "1230", false},
      {"00:00;1;_", "", "__:__", "  :  ", true},
      {"99/99/0000;1;*", "1.5.2024", "1*.*2.24**", "1 . 2.24  ", true},
      {"!99/99/0000;0; ", "01052024", "01.05.2024", "01052024", false},
      {">LL-000;1;_", "ab-12", "AB-12_", "AB-12 ", true},
      {"<ll", "XY", "xy", "xy", false},
      {"\\(000\\) 000;0;_", "0301", "(030) 1__", "0301  ", true},
      {"99:99", "1x:3", "1_:3_", "1 :3 ", true},
      {"#00", "-12", "-12", "-12", false},
      {"aA;1;_", "\xC3\xA4" "1", "\xC3\xA4" "1", "\xC3\xA4" "1", false},
      {"CC", "\x01z", "_z", " z", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    TEditMask mask(c.mask);
    const std::u32string edit = mask.EditTextOfText(DecodeText(c.text));
    EXPECT_EQ(EncodeText(edit), c.editText);
    EXPECT_EQ(EncodeText(mask.TextOf(edit)), c.maskedText);
    EXPECT_EQ(mask.HasBlanks(edit), c.blanks);
  }
  ResetFormatSettings();
}

class MaskEditTest : public TypingTestBase {
protected:
  TMaskEdit* PlaceMasked(const std::string& mask) {
    auto* edit = Place<TMaskEdit>(Rect(8, 8, 200, 32));
    edit->SetEditMask(mask);
    edit->SetFocus();
    edit->SetSelStart(0);
    Settle();
    return edit;
  }
};

// Keys as a person types them: what the edit then shows, where the caret stands and how often it beeped.
TEST_F(MaskEditTest, TypingFollowsTheMask) {
  struct Case {
    const char* name;
    const char* mask;
    std::function<void()> keys;
    const char* shown;
    int caret;
    int beeps;
  };
  const Case cases[] = {
      {"digits step over the literal", "00:00;1;_", [this] { Type("1234"); }, "12:34", 5, 0},
      {"a letter in a digit place is refused", "00:00;1;_", [this] { Type("1a2"); }, "12:__", 3, 1},
      {"typed past the end", "00;1;_", [this] { Type("123"); }, "12", 2, 1},
      {"a typed literal passes its literal", "00:00;1;_", [this] { Type("1:2"); }, "1_:2_", 4, 0},
      {"upper case", ">LLL;1;_", [this] { Type("abc"); }, "ABC", 3, 0},
      {"backspace blanks and skips back over literals", "00:00;1;_",
       [this] {
         Type("123");
         Press(VK_BACK);
         Press(VK_BACK);
       },
       "1_:__", 1, 0},
      {"delete blanks the place at the caret", "00:00;1;_",
       [this] {
         Type("1234");
         Press(VK_HOME);
         Press(VK_DELETE);
       },
       "_2:34", 0, 0},
      {"typing over a selection blanks it first", "00:00;1;_",
       [this] {
         Type("1234");
         Press(VK_HOME);
         Press(VK_RIGHT, bsShift);
         Press(VK_RIGHT, bsShift);
         Press(VK_RIGHT, bsShift);
         Press(VK_RIGHT, bsShift);
         Type("9");
       },
       "9_:_4", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMaskEdit* edit = PlaceMasked(c.mask);
    const int beeps = Input().Beeps();
    c.keys();
    EXPECT_EQ(edit->EditText(), c.shown);
    EXPECT_EQ(edit->SelStart(), c.caret);
    EXPECT_EQ(Input().Beeps() - beeps, c.beeps);
    delete edit;
  }
}

// A multi-line masked edit, as the spin edits make theirs to set its text rectangle.
class TMultiLineMaskEdit : public TMaskEdit {
public:
  using TMaskEdit::TMaskEdit;

protected:
  void CreateParams(TCreateParams& Params) override {
    TMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
  }
};

TEST_F(MaskEditTest, LineBreaksAndTabsNeverEnterTheMaskedText) {
  auto* edit = Place<TMultiLineMaskEdit>(Rect(8, 8, 200, 32));
  edit->SetEditMask("00:00;1;_");
  edit->SetFocus();
  edit->SetSelStart(0);
  Type("1\r\t2");
  EXPECT_EQ(edit->EditText(), "12:__");
}

TEST_F(MaskEditTest, PasteTypesTheClipboardAndCutLeavesBlanks) {
  TMaskEdit* edit = PlaceMasked("00:00;0;_");
  Clipboard().SetAsText("12:3x9\r\nrest");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->EditText(), "12:3_");
  EXPECT_EQ(edit->Text(), "123 ");
  EXPECT_TRUE(edit->HasBlanks());
  edit->SelectAll();
  edit->CutToClipboard();
  EXPECT_EQ(edit->EditText(), "__:__");
  EXPECT_EQ(Clipboard().AsText(), "12:3_");
  edit->Undo();
  EXPECT_EQ(edit->EditText(), "12:3_");
  edit->SetReadOnly(true);
  edit->SelectAll();
  edit->ClearSelection();
  EXPECT_EQ(edit->EditText(), "12:3_") << "read-only";
}

// OnChange may free the edit as a key changes a position.
TEST_F(MaskEditTest, ChangeHandlerMayFreeTheEdit) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"a digit", [this] { Type("1"); }},
      {"Backspace", [this] { Press(VK_BACK); }},
      {"Delete", [this] { Press(VK_DELETE); }},
  };
  for (const auto& [what, key] : cases) {
    SCOPED_TRACE(what);
    TMaskEdit* edit = PlaceMasked("00:00;1;_");
    edit->SetText("12:34");
    edit->SetSelStart(1);
    edit->OnChange = [&edit](TObject*) { delete std::exchange(edit, nullptr); };
    key();
    EXPECT_EQ(edit, nullptr);
    delete edit;
  }
}

TEST_F(MaskEditTest, TextFromOutsideAndANewMaskAreFormatted) {
  auto* edit = Place<TMaskEdit>(Rect(8, 8, 200, 32));
  edit->SetText("1234");
  EXPECT_FALSE(edit->IsMasked());
  EXPECT_FALSE(edit->HasBlanks());
  edit->SetEditMask("00:00;0;_");
  EXPECT_TRUE(edit->IsMasked());
  EXPECT_FALSE(edit->SavesLiterals());
  EXPECT_EQ(edit->MaskBlank(), U'_');
  EXPECT_EQ(edit->EditText(), "12:34");
  static_cast<TControl*>(edit)->SetText("9");
  EXPECT_EQ(edit->EditText(), "9_:__") << "set as edit text, position by position";
  edit->SetEditMask("");
  EXPECT_EQ(edit->EditText(), "9   ") << "the masked text stays without a mask";
}

TEST_F(MaskEditTest, LoadsFromAFormResource) {
  PublishEditClasses();
  TForm loaded(nullptr);
  ReadFormText(loaded, R"(
Form1: TForm {
  Time: TMaskEdit { EditMask = "00:00;1;_"  Text = "08:15" }
}
)",
               "TFORM1.DE", TFormMethods{});
  auto& time = dynamic_cast<TMaskEdit&>(*loaded.FindComponent("Time"));
  EXPECT_EQ(time.EditText(), "08:15");
}

TEST_F(MaskEditTest, Screenshot) {
  form->SetBounds(100, 100, 220, 70);
  form->Font().SetName("Tahoma");  // a real face for people to look at; nothing here is measured
  form->Font().SetSize(8);
  TMaskEdit* edit = PlaceMasked(">LL-0000;1;_");
  edit->SetBounds(10, 10, 120, 21);
  Type("de12");
  SaveArtefact(Input(), form->BackendWindow(), "maskedit");
}

}  // namespace
}  // namespace platform
