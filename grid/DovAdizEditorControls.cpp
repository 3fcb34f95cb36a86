// The grid's editor controls other than the text editor: each classes its keys into grid keys, which
// end the edit through the grid (VUraRazuduVova::EditorGridKey, DoneInplaceEdit), and its own keys.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "grid/DovAdiz.h"
#include "grid/DovAdizEditors.h"
#include "grid/EditorTyping.h"
#include "platform/core/Utf8.h"
#include "platform/edits/EditMessages.h"
#include "platform/edits/RichEditMessages.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

namespace {

// Losing the focus ends the grid's edit (which may free the control), then the inherited exit handling.
void ExitToGrid(TComponent& control, VUraRazuduVova& grid, const std::function<void()>& inherited) {
  const TComponent::TGuard alive(control);
  grid.HideInplaceEdit();
  if (alive.Alive()) inherited();
}

// Claims Tab for the key handler when the grid's options hold goTabs.
void ClaimTab(TMessage& Message, const VUraRazuduVova& grid) {
  if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_TAB && grid.Options().Contains(TGridOption::goTabs))
    Message.Result = 1;
}

// What the spin edit and the edits with button do first with a message: the Enter character is
// swallowed, and Tab claimed as ClaimTab does. True when the message needs nothing more.
bool SwallowEnterClaimTab(TMessage& Message, const VUraRazuduVova& grid,
                          const std::function<void(TMessage&)>& inherited) {
  if (Message.Msg == WM_CHAR && Message.WParam == '\r') {
    Message.Result = 0;
    return true;
  }
  if (Message.Msg != CM_WANTSPECIALKEY) return false;
  inherited(Message);
  ClaimTab(Message, grid);
  return true;
}

// The grid keys of the edits with button.
bool IsEditBtnGridKey(WORD key) {
  return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_PRIOR || key == VK_NEXT || key == VK_UP ||
         key == VK_DOWN;
}

// The edit's text with the caret at its end.
void ReloadEdit(TCustomEdit& edit, const std::string& text) {
  edit.SetText(text);
  edit.SetSelStart(static_cast<int>(CodePointCount(text)));
}

}  // namespace

// ---- TGridSpin ----

TGridSpin::TGridSpin(VUraRazuduVova* AGrid) : TZgSpinEdit(AGrid), grid_(AGrid) {}

void TGridSpin::Dispatch(TMessage& Message) {
  // Up and Down are grid keys: they reach the key rule before the spin edit steps with them.
  if (Message.Msg == WM_KEYDOWN && (Message.WParam == VK_UP || Message.WParam == VK_DOWN)) {
    grid_->EditorGridKey(static_cast<WORD>(Message.WParam), KeyboardStateToShiftState(), [this] { return Text(); },
                         [this](const std::string& s) { ReloadEdit(*this, s); });
    return;
  }
  if (SwallowEnterClaimTab(Message, *grid_, [this](TMessage& m) { TZgSpinEdit::Dispatch(m); })) return;
  TZgSpinEdit::Dispatch(Message);
}

void TGridSpin::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE) {
    const WORD key = std::exchange(Key, 0);
    grid_->EditorGridKey(key, Shift, [this] { return Text(); }, [this](const std::string& s) { ReloadEdit(*this, s); });
    return;
  }
  if (StepKey(Key)) {
    const TGuard alive(*this);
    if (grid_->OnSpinClick) grid_->OnSpinClick(grid_, grid_->Col(), grid_->Row(), Value(), false);
    if (alive.Gone()) return;
  }
  TZgSpinEdit::KeyDown(Key, Shift);
}

bool TGridSpin::StepKey(WORD Key) {
  const bool isFloat = SpinType() == controls::zgspin::sptFloat;
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT: {
      const int sign = Key == VK_PRIOR ? 1 : -1;
      if (isFloat) {
        const double next = FloatValue() + sign * IncrementFloat();
        if (sign > 0 ? next <= MaxFloatValue() : next >= MinFloatValue()) SetFloatValue(next);
      } else {
        // In 64 bits, so that a step past the integer limits is no wrap-around.
        const int64_t next = int64_t{Value()} + sign * int64_t{Increment()};
        if (sign > 0 ? next <= MaxValue() : next >= MinValue()) SetValue(static_cast<int>(next));
      }
      return true;
    }
    case VK_END:
    case VK_HOME: {
      const bool low = Key == VK_END;
      if (isFloat)
        SetFloatValue(low ? MinFloatValue() : MaxFloatValue());
      else
        SetValue(low ? MinValue() : MaxValue());
      return true;
    }
    default: return false;
  }
}

void TGridSpin::KeyPress(char32_t& Key) {
  if (Key == '\r') {
    Key = 0;
    return;
  }
  TZgSpinEdit::KeyPress(Key);
}

void TGridSpin::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TZgSpinEdit::DoExit(); });
}

void TGridSpin::UpClick(TObject* Sender) {
  TZgSpinEdit::UpClick(Sender);
  SpinClicked(true);
}

void TGridSpin::DownClick(TObject* Sender) {
  TZgSpinEdit::DownClick(Sender);
  SpinClicked(false);
}

void TGridSpin::SpinClicked(bool Up) {
  const int col = grid_->Col(), row = grid_->Row();
  switch (SpinType()) {
    case controls::zgspin::sptNormal:
      if (grid_->OnSpinClick) grid_->OnSpinClick(grid_, col, row, Value(), Up);
      break;
    case controls::zgspin::sptFloat:
      if (grid_->OnFloatSpinClick) grid_->OnFloatSpinClick(grid_, col, row, FloatValue(), Up);
      break;
    case controls::zgspin::sptDate:
      if (grid_->OnDateSpinClick) grid_->OnDateSpinClick(grid_, col, row, DateValue(), Up);
      break;
    case controls::zgspin::sptTime:
      if (grid_->OnTimeSpinClick) grid_->OnTimeSpinClick(grid_, col, row, TimeValue(), Up);
      break;
  }
}

// ---- TGridCombo ----

TGridCombo::TGridCombo(VUraRazuduVova* AGrid) : TZGComboBox(AGrid), grid_(AGrid) { SetButtonWidth(16); }

void TGridCombo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      TZGComboBox::Dispatch(Message);
      ClaimTab(Message, *grid_);
      return;
    case CN_COMMAND: {
      const TGuard alive(*this);
      const WORD code = static_cast<WORD>(Message.WParam >> 16);
      TZGComboBox::Dispatch(Message);
      if (alive.Gone()) return;
      if (code == CBN_SELCHANGE && ItemIndex() >= 0)
        grid_->ComboChanged(grid_, ItemIndex(), Items().Strings(ItemIndex()));
      else if (code == CBN_EDITCHANGE)
        grid_->ComboChanged(grid_, -1, Text());
      return;
    }
    case WM_SETFOCUS: {
      // The press that opened the editor asked for the caret under the mouse.
      const bool caretToMouse = std::exchange(grid_->caretToMouse_, false);
      const TGuard alive(*this);
      TZGComboBox::Dispatch(Message);
      if (alive.Alive() && caretToMouse) CaretToMouse();
      return;
    }
    default: break;
  }
  TZGComboBox::Dispatch(Message);
}

void TGridCombo::CaretToMouse() {
  for (int i = 0; i < ControlCount(); ++i) {
    auto* edit = dynamic_cast<TCustomEdit*>(Controls(i));
    if (!edit || !edit->Visible()) continue;
    const TPoint at = edit->ScreenToClient(Screen().CursorPos());
    if (!PtInRect(edit->ClientRect(), at)) return;
    const LRESULT position = edit->Perform(EM_CHARFROMPOS, 0, PointToLParam(at.X, at.Y));
    SetSelStart(static_cast<int>(position & 0xFFFF));
    SetSelLength(0);
    return;
  }
}

bool TGridCombo::IsGridKey(WORD Key) const {
  // A list, or an open one, keeps the keys that move through it; a closed edit gives the grid those
  // that leave the cell.
  const bool list = Style() == TComboBoxStyle::csDropDownList || DroppedDown();
  switch (Key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: return true;
    case VK_LEFT:
    case VK_RIGHT: return list;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_UP:
    case VK_DOWN: return !list;
    default: return false;
  }
}

void TGridCombo::KeyDown(WORD& Key, TShiftState Shift) {
  lookupKey_ = Key != VK_BACK && Key != VK_DELETE;
  if (!IsGridKey(Key)) {
    TZGComboBox::KeyDown(Key, Shift);
    return;
  }
  // An open list takes Enter and Escape itself first: the item picked, or the one from before.
  if (DroppedDown()) {
    const TGuard alive(*this);
    TZGComboBox::KeyDown(Key, Shift);
    if (alive.Gone()) return;
    SetDroppedDown(false);
  }
  const WORD key = std::exchange(Key, 0);
  auto value = [this] { return Text(); };
  auto reload = [this](const std::string& s) {
    if (Style() == TComboBoxStyle::csDropDownList) {
      const int index = Items().IndexOf(s);
      if (index >= 0) SetItemIndex(index);
    } else {
      SetText(s);
      SetSelStart(static_cast<int>(CodePointCount(s)));
    }
  };
  // Left and Right of a list move the grid's cursor once the edit has ended.
  grid_->EditorGridKey(key, Shift, value, reload);
}

void TGridCombo::KeyPress(char32_t& Key) {
  if (Key == '\r') Key = 0;
  TZGComboBox::KeyPress(Key);
}

void TGridCombo::KeyUp(WORD& Key, TShiftState Shift) {
  const TGuard alive(*this);
  TZGComboBox::KeyUp(Key, Shift);
  if (alive.Alive() && Key != VK_RETURN) DoChange();
}

void TGridCombo::DoChange() {
  if (!grid_->Lookup || !lookupKey_ || Style() != TComboBoxStyle::csDropDown) return;
  const std::string text = Text();
  const size_t typed = ByteOfChar(text, static_cast<size_t>(SelStart()));
  const std::string prefix = text.substr(0, typed);
  std::string completed;
  int index = -1;
  if (!CompleteFromList(Items(), prefix, grid_->LookupCaseSensitive, completed, index)) return;
  SetItemIndex(index);
  SetText(completed);
  const auto from = static_cast<LPARAM>(CodePointCount(prefix));
  const auto to = static_cast<LPARAM>(CodePointCount(completed));
  Perform(CB_SETEDITSEL, 0, from | (to << 16));
}

void TGridCombo::SizeDropDownWidth() {
  int width = Width();
  TCanvas& canvas = grid_->Canvas();
  const bool scrolls = Items().Count() > DropDownCount();
  for (int i = 0; i < Items().Count(); ++i) {
    const int textWidth = canvas.TextWidth(Items().Strings(i));
    if (scrolls && width - 25 < textWidth)
      width = textWidth + 25;
    else if (width - 5 < textWidth)
      width = textWidth + 8;
  }
  Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width));
}

void TGridCombo::DoExit() {
  const std::string text = Text();
  if (grid_->LookupHistory && !text.empty() && Items().IndexOf(text) < 0) Items().Add(text);
  ExitToGrid(*this, *grid_, [this] { TZGComboBox::DoExit(); });
}

bool TGridCombo::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  const int count = Items().Count();
  if (count == 0) return true;
  const int index = std::clamp(WheelDelta < 0 ? ItemIndex() + 1 : ItemIndex() - 1, 0, count - 1);
  if (index == ItemIndex()) return true;
  SetItemIndex(index);
  grid_->ComboChanged(this, index, Items().Strings(index));
  return true;
}

// ---- TGridDatePicker ----

TGridDatePicker::TGridDatePicker(VUraRazuduVova* AGrid) : TDateTimePicker(AGrid), grid_(AGrid) {}

void TGridDatePicker::KeyDown(WORD& Key, TShiftState Shift) {
  const bool gridKey = Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END;
  if (!gridKey || DroppedDown()) {
    TDateTimePicker::KeyDown(Key, Shift);
    return;
  }
  const WORD key = std::exchange(Key, 0);
  const bool time = Kind() == TDateTimeKind::dtkTime;
  auto value = [this, time] { return time ? TimeToStr(Time()) : DateToStr(Date()); };
  auto reload = [this, time](const std::string& s) {
    // A cell that is no date (or time) leaves the picker as it is.
    try {
      if (time)
        SetTime(StrToTime(s));
      else
        SetDate(StrToDate(s));
    } catch (const Exception&) {
    }
  };
  grid_->EditorGridKey(key, Shift, value, reload);
}

void TGridDatePicker::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TDateTimePicker::DoExit(); });
}

// ---- TGridCheckBox ----

TGridCheckBox::TGridCheckBox(VUraRazuduVova* AGrid) : TCheckBox(AGrid), grid_(AGrid) {}

void TGridCheckBox::KeyDown(WORD& Key, TShiftState Shift) {
  switch (Key) {
    case VK_RETURN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: break;
    default: TCheckBox::KeyDown(Key, Shift); return;
  }
  const WORD key = std::exchange(Key, 0);
  const TGuard gridAlive(*grid_);
  grid_->HandBackKey(key);
  grid_->HideInplaceEdit();
  if (gridAlive.Gone()) return;
  if (grid_->CanFocus() && !grid_->Focused()) grid_->SetFocus();
  if (key == VK_RETURN) {
    grid_->AdvanceEdit(grid_->Col(), grid_->Row(), true, true, false);
  } else if (key == VK_UP || key == VK_DOWN) {
    WORD move = key;
    grid_->KeyDown(move, Shift);
  }
}

void TGridCheckBox::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TCheckBox::DoExit(); });
}

// ---- TGridEditBtn ----

TGridEditBtn::TGridEditBtn(VUraRazuduVova* AGrid) : TZgEditBtn(AGrid), grid_(AGrid) { SetButtonCaption("..."); }

void TGridEditBtn::Dispatch(TMessage& Message) {
  if (SwallowEnterClaimTab(Message, *grid_, [this](TMessage& m) { TZgEditBtn::Dispatch(m); })) return;
  const TEditorType kind = grid_->EditorKind;
  if (Message.Msg == WM_CHAR && (kind == TEditorType::edNumericEditBtn || kind == TEditorType::edFloatEditBtn)) {
    const auto c = static_cast<char32_t>(Message.WParam);
    const auto filter = kind == TEditorType::edFloatEditBtn ? TNumberFilter::Float : TNumberFilter::Integer;
    if (c >= 0x20 && !NumberCharAccepted(filter, c, Text(), SelStart(), SelLength())) return;
  }
  TZgEditBtn::Dispatch(Message);
}

void TGridEditBtn::BtnClick(TObject* Sender) {
  const TGuard alive(*this);
  const std::string text = grid_->EllipsClick(Text());
  if (alive.Gone()) return;
  SetText(text);
  SelectAll();
  Invalidate();
}

void TGridEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  if (Shift.Contains(TShiftStateFlag::ssCtrl) || !IsEditBtnGridKey(Key)) {
    TZgEditBtn::KeyDown(Key, Shift);
    return;
  }
  const WORD key = std::exchange(Key, 0);
  grid_->EditorGridKey(key, Shift, [this] { return Text(); }, [this](const std::string& s) { ReloadEdit(*this, s); });
}

void TGridEditBtn::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TZgEditBtn::DoExit(); });
}

// ---- TGridUnitEditBtn ----

TGridUnitEditBtn::TGridUnitEditBtn(VUraRazuduVova* AGrid) : TZgUnitEditBtn(AGrid), grid_(AGrid) {
  SetButtonCaption("...");
}

void TGridUnitEditBtn::Dispatch(TMessage& Message) {
  if (SwallowEnterClaimTab(Message, *grid_, [this](TMessage& m) { TZgUnitEditBtn::Dispatch(m); })) return;
  TZgUnitEditBtn::Dispatch(Message);
}

void TGridUnitEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  if (!IsEditBtnGridKey(Key)) {
    TZgUnitEditBtn::KeyDown(Key, Shift);
    return;
  }
  const WORD key = std::exchange(Key, 0);
  // The value is the number followed by the unit; a cell's text goes back split as the grid splits it.
  auto value = [this] { return Text() + UnitID(); };
  auto reload = [this](const std::string& s) {
    const auto [number, unit] = SplitNumberAndUnit(s);
    ReloadEdit(*this, number);
    SetUnitID(unit);
  };
  grid_->EditorGridKey(key, Shift, value, reload);
}

void TGridUnitEditBtn::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TZgUnitEditBtn::DoExit(); });
}

// ---- TGridButton ----

TGridButton::TGridButton(VUraRazuduVova* AGrid) : TButton(AGrid), grid_(AGrid) {}

void TGridButton::Leave() {
  const TGuard gridAlive(*grid_);
  grid_->HideInplaceEdit();
  if (gridAlive.Alive() && grid_->CanFocus() && !grid_->Focused()) grid_->SetFocus();
}

void TGridButton::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key != VK_ESCAPE) {
    TButton::KeyDown(Key, Shift);
    return;
  }
  Key = 0;
  const TGuard gridAlive(*grid_);
  grid_->HandBackKey(VK_ESCAPE);
  Leave();
  if (gridAlive.Gone()) return;
  const TPoint cell = grid_->editCell_;
  if (cell.X >= 0) grid_->SetCells(cell.X, cell.Y, grid_->EditOriginalText());
}

void TGridButton::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE) {
    const TGuard alive(*this);
    SetCaption(grid_->EllipsClick(Caption()));
    if (alive.Gone()) return;
    Invalidate();
  }
  if (Key != VK_LEFT && Key != VK_RIGHT && Key != VK_UP && Key != VK_DOWN) {
    TButton::KeyUp(Key, Shift);
    return;
  }
  WORD key = std::exchange(Key, 0);
  const TGuard gridAlive(*grid_);
  Leave();
  if (gridAlive.Alive()) grid_->KeyDown(key, Shift);
}

void TGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft) {
    const TGuard alive(*this);
    SetCaption(grid_->EllipsClick(Caption()));
    if (alive.Gone()) return;
  }
  TButton::MouseUp(Button, Shift, X, Y);
}

void TGridButton::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TButton::DoExit(); });
}

// ---- TExRichEdit ----

TExRichEdit::TExRichEdit(VUraRazuduVova* AGrid) : TRichEdit(AGrid), grid_(AGrid) {
  Perform(EM_SETEVENTMASK, 0, static_cast<LPARAM>(Perform(EM_GETEVENTMASK) | ENM_REQUESTRESIZE));
}

void TExRichEdit::InsetFormatRect() {
  TRect r{kInset, kInset, std::max(Width() - kInset, kInset), std::max(Height() - kInset, kInset)};
  Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TExRichEdit::RequestSize(const TRect& Rect) {
  const TGuard alive(*this);
  TRichEdit::RequestSize(Rect);
  if (alive.Gone()) return;
  reqWidth_ = Rect.Width();
  reqHeight_ = Rect.Height();
  if (locked_ || this != grid_->richEdit_ || !Visible() || !grid_->SizeWhileTyping().Height) return;
  // The text with the inset below it; the rectangle starts at the inset above.
  const int wanted = Rect.Bottom + kInset;
  const int growth = wanted - Height();
  if (growth <= 0 || Top() + wanted > grid_->ClientHeight()) return;
  // The last row of the edited block takes the growth, so a merged block grows as a whole.
  const TPoint cell = grid_->editCell_;
  const int lastRow = cell.Y + std::max(grid_->CellSpan(cell.X, cell.Y).Y, 0);
  SetHeight(wanted);
  InsetFormatRect();
  grid_->SetRowHeights(lastRow, grid_->RowHeights(lastRow) + growth);
}

void TExRichEdit::SetSelOffset(int twips) {
  CHARFORMAT format;
  format.dwMask = CFM_OFFSET;
  format.yOffset = twips;
  Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void TExRichEdit::KeyDown(WORD& Key, TShiftState Shift) {
  const WORD key = Key;
  const TGuard alive(*this);
  TRichEdit::KeyDown(Key, Shift);
  if (alive.Gone() || (key != VK_UP && key != VK_DOWN) || grid_->WordWrap() || grid_->Multilinecells) return;
  Key = 0;
  const TGuard gridAlive(*grid_);
  grid_->HideInplaceEdit();
  if (gridAlive.Gone()) return;
  if (grid_->CanFocus() && !grid_->Focused()) grid_->SetFocus();
  WORD move = key;
  grid_->KeyDown(move, Shift);
}

void TExRichEdit::DoExit() {
  ExitToGrid(*this, *grid_, [this] { TRichEdit::DoExit(); });
}

}  // namespace velmora
