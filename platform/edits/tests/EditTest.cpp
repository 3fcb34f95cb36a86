#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/edits/Edit.h"
#include "platform/ui/tests/TypingFixture.h"

namespace platform {
namespace {

const std::string kAUml = "\xC3\xA4";          // ä
const std::string kEuro = "\xE2\x82\xAC";      // €
const std::string kEmoji = "\xF0\x9F\x98\x80";  // 😀

// A focused single-line edit of 120 x 24 pixels at (10, 10): a client area of 116 x 20 inside the
// sunken edge and a formatting rectangle from (1, 1), 114 pixels (14 characters) wide.
class EditTest : public TypingTestBase {
protected:
  void SetUp() override {
    TypingTestBase::SetUp();
    edit = Place<TEdit>(Rect(10, 10, 130, 34));
    edit->SetFocus();
    Settle();
  }
  void Key(int virtualKey, unsigned shift = 0) { Press(virtualKey, shift); }

  TEdit* edit = nullptr;
};

TEST_F(EditTest, CaretSelectionAndDeletionStepOverWholeMultiByteCharacters) {
  const std::string text = "a" + kAUml + kEuro + kEmoji + "b";
  struct Step {
    int key;
    unsigned shift;
  };
  struct Case {
    const char* name;
    std::vector<Step> keys;
    std::string typed;
    std::string text;
    int selStart, selLength;
  };
  const Case cases[] = {
      {"backspace at the end", {{VK_END, 0}, {VK_BACK, 0}}, "", "a" + kAUml + kEuro + kEmoji, 4, 0},
      {"backspace after the emoji", {{VK_END, 0}, {VK_LEFT, 0}, {VK_BACK, 0}}, "", "a" + kAUml + kEuro + "b", 3, 0},
      {"delete the euro", {{VK_HOME, 0}, {VK_RIGHT, 0}, {VK_RIGHT, 0}, {VK_DELETE, 0}}, "", "a" + kAUml + kEmoji + "b", 2, 0},
      {"delete the umlaut", {{VK_HOME, 0}, {VK_RIGHT, 0}, {VK_DELETE, 0}}, "", "a" + kEuro + kEmoji + "b", 1, 0},
      {"shift selects two characters", {{VK_HOME, 0}, {VK_RIGHT, 0}, {VK_RIGHT, bsShift}, {VK_RIGHT, bsShift}}, "", text, 1, 2},
      {"shift+home selects back to the start", {{VK_END, 0}, {VK_LEFT, 0}, {VK_HOME, bsShift}}, "", text, 0, 4},
      {"typing replaces the selection", {{VK_END, 0}, {VK_LEFT, bsShift}, {VK_LEFT, bsShift}}, kEuro, "a" + kAUml + kEuro + kEuro, 4, 0},
      {"typing before the emoji", {{VK_END, 0}, {VK_LEFT, 0}, {VK_LEFT, 0}}, "\xC3\xB6", "a" + kAUml + kEuro + "\xC3\xB6" + kEmoji + "b", 4, 0},
      {"left collapses a selection to its start", {{VK_END, 0}, {VK_LEFT, bsShift}, {VK_LEFT, bsShift}, {VK_LEFT, 0}}, "", text, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit->SetText(text);
    for (const Step& step : c.keys) Key(step.key, step.shift);
    Type(c.typed);
    EXPECT_EQ(edit->Text(), c.text);
    EXPECT_EQ(edit->SelStart(), c.selStart);
    EXPECT_EQ(edit->SelLength(), c.selLength);
  }
  edit->SetText(text);
  edit->SetSelStart(2);
  edit->SetSelLength(2);
  EXPECT_EQ(edit->SelText(), kEuro + kEmoji);
  EXPECT_EQ(edit->Perform(EM_POSFROMCHAR, 4), PointToLParam(1 + 4 * 8, 1));  // every character 8 wide
}

TEST_F(EditTest, CtrlMovesByWordsAndHomeEndWithShiftSelect) {
  edit->SetText("one two,three");
  std::vector<int> stops;
  for (int i = 0; i < 4; ++i) {
    Key(VK_RIGHT, bsCtrl);
    stops.push_back(edit->SelStart());
  }
  EXPECT_EQ(stops, (std::vector<int>{4, 7, 8, 13}));
  Key(VK_LEFT, bsCtrl | bsShift);
  EXPECT_EQ(edit->SelText(), "three");
  Key(VK_HOME, bsShift);
  EXPECT_EQ(edit->SelText(), "one two,three");
}

TEST_F(EditTest, MaxLengthCountsCharactersForTypingAndPaste) {
  edit->SetMaxLength(3);
  Type(kAUml + kEuro + kEmoji + "x");
  EXPECT_EQ(edit->Text(), kAUml + kEuro + kEmoji);
  EXPECT_EQ(Input().Beeps(), 1);
  Key(VK_LEFT, bsShift);  // a selected character makes room for one
  Backend().SetClipboard(kClipboardText, "xyz", TBackend::TClipboardWrite::Replace);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), kAUml + kEuro + "x");
  edit->SetText("longer than three");  // text from the program is not cut
  EXPECT_EQ(edit->Text(), "longer than three");
}

TEST_F(EditTest, PastedLineBreaksCutTheTextToItsFirstLine) {
  edit->SetText("[]");
  edit->SetSelStart(1);
  Backend().SetClipboard(kClipboardText, std::string("host\0name\r\nsecond line\r\n", 25), TBackend::TClipboardWrite::Replace);
  Type("\x16");  // Ctrl+V
  EXPECT_EQ(edit->Text(), "[hostname]");
  EXPECT_EQ(edit->SelStart(), 9);
}

TEST_F(EditTest, UndoTakesBackTheLastChangeAndUndoAgainRedoesIt) {
  Type("abc");
  Key(VK_BACK);
  Key(VK_BACK);
  EXPECT_EQ(edit->Text(), "a");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "ab");
  edit->Undo();
  EXPECT_EQ(edit->Text(), "a");
  Type("xy");  // typing in a row is one change
  Type("\x1A");  // Ctrl+Z
  EXPECT_EQ(edit->Text(), "a");
  EXPECT_TRUE(edit->CanUndo());
  edit->SetText("new");
  EXPECT_FALSE(edit->CanUndo());
}

TEST_F(EditTest, CutCopyAndPasteGoThroughTheBackendsClipboard) {
  edit->SetText("copy " + kEuro + " me");
  edit->SetSelStart(5);
  edit->SetSelLength(1);
  Key(VK_INSERT, bsCtrl);
  EXPECT_EQ(Backend().GetClipboard(kClipboardText), kEuro);
  Key(VK_HOME);
  Key(VK_RIGHT, bsCtrl | bsShift);
  Key(VK_DELETE, bsShift);
  EXPECT_EQ(edit->Text(), kEuro + " me");
  EXPECT_EQ(Backend().GetClipboard(kClipboardText), "copy ");
  Key(VK_END);
  Key(VK_INSERT, bsShift);
  EXPECT_EQ(edit->Text(), kEuro + " mecopy ");
}

TEST_F(EditTest, PasswordCharacterEchoesEveryCharacterOnceAndKeepsTheTextFromTheClipboard) {
  edit->SetPasswordChar(U'*');
  edit->SetText(kAUml + kEuro + kEmoji);
  Settle();
  // Three boxes of the test font, one per character, at 8 pixel steps from the formatting rectangle.
  const TBitmap& shown = Input().Info(form->BackendWindow()).shown;
  TPoint origin = edit->ClientToScreen({1, 1});
  TPoint formOrigin = form->ClientToScreen({0, 0});
  auto inked = [&](int x) {
    return (shown.ScanLine(origin.Y - formOrigin.Y + 5)[origin.X - formOrigin.X + x] & 0xFFFFFF) != 0xFFFFFF;
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(inked(i * 8 + 3), i < 3);
  }
  Backend().SetClipboard(kClipboardText, "before", TBackend::TClipboardWrite::Replace);
  edit->SelectAll();
  edit->CopyToClipboard();
  edit->CutToClipboard();
  EXPECT_EQ(Backend().GetClipboard(kClipboardText), "before");
  EXPECT_EQ(edit->Text(), kAUml + kEuro + kEmoji);
  edit->Perform(EM_SETPASSWORDCHAR, 0xD800);  // a surrogate is no character: the text shows
  EXPECT_EQ(edit->PasswordChar(), 0u);
}

TEST_F(EditTest, TheTextRectangleMovesTheTextTheCaretAndTheHitTest) {
  TRect r = Rect(20, 2, 60, 18);
  edit->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
  TRect got;
  edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got, r);
  edit->SetText("abcdefghij");
  EXPECT_EQ(edit->Perform(EM_POSFROMCHAR, 2), PointToLParam(36, 2));
  EXPECT_EQ(edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(20 + 8 * 3 + 3, 5)), 3);
  EXPECT_EQ(edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(20 + 8 * 3 + 5, 5)), 4);
  EXPECT_EQ(edit->Perform(EM_LINEFROMCHAR, 5), 0);
  // Typing past the rectangle's right edge scrolls the text, not the rectangle.
  Key(VK_END);
  TPoint caret{LParamX(edit->Perform(EM_POSFROMCHAR, 10)), 0};
  EXPECT_GE(caret.X, r.Left);
  EXPECT_LT(caret.X, r.Right);
  // Resizing the control gives it the default rectangle again.
  edit->SetWidth(150);
  edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got, Rect(1, 1, edit->ClientWidth() - 1, edit->ClientHeight()));
}

// An edit whose style asks for right-aligned lines.
class TRightAlignedEdit : public TEdit {
public:
  using TEdit::TEdit;

protected:
  void CreateParams(TCreateParams& Params) override {
    TEdit::CreateParams(Params);
    Params.Style |= ES_RIGHT;
  }
};

TEST_F(EditTest, RightAlignedTextEndsAtTheRectangleUnlessItIsLonger) {
  auto* right = Place<TRightAlignedEdit>(Rect(10, 40, 130, 64));
  right->SetText("abc");  // 24 pixels in the rectangle from 1 to 115, a pixel kept for the caret
  EXPECT_EQ(LParamX(right->Perform(EM_POSFROMCHAR, 0)), 90);
  EXPECT_EQ(LParamX(right->Perform(EM_POSFROMCHAR, 3)), 114);
  EXPECT_EQ(right->Perform(EM_CHARFROMPOS, 0, PointToLParam(90 + 8 + 5, 5)), 2);
  EXPECT_EQ(right->Perform(EM_CHARFROMPOS, 0, PointToLParam(20, 5)), 0);
  right->SetText(std::string(40, 'x'));  // wider than the rectangle: scrolls as a left-aligned line
  EXPECT_EQ(LParamX(right->Perform(EM_POSFROMCHAR, 0)), 1);
}

TEST_F(EditTest, LongTextScrollsSidewaysToKeepTheCaretInView) {
  edit->SetText(std::string(40, 'x'));
  Key(VK_END);
  const int atEnd = LParamX(edit->Perform(EM_POSFROMCHAR, 40));
  EXPECT_GT(atEnd, 1);
  EXPECT_LT(atEnd, 115);
  Key(VK_HOME);
  EXPECT_EQ(LParamX(edit->Perform(EM_POSFROMCHAR, 0)), 1);
}

TEST_F(EditTest, MouseClickDragAndDoubleClickSelect) {
  edit->SetText("alpha beta gamma");
  Input().Click(At(*edit, 1 + 6 * 8 + 2, 8));
  Settle();
  EXPECT_EQ(edit->SelStart(), 6);
  Input().MouseDown(TMouseButtonKind::Left, At(*edit, 1 + 8 + 2, 8));
  Input().MouseMove(At(*edit, 1 + 4 * 8 + 2, 8), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, At(*edit, 1 + 4 * 8 + 2, 8));
  Settle();
  EXPECT_EQ(edit->SelText(), "lph");
  Input().DoubleClick(At(*edit, 1 + 8 * 8, 8));
  Settle();
  EXPECT_EQ(edit->SelText(), "beta");
}

TEST_F(EditTest, EventsAndTheirPowerOverKeys) {
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->OnKeyPress = [](TObject*, char32_t& key) {
    if (key == U'#') key = 0;
  };
  edit->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
    if (key == VK_HOME) key = 0;
  };
  Type("a#b");
  EXPECT_EQ(edit->Text(), "ab");
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(changes, 2);
  Key(VK_HOME);
  EXPECT_EQ(edit->SelStart(), 2);
  edit->SetText("set");
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(edit->Modified());
}

TEST_F(EditTest, EnteringSelectsAllReadOnlyRefusesTypingAndCharCaseConverts) {
  auto* second = Place<TEdit>(Rect(10, 50, 130, 74));
  second->SetText("selected on entry");
  Press(VK_TAB);
  ASSERT_TRUE(second->Focused());
  EXPECT_EQ(second->SelText(), "selected on entry");

  second->SetReadOnly(true);
  Type("x");
  Key(VK_DELETE);
  EXPECT_EQ(second->Text(), "selected on entry");
  EXPECT_EQ(Input().Beeps(), 2);

  second->SetReadOnly(false);
  second->SetCharCase(TEditCharCase::ecUpperCase);
  EXPECT_EQ(second->Text(), "SELECTED ON ENTRY");
  second->SetText("");
  Type(kAUml + "b");
  EXPECT_EQ(second->Text(), "\xC3\x84" "B");
}

// A single-line edit has one line: Up and Page Up move as Left, Down and Page Down as Right, and
// neither a line break nor a tab is a character for it.
TEST_F(EditTest, TheOneLineTakesTheVerticalKeysSidewaysAndNoLineBreaks) {
  edit->SetText("abc");
  Key(VK_HOME);
  Key(VK_DOWN);
  EXPECT_EQ(edit->SelStart(), 1);
  Key(VK_NEXT, bsShift);
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 1);
  Key(VK_PRIOR);
  EXPECT_EQ(edit->SelStart(), 1);  // the selection collapses to its start
  Key(VK_UP);
  EXPECT_EQ(edit->SelStart(), 0);
  Type("\r\n\t");
  EXPECT_EQ(edit->Text(), "abc");
}

}  // namespace
}  // namespace platform
