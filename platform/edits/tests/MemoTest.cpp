#include <gtest/gtest.h>

#include <string>

#include "platform/ui/FormLoader.h"
#include "platform/edits/Memo.h"
#include "platform/edits/Edit.h"
#include "platform/edits/EditClasses.h"
#include "platform/ui/tests/TypingFixture.h"

namespace platform {
namespace {

// A memo of 160 x 84 pixels: a client area of 156 x 80 and a formatting rectangle 154 pixels (19
// characters of the test font) wide and 79 high, so four full lines show.
class MemoTest : public TypingTestBase {
protected:
  void SetUp() override {
    TypingTestBase::SetUp();
    memo = Place<TMemo>(Rect(10, 10, 170, 94));
    memo->SetFocus();
    Settle();
  }
  TMemo* memo = nullptr;
};

TEST_F(MemoTest, LinesAndTextStayEqualWhicheverChanges) {
  memo->Lines().Add("first");
  memo->Lines().Add("second");
  EXPECT_EQ(memo->Text(), "first\r\nsecond");
  int changes = 0;
  int linesSeen = 0;
  memo->OnChange = [&](TObject*) {
    ++changes;
    linesSeen = memo->Lines().Count();
  };
  Press(VK_END, bsCtrl);
  Press(VK_RETURN);
  Type("third");
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(memo->Lines().Strings(2), "third");
  EXPECT_EQ(linesSeen, 3);
  EXPECT_EQ(changes, 6);
  // Backspace at a line's start joins it to the line before, CR LF removed as one.
  Press(VK_HOME);
  Press(VK_BACK);
  EXPECT_EQ(memo->Text(), "first\r\nsecondthird");
}

TEST_F(MemoTest, ScrollingByTheLineCountLessOneShowsTheLastOfAThousandLines) {
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->SetReadOnly(true);
  {
    StringListUpdateGuard update(memo->Lines());
    for (int i = 1; i <= 1000; ++i) memo->Lines().Add("event " + std::to_string(i));
  }
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 0);
  memo->Perform(EM_LINESCROLL, 0, memo->Lines().Count() - 1);
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 1000 - 4);
  const size_t lastLine = memo->Text().rfind("event 1000");
  const int y = LParamY(memo->Perform(EM_POSFROMCHAR, CodePointCount(memo->Text().substr(0, lastLine))));
  EXPECT_EQ(y, 1 + 3 * 16);
  memo->Perform(EM_LINESCROLL, 0, -2000);
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 0);
  // The scroll bar (right of the client area): its down arrow and the track below the thumb.
  Input().Click(At(*memo, memo->ClientWidth() + 8, memo->ClientHeight() - 4));
  Settle();
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 1);
  Input().Click(At(*memo, memo->ClientWidth() + 8, memo->ClientHeight() - 24));
  Settle();
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 5);
}

TEST_F(MemoTest, WordWrapBreaksAtBlanksAndUpDownKeepTheColumn) {
  memo->SetText("aaaa bbbb cccc dddd eeee ffff\r\nshort");
  // 19 characters fit, and the blank after the last word hangs: "aaaa bbbb cccc dddd " | "eeee ffff" | "short".
  EXPECT_EQ(memo->Perform(EM_GETLINECOUNT), 3);
  EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, 19), 0);
  EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, 20), 1);
  EXPECT_EQ(memo->Perform(EM_LINEFROMCHAR, 31), 2);
  memo->SetSelStart(12);
  Press(VK_DOWN);
  EXPECT_EQ(memo->SelStart(), 29);  // the end of the shorter line
  Press(VK_DOWN);
  EXPECT_EQ(memo->SelStart(), 36);  // the end of "short"
  Press(VK_UP, bsShift);
  EXPECT_EQ(memo->SelText(), "\r\nshort");
  memo->SetWordWrap(false);
  EXPECT_EQ(memo->Perform(EM_GETLINECOUNT), 2);
}

TEST_F(MemoTest, SelectionAcrossLinesIsCopiedWithItsLineBreaksAndPastedTextGetsCrLf) {
  memo->SetText("one\r\ntwo");
  memo->SelectAll();
  memo->CopyToClipboard();
  EXPECT_EQ(Backend().GetClipboard(kClipboardText), "one\r\ntwo");
  Backend().SetClipboard(kClipboardText, "x\ny", TBackend::TClipboardWrite::Replace);
  Press(VK_END, bsCtrl);
  memo->PasteFromClipboard();
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(memo->Text(), "one\r\ntwox\r\ny");
}

TEST_F(MemoTest, FormResourcesCreateEditsAndMemosWithTheirProperties) {
  PublishEditClasses();
  ReadFormText(*form,
               "Form1: TForm {\n"
               "  Name1: TEdit {\n"
               "    Left = 8\n    Top = 120\n    Width = 100\n    Height = 21\n"
               "    MaxLength = 5\n    PasswordChar = \"*\"\n    CharCase = ecUpperCase\n"
               "    Text = \"abc\"\n  }\n"
               "  Log: TMemo {\n"
               "    ReadOnly = True\n    ScrollBars = ssVertical\n    WordWrap = False\n"
               "    Font.Name = \"Courier New\"\n    Lines = list(\"a\", \"b\")\n  }\n"
               "}\n",
               "test form", {});
  auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Name1"));
  auto* log = dynamic_cast<TMemo*>(form->FindComponent("Log"));
  ASSERT_TRUE(edit && log);
  EXPECT_EQ(edit->Parent(), form.get());
  EXPECT_EQ(edit->BoundsRect(), Rect(8, 120, 108, 141));
  EXPECT_EQ(edit->MaxLength(), 5);
  EXPECT_EQ(edit->PasswordChar(), U'*');
  EXPECT_EQ(edit->CharCase(), TEditCharCase::ecUpperCase);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_FALSE(edit->Modified());
  EXPECT_TRUE(log->ReadOnly());
  EXPECT_EQ(log->ScrollBars(), TScrollStyle::ssVertical);
  EXPECT_FALSE(log->WordWrap());
  EXPECT_EQ(log->Font().Name(), "Courier New");
  EXPECT_EQ(log->Text(), "a\r\nb");
}

TEST_F(MemoTest, PageKeysScrollAndMoveByTheLinesShownKeepingTheColumn) {
  for (int i = 0; i < 12; ++i) memo->Lines().Add("line " + std::to_string(i % 10));
  Press(VK_HOME, bsCtrl);
  Press(VK_RIGHT);
  Press(VK_RIGHT);
  Press(VK_NEXT);  // four lines show
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 4);
  EXPECT_EQ(memo->SelStart(), 4 * 8 + 2);
  Press(VK_NEXT, bsShift);
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 8);
  EXPECT_EQ(memo->SelLength(), 4 * 8);
  Press(VK_PRIOR);
  EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 4);
  EXPECT_EQ(memo->SelStart(), 4 * 8 + 2);
}

}  // namespace
}  // namespace platform
