#include "platform/edits/Memo.h"

#include <algorithm>

#include "platform/edits/EditText.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

// Sets a flag for a scope and clears it again unless the control went away meanwhile.
class TSyncScope {
public:
  TSyncScope(bool& flag, const TComponent& control) : flag_(flag), guard_(control) { flag_ = true; }
  ~TSyncScope() {
    if (guard_.Alive()) flag_ = false;
  }
  TSyncScope(const TSyncScope&) = delete;
  TSyncScope& operator=(const TSyncScope&) = delete;

private:
  bool& flag_;
  TComponent::TGuard guard_;
};

// Appends the starts of the paragraphs that begin in [start, end) of the text (and at end, when that is
// the text's end, which a line break there begins); a paragraph begins at `start` and after every line
// break.
void AppendParagraphStarts(std::string_view text, size_t start, size_t end, bool toTextEnd, std::vector<size_t>& starts) {
  starts.push_back(start);
  for (size_t pos = text.find_first_of("\r\n", start); pos < end && pos != std::string_view::npos;
       pos = text.find_first_of("\r\n", pos)) {
    pos += LineBreakAt(text, pos);
    if (pos < end || (toTextEnd && pos == end)) starts.push_back(pos);
  }
}

}  // namespace

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(0, 0, 185, 89);
  lines_.OnChange = [this](TStringList&) { LinesChanged(); };
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (wordWrap_) Params.Style &= ~ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) Params.Style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TCustomEdit::Dispatch(Message);
      if (WantTabs) Message.Result |= DLGC_WANTTAB;
      else Message.Result &= ~DLGC_WANTTAB;
      if (!WantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
      return;
    case WM_CHAR:
      // Without WantReturns only Ctrl+Enter (which types LF) makes a line break; Tab only with WantTabs.
      if ((Message.WParam == '\r' && !WantReturns) || (Message.WParam == '\t' && !WantTabs)) return;
      if (Message.WParam == '\n') Message.WParam = '\r';
      break;
    case CM_TEXTCHANGED:
      // The lines first, so that OnChange reads them new.
      if (syncing_) {
        FindParagraphs();
      } else if (PendingChange() && !paragraphs_.empty()) {
        FollowChange(*PendingChange());
      } else {
        TSyncScope scope(syncing_, *this);
        lines_.SetText(Text());
        FindParagraphs();
      }
      break;
    default:
      break;
  }
  TCustomEdit::Dispatch(Message);
}

void TCustomMemo::LinesChanged() {
  if (syncing_) return;
  std::string text = lines_.Text();
  if (text.size() >= 2) text.resize(text.size() - 2);  // the break after the last line
  TSyncScope scope(syncing_, *this);
  SetText(text);
}

void TCustomMemo::FindParagraphs() {
  paragraphs_.clear();
  AppendParagraphStarts(Text(), 0, Text().size(), true, paragraphs_);
  // Lines set by the program may hold line breaks inside a line: they are split anew at the next change.
  const size_t lineCount = paragraphs_.size() - (paragraphs_.back() == Text().size() ? 1 : 0);
  bool mirrors = static_cast<size_t>(lines_.Count()) == lineCount;
  for (int i = 0; mirrors && i < lines_.Count(); ++i)
    mirrors = lines_.StoredString(i).find_first_of("\r\n") == std::string::npos;
  if (!mirrors) paragraphs_.clear();
}

void TCustomMemo::FollowChange(const TTextChange& change) {
  const std::string& text = Text();
  const auto delta = static_cast<std::ptrdiff_t>(change.inserted) - static_cast<std::ptrdiff_t>(change.removed);
  const auto paragraphOf = [&](size_t pos) {
    return static_cast<size_t>(std::upper_bound(paragraphs_.begin(), paragraphs_.end(), pos) - paragraphs_.begin() - 1);
  };
  // From the paragraph before the change to the one after it, for line breaks that it joins or splits.
  size_t first = paragraphOf(change.from);
  if (first > 0) --first;
  const size_t after = std::min(paragraphOf(change.from + change.removed) + 2, paragraphs_.size());
  const size_t start = paragraphs_[first];
  const size_t end = after < paragraphs_.size() ? paragraphs_[after] + delta : text.size();
  const bool lastReached = after == paragraphs_.size();
  std::vector<size_t> starts;
  AppendParagraphStarts(text, start, end, lastReached, starts);

  TSyncScope scope(syncing_, *this);
  StringListUpdateGuard update(lines_);
  // Lines leaves out an empty last paragraph: it is taken in while the change reaches it.
  if (lastReached && static_cast<size_t>(lines_.Count()) < paragraphs_.size()) lines_.Add({});
  const auto paragraphText = [&](size_t i) {
    const size_t from = starts[i];
    size_t to = i + 1 < starts.size() ? starts[i + 1] : end;
    if (i + 1 < starts.size() || after < paragraphs_.size()) to = PreviousCaretStop(text, to);
    return text.substr(from, to - from);
  };
  const size_t oldCount = after - first;
  for (size_t i = 0; i < std::min(oldCount, starts.size()); ++i) {
    std::string line = paragraphText(i);
    if (lines_.Strings(static_cast<int>(first + i)) != line) lines_.SetStrings(static_cast<int>(first + i), line);
  }
  for (size_t i = oldCount; i < starts.size(); ++i) lines_.Insert(static_cast<int>(first + i), paragraphText(i));
  for (size_t i = starts.size(); i < oldCount; ++i) lines_.Delete(static_cast<int>(first + starts.size()));
  for (size_t i = after; i < paragraphs_.size(); ++i) paragraphs_[i] += delta;
  paragraphs_.erase(paragraphs_.begin() + static_cast<std::ptrdiff_t>(first), paragraphs_.begin() + static_cast<std::ptrdiff_t>(after));
  paragraphs_.insert(paragraphs_.begin() + static_cast<std::ptrdiff_t>(first), starts.begin(), starts.end());
  if (lastReached && text.size() == paragraphs_.back() && static_cast<size_t>(lines_.Count()) == paragraphs_.size())
    lines_.Delete(lines_.Count() - 1);
}

void TCustomMemo::SetLines(const std::vector<std::string>& value) {
  StringListUpdateGuard update(lines_);
  lines_.Clear();
  for (const std::string& line : value) lines_.Add(line);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (scrollBars_ == value) return;
  scrollBars_ = value;
  StyleChanged();
}

void TCustomMemo::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  StyleChanged();
}

}  // namespace platform
