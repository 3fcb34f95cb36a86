#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/edits/Memo.h"
#include "platform/edits/Edit.h"
#include "platform/ui/tests/TypingFixture.h"
#include "platform/ui/tests/LookFixture.h"

namespace platform {
namespace {

// The classic look of the edit, compared with reference pictures: the sunken edge, the window colour,
// the text, the caret and the selection in the highlight colours when focused, grey text when disabled.
class EditLookTest : public TypingTestBase {
protected:
  void ExpectLooksLike(const std::string& name) {
    Settle();
    ExpectPictureLike(Input().Info(form->BackendWindow()).shown, name);
  }
};

TEST_F(EditLookTest, EditNormalFocusedAndDisabled) {
  form->SetBounds(100, 100, 150, 44);
  struct State {
    const char* name;
    std::function<void(TEdit&)> setUp;
  };
  const State states[] = {
      {"edit_normal", [](TEdit&) {}},
      {"edit_focused",
       [](TEdit& edit) {
         edit.SetFocus();
         edit.SetSelStart(2);
         edit.SetSelLength(3);
       }},
      {"edit_disabled", [](TEdit& edit) { edit.SetEnabled(false); }},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    auto* edit = Place<TEdit>(Rect(8, 8, 128, 32));
    edit->SetText("Host 1 ab");
    state.setUp(*edit);
    ExpectLooksLike(state.name);
    delete edit;
  }
}

TEST_F(EditLookTest, MemoWithScrollBarScrolledToItsLastLine) {
  form->SetBounds(100, 100, 200, 120);
  auto* memo = Place<TMemo>(Rect(8, 8, 188, 108));
  memo->SetScrollBars(TScrollStyle::ssVertical);
  for (int i = 1; i <= 20; ++i) memo->Lines().Add("line " + std::to_string(i));
  memo->Perform(EM_LINESCROLL, 0, memo->Lines().Count() - 1);
  ExpectLooksLike("memo_scrolled");
}

}  // namespace
}  // namespace platform
