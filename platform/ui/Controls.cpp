#include "platform/ui/Controls.h"

#include <algorithm>
#include <optional>

#include "platform/core/Ascii.h"
#include "platform/core/StringGrowth.h"
#include "platform/gfx/Gdi.h"
#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/TopLevelWindow.h"

namespace platform {

namespace {

// The control holding the mouse capture; cleared when it goes.
TControl* g_capture = nullptr;

}  // namespace

TBackendCursor BackendCursorOf(TCursor cursor) {
  switch (cursor) {
    case crCross: return TBackendCursor::Cross;
    case crIBeam: return TBackendCursor::IBeam;
    case crSizeNESW: return TBackendCursor::SizeNESW;
    case crSizeNS: return TBackendCursor::SizeNS;
    case crSizeNWSE: return TBackendCursor::SizeNWSE;
    case crSizeWE: return TBackendCursor::SizeWE;
    case crUpArrow: return TBackendCursor::UpArrow;
    case crHourGlass: return TBackendCursor::Wait;
    case crDrag: return TBackendCursor::Drag;
    case crNoDrop:
    case crNo: return TBackendCursor::No;
    case crHSplit: return TBackendCursor::HSplit;
    case crVSplit: return TBackendCursor::VSplit;
    case crHandPoint: return TBackendCursor::HandPoint;
    case crSizeAll: return TBackendCursor::SizeAll;
    default: return TBackendCursor::Arrow;
  }
}

int TSizeConstraints::ConstrainWidth(int width) const {
  if (maxWidth_ > 0) width = std::min(width, maxWidth_);
  return std::max(width, minWidth_);
}

int TSizeConstraints::ConstrainHeight(int height) const {
  if (maxHeight_ > 0) height = std::min(height, maxHeight_);
  return std::max(height, minHeight_);
}

void TSizeConstraints::Assign(const TPersistent* Source) {
  auto* source = dynamic_cast<const TSizeConstraints*>(Source);
  if (!source) return TPersistent::Assign(Source);
  maxHeight_ = source->maxHeight_;
  maxWidth_ = source->maxWidth_;
  minHeight_ = source->minHeight_;
  minWidth_ = source->minWidth_;
  if (OnChange) OnChange();
}

void TSizeConstraints::Set(int& field, int value) {
  if (field == value) return;
  field = std::max(value, 0);
  if (OnChange) OnChange();
}

TControlCanvas::TControlCanvas() : TCanvas(scratch_), scratch_(1, 1) {}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this] { FontChanged(); };
  constraints_.OnChange = [this] { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl() {
  ApplicationHints().ControlDestroyed(this);
  if (g_capture == this) SetCaptureControl(nullptr);
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  HandleWindowMessage(message);
  return message.Result;
}

int TControl::AddWindowHook(TWindowHook Hook) {
  const int key = nextHookKey_++;
  hooks_.push_back(std::make_shared<TWindowHookLink>(TWindowHookLink{key, std::move(Hook)}));
  return key;
}

void TControl::RemoveWindowHook(int Key) {
  std::erase_if(hooks_, [Key](const auto& link) { return link->key == Key; });
}

void TControl::PassBelow(int Key, TMessage& Message) {
  auto below = std::find_if(hooks_.rbegin(), hooks_.rend(), [Key](const auto& link) { return link->key < Key; });
  if (below == hooks_.rend()) {
    WindowProc(Message);
    return;
  }
  // Held while it runs: its hooker may remove it, or the message may destroy the control.
  const std::shared_ptr<TWindowHookLink> link = *below;
  link->hook(Message, [this, guard = TGuard(*this), key = link->key](TMessage& m) {
    if (guard.Alive()) PassBelow(key, m);
  });
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (!controlStyle_.Contains(TControlStyleFlag::csDoubleClicks)) Message.Msg -= 2;  // a second press
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      ApplicationHints().CancelHint();
      if (controlStyle_.Contains(TControlStyleFlag::csCaptureMouse)) SetMouseCapture(true);
      if (controlStyle_.Contains(TControlStyleFlag::csClickEvents) &&
          (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK))
        controlState_.Include(TControlStateFlag::csClicked);
      break;
    case WM_MOUSEMOVE:
      ApplicationHints().HintMouseMessage(this, ClientToScreen({LParamX(Message.LParam), LParamY(Message.LParam)}));
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      ApplicationHints().CancelHint();
      break;
    default:
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: return HandleMouseButton(Message, TMouseButton::mbLeft, true, false);
    case WM_RBUTTONDOWN: return HandleMouseButton(Message, TMouseButton::mbRight, true, false);
    case WM_MBUTTONDOWN: return HandleMouseButton(Message, TMouseButton::mbMiddle, true, false);
    case WM_LBUTTONDBLCLK: return HandleMouseButton(Message, TMouseButton::mbLeft, true, true);
    case WM_RBUTTONDBLCLK: return HandleMouseButton(Message, TMouseButton::mbRight, true, true);
    case WM_MBUTTONDBLCLK: return HandleMouseButton(Message, TMouseButton::mbMiddle, true, true);
    case WM_LBUTTONUP: return HandleMouseButton(Message, TMouseButton::mbLeft, false, false);
    case WM_RBUTTONUP: return HandleMouseButton(Message, TMouseButton::mbRight, false, false);
    case WM_MBUTTONUP: return HandleMouseButton(Message, TMouseButton::mbMiddle, false, false);
    case WM_MOUSEMOVE: return HandleMouseMove(Message);
    case WM_MOUSEWHEEL: return HandleMouseWheel(Message);
    case WM_CANCELMODE:
      if (MouseCapture()) SetMouseCapture(false);
      return;
    case WM_CONTEXTMENU:
      if (enabled_ && HandleContextMenu(Message)) return;
      break;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        font_.Assign(parent_->Font());
        parentFont_ = true;  // the assignment counts as the parent's, not as a font of our own
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) {
        SetColor(parent_->Color());
        parentColor_ = true;
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parentShowHint_ && parent_) {
        SetShowHint(parent_->ShowHint());
        parentShowHint_ = true;
      }
      return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
      Invalidate();
      return;
    case CM_HITTEST:
      Message.Result = HTCLIENT;
      return;
    default:
      break;
  }
  DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(Message.LParam);
      text_ = text ? text : "";
      Message.Result = 1;
      Perform(CM_TEXTCHANGED);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(text_.size());
      return;
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(Message.LParam);
      if (!buffer || Message.WParam == 0) return;
      size_t n = std::min<size_t>(text_.size(), Message.WParam - 1);
      std::copy_n(text_.data(), n, buffer);
      buffer[n] = '\0';
      Message.Result = static_cast<LRESULT>(n);
      return;
    }
    case WM_CONTEXTMENU:
      if (parent_) Message.Result = parent_->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    default:
      return;
  }
}

void TControl::HandleMouseButton(TMessage& Message, TMouseButton button, bool down, bool doubleClick) {
  int x = LParamX(Message.LParam);
  int y = LParamY(Message.LParam);
  TShiftState shift = MouseKeysToShiftState(Message.WParam);
  bool std = !controlStyle_.Contains(TControlStyleFlag::csNoStdEvents);
  TGuard guard(*this);
  if (down) {
    DefaultHandler(Message);  // the window's own handling first, as a native window procedure would
    if (guard.Gone()) return;
    if (doubleClick) shift.Include(TShiftStateFlag::ssDouble);
    if (button == TMouseButton::mbLeft) controlState_.Include(TControlStateFlag::csLButtonDown);
    if (doubleClick && button == TMouseButton::mbLeft && controlStyle_.Contains(TControlStyleFlag::csClickEvents))
      DblClick();
    if (std && guard.Alive()) MouseDown(button, shift, x, y);
    return;
  }
  // The capture lasts while any button is held: a right click during a left drag leaves the drag's capture.
  const bool buttonHeld = (Message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
  if (controlStyle_.Contains(TControlStyleFlag::csCaptureMouse) && !buttonHeld) SetMouseCapture(false);
  if (button == TMouseButton::mbLeft) {
    controlState_.Exclude(TControlStateFlag::csLButtonDown);
    if (controlState_.Contains(TControlStateFlag::csClicked)) {
      controlState_.Exclude(TControlStateFlag::csClicked);
      if (PtInRect(ClientRect(), {x, y})) Click();
    }
  }
  if (guard.Gone()) return;
  if (std) MouseUp(button, shift, x, y);
  if (button == TMouseButton::mbRight && guard.Alive()) {
    TPoint at = ClientToScreen({x, y});
    Perform(WM_CONTEXTMENU, 0, PointToLParam(at.X, at.Y));
  }
}

bool TControl::HandleContextMenu(TMessage& Message) {
  const bool fromKeyboard = Message.LParam == -1;
  TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
  TPoint mousePos{-1, -1};
  if (!fromKeyboard) {
    mousePos = ScreenToClient(at);
    if (!PtInRect(ClientRect(), mousePos)) return false;  // released outside, the mouse captured
  }
  TGuard guard(*this);
  bool handled = false;
  DoContextPopup(mousePos, handled);
  if (guard.Gone() || handled) {
    Message.Result = 1;
    return true;
  }
  if (!popupMenu_) return false;
  if (fromKeyboard) at = ClientToScreen({0, 0});
  popupMenu_->SetPopupComponent(this);
  Message.Result = 1;
  popupMenu_->Popup(at.X, at.Y);
  return true;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::HandleMouseMove(TMessage& Message) {
  if (!controlStyle_.Contains(TControlStyleFlag::csNoStdEvents))
    MouseMove(MouseKeysToShiftState(Message.WParam), LParamX(Message.LParam), LParamY(Message.LParam));
}

void TControl::HandleMouseWheel(TMessage& Message) {
  TShiftState shift = MouseKeysToShiftState(Message.WParam & 0xFFFF);
  int delta = static_cast<int16_t>(static_cast<uint16_t>(Message.WParam >> 16));
  TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
  TGuard guard(*this);
  if (DoMouseWheel(shift, delta, at)) {
    Message.Result = 1;
    return;
  }
  if (guard.Alive() && parent_) Message.Result = parent_->Perform(Message.Msg, Message.WParam, Message.LParam);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  return WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = constraints_.ConstrainWidth(AWidth);
  AHeight = constraints_.ConstrainHeight(AHeight);
  if ((AWidth != width_ || AHeight != height_) && !CanResize(AWidth, AHeight)) {
    AWidth = width_;
    AHeight = height_;
  }
  KeepAlignedEdge(ALeft, ATop, AWidth, AHeight);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool resized = AWidth != width_ || AHeight != height_;
  Invalidate();
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (resized && !ComponentState().Contains(csLoading)) Resize();
}

// The alignment orders the controls of one side by the edge they face it with; a control aligned to
// the bottom or the right that is only resized keeps that edge, and so its place: a log panel that
// grows stays above the status bar. A resource being read sets the designed bounds as they stand.
void TControl::KeepAlignedEdge(int& ALeft, int& ATop, int AWidth, int AHeight) const {
  if (ComponentState().Contains(csLoading)) return;
  if (align_ == TAlign::alBottom && ATop == top_) ATop = top_ + height_ - AHeight;
  if (align_ == TAlign::alRight && ALeft == left_) ALeft = left_ + width_ - AWidth;
}

TRect TControl::ClientRect() const { return Rect(0, 0, width_, height_); }

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint origin = parent_->ClientOrigin();
  return {origin.X + left_, origin.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint origin = ClientOrigin();
  return {p.X + origin.X, p.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint origin = ClientOrigin();
  return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
  if (align_ == value) return;
  align_ = value;
  anchors_ = TAnchors{TAnchorKind::akLeft, TAnchorKind::akTop};
  RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
  anchors_ = value;
  UpdateAnchorRules();
}

void TControl::SetVisible(bool value) {
  if (visible_ == value) return;
  if (!value) Invalidate();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value);
  RequestAlign();
  Invalidate();
}

void TControl::Show() { SetVisible(true); }

void TControl::Hide() { SetVisible(false); }

void TControl::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor value) {
  if (color_ == value) {
    parentColor_ = false;
    return;
  }
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
  parentShowHint_ = false;
  if (showHint_ == value) return;
  showHint_ = value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  parentShowHint_ = value;
  if (value && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ == value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (value) value->FreeNotification(this);
}

void TControl::SetText(const std::string& value) {
  if (value == text_) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TControl::ReplaceOwnText(size_t from, size_t count, std::string_view with) {
  ReserveForGrowth(text_, text_.size() - count + with.size());
  text_.replace(from, count, with);
  Perform(CM_TEXTCHANGED);
}

void TControl::Invalidate() {
  if (!visible_ || !parent_ || !parent_->IsShowing()) return;
  if (TTopLevelWindow* top = TopLevelOf(this)) top->AddDirty(RectInTopLevel());
}

void TControl::Update() {
  if (TTopLevelWindow* top = TopLevelOf(this); top && top->IsDirty()) top->Paint();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (parent_) parent_->Invalidate();
}

bool TControl::MouseCapture() const { return g_capture == this; }

void TControl::SetMouseCapture(bool value) {
  if (value)
    SetCaptureControl(this);
  else if (g_capture == this)
    SetCaptureControl(nullptr);
}

bool TControl::IsShowing() const { return visible_ && parent_ && parent_->IsShowing(); }

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_) {
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

TRect TControl::RectInTopLevel() const {
  TPoint origin = WindowOriginInTop(this);
  TRect r = Bounds(origin.X, origin.Y, width_, height_);
  // Each parent's client area cuts what shows of its children.
  for (const TWinControl* p = parent_; p; p = p->Parent()) {
    TPoint client = WindowOriginInTop(p);
    int inset = p->BorderInset();
    TRect area = Bounds(client.X + inset, client.Y + inset, p->ClientWidth(), p->ClientHeight());
    IntersectRect(r, r, area);
  }
  return r;
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignChildren(this);
}

TControlCanvas& TControl::ControlCanvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TControlCanvas>();
    canvas_->Font().Assign(font_);
  }
  return *canvas_;
}

void TControl::FontChanged() {
  parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::UpdateAnchorRules() {
  if (!parent_ || parent_->ControlState().Contains(TControlStateFlag::csAligning) ||
      ComponentState().Contains(csLoading))
    return;
  anchorOrigin_ = BoundsRect();
  anchorParentSize_ = {parent_->ClientWidth(), parent_->ClientHeight()};
}

TRect TControl::AnchoredBounds(int parentWidth, int parentHeight) const {
  if (anchorParentSize_ == TSize{}) return BoundsRect();
  auto place = [](int origin, int size, int delta, bool nearSide, bool farSide, int& pos, int& extent) {
    pos = origin;
    extent = size;
    if (nearSide && farSide)
      extent = size + delta;
    else if (farSide)
      pos = origin + delta;
    else if (!nearSide)
      pos = origin + delta / 2;
  };
  TRect r;
  int w = 0;
  int h = 0;
  place(anchorOrigin_.Left, anchorOrigin_.Width(), parentWidth - anchorParentSize_.cx,
        anchors_.Contains(TAnchorKind::akLeft), anchors_.Contains(TAnchorKind::akRight), r.Left, w);
  place(anchorOrigin_.Top, anchorOrigin_.Height(), parentHeight - anchorParentSize_.cy,
        anchors_.Contains(TAnchorKind::akTop), anchors_.Contains(TAnchorKind::akBottom), r.Top, h);
  r.Right = r.Left + std::max(w, 0);
  r.Bottom = r.Top + std::max(h, 0);
  return r;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    if (Message.WParam != 0) Paint();
    return;
  }
  TControl::Dispatch(Message);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::PaintWindow(HDC DC) { Paint(); }

std::string GetShortHint(const std::string& Hint) { return Hint.substr(0, Hint.find('|')); }

std::string GetLongHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* c = Control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TControl* GetCaptureControl() { return g_capture; }

void SetCaptureControl(TControl* Control) {
  if (g_capture == Control) return;
  TControl* old = std::exchange(g_capture, Control);
  TTopLevelWindow* top = Control ? TopLevelOf(Control) : nullptr;
  if (top)
    Backend().SetCapture(top->Window());
  else
    Backend().ReleaseCapture();
  std::optional<TComponent::TGuard> guard;
  if (Control) guard.emplace(*Control);
  if (old) old->Perform(WM_CAPTURECHANGED, 0, 0);
  if (!guard || guard->Alive()) ApplicationHints().MouseCaptureChanged();
}

TControl* FindDragTarget(TPoint ScreenPos, bool AllowDisabled) {
  for (TCustomForm* form : Screen().FormsInZOrder()) {
    if (!form->Showing()) continue;
    TPoint p = form->ScreenToClient(ScreenPos);
    if (!PtInRect(form->ClientRect(), p)) continue;
    TControl* found = form;
    for (TWinControl* at = form; at;) {
      TControl* child = at->ControlAtPos(at->ScreenToClient(ScreenPos), AllowDisabled, true);
      if (!child) break;
      found = child;
      at = dynamic_cast<TWinControl*>(child);
    }
    return found;
  }
  return nullptr;
}

bool IsAccel(WPARAM key, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(caption[i + 1]);
    return c < 0x80 && key < 0x80 && AsciiUpper(static_cast<char>(c)) == AsciiUpper(static_cast<char>(key));
  }
  return false;
}

}  // namespace platform
