#include "platform/edits/ComboBox.h"

#include <algorithm>

#include "platform/core/Ascii.h"
#include "platform/core/Clock.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Backend.h"
#include "platform/edits/ComboList.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kFieldMargin = 3;     // the control is the field plus 3 pixels above and below
constexpr uint32_t kTypeAheadMs = 1000;  // characters typed within this time make one prefix

}  // namespace

// The edit of the edit styles. It never holds the focus itself: the combo has it and hands the edit
// the keys the combo does not serve, so the edit shows its caret and selection while the combo is
// focused and reports every change of its text to the combo.
class TComboEdit : public TCustomEdit {
public:
  explicit TComboEdit(TCustomComboBox& Combo) : TCustomEdit(nullptr), combo_(Combo) {
    SetBorderStyle(TBorderStyle::bsNone);
    SetTabStop(false);
    SetParentColor(true);
    AutoSelect = false;
  }

  void Dispatch(TMessage& Message) override {
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !combo_.Focused() && combo_.CanFocus()) {
      TGuard guard(*this);
      combo_.SetFocus();
      if (guard.Gone()) return;
    }
    TCustomEdit::Dispatch(Message);
    // The mouse over the edit is over the combo: it hears of it, with the edit in lParam.
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE)
      combo_.Perform(Message.Msg, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(this)));
  }

protected:
  bool ShowFocus() const override { return combo_.Focused(); }
  void Change() override { combo_.EditChanged(); }

private:
  TCustomComboBox& combo_;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TStringList>()) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption - TControlStyleFlag::csClickEvents);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  items_->OnChange = [this](TStringList&) { ItemsChanged(); };
  edit_ = new TComboEdit(*this);
  edit_->SetParent(this);
  SetBounds(0, 0, 145, EditHeight() + 2 * kFieldMargin);
}

TCustomComboBox::~TCustomComboBox() {
  items_->OnChange = nullptr;
  delete std::exchange(list_, nullptr);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int /*AHeight*/) {
  // The control is as high as its selection field; a taller request (the list's height, as old code
  // gives it) is not taken.
  TCustomControl::SetBounds(ALeft, ATop, AWidth, EditHeight() + 2 * kFieldMargin);
  PlaceEdit();
}

TCanvas& TCustomComboBox::Canvas() { return drawingOn_ ? *drawingOn_ : TCustomControl::Canvas(); }

int TCustomComboBox::FontHeight() const {
  TCanvas& canvas = const_cast<TCustomComboBox*>(this)->TCustomControl::Canvas();
  canvas.SetFont(Font());
  return canvas.TextHeight("Wg");
}

int TCustomComboBox::ItemHeight() const { return itemHeight_ > 0 ? itemHeight_ : FontHeight(); }

void TCustomComboBox::SetItemHeight(int value) {
  itemHeight_ = std::max(0, value);
  if (list_) list_->Invalidate();
  if (OwnerDrawn()) Invalidate();
}

int TCustomComboBox::EditHeight() const { return editHeight_ > 0 ? editHeight_ : FontHeight() + 2; }

TRect TCustomComboBox::ButtonRect() const {
  const TRect client = ClientRect();
  if (style_ == TComboBoxStyle::csSimple) return Rect(client.Right, client.Top, client.Right, client.Bottom);
  return Rect(std::max(client.Left, client.Right - DropButtonWidth()), client.Top, client.Right, client.Bottom);
}

int TCustomComboBox::DropButtonWidth() const {
  // Unless a descendant sets its own, the drop button is as wide as a vertical scroll bar.
  return dropButtonWidth_ > 0 ? dropButtonWidth_ : GetSystemMetrics(SM_CXVSCROLL);
}

void TCustomComboBox::SetDropButtonWidth(int value) {
  dropButtonWidth_ = std::max(0, value);
  PlaceEdit();
  Invalidate();
}

TRect TCustomComboBox::FieldRect() const {
  const TRect client = ClientRect();
  return Rect(client.Left, client.Top, ButtonRect().Left, client.Bottom);
}

void TCustomComboBox::PlaceEdit() {
  if (!edit_) return;
  const TRect field = FieldRect();
  edit_->SetBounds(field.Left + 1, field.Top + 1, std::max(0, field.Width() - 2), std::max(0, field.Height() - 2));
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_) return;
  CloseList(false);
  style_ = value;
  if (HasEdit() && !edit_) {
    edit_ = new TComboEdit(*this);
    edit_->SetMaxLength(maxLength_);
    edit_->SetParent(this);
    edit_->SetText(Text());
    PlaceEdit();
  } else if (!HasEdit() && edit_) {
    delete std::exchange(edit_, nullptr);
    if (itemIndex_ < 0) {
      ownText_ = true;
      SetText("");
      ownText_ = false;
    }
  }
  Invalidate();
}

void TCustomComboBox::SetItems(const std::vector<std::string>& value) {
  StringListUpdateGuard guard(*items_);
  items_->Clear();
  for (const std::string& item : value) items_->Add(item);
}

void TCustomComboBox::SetItemIndex(int value) {
  if (value < -1 || value >= items_->Count()) value = -1;
  itemIndex_ = value;
  ShowSelection();
}

void TCustomComboBox::ShowSelection() {
  ownText_ = true;
  SetText(itemIndex_ >= 0 ? items_->Strings(itemIndex_) : std::string());
  ownText_ = false;
  if (edit_ && Focused()) edit_->SelectAll();
  if (list_ && list_->IsOpen()) list_->SetHot(itemIndex_);
  Invalidate();
}

void TCustomComboBox::ItemsChanged() {
  // The selection follows its item to its new place; a list style loses a text that is no item now.
  const bool same = itemIndex_ >= 0 && itemIndex_ < items_->Count() && items_->Strings(itemIndex_) == Text();
  if (!same) itemIndex_ = Text().empty() ? -1 : items_->IndexOf(Text());
  if (ListStyle()) ShowSelection();
  if (list_ && list_->IsOpen()) {
    list_->UpdateScrollBar();
    list_->SetHot(std::min(list_->Hot(), items_->Count() - 1));
    list_->Invalidate();
  }
}

void TCustomComboBox::SetMaxLength(int value) {
  maxLength_ = std::max(0, value);
  if (edit_) edit_->SetMaxLength(maxLength_);
}

int TCustomComboBox::SelStart() const { return edit_ ? edit_->SelStart() : 0; }

void TCustomComboBox::SetSelStart(int value) {
  if (edit_) edit_->SetSelStart(value);
}

int TCustomComboBox::SelLength() const { return edit_ ? edit_->SelLength() : 0; }

void TCustomComboBox::SetSelLength(int value) {
  if (edit_) edit_->SetSelLength(value);
}

void TCustomComboBox::SelectAll() {
  if (edit_) edit_->SelectAll();
}

void TCustomComboBox::EditChanged() {
  if (ownText_) return;
  fromEdit_ = true;
  SetText(edit_->Text());
  fromEdit_ = false;
  TGuard guard(*this);
  if (!Notify(CBN_EDITCHANGE) || guard.Gone()) return;
  if (list_ && list_->IsOpen()) list_->SetHot(itemIndex_);
}

bool TCustomComboBox::Notify(WORD code) {
  TGuard guard(*this);
  const auto wParam = static_cast<WPARAM>(code) << 16;
  const auto lParam = static_cast<LPARAM>(Handle());
  if (Parent()) Parent()->Perform(WM_COMMAND, wParam, lParam);
  if (guard.Gone()) return false;
  Perform(CN_COMMAND, wParam, lParam);
  return guard.Alive();
}

bool TCustomComboBox::ChooseItem(int index) {
  if (index < 0 || index >= items_->Count()) return true;
  if (list_ && list_->IsOpen()) list_->SetHot(index);
  if (index == itemIndex_) return true;
  itemIndex_ = index;
  ShowSelection();
  return Notify(CBN_SELCHANGE);
}

bool TCustomComboBox::DroppedDown() const { return list_ && list_->IsOpen(); }

void TCustomComboBox::SetDroppedDown(bool value) {
  if (value)
    Open();
  else
    CloseList(false);
}

int TCustomComboBox::RowHeight(int index) {
  int height = ItemHeight();
  if (style_ == TComboBoxStyle::csOwnerDrawVariable) MeasureItem(index, height);
  return std::max(1, height);
}

TRect TCustomComboBox::DropDownRect() {
  if (!list_) list_ = new TComboListWindow(*this);
  return DropDownBounds(ScreenBounds(*this), list_->Extent(), Backend().ScreenRect());
}

void TCustomComboBox::Open() {
  if (DroppedDown() || style_ == TComboBoxStyle::csSimple || !IsShowing()) return;
  TGuard guard(*this);
  if (!Notify(CBN_DROPDOWN)) return;
  if (!list_) list_ = new TComboListWindow(*this);
  list_->SetParentFont(false);
  list_->Font().Assign(Font());
  list_->SetColor(Color());
  indexBeforeDrop_ = itemIndex_;
  list_->Open(DropDownRect());
  list_->UpdateScrollBar();
  list_->SetHot(itemIndex_);
  Invalidate();
}

void TCustomComboBox::CloseList(bool cancel) {
  if (!DroppedDown()) return;
  closingCancel_ = cancel;
  list_->Close();  // comes back through the list's CloseUp to ListClosed
}

void TCustomComboBox::ListClosed() {
  const bool cancel = std::exchange(closingCancel_, false);
  Invalidate();
  TGuard guard(*this);
  if (cancel && indexBeforeDrop_ != itemIndex_) {
    if (indexBeforeDrop_ < 0) {
      SetItemIndex(-1);
    } else if (!ChooseItem(indexBeforeDrop_)) {
      return;
    }
  }
  if (guard.Alive()) Notify(CBN_CLOSEUP);
}

int TCustomComboBox::FindPrefix(const std::string& prefix, int from) const {
  const int count = items_->Count();
  for (int step = 0; step < count; ++step) {
    const int i = (from + step) % count;
    const std::string item = items_->Strings(i);
    if (item.size() >= prefix.size() && SameText(std::string_view(item).substr(0, prefix.size()), prefix)) return i;
  }
  return -1;
}

bool TCustomComboBox::HandleChar(char32_t c) {
  if (c < 0x20 || !ListStyle() || items_->Count() == 0) return false;
  const uint32_t now = GetTickCount();
  std::string typed;
  AppendCodePoint(typed, c);
  const bool continues = !typed_.empty() && now - typedAt_ < kTypeAheadMs;
  typedAt_ = now;
  const int current = DroppedDown() ? list_->Hot() : itemIndex_;
  int found;
  if (continues && typed_ != typed) {
    // A longer prefix: the current item may still fit it.
    typed_ += typed;
    found = FindPrefix(typed_, std::max(0, current));
  } else {
    // A new prefix, or the same letter again: the next item that begins with it.
    typed_ = typed;
    found = FindPrefix(typed_, current + 1);
  }
  if (found >= 0) ChooseItem(found);
  return true;
}

bool TCustomComboBox::HandleKey(WORD key, TShiftState shift) {
  const bool alt = shift.Contains(TShiftStateFlag::ssAlt);
  if ((key == VK_F4 && !alt) || (alt && (key == VK_DOWN || key == VK_UP))) {
    if (DroppedDown())
      CloseList(false);
    else
      Open();
    return true;
  }
  if (DroppedDown() && (key == VK_RETURN || key == VK_ESCAPE)) {
    const int hot = list_->Hot();
    TGuard guard(*this);
    CloseList(key == VK_ESCAPE);
    if (guard.Alive() && key == VK_RETURN && hot >= 0) ChooseItem(hot);
    return true;
  }
  const bool dropped = DroppedDown();
  const int count = items_->Count();
  const int current = dropped ? list_->Hot() : itemIndex_;
  const int page = std::max(1, (dropped ? list_->VisibleRows() : dropDownCount_) - 1);
  int target;
  switch (key) {
    case VK_UP: target = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: target = current + 1; break;
    case VK_LEFT:
    case VK_RIGHT:
      if (HasEdit()) return false;
      target = key == VK_LEFT ? current - 1 : current + 1;
      break;
    case VK_PRIOR: target = current - page; break;
    case VK_NEXT: target = current < 0 ? 0 : current + page; break;
    case VK_HOME:
      if (HasEdit()) return false;
      target = 0;
      break;
    case VK_END:
      if (HasEdit()) return false;
      target = count - 1;
      break;
    default: return false;
  }
  if (count > 0) ChooseItem(std::clamp(target, 0, count - 1));
  return true;
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT:
      if (!ownText_ && !fromEdit_ && ListStyle()) {
        // In the list styles the text is an item's: a text that is none is refused.
        const char* text = reinterpret_cast<const char*>(Message.LParam);
        const int index = text && *text ? items_->IndexOf(text) : -1;
        if (index < 0 && text && *text) {
          Message.Result = CB_ERR;
          return;
        }
        itemIndex_ = index;
      }
      break;
    case CM_TEXTCHANGED:
      if (!ownText_ && HasEdit()) itemIndex_ = items_->IndexOf(Text());
      if (edit_ && !fromEdit_) {
        ownText_ = true;
        edit_->SetText(Text());
        ownText_ = false;
      }
      Invalidate();
      break;
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
      TCustomControl::Dispatch(Message);
      SetBounds(Left(), Top(), Width(), Height());
      return;
    case CM_ENABLEDCHANGED:
      if (edit_) edit_->SetEnabled(Enabled());
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (Message.LParam != 0) return;  // the edit's, for descendants that track the mouse
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Message.Msg == WM_KILLFOCUS) {
        TGuard guard(*this);
        CloseList(false);  // its handlers may free the combo
        if (guard.Gone()) return;
      }
      if (edit_) edit_->Invalidate();
      Invalidate();
      break;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (DroppedDown()) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case CN_COMMAND:
      switch (static_cast<WORD>(Message.WParam >> 16)) {
        case CBN_SELCHANGE: {
          TGuard guard(*this);
          Click();
          if (guard.Alive()) Select();
          return;
        }
        case CBN_EDITCHANGE: Change(); return;
        case CBN_DROPDOWN: DropDown(); return;
        case CBN_CLOSEUP: CloseUp(); return;
        default: return;
      }
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomComboBox::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TGuard guard(*this);
      TCustomControl::DefaultHandler(Message);  // takes the focus
      if (guard.Gone() || !Focused()) return;
      const TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
      if (ListStyle() || PtInRect(ButtonRect(), at)) {
        buttonDown_ = true;
        SetDroppedDown(!DroppedDown());
      }
      return;
    }
    case WM_LBUTTONUP:
      if (std::exchange(buttonDown_, false)) Invalidate();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (HandleKey(static_cast<WORD>(Message.WParam), KeyboardStateToShiftState())) return;
      if (edit_) edit_->DefaultHandler(Message);
      return;
    case WM_CHAR:
      if (HandleChar(static_cast<char32_t>(Message.WParam))) return;
      if (edit_) edit_->DefaultHandler(Message);
      return;
    case CB_GETCOUNT: Message.Result = items_->Count(); return;
    case CB_GETCURSEL: Message.Result = itemIndex_; return;
    case CB_SETCURSEL:
      SetItemIndex(static_cast<int>(Message.WParam));
      Message.Result = itemIndex_ == static_cast<int>(Message.WParam) ? itemIndex_ : CB_ERR;
      return;
    case CB_SHOWDROPDOWN:
      SetDroppedDown(Message.WParam != 0);
      Message.Result = 1;
      return;
    case CB_GETDROPPEDSTATE: Message.Result = DroppedDown() ? 1 : 0; return;
    case CB_SETITEMHEIGHT: {
      const int height = static_cast<int>(Message.LParam);
      if (height <= 0 || height > 255) {
        Message.Result = CB_ERR;
        return;
      }
      if (static_cast<int>(Message.WParam) == -1) {
        editHeight_ = height;
        SetBounds(Left(), Top(), Width(), Height());
      } else {
        SetItemHeight(height);
      }
      return;
    }
    case CB_GETITEMHEIGHT:
      Message.Result = static_cast<int>(Message.WParam) == -1 ? EditHeight() : RowHeight(static_cast<int>(Message.WParam));
      return;
    case CB_SETDROPPEDWIDTH:
      SetDroppedWidth(static_cast<int>(Message.WParam));
      Message.Result = std::max(Width(), droppedWidth_);
      return;
    case CB_GETDROPPEDWIDTH: Message.Result = std::max(Width(), droppedWidth_); return;
    case CB_LIMITTEXT:
      SetMaxLength(static_cast<int>(Message.WParam));
      Message.Result = 1;
      return;
    case CB_SETEDITSEL:
    case CB_GETEDITSEL:
      if (!edit_) {
        Message.Result = CB_ERR;
        return;
      }
      if (Message.Msg == CB_GETEDITSEL) {
        Message.Result = edit_->Perform(EM_GETSEL, Message.WParam, Message.LParam);
      } else {
        const auto start = static_cast<int16_t>(Message.LParam & 0xFFFF);
        const auto end = static_cast<int16_t>((Message.LParam >> 16) & 0xFFFF);
        edit_->Perform(EM_SETSEL, static_cast<WPARAM>(static_cast<int64_t>(start)),
                       static_cast<LPARAM>(end));
        Message.Result = 1;
      }
      return;
    default:
      TCustomControl::DefaultHandler(Message);
  }
}

bool TCustomComboBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (DroppedDown()) {
    list_->Wheel(WheelDelta);
  } else if (items_->Count() > 0) {
    ChooseItem(std::clamp(itemIndex_ + (WheelDelta < 0 ? 1 : -1), 0, items_->Count() - 1));
  }
  return true;
}

void TCustomComboBox::DoEnter() {
  if (edit_ && GetKeyState(VK_LBUTTON) >= 0) edit_->SelectAll();
  TCustomControl::DoEnter();
}

void TCustomComboBox::DoExit() {
  CloseList(false);
  TCustomControl::DoExit();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  const bool selected = State.Contains(TOwnerDrawStateFlag::odSelected);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(selected ? clHighlight : Color());
  canvas.Font().SetColor(selected ? clHighlightText : (Enabled() ? Font().Color() : clGrayText));
  if (OwnerDrawn() && OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas.FillRect(Rect);
  if (Index < 0 || Index >= items_->Count()) return;
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.TextRect(Rect, Rect.Left + 2, Rect.Top + (Rect.Height() - canvas.TextHeight("Wg")) / 2, items_->Strings(Index));
}

void TCustomComboBox::PaintItem(TCanvas& canvas, int Index, TRect Rect, TOwnerDrawState State) {
  drawingOn_ = &canvas;
  try {
    DrawItem(Index, Rect, State);
  } catch (...) {
    drawingOn_ = nullptr;
    throw;
  }
  drawingOn_ = nullptr;
}

void TCustomComboBox::Paint() {
  TCanvas& canvas = TCustomControl::Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  if (ListStyle()) {
    // The selected item in the field: highlighted with a focus rectangle while the combo has the focus.
    TRect field = FieldRect();
    InflateRect(field, -2, -2);
    TOwnerDrawState state{TOwnerDrawStateFlag::odComboBoxEdit};
    const bool focused = Focused() && !DroppedDown();
    if (focused) state = state + TOwnerDrawStateFlag::odSelected + TOwnerDrawStateFlag::odFocused;
    if (!Enabled()) state = state + TOwnerDrawStateFlag::odDisabled;
    PaintItem(canvas, itemIndex_, field, state);
    if (focused) canvas.DrawFocusRect(field);
  }
  if (style_ != TComboBoxStyle::csSimple) {
    TRect button = ButtonRect();
    unsigned state = DFCS_SCROLLCOMBOBOX;
    if (!Enabled()) state |= DFCS_INACTIVE;
    if (DroppedDown() && buttonDown_) state |= DFCS_PUSHED;
    DrawFrameControl(canvas.Handle(), button, DFC_SCROLL, state);
  }
}

}  // namespace platform
