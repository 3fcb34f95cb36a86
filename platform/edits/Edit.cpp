#include "platform/edits/Edit.h"

#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Clipbrd.h"
#include "platform/edits/EditKeys.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetCursor(crIBeam);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= ES_LEFT | ES_AUTOHSCROLL;
  if (!HideSelection) Params.Style |= ES_NOHIDESEL;
  if (readOnly_) Params.Style |= ES_READONLY;
  if (borderStyle_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWindowHandle(const TCreateParams& Params) {
  style_ = Params.Style;
  styleKnown_ = true;
  InvalidateLayout();
  TCustomControl::CreateWindowHandle(Params);
}

DWORD TCustomEdit::EditStyle() {
  if (!styleKnown_) {
    TCreateParams params;
    CreateParams(params);
    style_ = params.Style;
    styleKnown_ = true;
  }
  return style_;
}

void TCustomEdit::StyleChanged() {
  styleKnown_ = false;
  InvalidateLayout();
  RecreateWnd();
  Invalidate();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT:
      // Text set from outside: the caret goes to the start, the undo step is gone and the text counts
      // as unmodified.
      anchor_ = caret_ = 0;
      modified_ = false;
      scrollX_ = topLine_ = 0;
      canUndo_ = typing_ = false;
      break;
    case CM_TEXTCHANGED: {
      // Taken at once: a text that an OnChange handler sets is laid out anew.
      if (const std::optional<TTextChange> change = std::exchange(change_, std::nullopt); change && layoutValid_)
        FollowChange(*change);
      else
        InvalidateLayout();
      anchor_ = CaretStopAtOrBefore(Text(), anchor_);
      caret_ = CaretStopAtOrBefore(Text(), caret_);
      Invalidate();
      if (ComponentState().Contains(csLoading)) break;
      TGuard guard(*this);
      Change();
      if (guard.Gone()) return;
      break;
    }
    case CM_FONTCHANGED:
      ForgetWidths();
      InvalidateLayout();
      break;
    case WM_SIZE:
      formatRectSet_ = false;
      InvalidateLayout();
      break;
    case WM_NCPAINT:
      Layout();  // the scroll bars show the present lines
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      typing_ = false;
      mouseSelecting_ = false;
      Invalidate();
      break;
    case WM_MOUSEMOVE:
      if (mouseSelecting_ && (Message.WParam & MK_LBUTTON))
        SetCaret(PosAtPoint({LParamX(Message.LParam), LParamY(Message.LParam)}), TSelect::Extend);
      break;
    case WM_LBUTTONUP:
      if (std::exchange(mouseSelecting_, false)) OfferSelection();
      break;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (Multiline()) Message.Result |= DLGC_WANTALLKEYS;
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TGuard guard(*this);
      TCustomControl::DefaultHandler(Message);  // takes the focus
      if (guard.Gone() || !ShowFocus()) return;
      TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
      if (Message.Msg == WM_LBUTTONDBLCLK) {
        size_t first = 0, last = 0;
        WordAround(Text(), PosAtPoint(at), first, last);
        SetSelection(first, last);
        return;
      }
      SetCaret(PosAtPoint(at), (Message.WParam & MK_SHIFT) ? TSelect::Extend : TSelect::Move);
      mouseSelecting_ = true;
      return;
    }
    case WM_MBUTTONDOWN:
      PastePrimarySelection({LParamX(Message.LParam), LParamY(Message.LParam)});
      return;
    case WM_KEYDOWN:
    case WM_CHAR:
      if (HandleInput(Message)) return;
      break;
    case WM_COPY:
      if (passwordChar_ == 0 && caret_ != anchor_)
        Clipboard().SetAsText(SelText());
      return;
    case WM_CUT:
      if (readOnly_ || passwordChar_ != 0 || caret_ == anchor_) return;
      Clipboard().SetAsText(SelText());
      Replace(SelFirst(), SelLast(), {}, TUndoStep::Record);
      return;
    case WM_PASTE:
      if (!readOnly_) Paste();
      return;
    case WM_CLEAR:
      if (!readOnly_ && caret_ != anchor_) Replace(SelFirst(), SelLast(), {}, TUndoStep::Record);
      return;
    case WM_UNDO:
    case EM_UNDO: {
      if (!canUndo_ || readOnly_) return;
      TSnapshot back = std::exchange(
          undo_, TSnapshot{undo_.from, Text().substr(undo_.from, undo_.inserted), undo_.removed.size(), anchor_, caret_});
      typing_ = false;
      anchor_ = back.anchor;
      caret_ = back.caret;
      if (SetReplacedText(back.from, back.from + back.inserted, back.removed)) ScrollCaretIntoView();
      Message.Result = 1;
      return;
    }
    case EM_CANUNDO:
      Message.Result = canUndo_ ? 1 : 0;
      return;
    case EM_GETSEL: {
      auto first = static_cast<DWORD>(CharOfByte(Text(), SelFirst()));
      auto last = static_cast<DWORD>(CharOfByte(Text(), SelLast()));
      if (Message.WParam) *reinterpret_cast<DWORD*>(Message.WParam) = first;
      if (Message.LParam) *reinterpret_cast<DWORD*>(Message.LParam) = last;
      Message.Result = static_cast<LRESULT>((std::min<DWORD>(last, 0xFFFF) << 16) | std::min<DWORD>(first, 0xFFFF));
      return;
    }
    case EM_SETSEL: {
      const auto anchor = static_cast<int64_t>(Message.WParam);
      const auto caret = static_cast<int64_t>(Message.LParam);
      const std::string& text = Text();
      const size_t caretPos = caret < 0 ? text.size() : ByteOfChar(text, static_cast<size_t>(caret));
      if (anchor < 0)
        SetSelection(caret_, caret_);
      else
        SetSelection(ByteOfChar(text, static_cast<size_t>(anchor)), caretPos);
      return;
    }
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = FormatRect();
      return;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (!Message.LParam) return;
      formatRect_ = *reinterpret_cast<const TRect*>(Message.LParam);
      formatRectSet_ = true;
      InvalidateLayout();
      if (Message.Msg == EM_SETRECT) Invalidate();
      return;
    case EM_LINESCROLL:
      if (!Multiline()) return;
      Layout();
      if (!Wraps()) scrollX_ = std::clamp(scrollX_ + static_cast<int>(static_cast<int64_t>(Message.WParam)) * CharWidth("x", 0),
                                          0, std::max(0, ContentWidth() - FormatRect().Width() + 1));
      SetTopLine(topLine_ + static_cast<int>(Message.LParam));
      Invalidate();
      UpdateScrollBars();
      Message.Result = 1;
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (Multiline()) Scroll(Message.Msg == WM_VSCROLL, static_cast<WORD>(Message.WParam & 0xFFFF));
      return;
    case EM_SCROLLCARET:
      ScrollCaretIntoView();
      return;
    case EM_GETMODIFY:
      Message.Result = modified_ ? 1 : 0;
      return;
    case EM_SETMODIFY:
      modified_ = Message.WParam != 0;
      return;
    case EM_GETLINECOUNT:
      Message.Result = LineCount();
      return;
    case EM_GETFIRSTVISIBLELINE:
      Message.Result = topLine_;
      return;
    case EM_LINEFROMCHAR: {
      const size_t pos = static_cast<int64_t>(Message.WParam) < 0 ? SelFirst() : ByteOfChar(Text(), Message.WParam);
      Message.Result = LineOf(pos);
      return;
    }
    case EM_POSFROMCHAR: {
      if (Message.WParam > CodePointCount(Text())) {
        Message.Result = -1;
        return;
      }
      TPoint p = PointOf(ByteOfChar(Text(), Message.WParam));
      Message.Result = PointToLParam(p.X, p.Y);
      return;
    }
    case EM_CHARFROMPOS: {
      size_t pos = PosAtPoint({LParamX(Message.LParam), LParamY(Message.LParam)});
      auto index = static_cast<LRESULT>(std::min<size_t>(CharOfByte(Text(), pos), 0xFFFF));
      Message.Result = (static_cast<LRESULT>(std::min(LineOf(pos), 0xFFFF)) << 16) | index;
      return;
    }
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(Message.LParam);
      Replace(SelFirst(), SelLast(), text ? text : "", Message.WParam ? TUndoStep::Record : TUndoStep::None);
      return;
    }
    case EM_LIMITTEXT:
      maxLength_ = static_cast<int>(std::min<WPARAM>(Message.WParam, 0x7FFFFFFF));
      return;
    case EM_SETPASSWORDCHAR:
      // A value that is no character shows the text, as 0 does.
      passwordChar_ = Message.WParam > 0x10FFFF || (Message.WParam >= 0xD800 && Message.WParam <= 0xDFFF)
                          ? 0
                          : static_cast<char32_t>(Message.WParam);
      ForgetWidths();
      InvalidateLayout();
      ScrollCaretIntoView();
      Invalidate();
      return;
    case EM_SETREADONLY:
      readOnly_ = Message.WParam != 0;
      Invalidate();
      Message.Result = 1;
      return;
    default:
      break;
  }
  TCustomControl::DefaultHandler(Message);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
  if (AutoSelect && !Multiline() && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
  TCustomControl::DoEnter();
}

bool TCustomEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!Multiline()) return false;
  SetTopLine(topLine_ - WheelDelta / 120 * 3);
  return true;
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  StyleChanged();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (charCase_ == value) return;
  charCase_ = value;
  SetText(ApplyCharCase(Text(), value));
}

void TCustomEdit::SetMaxLength(int value) { Perform(EM_LIMITTEXT, static_cast<WPARAM>(std::max(value, 0))); }

void TCustomEdit::SetPasswordChar(char32_t value) {
  if (passwordChar_ != value) Perform(EM_SETPASSWORDCHAR, value);
}

void TCustomEdit::SetReadOnly(bool value) { Perform(EM_SETREADONLY, value ? 1 : 0); }

int TCustomEdit::SelStart() const { return static_cast<int>(CharOfByte(Text(), SelFirst())); }

void TCustomEdit::SetSelStart(int value) { Perform(EM_SETSEL, static_cast<WPARAM>(value), value); }

int TCustomEdit::SelLength() const { return static_cast<int>(CodePointCount(SelText())); }

void TCustomEdit::SetSelLength(int value) {
  const int start = SelStart();
  Perform(EM_SETSEL, static_cast<WPARAM>(start), start + std::max(value, 0));
}

std::string TCustomEdit::SelText() const { return Text().substr(SelFirst(), SelLast() - SelFirst()); }

void TCustomEdit::SetSelText(const std::string& value) { Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str())); }

void TCustomEdit::Undo() { Perform(WM_UNDO); }
void TCustomEdit::ClearSelection() { Perform(WM_CLEAR); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE); }
void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }
void TCustomEdit::Clear() { SetText({}); }

void TCustomEdit::Replace(size_t from, size_t to, std::string_view with, TUndoStep undo) {
  if (undo == TUndoStep::Record || (undo == TUndoStep::ContinueTyping && !typing_)) {
    undo_ = {from, Text().substr(from, to - from), with.size(), anchor_, caret_};
    canUndo_ = true;
  } else if (canUndo_) {
    ExtendUndo(from, to, with.size());
  }
  anchor_ = caret_ = from + with.size();
  desiredX_ = -1;
  modified_ = true;
  if (!SetReplacedText(from, to, with)) return;
  typing_ = undo == TUndoStep::ContinueTyping;
  ScrollCaretIntoView();
}

void TCustomEdit::ExtendUndo(size_t from, size_t to, size_t inserted) {
  const size_t stepEnd = undo_.from + undo_.inserted;
  if (from == stepEnd && to == stepEnd) {  // typing on
    undo_.inserted += inserted;
    return;
  }
  // The step covers both changes: outside its own, the present text is still the old one.
  const std::string& text = Text();
  const size_t first = std::min(undo_.from, from);
  const size_t last = std::max(stepEnd, to);
  undo_.removed = text.substr(first, undo_.from - first) + undo_.removed + text.substr(stepEnd, last - stepEnd);
  undo_.from = first;
  undo_.inserted = last - first - (to - from) + inserted;
}

bool TCustomEdit::SetReplacedText(size_t from, size_t to, std::string_view with) {
  const std::string& old = Text();
  change_ = TTextChange{from, to - from, with.size(), layoutValid_ ? WidthOf(old, from, to) : 0};
  std::string& text = replaced_;
  text.assign(old, 0, from).append(with).append(old, to);
  // Set below the WM_SETTEXT handling of Dispatch, which is for text from outside.
  TMessage set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 0};
  TGuard guard(*this);
  TCustomControl::DefaultHandler(set);
  if (guard.Gone()) return false;
  change_.reset();
  if (text.capacity() > 2 * text.size() + 4096) text = {};  // what a shrunken text no longer needs
  return true;
}

void TCustomEdit::InsertTyped(std::string_view with, TUndoStep undo) {
  std::string text = ApplyCharCase(with, charCase_);
  if (maxLength_ > 0) {
    const size_t kept = CodePointCount(Text()) - CodePointCount(SelText());
    const size_t room = kept < static_cast<size_t>(maxLength_) ? maxLength_ - kept : 0;
    text.resize(ByteOfChar(text, room));
    if (text.empty() && !with.empty()) {
      Backend().Beep();
      return;
    }
  }
  Replace(SelFirst(), SelLast(), text, undo);
}

void TCustomEdit::DeleteTowards(size_t other) {
  if (readOnly_) {
    Backend().Beep();
    return;
  }
  Replace(std::min(caret_, other), std::max(caret_, other), {}, TUndoStep::Record);
}

// The edit's text, lines and caret for the keys that it shares with the rich edit.
class TCustomEdit::TKeyModel final : public TEditKeyModel {
public:
  explicit TKeyModel(TCustomEdit& edit) : edit_(edit) {}

  TControl& Control() override { return edit_; }
  const std::string& Text() override { return edit_.Text(); }
  size_t Anchor() override { return edit_.anchor_; }
  size_t Caret() override { return edit_.caret_; }
  bool Multiline() override { return edit_.Multiline(); }
  int LineCount() override { return edit_.LineCount(); }
  int LineOf(size_t pos) override { return edit_.LineOf(pos); }
  size_t LineStart(int line) override { return edit_.lines_[line].start; }
  size_t LineEnd(int line) override { return edit_.lines_[line].end; }
  int XOf(int line, size_t pos) override { return edit_.XOf(line, pos); }
  size_t PosAtX(int line, int x) override { return edit_.PosAtX(line, x); }
  int PageLines(int) override { return edit_.VisibleLines(); }
  void ScrollLines(int lines) override { edit_.SetTopLine(edit_.topLine_ + lines); }
  int DesiredX() override { return edit_.desiredX_; }
  void SetDesiredX(int x) override { edit_.desiredX_ = x; }
  bool SetCaret(size_t pos, bool extend) override {
    edit_.SetCaret(pos, extend ? TSelect::Extend : TSelect::Move);
    return true;  // the edit's selection runs no handler
  }
  void DeleteTowards(size_t other) override { edit_.DeleteTowards(other); }
  std::string_view LineBreakFor(char32_t c) override { return c == '\r' && edit_.Multiline() ? "\r\n" : ""; }
  void Type(std::string_view typed) override {
    if (edit_.readOnly_) {
      Backend().Beep();
      return;
    }
    // A line break is an undo step of its own; characters join the typing before them.
    edit_.InsertTyped(typed, typed == "\r\n" ? TUndoStep::Record : TUndoStep::ContinueTyping);
  }

private:
  TCustomEdit& edit_;
};

bool TCustomEdit::HandleInput(const TMessage& Message) {
  TKeyModel keys(*this);
  return PerformEditInput(keys, Message);
}

void TCustomEdit::Paste() {
  const std::string clipboard = Clipboard().AsText();
  if (clipboard.empty()) return;
  InsertTyped(PasteText(clipboard), TUndoStep::Record);
}

// The middle button pastes the primary selection (what was last selected on the display) where it is
// pressed, as users of X expect.
void TCustomEdit::PastePrimarySelection(TPoint at) {
  if (readOnly_) return;
  const std::optional<std::string> selected = Backend().GetPrimarySelection();
  if (!selected || selected->empty()) return;
  TGuard guard(*this);
  if (!Focused() && CanFocus()) SetFocus();
  if (guard.Gone()) return;
  SetCaret(PosAtPoint(at), TSelect::Move);
  InsertTyped(PasteText(*selected), TUndoStep::Record);
}

std::string TCustomEdit::PasteText(std::string_view clipboard) {
  // A single-line edit takes the first line of a pasted text, as the box cannot show more; its line
  // breaks would else be kept invisibly in the text.
  if (!Multiline()) return WithoutControlCharacters(FirstLine(clipboard), false);
  return WithCrLfBreaks(WithoutControlCharacters(clipboard, true));
}

void TCustomEdit::SetCaret(size_t pos, TSelect select) {
  SetSelection(select == TSelect::Extend ? anchor_ : pos, pos);
}

void TCustomEdit::SetSelection(size_t anchor, size_t caret) {
  anchor_ = CaretStopAtOrBefore(Text(), anchor);
  caret_ = CaretStopAtOrBefore(Text(), caret);
  typing_ = false;
  desiredX_ = -1;
  ScrollCaretIntoView();
  Invalidate();
  if (!mouseSelecting_) OfferSelection();  // a selection by dragging is offered once, when it ends
}

void TCustomEdit::OfferSelection() {
  if (passwordChar_ == 0 && caret_ != anchor_ && Focused()) Backend().SetPrimarySelection(SelText());
}

}  // namespace platform
