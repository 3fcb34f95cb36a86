#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/ui/Backend.h"
#include "platform/edits/EditKeys.h"
#include "platform/edits/EditText.h"
#include "platform/edits/RichEdit.h"

// The rich edit's keys, characters and mouse: the keys and caret rules it shares with the edit
// (EditKeys.h, EditText.h) on the document's text, with the lines of the rich layout for Up, Down,
// Home and End.

namespace platform {

void TCustomRichEdit::SetSelection(size_t anchor, size_t caret) {
  anchor = CaretStopAtOrBefore(doc_.Text(), anchor);
  caret = CaretStopAtOrBefore(doc_.Text(), caret);
  const bool changed = anchor != anchor_ || caret != caret_;
  anchor_ = anchor;
  caret_ = caret;
  desiredX_ = -1;
  if (!changed) return;
  typingFormat_.reset();
  ScrollCaretIntoView();
  Invalidate();
  if (eventMask_ & ENM_SELCHANGE) {
    NMHDR header;
    header.code = EN_SELCHANGE;
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }
}

void TCustomRichEdit::MouseDownAt(TPoint p, bool extend, bool doubleClick) {
  const size_t pos = PosAtClientPoint(p);
  if (doubleClick) {
    size_t first = 0, last = 0;
    WordAround(doc_.Text(), pos, first, last);
    SetSelection(first, last);
    return;
  }
  SetCaret(pos, extend ? TSelect::Extend : TSelect::Move);
  mouseSelecting_ = true;
}

size_t TCustomRichEdit::CharactersAllowed() const {
  if (MaxLength <= 0) return std::string::npos;
  const size_t present = characters_ - CodePointCount(std::string_view(doc_.Text()).substr(SelFirst(), SelLast() - SelFirst()));
  return present < static_cast<size_t>(MaxLength) ? MaxLength - present : 0;
}

void TCustomRichEdit::InsertTyped(std::string_view text) {
  if (readOnly_) {
    Backend().Beep();
    return;
  }
  std::string kept(text);
  kept.resize(ByteOfChar(kept, CharactersAllowed()));
  if (kept.empty() && !text.empty()) {
    Backend().Beep();
    return;
  }
  const std::optional<TRichCharFormat> typing = typingFormat_;
  TGuard guard(*this);
  ReplaceSelection(std::string_view(kept), TUndo::Record);  // its OnChange may free the edit
  if (guard.Alive()) typingFormat_ = typing;  // the next character continues in the format chosen for the caret
}

void TCustomRichEdit::DeleteTowards(size_t other) {
  if (readOnly_) {
    Backend().Beep();
    return;
  }
  TGuard guard(*this);
  SetSelection(std::min(caret_, other), std::max(caret_, other));  // OnSelectionChange may free the edit
  if (guard.Alive()) ReplaceSelection(std::string_view{}, TUndo::Record);
}

// The rich edit's text, layout and caret for the keys that it shares with the edit. The view follows
// the caret, so paging needs no scrolling of its own.
class TCustomRichEdit::TKeyModel final : public TEditKeyModel {
public:
  explicit TKeyModel(TCustomRichEdit& edit) : edit_(edit) {}

  TControl& Control() override { return edit_; }
  const std::string& Text() override { return edit_.doc_.Text(); }
  size_t Anchor() override { return edit_.anchor_; }
  size_t Caret() override { return edit_.caret_; }
  bool Multiline() override { return true; }
  int LineCount() override { return edit_.Layout().LineCount(); }
  int LineOf(size_t pos) override { return edit_.Layout().LineOf(pos); }
  size_t LineStart(int line) override { return edit_.Layout().Line(line).start; }
  size_t LineEnd(int line) override { return edit_.Layout().Line(line).end; }
  int XOf(int, size_t pos) override { return edit_.Layout().XOf(pos); }
  size_t PosAtX(int line, int x) override { return edit_.Layout().PosAt(line, x); }
  int PageLines(int line) override {
    return std::max(1, edit_.FormatRect().Height() / std::max(1, edit_.Layout().Line(line).height));
  }
  void ScrollLines(int) override {}
  int DesiredX() override { return edit_.desiredX_; }
  void SetDesiredX(int x) override { edit_.desiredX_ = x; }
  bool SetCaret(size_t pos, bool extend) override {
    TGuard guard(edit_);
    edit_.SetCaret(pos, extend ? TSelect::Extend : TSelect::Move);  // OnSelectionChange may free the edit
    return guard.Alive();
  }
  void DeleteTowards(size_t other) override { edit_.DeleteTowards(other); }
  std::string_view LineBreakFor(char32_t) override { return TRichText::kParagraphBreak; }
  void Type(std::string_view typed) override { edit_.InsertTyped(typed); }

private:
  TCustomRichEdit& edit_;
};

bool TCustomRichEdit::HandleInput(const TMessage& Message) {
  TKeyModel keys(*this);
  return PerformEditInput(keys, Message);
}

}  // namespace platform
