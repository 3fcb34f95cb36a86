#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <utility>

#include "platform/core/Streams.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Png.h"
#include "platform/edits/RichEdit.h"
#include "platform/edits/RtfReader.h"
#include "platform/ui/ScrollBars.h"
#include "platform/edits/Edit.h"
#include "platform/ui/tests/TypingFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

// A focused rich edit of 200 x 100 pixels at (10, 10) in the test font (every character 8 pixels wide,
// lines 16 high): a client area of 196 x 96 inside the sunken edge and a formatting rectangle from
// (1, 1), 194 pixels wide.
class RichEditTest : public TypingTestBase {
protected:
  void SetUp() override {
    TypingTestBase::SetUp();
    rich = Place<TRichEdit>(Rect(10, 10, 210, 110));
    rich->SetFocus();
    Settle();
  }
  // The format of the first occurrence of `part` and the attributes its characters share.
  TRichCharFormat FormatOf(std::string_view part, uint32_t* shared = nullptr) {
    const size_t at = rich->Document().Text().find(part);
    EXPECT_NE(at, std::string::npos) << part;
    uint32_t mask = 0;
    TRichCharFormat f = rich->Document().CommonFormat(at, at + part.size(), mask);
    if (shared) *shared = mask;
    return f;
  }
  void Select(int start, int length) {
    rich->SetSelStart(start);
    rich->SetSelLength(length);
  }
  // The path of a picture in the build's artefacts, for people to look at.
  static std::string Artefact(const std::string& name) {
    std::filesystem::create_directories(UI_ARTEFACTS);
    return std::string(UI_ARTEFACTS) + "/" + name;
  }

  // Lines as the text split afresh (and its length as counted afresh).
  void ExpectLinesSplitAfresh() {
    ASSERT_EQ(rich->GetTextLen(), static_cast<int>(CodePointCount(rich->Document().Text())));
    TStringList fresh;
    fresh.SetText(rich->Text());
    ASSERT_EQ(rich->Lines().Count(), fresh.Count());
    for (int i = 0; i < fresh.Count(); ++i) ASSERT_EQ(rich->Lines().StoredString(i), fresh.StoredString(i)) << "line " << i;
  }

  TRichEdit* rich = nullptr;
};

TEST_F(RichEditTest, SelAttributesFormatTheSelectionAndWhatIsTypedNext) {
  Type("Hello world");
  EXPECT_EQ(rich->Document().DefaultFormat().FaceName, kTestFontName);
  Select(6, 5);
  EXPECT_EQ(rich->SelText(), "world");
  rich->SelAttributes().SetStyle({TFontStyle::fsBold});
  rich->SelAttributes().SetColor(clRed);
  EXPECT_EQ(FormatOf("world").Style, TFontStyles{TFontStyle::fsBold});
  EXPECT_EQ(FormatOf("world").Color, clRed);
  EXPECT_EQ(FormatOf("Hello").Style, TFontStyles{});
  // Ctrl+Z takes the last format change back, and again brings it back.
  Input().Char("\x1A");
  Settle();
  EXPECT_EQ(FormatOf("world").Color, clNone);
  EXPECT_EQ(FormatOf("world").Style, TFontStyles{TFontStyle::fsBold});
  rich->Undo();
  EXPECT_EQ(FormatOf("world").Color, clRed);
  // A selection over both runs reports which attributes it shares.
  Select(4, 4);
  EXPECT_EQ(rich->SelAttributes().ConsistentAttributes() & (CFM_BOLD | CFM_COLOR | CFM_SIZE | CFM_FACE),
            static_cast<DWORD>(CFM_SIZE | CFM_FACE));
  // With nothing selected the attributes apply to the text typed at the caret.
  Press(VK_END, 0);
  rich->SelAttributes().SetStyle({TFontStyle::fsItalic});
  rich->SelAttributes().SetSize(24);
  Type("!!");
  EXPECT_EQ(FormatOf("!!").Style, TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(FormatOf("!!").Height, 480);
  EXPECT_EQ(FormatOf("!!").Color, clRed);  // what the attributes did not name comes from the text before
  // Sub- and superscript are vertical offsets in twips.
  Select(0, 1);
  rich->SelAttributes().SetOffset(-40);
  EXPECT_EQ(FormatOf("H").Offset, -40);
  rich->Paragraph().SetAlignment(TAlignment::taCenter);
  EXPECT_EQ(rich->Document().Alignment(0), TAlignment::taCenter);
  EXPECT_EQ(rich->Paragraph().Alignment(), TAlignment::taCenter);
  // The default format changes the text that is in it, not the text formatted otherwise.
  rich->DefAttributes().SetSize(20);
  EXPECT_EQ(rich->DefAttributes().Size(), 20);
  EXPECT_EQ(FormatOf("ello").Height, 400);
  EXPECT_EQ(FormatOf("world").Height, 240);
}

// OnChange may free the edit as a character is typed, also in a format chosen for the caret.
TEST_F(RichEditTest, ChangeHandlerMayFreeTheEditAsACharacterIsTyped) {
  rich->SelAttributes().SetStyle(TFontStyles{TFontStyle::fsBold});
  rich->OnChange = [this](TObject*) { delete std::exchange(rich, nullptr); };
  Type("a");
  EXPECT_EQ(rich, nullptr);
}

// OnChange may set the text: the document becomes that text, as the control's text does.
TEST_F(RichEditTest, ChangeHandlerMaySetTheText) {
  rich->OnChange = [this](TObject*) {
    if (rich->Text() == "ab") rich->SetText("replaced");
  };
  Type("ab");
  EXPECT_EQ(rich->Text(), "replaced");
  EXPECT_EQ(rich->Document().Text(), "replaced");
  EXPECT_EQ(rich->Lines().Text(), "replaced\r\n");
}

TEST_F(RichEditTest, SelectionChangeHandlerMayFreeTheEditAsAKeyMovesTheCaretOrDeletes) {
  for (const int key : {VK_DOWN, VK_NEXT, VK_RIGHT, VK_DELETE, VK_BACK}) {
    auto* edit = Place<TRichEdit>(Rect(10, 120, 210, 180));
    edit->SetFocus();
    edit->SetText("one\r\ntwo");
    edit->SetSelStart(1);
    edit->Perform(EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    edit->OnSelectionChange = [&edit](TObject*) { delete std::exchange(edit, nullptr); };
    Press(key);
    EXPECT_EQ(edit, nullptr) << key;
  }
}

TEST_F(RichEditTest, SelectionByCharacterOffset) {
  Type("a\xC3\xA4" "b");  // aäb
  Press(VK_RETURN);
  Type("cd");
  EXPECT_EQ(rich->Text(), "a\xC3\xA4" "b\r\ncd");
  EXPECT_EQ(rich->GetTextLen(), 7);
  CHARRANGE range{1, 4};
  rich->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(rich->SelText(), "\xC3\xA4" "b");  // a position inside CR LF stands before the break
  range = {2, 6};
  rich->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARRANGE got;
  rich->Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got.cpMin, 2);
  EXPECT_EQ(got.cpMax, 6);
  EXPECT_EQ(rich->SelText(), "b\r\nc");
  range = {0, -1};
  rich->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(rich->SelLength(), 7);
  range = {50, 99};
  rich->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(rich->SelStart(), 7);
}

TEST_F(RichEditTest, KeysAndMouseEditAsInAMemo) {
  Type("one two");
  Press(VK_RETURN);
  Type("three");
  Press(VK_UP);
  EXPECT_EQ(rich->SelStart(), 5);  // below the "t" of "three"'s fifth column: after "one t"
  Press(VK_HOME, bsShift);
  EXPECT_EQ(rich->SelText(), "one t");
  Press(VK_DELETE);
  EXPECT_EQ(rich->Text(), "wo\r\nthree");
  Press(VK_END);
  Press(VK_DELETE);  // joins the paragraphs
  EXPECT_EQ(rich->Text(), "wothree");
  Press(VK_BACK);
  EXPECT_EQ(rich->Text(), "wthree");
  Type("\xC3\xBC");  // ü
  EXPECT_EQ(rich->Text(), "w\xC3\xBCthree");
  rich->Undo();
  EXPECT_EQ(rich->Text(), "wthree");
  // A double click selects the word; a drag selects from the press to the release.
  Input().DoubleClick(At(*rich, 1 + 8 * 3, 8));
  Settle();
  EXPECT_EQ(rich->SelText(), "wthree");
  Input().MouseDown(TMouseButtonKind::Left, At(*rich, 1 + 8 * 1, 8));
  Input().MouseMove(At(*rich, 1 + 8 * 4, 8), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, At(*rich, 1 + 8 * 4, 8));
  Settle();
  EXPECT_EQ(rich->SelText(), "thr");
  rich->SetReadOnly(true);
  Type("x");
  EXPECT_EQ(rich->Text(), "wthree");
}

TEST_F(RichEditTest, WithoutWordWrapTheViewFollowsTheCaretSideways) {
  rich->SetWordWrap(false);
  Type(std::string(40, 'x'));  // 320 pixels in a 194-pixel formatting rectangle
  EXPECT_EQ(rich->Perform(EM_GETLINECOUNT), 1);
  const LRESULT caret = rich->Perform(EM_POSFROMCHAR, 40);
  EXPECT_GT(LParamX(caret), 0);
  EXPECT_LT(LParamX(caret), 195);
  EXPECT_LT(LParamX(rich->Perform(EM_POSFROMCHAR, 0)), 0);
  Press(VK_HOME);
  EXPECT_EQ(LParamX(rich->Perform(EM_POSFROMCHAR, 0)), 1);
  // Text set from outside: its line breaks become paragraph breaks, and the control's text says so.
  rich->SetText("a\nb");
  EXPECT_EQ(rich->Text(), "a\r\nb");
  EXPECT_EQ(rich->Document().ParagraphCount(), 2);
}

TEST_F(RichEditTest, TheVerticalScrollBarFollowsTheTextAndScrollsIt) {
  rich->SetScrollBars(TScrollStyle::ssVertical);
  Settle();
  for (int line = 0; line < 10; ++line) {
    Type("line " + std::to_string(line));
    Press(VK_RETURN);
  }
  // 11 lines of 16 pixels in a view of 94: the caret's line at the bottom.
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(rich->Handle(), SB_VERT, info));
  EXPECT_EQ(info.nMax, 11 * 16 - 1);
  EXPECT_EQ(static_cast<int>(info.nPage), 94);
  EXPECT_EQ(info.nPos, 11 * 16 - 94);
  rich->Perform(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(GetScrollPos(rich->Handle(), SB_VERT), 0);
  EXPECT_EQ(LParamY(rich->Perform(EM_POSFROMCHAR, 0)), 1);
  rich->Perform(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(LParamY(rich->Perform(EM_POSFROMCHAR, 0)), 1 - 16);
  // The bar takes its room from the client area: lines wrap before it.
  EXPECT_EQ(rich->ClientWidth(), 196 - 16);
  SaveArtefact(Input(), form->BackendWindow(), "richedit-scrolled");
}

TEST_F(RichEditTest, LinesLoadAndSaveRichOrPlainText) {
  TStringStream in(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red0\green0\blue255;}\qr\f0\fs20 left {\b\cf1 bold}\par second})");
  rich->Lines().LoadFromStream(in);
  EXPECT_EQ(rich->Text(), "left bold\r\nsecond");
  ASSERT_EQ(rich->Lines().Count(), 2);
  EXPECT_EQ(rich->Lines().Strings(1), "second");
  EXPECT_EQ(FormatOf("bold").Color, static_cast<TColor>(0xFF0000));
  EXPECT_EQ(rich->Document().Alignment(0), TAlignment::taRightJustify);

  TStringStream rtf("");
  rich->Lines().SaveToStream(rtf);
  EXPECT_TRUE(LooksLikeRtf(rtf.DataString()));
  TStringStream back(rtf.DataString());
  auto* other = Place<TRichEdit>(Rect(10, 120, 210, 180));
  other->Lines().LoadFromStream(back);
  EXPECT_EQ(other->RichText(), rich->RichText());

  rich->PlainText = true;
  TStringStream plain("");
  rich->Lines().SaveToStream(plain);
  EXPECT_EQ(plain.DataString(), "left bold\r\nsecond");
  TStringStream plainIn("{\\b not rich}\nline");
  rich->Lines().LoadFromStream(plainIn);
  EXPECT_EQ(rich->Text(), "{\\b not rich}\r\nline");
  // A text that is no rich text loads as plain text also when rich text is expected.
  rich->PlainText = false;
  TStringStream notRich("just text");
  rich->Lines().LoadFromStream(notRich);
  EXPECT_EQ(rich->Text(), "just text");
  // Lines changed as a list change the text.
  rich->Lines().Add("more");
  EXPECT_EQ(rich->Text(), "just text\r\nmore");
}

TEST_F(RichEditTest, CopyOffersRichTextAndPasteKeepsItsFormat) {
  Type("plain bold");
  Select(6, 4);
  rich->SelAttributes().SetStyle({TFontStyle::fsBold});
  rich->CopyToClipboard();
  EXPECT_EQ(Input().GetClipboard(kClipboardText), "bold");
  ASSERT_TRUE(Input().GetClipboard(kClipboardRichText));
  Press(VK_END);
  rich->PasteFromClipboard();
  EXPECT_EQ(rich->Text(), "plain boldbold");
  uint32_t shared = 0;
  EXPECT_TRUE(FormatOf("boldbold", &shared).Style.Contains(TFontStyle::fsBold));
  EXPECT_TRUE(shared & rfmBold);
  // Plain text from another program is typed in the format at the caret, its control characters dropped.
  Input().SetClipboard(kClipboardText, std::string("x\ty\0z\nw", 8), TBackend::TClipboardWrite::Replace);
  Press(VK_HOME, bsCtrl);
  rich->PasteFromClipboard();
  EXPECT_EQ(rich->Text(), "x\tyz\r\nwplain boldbold");
  Select(0, 1);
  rich->CutToClipboard();
  EXPECT_EQ(rich->Text(), "\tyz\r\nwplain boldbold");
  EXPECT_EQ(Input().GetClipboard(kClipboardText), "x");
  // MaxLength holds for pasted rich text as for typing.
  rich->MaxLength = rich->GetTextLen() + 2;
  Select(6, 5);  // "plain"
  rich->CopyToClipboard();
  Press(VK_END, bsCtrl);
  rich->PasteFromClipboard();
  EXPECT_EQ(rich->Text(), "\tyz\r\nwplain boldboldpl");
}

TEST_F(RichEditTest, RequestResizeReportsTheHeightTheTextNeeds) {
  std::vector<TRect> requests;
  rich->OnResizeRequest = [&](TObject*, const TRect& r) { requests.push_back(r); };
  rich->Perform(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  rich->Perform(EM_REQUESTRESIZE);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Height(), 16);
  Type("a");
  EXPECT_EQ(requests.size(), 1u);  // the same height is not asked for again
  Press(VK_RETURN);
  Type("b");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Height(), 32);
  // A long line wraps at the width and asks for more lines.
  Type(std::string(30, 'x'));
  EXPECT_EQ(requests.back().Height(), 48);
  rich->Perform(EM_SETEVENTMASK, 0, 0);
  Press(VK_RETURN);
  EXPECT_EQ(requests.size(), 3u);
  // Without word wrap the width of the widest line counts too.
  rich->SetWordWrap(false);
  rich->Perform(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  Type("yy");
  EXPECT_EQ(requests.back().Width(), 30 * 8 + 8);  // "b" and the x's in one line
}

// Draws the document into rectangles of a bitmap with EM_FORMATRANGE, as a grid cell and a printer do.
TEST_F(RichEditTest, FormatRangeRendersIntoATargetRectangle) {
  rich->SetRichText(R"({\rtf1{\colortbl;\red255\green0\blue0;}\qc{\cf1 red line}\par black\par third})");
  TBitmap bitmap(120, 60);
  bitmap.Canvas().Brush().SetColor(clWhite);
  bitmap.Canvas().FillRect(Rect(0, 0, 120, 60));
  // A cell at (10, 10) of 100 x 36 pixels: two of the three lines fit.
  FORMATRANGE range;
  range.hdc = range.hdcTarget = &bitmap.Canvas();
  range.rc = Rect(10 * 15, 10 * 15, 110 * 15, 46 * 15);  // twips at 96 dpi
  range.chrg = {0, -1};
  const LRESULT next = rich->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(next, 17);  // "third" begins there
  EXPECT_EQ(range.rc.Bottom, (10 + 32) * 15);
  int red = 0, outside = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x) {
      const TColor c = bitmap.Canvas().Pixels(x, y);
      if (c == clRed) ++red;
      if (c != clWhite && (x < 10 || x >= 110 || y < 10 || y >= 46)) ++outside;
    }
  EXPECT_GT(red, 20);
  EXPECT_EQ(outside, 0);
  for (int x = 10; x < 110; ++x) EXPECT_NE(bitmap.Canvas().Pixels(x, 34), clRed) << x;  // "black" is not red
  // "red line" is centred: 64 pixels in a 100-pixel cell start 18 pixels in.
  int firstRed = 120;
  for (int y = 10; y < 26; ++y)
    for (int x = 0; x < 120; ++x)
      if (bitmap.Canvas().Pixels(x, y) == clRed) firstRed = std::min(firstRed, x);
  EXPECT_GE(firstRed, 28);
  EXPECT_LT(firstRed, 36);
  // The rest, from where the first call stopped; measuring draws nothing.
  range.chrg = {static_cast<int>(next), -1};
  range.rc = Rect(0, 0, 120 * 15, 60 * 15);
  TBitmap untouched(120, 60);
  range.hdc = &untouched.Canvas();
  EXPECT_EQ(rich->Perform(EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&range)), 22);
  EXPECT_EQ(range.rc.Bottom, 16 * 15);
  // A printer's resolution gives the same layout in twips.
  TBitmap page(600, 300);
  TCanvas printer(page, 300);
  range.hdc = range.hdcTarget = &printer;
  range.chrg = {0, -1};
  range.rc = Rect(0, 0, 100 * 15, 60 * 15);
  EXPECT_EQ(rich->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range)), 22);
  EXPECT_NEAR(range.rc.Bottom, 3 * 16 * 15, 15);
  SavePngFile(bitmap, Artefact("richedit-formatrange.png"));
}

TEST_F(RichEditTest, ScreenshotOfStyledText) {
  form->SetBounds(100, 100, 300, 140);
  rich->SetBounds(8, 8, 280, 120);
  rich->SetRichText(
      R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1 Times New Roman;}{\f2 Courier New;}})"
      R"({\colortbl;\red200\green0\blue0;\red0\green120\blue0;\red0\green0\blue200;})"
      R"(\pard\qc\f0\fs28\b Rich edit\b0\par)"
      R"(\pard\f0\fs20 Normal, {\b bold}, {\i italic}, {\ul underlined}, {\strike struck}.\par)"
      R"({\cf1 red} {\cf2 green} {\cf3 blue} {\f1 Times} {\f2 Courier} H{\sub 2}O x{\super 2}\par)"
      R"(\qr Gr\'fc\'dfe aus K\u246\'f6ln\tab \u8364\'80 100\par})");
  rich->SetSelStart(44);
  rich->SetSelLength(12);  // across a paragraph break
  Settle();
  SaveArtefact(Input(), form->BackendWindow(), "richedit-styled");
  // The same document drawn into a cell of a grid-like picture.
  TBitmap cells(300, 100);
  cells.Canvas().Brush().SetColor(clWhite);
  cells.Canvas().FillRect(Rect(0, 0, 300, 100));
  cells.Canvas().Pen().SetColor(clSilver);
  cells.Canvas().Rectangle(Rect(10, 10, 290, 90));
  FORMATRANGE range;
  range.hdc = range.hdcTarget = &cells.Canvas();
  range.rc = Rect(12 * 15, 12 * 15, 288 * 15, 88 * 15);
  range.chrg = {0, -1};
  rich->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range));
  SavePngFile(cells, Artefact("richedit-cell.png"));
}

TEST_F(RichEditTest, LineFeedsTypeParagraphsAndPageKeysMoveByTheLinesShown) {
  Type("a\nb\tc");
  EXPECT_EQ(rich->Text(), "a\r\nb\tc");
  std::string text;
  for (int i = 0; i < 20; ++i) text += "line\r\n";
  rich->SetText(text);
  Press(VK_HOME, bsCtrl);
  Press(VK_RIGHT);
  Press(VK_RIGHT);
  Press(VK_NEXT);
  const int moved = rich->SelStart() - 2;
  EXPECT_GT(moved, 6);       // more than one line of six characters
  EXPECT_EQ(moved % 6, 0);   // in the same column
  Press(VK_PRIOR);
  EXPECT_EQ(rich->SelStart(), 2);
}


// Random typing, deleting, pasting, format changes and undo: after every step the lines and the
// places of the characters are those of a rich edit given the same document afresh, and Undo gives
// back the document as it was before the change it undoes (and again after it, when repeated).
TEST_F(RichEditTest, EditsKeepTheLayoutOfTheSameDocumentLaidOutAfresh) {
  rich->SetRichText("{\\rtf1{\\fonttbl{\\f0 Velmora Test;}}\\f0\\fs24 first line of words\\par\\qc second "
                    "paragraph that wraps over lines\\par\\qr third}");
  std::mt19937 random(7);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n + 1)); };
  std::string beforeChange, afterChange;
  bool undoable = false;
  for (int step = 0; step < 120; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    const int length = rich->GetTextLen();
    const std::string before = rich->RichText();
    const int op = pick(5);
    Select(pick(length), 0);
    if (op == 0) {
      static const char* const kTyped[] = {"a", "b", " ", "\t", "\xC3\xA9"};
      if (random() % 6 == 0)
        Press(VK_RETURN);
      else
        Type(kTyped[pick(4)]);
    } else if (op == 1) {
      rich->SetSelLength(pick(8));
      Press(random() % 2 ? VK_BACK : VK_DELETE);
    } else if (op == 2) {
      rich->SetSelLength(pick(30));
      rich->CopyToClipboard();
      Select(pick(length), pick(3));
      rich->PasteFromClipboard();
    } else if (op == 3) {
      rich->SetSelLength(1 + pick(20));
      if (rich->SelLength() == 0) continue;
      if (random() % 2)
        rich->SelAttributes().SetSize(6 + pick(14));
      else
        rich->SelAttributes().SetStyle(random() % 2 ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
    } else {
      if (!undoable) continue;
      rich->Undo();
      EXPECT_EQ(rich->RichText(), beforeChange);
      std::swap(beforeChange, afterChange);
    }
    if (op != 4 && rich->RichText() != before) {
      beforeChange = before;
      afterChange = rich->RichText();
      undoable = true;
    }
    Settle();
    ExpectLinesSplitAfresh();

    TRichEdit* fresh = Place<TRichEdit>(Rect(10, 120, 210, 220));
    fresh->SetRichText(rich->RichText());
    Settle();
    const int lines = static_cast<int>(rich->Perform(EM_GETLINECOUNT, 0, 0));
    ASSERT_EQ(lines, fresh->Perform(EM_GETLINECOUNT, 0, 0));
    // Places from the first character's, so that scrolling does not count.
    auto place = [](TRichEdit* edit, int c) {
      const LRESULT p = edit->Perform(EM_POSFROMCHAR, c, 0), origin = edit->Perform(EM_POSFROMCHAR, 0, 0);
      return std::pair{LParamX(p) - LParamX(origin), LParamY(p) - LParamY(origin)};
    };
    for (int c = 0; c <= rich->GetTextLen(); ++c) {
      ASSERT_EQ(rich->Perform(EM_LINEFROMCHAR, c, 0), fresh->Perform(EM_LINEFROMCHAR, c, 0)) << "char " << c;
      ASSERT_EQ(place(rich, c), place(fresh, c)) << "char " << c;
    }
    delete fresh;
  }
}

// Lines follow the control's own changes paragraph by paragraph: after random replacements with
// line breaks of every kind (lone CRs and LFs too), typing, deletions, undo and lines set by the program, they
// are the text split afresh. Undo gives back the exact document before the last change that it may undo
// (and the change again when repeated); after a change that it may not undo it changes nothing.
TEST_F(RichEditTest, LinesStayTheTextSplitAfreshAfterRandomEdits) {
  rich->SetText("one\r\ntwo\rthree\n\r\nfour\r\n");
  std::mt19937 random(11);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n + 1)); };
  static const char* const kPieces[] = {"a", "\r", "\n", "\r\n", "\v", "x\r\ny", "\n\r", ""};
  auto state = [&] { return rich->Document().Text() + '\0' + rich->RichText(); };
  std::string beforeChange, afterChange;
  bool undoable = false;
  for (int step = 0; step < 300; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    const std::string before = state();
    bool recorded = false;    // a change recorded for Undo, even where it left the text as it was
    bool unrecorded = false;  // a change that Undo may not take back
    Select(pick(rich->GetTextLen()), pick(4));
    switch (pick(4)) {
      case 0:
        recorded = random() % 3 != 0;
        unrecorded = !recorded;
        rich->Perform(EM_REPLACESEL, recorded ? 1 : 0, reinterpret_cast<LPARAM>(kPieces[pick(7)]));
        break;
      case 1:
        Press(random() % 2 ? VK_BACK : VK_DELETE);
        break;
      case 2:
        Press(VK_RETURN);
        recorded = true;
        break;
      case 3:
        if (random() % 2) {
          Type("z");
          recorded = true;
        } else {
          rich->Undo();
          EXPECT_EQ(state(), undoable ? beforeChange : before);
          std::swap(beforeChange, afterChange);
          ExpectLinesSplitAfresh();
          continue;
        }
        break;
      default:
        if (step % 50 == 0) {
          rich->Lines().Add("added\rline");
          unrecorded = true;
        }
        break;
    }
    if (recorded || unrecorded || state() != before) {
      beforeChange = before;
      afterChange = state();
      undoable = !unrecorded;
    }
    ExpectLinesSplitAfresh();
  }
}

// The same exactness where a lone CR or LF meets another: Undo takes the change back to the byte, and a
// second Undo makes it again.
TEST_F(RichEditTest, UndoBesideALoneCrOrLfGivesBackTheExactDocument) {
  struct Case {
    const char* name;
    const char* text;
    int start, length;
    const char* with;  // put in with EM_REPLACESEL; none: the selection deleted with the Delete key
  };
  const Case cases[] = {
      {"LF put after a lone CR", "a\rb", 2, 0, "\n"},
      {"CR put before a lone LF", "a\nb", 1, 0, "\r"},
      {"text between a CR and an LF deleted", "a\rX\nb", 2, 1, nullptr},
      {"text ending in a CR put before a lone LF", "a\nb", 1, 0, "x\r"},
      {"text starting with an LF put after a lone CR", "a\rb", 2, 0, "\nx"},
      {"a break between a lone CR and a lone LF replaced", "a\r\r\n\nb", 2, 2, "y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rich->SetText({});
    rich->SetSelText(std::string("first\r\n") + c.text);
    const std::string original = rich->Document().Text();
    Select(7 + c.start, c.length);
    if (c.with) rich->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(c.with));
    else Press(VK_DELETE);
    const std::string changed = rich->Document().Text();
    ASSERT_NE(changed, original);
    rich->Undo();
    EXPECT_EQ(rich->Document().Text(), original);
    int breaks = 0;
    for (size_t pos = original.find("\r\n"); pos != std::string::npos; pos = original.find("\r\n", pos + 2)) ++breaks;
    EXPECT_EQ(rich->Document().ParagraphCount(), breaks + 1);
    rich->Undo();
    EXPECT_EQ(rich->Document().Text(), changed);
  }
}

}  // namespace
}  // namespace platform
