#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/ui/Backend.h"
#include "platform/edits/EditKeys.h"
#include "platform/edits/EditText.h"
#include "platform/edits/RichEdit.h"
#include "platform/ui/VirtualKeys.h"

// The rich edit's keys, characters and mouse: the edit's caret rules (EditText.h) on the document's
// text, with the lines of the rich layout for Up, Down, Home and End.

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
  const size_t present = CodePointCount(doc_.Text()) - CodePointCount(SelText());
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
  SetSelection(std::min(caret_, other), std::max(caret_, other));
  ReplaceSelection(std::string_view{}, TUndo::Record);
}

bool TCustomRichEdit::HandleChar(char32_t c) {
  if (PerformEditShortcutChar(*this, c)) return true;
  if (c == 0x08) {  // Backspace
    if (const size_t end = DeletionEnd(doc_.Text(), anchor_, caret_, TDeleteKey::Backspace); end != caret_) DeleteTowards(end);
    return true;
  }
  std::string typed;
  if (c == '\r' || c == '\n') typed = TRichText::kParagraphBreak;
  else if (c == '\t') typed = "\t";
  else if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  else AppendCodePoint(typed, c);
  InsertTyped(typed);
  return true;
}

bool TCustomRichEdit::HandleKey(WORD key, TShiftState shift) {
  if (PerformEditShortcutKey(*this, key, shift)) return true;
  const TSelect select = shift.Contains(TShiftStateFlag::ssShift) ? TSelect::Extend : TSelect::Move;
  const bool ctrl = shift.Contains(TShiftStateFlag::ssCtrl);
  const std::string& text = doc_.Text();
  const TRichLayout& layout = Layout();
  const auto& lines = layout.Lines();
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
      SetCaret(CaretAfterHorizontalKey(text, anchor_, caret_, key == VK_RIGHT, ctrl, select == TSelect::Extend), select);
      return true;
    case VK_HOME:
      SetCaret(ctrl ? 0 : lines[layout.LineOf(caret_)].start, select);
      return true;
    case VK_END:
      SetCaret(ctrl ? text.size() : lines[layout.LineOf(caret_)].end, select);
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      const int line = layout.LineOf(caret_);
      const int page = std::max(1, FormatRect().Height() / std::max(1, lines[line].height));
      const int step = key == VK_UP ? -1 : key == VK_DOWN ? 1 : key == VK_PRIOR ? -page : page;
      const int target = std::clamp(line + step, 0, static_cast<int>(lines.size()) - 1);
      const int x = desiredX_ >= 0 ? desiredX_ : layout.XOf(caret_);
      SetCaret(layout.PosAt(target, x), select);
      desiredX_ = x;
      return true;
    }
    case VK_DELETE:
      if (const size_t end = DeletionEnd(text, anchor_, caret_, TDeleteKey::Delete); end != caret_) DeleteTowards(end);
      return true;
    default:
      return false;
  }
}

}  // namespace platform
