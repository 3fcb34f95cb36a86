#include "platform/edits/Memo.h"

#include <algorithm>

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
        paragraphs_.Find(Text());
      } else if (const auto& change = PendingChange(); change && paragraphs_.Known()) {
        TSyncScope scope(syncing_, *this);
        paragraphs_.Follow(Text(), change->from, change->removed, change->inserted);
      } else {
        TSyncScope scope(syncing_, *this);
        lines_.SetText(Text());
        paragraphs_.Find(Text());
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
