// The edits follow their own changes without laying out, copying or keeping the whole text again: what
// they show, where each character lies and the memo's Lines stay those of the same text set anew, and
// undo brings back the text from before its step.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/core/StringList.h"
#include "platform/core/Utf8.h"
#include "platform/core/tests/HeapCounter.h"
#include "platform/edits/Edit.h"
#include "platform/edits/Memo.h"
#include "platform/ui/tests/Screenshots.h"
#include "platform/ui/tests/TypingFixture.h"

namespace platform {
namespace {

class EditChangesTest : public TypingTestBase {
protected:
  // The line count, and every character's line and x from the text's first character (so that
  // scrolling does not count).
  static std::vector<LRESULT> Places(TCustomEdit& edit) {
    std::vector<LRESULT> places{edit.Perform(EM_GETLINECOUNT)};
    const size_t count = CodePointCount(edit.Text());
    const int left = LParamX(edit.Perform(EM_POSFROMCHAR, 0));
    for (size_t i = 0; i <= count; ++i) {
      places.push_back(edit.Perform(EM_LINEFROMCHAR, i));
      places.push_back(LParamX(edit.Perform(EM_POSFROMCHAR, i)) - left);
    }
    return places;
  }
  // The same of a fresh control of the same kind and bounds with the same text.
  template <class T>
  std::vector<LRESULT> FreshPlaces(T& edit, const std::function<void(T&)>& setUp) {
    T* fresh = Place<T>(edit.BoundsRect());
    setUp(*fresh);
    fresh->SetText(edit.Text());
    std::vector<LRESULT> places = Places(*fresh);
    delete fresh;
    return places;
  }

  // A random change or caret move, as typing, pasting, deleting, replacing and undoing make them.
  static void RandomStep(TCustomEdit& edit, std::mt19937& random) {
    static const std::vector<std::string> typed = {"a", "b", " ", "\t", "\xC3\xA4", "\xE2\x82\xAC", "\r"};
    static const std::vector<std::string> replacements = {"", "\n", "\r", "x\ny", "\r\n\r\n", "long word here "};
    const auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    const size_t length = CodePointCount(edit.Text());
    switch (pick(9)) {
      case 0:
      case 1: edit.Perform(WM_CHAR, DecodeText(typed[pick(typed.size())])[0]); break;
      case 2: edit.Perform(WM_CHAR, 0x08); break;
      case 3: edit.Perform(WM_KEYDOWN, VK_DELETE); break;
      case 4: edit.Perform(EM_SETSEL, pick(length + 1), pick(length + 1)); break;
      case 5: {
        const std::string& with = replacements[pick(replacements.size())];
        edit.Perform(EM_REPLACESEL, pick(2), reinterpret_cast<LPARAM>(with.c_str()));
        break;
      }
      case 6: edit.Perform(WM_UNDO); break;
      case 7: edit.Perform(WM_KEYDOWN, std::vector<WORD>{VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END}[pick(6)]); break;
      default: edit.Perform(WM_CHAR, 'w'); break;
    }
  }

  template <class T>
  void CheckRandomSteps(const std::function<void(T&)>& setUp, const std::string& start) {
    T* edit = Place<T>(Rect(10, 10, 170, 94));
    setUp(*edit);
    edit->SetText(start);
    edit->SetFocus();
    std::mt19937 random(20261211);
    for (int step = 0; step < 400 && !HasFailure(); ++step) {
      RandomStep(*edit, random);
      SCOPED_TRACE("step " + std::to_string(step) + ": " + edit->Text());
      ASSERT_EQ(Places(*edit), FreshPlaces<T>(*edit, setUp));
      if constexpr (std::is_same_v<T, TMemo>) {
        TStringList lines;
        lines.SetText(edit->Text());
        ASSERT_EQ(edit->Lines().Text(), lines.Text());
        ASSERT_EQ(edit->Lines().Count(), lines.Count());
      }
    }
    delete edit;
  }
};

TEST_F(EditChangesTest, RandomChangesLeaveTheLayoutOfTheTextSetAnew) {
  const std::string start = "first line\r\nsecond line that is long enough to wrap\r\n\r\nlast";
  CheckRandomSteps<TMemo>([](TMemo&) {}, start);
  CheckRandomSteps<TMemo>([](TMemo& memo) {
    memo.SetWordWrap(false);
    memo.SetScrollBars(TScrollStyle::ssBoth);
  }, start);
  CheckRandomSteps<TEdit>([](TEdit&) {}, "one line of an edit, wider than the edit is");
}

TEST_F(EditChangesTest, UndoBringsBackTheTextFromBeforeItsStep) {
  struct Case {
    const char* name;
    std::function<void(TMemo&)> steps;
    const char* undone;
  };
  const Case cases[] = {
      {"typing", [](TMemo& m) { for (char c : std::string("xyz")) m.Perform(WM_CHAR, c); }, "ab\r\ncd"},
      {"typing over a selection",
       [](TMemo& m) {
         m.Perform(EM_SETSEL, 1, 5);
         m.Perform(WM_CHAR, 'x');
         m.Perform(WM_CHAR, 'y');
       },
       "ab\r\ncd"},
      {"a replacement without undo after a step",
       [](TMemo& m) {
         m.Perform(EM_SETSEL, 0, 1);
         m.Perform(WM_CHAR, 'x');
         m.Perform(EM_SETSEL, 4, 5);
         m.Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("\n-\n"));
       },
       "ab\r\ncd"},
      {"a line break then backspace", [](TMemo& m) { m.Perform(WM_CHAR, '\r'); m.Perform(WM_CHAR, 0x08); }, "ab\r\n\r\r\ncd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemo* memo = Place<TMemo>(Rect(10, 10, 170, 94));
    memo->SetText(c.name == std::string("a line break then backspace") ? "ab\r\r\ncd" : "ab\r\ncd");
    memo->SetFocus();
    memo->Perform(EM_SETSEL, 2, 2);
    c.steps(*memo);
    const std::string changed = memo->Text();
    memo->Perform(WM_UNDO);
    EXPECT_EQ(memo->Text(), c.undone);
    EXPECT_EQ(Places(*memo), FreshPlaces<TMemo>(*memo, [](TMemo&) {}));
    memo->Perform(WM_UNDO);  // undoes the undo
    EXPECT_EQ(memo->Text(), changed);
    delete memo;
  }
}

// A line is painted only where it is shown: a line of a repeating text looks, scrolled to its end with
// the end selected, as a short line of the same text does (the test font's characters are 8 pixels, so
// the scroll positions differ by whole periods), in an edit and in a memo whose lines do not wrap.
TEST_F(EditChangesTest, ALongLineShowsWhatAShortOneOfTheSameTextShows) {
  std::string period = "ab\tcd ef\xC3\xA4";  // 8 characters, 15 columns
  const auto repeated = [&](int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += period;
    return text;
  };
  TEdit* elsewhere = nullptr;
  const auto check = [&](TCustomEdit& shortOne, TCustomEdit& longOne) {
    for (TCustomEdit* edit : {&shortOne, &longOne}) {
      const auto length = static_cast<int>(CodePointCount(edit->Text()));
      edit->SetFocus();
      edit->Perform(EM_SETSEL, length, length);
      edit->Perform(EM_SETSEL, length - 11, length);
    }
    elsewhere->SetFocus();  // neither shows the caret, both their selections
    Settle();
    for (int y = 0; y < shortOne.Height(); ++y)
      for (int x = 0; x < shortOne.Width(); ++x)
        ASSERT_EQ(ShownColor(Input(), shortOne, x, y), ShownColor(Input(), longOne, x, y)) << x << "," << y;
  };
  elsewhere = Place<TEdit>(Rect(200, 10, 260, 31));
  auto* shortEdit = Place<TEdit>(Rect(10, 10, 170, 31));
  auto* longEdit = Place<TEdit>(Rect(10, 40, 170, 61));
  shortEdit->HideSelection = longEdit->HideSelection = false;
  shortEdit->SetText(repeated(40));
  longEdit->SetText(repeated(40000));
  check(*shortEdit, *longEdit);
  auto* shortMemo = Place<TMemo>(Rect(10, 70, 170, 120));
  auto* longMemo = Place<TMemo>(Rect(10, 130, 170, 180));
  for (TMemo* memo : {shortMemo, longMemo}) {
    memo->SetWordWrap(false);
    memo->HideSelection = false;
  }
  shortMemo->SetText("x\r\n" + repeated(40));
  longMemo->SetText("x\r\n" + repeated(40000));
  check(*shortMemo, *longMemo);
  SaveArtefact(Input(), form->BackendWindow(), "edit-long-lines");
}

// A key press in an edit of 4 MB took two copies of the text (the undo step's and the new text's),
// and in a memo also a list line of its own for each of its lines again: now, once the edit has
// typed, a key press takes what the change needs.
TEST_F(EditChangesTest, AKeyPressInALargeTextTakesNoCopyOfIt) {
  std::string line;
  while (line.size() < 4'000'000) line += "lorem ipsum ";
  std::string lines;
  for (int i = 0; i < 100'000; ++i) lines += "line " + std::to_string(i) + " of the memo\r\n";
  auto* edit = Place<TEdit>(Rect(10, 10, 170, 31));
  auto* memo = Place<TMemo>(Rect(10, 40, 170, 124));
  edit->SetText(line);
  memo->SetText(lines);
  for (TCustomEdit* control : {static_cast<TCustomEdit*>(edit), static_cast<TCustomEdit*>(memo)}) {
    control->SetFocus();
    control->Perform(EM_SETSEL, control->Text().size() / 2, control->Text().size() / 2);
    control->Perform(WM_CHAR, 'x');  // the edit's buffers grow to the text once
    Settle();
    const test::HeapUse heap;
    control->Perform(WM_CHAR, 'y');
    control->Perform(WM_CHAR, 0x08);
    Settle();
    EXPECT_LT(heap.Peak(), static_cast<double>(control->Text().size()) / 8) << control->ClassName();
  }
}

}  // namespace
}  // namespace platform
