// The grid's text editor: the filters and conversions of the text kinds, the length limit, the
// clipboard rules, the lookup completion and the keys that walk, validate and leave the cell.

#include <algorithm>
#include <utility>

#include "grid/DovAdiz.h"
#include "grid/DovAdizEditors.h"
#include "grid/EditorTyping.h"
#include "grid/ExUtil.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Utf8.h"
#include "platform/edits/EditText.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

namespace {

int Chars(std::string_view text) { return static_cast<int>(CodePointCount(text)); }

}  // namespace

TExInplaceEdit::TExInplaceEdit(VUraRazuduVova* AGrid) : TInplaceEdit(AGrid), grid_(AGrid) {}

void TExInplaceEdit::SetLengthLimit(int16_t value) {
  lengthLimit_ = value;
  SetMaxLength(EffectiveLimit());
}

int TExInplaceEdit::EffectiveLimit() const { return lengthLimit_ > 0 ? lengthLimit_ : grid_->GetEditLimit(); }

void TExInplaceEdit::CreateParams(TCreateParams& Params) {
  TInplaceEdit::CreateParams(Params);
  wordWrap_ = grid_->WordWrap();
  const bool password = grid_->EditorKind == TEditorType::edPassword;
  if (!password && (grid_->Multilinecells || grid_->Navigation().LineFeedOnEnter)) Params.Style |= ES_MULTILINE;
  if (vAlign_) Params.Style |= ES_RIGHT;
  if (password) Params.Style = (Params.Style | ES_PASSWORD) & ~ES_MULTILINE;
  if (wordWrap_) Params.Style &= ~ES_AUTOHSCROLL;
  Params.Style |= ES_WANTRETURN;
}

void TExInplaceEdit::CreateWnd() {
  TInplaceEdit::CreateWnd();
  SetPasswordChar(grid_->EditorKind == TEditorType::edPassword ? grid_->PasswordChar : 0);
}

void TExInplaceEdit::UpdateContents() {
  SetPasswordChar(grid_->EditorKind == TEditorType::edPassword ? grid_->PasswordChar : 0);
  {
    // Loading a cell writes nothing back.
    reloading_ = true;
    TInplaceEdit::UpdateContents();
    reloading_ = false;
  }
  FollowCellStyle();
  SetMaxLength(EffectiveLimit());
  const TPoint base = grid_->editCell_;
  if (base.X < 0) return;
  TFont font;
  SetColor(grid_->EditorLook(base.X, base.Y, font));
  Font().Assign(font);
}

void TExInplaceEdit::FollowCellStyle() {
  TCreateParams params;
  CreateParams(params);
  if (params.Style != EditStyle()) StyleChanged();
}

void TExInplaceEdit::BoundsChanged() {
  // Over the cell's whole block, less the grid line at its right and bottom.
  const TRect cell = grid_->CellRect(grid_->Col(), grid_->Row());
  if (!IsRectEmpty(cell) && (cell.Left != Left() || cell.Top != Top() || cell.Width() - 1 != Width() ||
                             cell.Height() - 1 != Height()))
    SetBounds(cell.Left, cell.Top, std::max(cell.Width() - 1, 0), std::max(cell.Height() - 1, 0));
  TRect r{3, 3, std::max(Width() - 2, 3), Height()};
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  Perform(EM_SCROLLCARET);
}

void TExInplaceEdit::Change() {
  if (reloading_)
    TCustomMaskEdit::Change();
  else
    TInplaceEdit::Change();
}

void TExInplaceEdit::ReloadFromCell() {
  const TPoint cell = grid_->editCell_;
  if (cell.X < 0) return;
  const std::string text = grid_->CellEditText(cell.X, cell.Y);
  if (text == Text()) return;
  reloading_ = true;
  SetText(text);
  reloading_ = false;
}

bool TExInplaceEdit::FilterChar(char32_t& Key) {
  const std::string text = Text();
  switch (grid_->EditorKind) {
    case TEditorType::edNormal:
    case TEditorType::edPassword: return true;
    case TEditorType::edNumeric:
      return NumberCharAccepted(TNumberFilter::Integer, Key, text, SelStart(), SelLength());
    case TEditorType::edPositiveNumeric:
      return NumberCharAccepted(TNumberFilter::PositiveInteger, Key, text, SelStart(), SelLength());
    case TEditorType::edFloat: return NumberCharAccepted(TNumberFilter::Float, Key, text, SelStart(), SelLength());
    case TEditorType::edCapital:
    case TEditorType::edUpperCase: Key = ApplyCharCase(Key, TEditCharCase::ecUpperCase); return true;
    case TEditorType::edLowerCase: Key = ApplyCharCase(Key, TEditCharCase::ecLowerCase); return true;
    default: return false;
  }
}

void TExInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      grid_->handedBackChar_ = 0;
      if (Message.WParam == VK_RETURN && GetKeyState(VK_CONTROL) < 0) grid_->SizeRowAtCtrlEnter(Text());
      // Where Enter types a line break, Ctrl+Enter is the Enter that ends the edit; the character of
      // the key is dropped wherever it arrives.
      if (Message.WParam == VK_RETURN && GetKeyState(VK_CONTROL) < 0 && grid_->Navigation().LineFeedOnEnter) {
        grid_->HandBackKey(VK_RETURN);
        char32_t enter = '\r';
        TInplaceEdit::KeyPress(enter);
        return;
      }
      TInplaceEdit::Dispatch(Message);
      return;
    case WM_CHAR: {
      auto c = static_cast<char32_t>(Message.WParam);
      // The character of the key with which an editor control ended the edit that opened this one.
      if (c != 0 && c == std::exchange(grid_->handedBackChar_, 0)) return;
      if (grid_->ExcelStyleDecimalSeparator && c == '.' && (Message.LParam & (LPARAM{1} << 22)) != 0)
        c = static_cast<char32_t>(FormatSettings().DecimalSeparator);
      const int limit = EffectiveLimit();
      if (limit > 0 && Chars(Text()) >= limit && SelLength() == 0 && c != '\b' && c != 0x1B &&
          (c != '\r' || !grid_->Navigation().AdvanceOnEnter))
        return;
      const TEditorType kind = grid_->EditorKind;
      if (c == '\r' && grid_->Navigation().LineFeedOnEnter &&
          (kind == TEditorType::edNormal || kind == TEditorType::edCapital || kind == TEditorType::edMixedCase ||
           kind == TEditorType::edPassword)) {
        DefaultHandler(Message);
        return;
      }
      if (c >= 0x20 && kind == TEditorType::edMixedCase) {
        const int caret = SelStart();
        SetSelText(EncodeText(std::u32string(1, c)));
        SetText(ShiftCase(Text()));
        SetSelStart(caret + 1);
        return;
      }
      if (c >= 0x20 && !FilterChar(c)) return;
      Message.WParam = c;
      TInplaceEdit::Dispatch(Message);
      return;
    }
    case WM_PASTE: Paste(); return;
    case WM_COPY:
    case WM_CUT: {
      bool allow = true;
      const TClipboardEvent& event = Message.Msg == WM_COPY ? grid_->OnClipboardCopy : grid_->OnClipboardCut;
      if (event) event(grid_, allow);
      if (allow) TInplaceEdit::Dispatch(Message);
      return;
    }
    case WM_KILLFOCUS: LeaveCell(); TInplaceEdit::Dispatch(Message); return;
    case WM_SETFOCUS: {
      const bool caretToMouse = std::exchange(grid_->caretToMouse_, false);
      TInplaceEdit::Dispatch(Message);
      if (caretToMouse && CaretToMouse()) return;
      if (grid_->Navigation().ImproveMaskSel && IsMasked()) {
        SetSelStart(0);
        SetSelLength(1);
      }
      return;
    }
    case WM_KEYUP: {
      const TGuard alive(*this);
      TInplaceEdit::Dispatch(Message);
      if (alive.Gone() || SelStart() <= 0) return;
      const LRESULT at = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(SelStart() - 1));
      grid_->EditProgress(Text(), TPoint{static_cast<int16_t>(at & 0xFFFF), static_cast<int16_t>((at >> 16) & 0xFFFF)},
                          SelStart());
      return;
    }
    default: TInplaceEdit::Dispatch(Message); return;
  }
}

bool TExInplaceEdit::CaretToMouse() {
  const TPoint at = ScreenToClient(Screen().CursorPos());
  if (!PtInRect(ClientRect(), at)) return false;
  const LRESULT position = Perform(EM_CHARFROMPOS, 0, PointToLParam(at.X, at.Y));
  SetSelStart(static_cast<int>(position & 0xFFFF));
  SetSelLength(0);
  return true;
}

void TExInplaceEdit::LeaveCell() {
  grid_->PendingEditChar = 0;
  const std::string text = Text();
  if (grid_->LookupHistory && !text.empty() && grid_->LookupItems().IndexOf(text) < 0)
    grid_->LookupItems().Add(text);
  // Every change went to the cell as it was typed: the cell's own text is what is validated.
  const TPoint cell = grid_->editCell_;
  if (cell.X >= 0 && cell.Y < grid_->RowCount()) {
    const TGuard alive(*this);
    grid_->ValidateCell(grid_->Cells(cell.X, cell.Y));
    if (alive.Gone()) return;
    ReloadFromCell();
  }
  grid_->EditProgress(Text(), TPoint{-1, -1}, -1);
}

void TExInplaceEdit::Paste() {
  if (!Clipboard().HasFormat(CF_TEXT)) return;
  const std::string clip = Clipboard().AsText();
  const int limit = EffectiveLimit();
  if (limit > 0 && Chars(clip) > limit) return;
  const std::string text = Text();
  const int selStart = SelStart(), selLength = SelLength();
  const size_t first = ByteOfChar(text, selStart), last = ByteOfChar(text, selStart + selLength);
  std::string pasted = clip;
  switch (grid_->EditorKind) {
    case TEditorType::edLowerCase: pasted = ApplyCharCase(clip, TEditCharCase::ecLowerCase); break;
    case TEditorType::edCapital:
    case TEditorType::edUpperCase: pasted = ApplyCharCase(clip, TEditCharCase::ecUpperCase); break;
    default: break;
  }
  std::string result = text.substr(0, first) + pasted + text.substr(last);
  if (limit > 0 && Chars(result) > limit) return;
  bool allow = true;
  if (grid_->OnClipboardPaste) grid_->OnClipboardPaste(grid_, allow);
  if (!allow) return;
  switch (grid_->EditorKind) {
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
      if (IsType(result) != 0) return;
      break;
    case TEditorType::edFloat:
      if (IsType(result) >= 2) return;
      break;
    case TEditorType::edMixedCase: result = ShiftCase(result); break;
    default: break;
  }
  SetText(result);
  if (selLength > 0) {
    SetSelStart(selStart);
    SetSelLength(Chars(pasted));
  } else {
    SetSelStart(selStart + Chars(pasted));
  }
}

void TExInplaceEdit::LookupCompletion() {
  if (!grid_->Lookup || grid_->LookupItems().Count() == 0 || !lookupKey_) return;
  const std::string text = Text();
  if (SelStart() != Chars(text) || SelLength() != 0) return;
  std::string completed;
  int index = -1;
  if (!CompleteFromList(grid_->LookupItems(), text, grid_->LookupCaseSensitive, completed, index)) return;
  SetText(completed);
  Perform(EM_SETSEL, static_cast<WPARAM>(Chars(text)), static_cast<LPARAM>(Chars(completed)));
}

void TExInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  // Escape gives the refused value up: the current cell may move again.
  if (Key == VK_ESCAPE) grid_->refusedCell_ = {-1, -1};
  lookupKey_ = Key != VK_BACK && Key != VK_DELETE;
  const TNavigation& navigation = grid_->Navigation();
  const bool plain = SelLength() == 0 && !Shift.Contains(TShiftStateFlag::ssShift);
  const bool atEnd = SelStart() == Chars(Text());
  if (navigation.CursorWalkEditor && plain && ((Key == VK_RIGHT && atEnd) || (Key == VK_LEFT && SelStart() == 0))) {
    // The walk goes along the row whatever the advance direction.
    const TGuard gridAlive(*grid_);
    const bool forward = Key == VK_RIGHT;
    Key = 0;
    TNavigation& walking = grid_->Navigation();
    const TAdvanceDirection direction = walking.AdvanceDirection;
    walking.AdvanceDirection = TAdvanceDirection::adLeftRight;
    grid_->AdvanceEdit(grid_->Col(), grid_->Row(), forward, true, true);
    if (gridAlive.Alive()) walking.AdvanceDirection = direction;
    return;
  }
  if ((Key == VK_UP || Key == VK_DOWN) && Multiline()) {
    const int line = static_cast<int>(Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)));
    if ((Key == VK_UP && line > 0) || (Key == VK_DOWN && line < LineCount() - 1)) {
      TCustomMaskEdit::KeyDown(Key, Shift);
      return;
    }
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TExInplaceEdit::KeyPress(char32_t& Key) {
  const TGuard alive(*this);
  if (Key == '\r' && !grid_->Navigation().LineFeedOnEnter) {
    const TPoint cell = grid_->editCell_;
    if (cell.X >= 0 && cell.Y < grid_->RowCount() && !grid_->ValidateCell(grid_->Cells(cell.X, cell.Y))) {
      if (alive.Gone()) return;
      ReloadFromCell();
      Key = 0;
      return;
    }
    if (alive.Gone()) return;
  }
  TInplaceEdit::KeyPress(Key);
  if (alive.Gone() || Key == 0) return;
  if (grid_->Navigation().AdvanceAuto && IsMasked() && !HasBlanks() && SelStart() == Chars(Text())) {
    char32_t enter = '\r';
    grid_->KeyPress(enter);
  }
}

void TExInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
  const TGuard alive(*this);
  TInplaceEdit::KeyUp(Key, Shift);
  if (alive.Gone() || Key == VK_LEFT || Key == VK_RIGHT) return;
  LookupCompletion();
  if (alive.Alive()) grid_->SizeWhileTypingStep(Text());
}

void TExInplaceEdit::DblClick() {
  const TGuard alive(*this);
  TInplaceEdit::DblClick();
  if (alive.Alive() && grid_->OnDblClickCell) grid_->OnDblClickCell(grid_, grid_->Row(), grid_->Col());
}

}  // namespace velmora
