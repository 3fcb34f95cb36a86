#include <algorithm>
#include <map>

#include "platform/gfx/Gdi.h"
#include "platform/app/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/WindowScrollBars.h"

namespace platform {

namespace {

std::map<HWND, TWinControl*>& HandleMap() {
  static auto* controls = new std::map<HWND, TWinControl*>;  // never destroyed, as the window list
  return *controls;
}

// The key that is down was handled as a dialog key: its character (Tab, Enter, Escape) is not typed.
bool g_dialogKeyEaten = false;
// A menu took the key that is down: the character it makes is dropped too.
bool g_menuKeyEaten = false;

int InsetOf(const TCreateParams& params) {
  // The window manager draws the frame of a window with a caption, outside what the framework draws.
  if ((params.Style & WS_CAPTION) == WS_CAPTION) return 0;
  if (params.ExStyle & WS_EX_CLIENTEDGE) return 2;
  if (params.Style & WS_BORDER) return 1;
  return 0;
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { color_ = clBtnFace; }

TWinControl::~TWinControl() {
  Unfocus();
  DestroyHandle();
  // The children go with their parent, whoever owns them; each unlinks itself from its owner.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    delete child;
  }
  // Leaves the parent while still a windowed control, so the parent's tab order lets go of it too.
  if (Parent()) Parent()->RemoveControl(this);
}

void TWinControl::WndProc(TMessage& Message) {
  if (scrollBars_ && scrollBars_->HandleMessage(Message)) return;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      if (RouteMouseToChild(Message)) return;
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      g_dialogKeyEaten = false;
      g_menuKeyEaten = false;
      {
        TGuard guard(*this);
        if (Perform(CN_KEYDOWN, Message.WParam, Message.LParam) != 0) {
          g_dialogKeyEaten = true;
          return;
        }
        if (guard.Gone()) return;
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // A key's character comes before its release: a key that made none (an arrow, F10) must not
      // take the next key's character with it.
      g_dialogKeyEaten = false;
      g_menuKeyEaten = false;
      if (Message.WParam == VK_MENU && MenuAltReleased(*this)) return;
      break;
    case WM_CHAR:
      if (std::exchange(g_menuKeyEaten, false)) return;
      if (std::exchange(g_dialogKeyEaten, false) &&
          (Message.WParam == '\t' || Message.WParam == '\r' || Message.WParam == 0x1B))
        return;
      break;
    default:
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (Message.WParam != 0) {
        TGuard guard(*this);
        PaintWindow(reinterpret_cast<HDC>(Message.WParam));
        if (guard.Alive()) PaintControls(reinterpret_cast<HDC>(Message.WParam));
      }
      return;
    case WM_ERASEBKGND:
      if (Message.WParam != 0) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        TBrush saved;
        saved.Assign(dc->Brush());
        dc->Brush().SetColor(color_);
        dc->Brush().SetStyle(TBrushStyle::bsSolid);
        dc->FillRect(ClientRect());
        dc->Brush().Assign(saved);
        Message.Result = 1;
      }
      return;
    case WM_NCPAINT:
      if (Message.WParam != 0) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        TRect r = Rect(0, 0, Width(), Height());
        if (BorderInset() == 2)
          DrawEdge(dc, r, EDGE_SUNKEN, BF_RECT);
        else if (BorderInset() == 1) {
          dc->Brush().SetColor(clWindowFrame);
          dc->FrameRect(r);
        }
        if (scrollBars_) scrollBars_->PaintNonClient(*dc, BorderInset());
      }
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // A scroll bar control's report goes back to the control.
      if (TWinControl* bar = Message.LParam ? FindControl(static_cast<HWND>(Message.LParam)) : nullptr) {
        Message.Result = bar->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_SIZE: {
      TGuard guard(*this);
      Realign();
      if (guard.Alive() && !ComponentState().Contains(csLoading)) Resize();
      return;
    }
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
      return;
    case WM_SETCURSOR: {
      TCursor cursor = Screen().Cursor();
      if (cursor == crDefault) {
        TPoint at = ScreenToClient(Backend().CursorPos());
        if (TControl* child = ControlAtPos(at, false); child && !dynamic_cast<TWinControl*>(child))
          cursor = child->Cursor();
        if (cursor == crDefault) cursor = Cursor();
      }
      // No control up to the window asks for a cursor: the window's own, the arrow, replaces the last.
      if (cursor == crDefault && !Parent()) cursor = crArrow;
      if (cursor != crDefault) {
        if (TTopLevelWindow* top = TopLevelOf(this)) ShowBackendCursor(top->Window(), cursor);
        Message.Result = 1;
      } else {
        Message.Result = Parent()->Perform(WM_SETCURSOR, Message.WParam, Message.LParam);
      }
      return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(Message.WParam);
      if (DoKeyDown(key, Message.LParam)) return;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(Message.WParam);
      if (DoKeyUp(key, Message.LParam)) return;
      break;
    }
    case WM_CHAR: {
      char32_t key = static_cast<char32_t>(Message.WParam);
      if (DoKeyPress(key)) return;
      Message.WParam = key;
      break;
    }
    case CN_KEYDOWN:
      Message.Result = HandleDialogKey(Message) ? 1 : 0;
      return;
    case CM_CHILDKEY:
      if (Parent()) Message.Result = Parent()->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(Message);
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case CM_VISIBLECHANGED:
      if (!Visible() && Focused()) Unfocus();
      UpdateShowing();
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled() && Focused()) Unfocus();
      Invalidate();
      return;
    case CM_FONTCHANGED:
      Invalidate();
      NotifyControls(CM_PARENTFONTCHANGED);
      return;
    case CM_COLORCHANGED:
      Invalidate();
      NotifyControls(CM_PARENTCOLORCHANGED);
      return;
    case CM_SHOWHINTCHANGED:
      NotifyControls(CM_PARENTSHOWHINTCHANGED);
      return;
    case CM_CURSORCHANGED:
      // A new cursor shows at once, not at the next mouse move, while the mouse is over the control or
      // the control holds the capture.
      if (GetCaptureControl() == this || FindDragTarget(Backend().CursorPos(), true) == this)
        Perform(WM_SETCURSOR, 0, HTCLIENT);
      return;
    case WM_SYSCOLORCHANGE:
      Perform(CM_SYSCOLORCHANGE, Message.WParam, Message.LParam);
      return;
    case WM_WININICHANGE:
      Perform(CM_WININICHANGE, Message.WParam, Message.LParam);
      return;
    case CM_SYSCOLORCHANGE:
    case CM_SYSFONTCHANGED:
    case CM_WININICHANGE:
      Broadcast(Message);
      Invalidate();
      return;
    case CM_RECREATEWND:
      RecreateWnd();
      return;
    default:
      break;
  }
  TControl::Dispatch(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && tabStop_ && !Focused() && CanFocus()) {
    SetFocus();
    return;
  }
  TControl::DefaultHandler(Message);
}

bool TWinControl::RouteMouseToChild(TMessage& Message) {
  TPoint at{LParamX(Message.LParam), LParamY(Message.LParam)};
  TControl* target = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture && capture != this) {
    if (capture->Parent() == this && !dynamic_cast<TWinControl*>(capture)) target = capture;
  } else if (!capture) {
    target = ControlAtPos(at, false);
  }
  if (!target) return false;
  Message.Result = target->Perform(Message.Msg, Message.WParam, PointToLParam(at.X - target->Left(), at.Y - target->Top()));
  return true;
}

HWND TWinControl::Handle() {
  if (!HandleAllocated()) CreateHandle();
  return handle_.Handle();
}

void TWinControl::CreateHandle() {
  if (HandleAllocated()) return;
  if (Parent()) Parent()->HandleNeeded();
  CreateWnd();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  CreateWindowHandle(params);
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = Text();
  Params.Style = (Parent() ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (tabStop_) Params.Style |= WS_TABSTOP;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  Params.WndParent = Parent() && Parent()->HandleAllocated() ? Parent()->handle_.Handle() : HWND{};
  Params.WindowClass.style = CS_DBLCLKS;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  // Forms are listed in the window station, so other programs find them by class and caption; once the
  // loop is idle, after their first paint.
  bool listed = !Parent() && !(Params.Style & WS_CHILD) && dynamic_cast<TCustomForm*>(this);
  handle_ = WindowHandle(Params.WinClassName, Params.Caption, listed ? WindowKind::TopLevel : WindowKind::Hidden,
                         [this](TMessage& message) { HandleWindowMessage(message); }, StationListing::WhenIdle);
  cachedInset_ = InsetOf(Params);
  HandleMap()[handle_.Handle()] = this;
  if (Params.Style & (WS_HSCROLL | WS_VSCROLL)) {
    scrollBars_ = std::make_unique<TWindowScrollBars>(*this);
    scrollBars_->ShowInitially((Params.Style & WS_HSCROLL) != 0, (Params.Style & WS_VSCROLL) != 0);
  }
  if (!Parent()) topLevel_ = std::make_unique<TTopLevelWindow>(*this, Params);
  Perform(WM_CREATE);
}

void TWinControl::DestroyHandle() {
  if (!HandleAllocated()) return;
  for (TWinControl* child : tabList_) child->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle() {
  Perform(WM_DESTROY);
  std::unique_ptr<TWindowScrollBars> bars = std::move(scrollBars_);  // the bars go with the window
  bars.reset();
  topLevel_.reset();
  HandleMap().erase(handle_.Handle());
  handle_.Reset();
  cachedInset_ = -1;
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  bool wasShowing = showing_;
  DestroyHandle();
  std::vector<TWinControl*> stack{this};
  while (!stack.empty()) {  // the whole subtree shows again from scratch
    TWinControl* c = stack.back();
    stack.pop_back();
    c->showing_ = false;
    stack.insert(stack.end(), c->tabList_.begin(), c->tabList_.end());
  }
  if (wasShowing)
    UpdateShowing();
  else
    CreateHandle();
}

TBackendWindow TWinControl::BackendWindow() const { return topLevel_ ? topLevel_->Window() : TBackendWindow{}; }

void TWinControl::UpdateShowing() {
  bool now = Visible() && (Parent() ? Parent()->showing_ : true) && !ComponentState().Contains(csDestroying);
  if (now) HandleNeeded();
  if (now != showing_) {
    showing_ = now;
    if (topLevel_) {
      if (now) {
        Backend().SetBounds(topLevel_->Window(), BoundsRect());
        topLevel_->AddDirty(Rect(0, 0, Width(), Height()));
      }
      Backend().ShowWindow(topLevel_->Window(), now);
    }
    Perform(CM_SHOWINGCHANGED);
  }
  std::vector<TWinControl*> children = tabList_;
  for (TWinControl* child : children) child->UpdateShowing();
}

TWinControl* FindControl(HWND Handle) {
  auto it = HandleMap().find(Handle);
  return it == HandleMap().end() ? nullptr : it->second;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool AllowDisabled, bool AllowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
    if (windowed && !AllowWinControls) continue;
    if (!c->Visible() || (!c->Enabled() && !AllowDisabled)) continue;
    if (!PtInRect(c->BoundsRect(), pos)) continue;
    if (c->Perform(CM_HITTEST, 0, PointToLParam(pos.X - c->Left(), pos.Y - c->Top())) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->parent_ = this;
  // Windowed children lie above the graphic ones.
  auto* windowed = dynamic_cast<TWinControl*>(AControl);
  if (windowed)
    controls_.push_back(AControl);
  else
    controls_.insert(std::find_if(controls_.begin(), controls_.end(),
                                  [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; }),
                     AControl);
  if (windowed) tabList_.push_back(windowed);
  if (AControl->ParentFont()) AControl->Perform(CM_PARENTFONTCHANGED);
  if (AControl->ParentColor()) AControl->Perform(CM_PARENTCOLORCHANGED);
  if (AControl->ParentShowHint()) AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  AControl->UpdateAnchorRules();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
  if (windowed) windowed->UpdateShowing();
  AControl->RequestAlign();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(controls_.begin(), controls_.end(), AControl);
  if (it == controls_.end()) return;
  AControl->Invalidate();
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(AControl);
  if (TControl* capture = GetCaptureControl()) {
    auto* windowed = dynamic_cast<TWinControl*>(AControl);
    if (capture == AControl || (windowed && windowed->ContainsControl(capture))) SetCaptureControl(nullptr);
  }
  controls_.erase(std::find(controls_.begin(), controls_.end(), AControl));
  tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                [AControl](TWinControl* w) { return static_cast<TControl*>(w) == AControl; }),
                 tabList_.end());
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
    windowed->DestroyHandle();
    windowed->showing_ = false;
  }
  AControl->parent_ = nullptr;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (AControl->Align() != TAlign::alNone) Realign();
}

void TWinControl::SetTabStop(bool value) {
  if (tabStop_ == value) return;
  tabStop_ = value;
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int count = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found != list.end() ? static_cast<int>(found - list.begin()) : (GoForward ? count - 1 : 0);
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (const TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return form->Visible() && form->Enabled();
}

bool TWinControl::Focused() const { return Screen().FocusedControl() == this; }

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  form->FocusControl(this);
}

void TWinControl::Unfocus() {
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this);
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() { AlignChildren(nullptr); }

void TWinControl::AlignChildren(TControl* moved) {
  if (controlState_.Contains(TControlStateFlag::csAligning)) return;
  if (alignDisabled_ > 0 || ComponentState().Contains(csLoading)) {
    alignPending_ = true;
    return;
  }
  alignPending_ = false;
  TRect r = ClientRect();
  AdjustClientRect(r);
  controlState_.Include(TControlStateFlag::csAligning);
  try {
    AlignControls(moved, r);
  } catch (...) {
    controlState_.Exclude(TControlStateFlag::csAligning);
    throw;
  }
  controlState_.Exclude(TControlStateFlag::csAligning);
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Visible() && c->Align() == align) list.push_back(c);
    // The order of placing: by position toward the side they align to; the moved control before one at
    // the same position; otherwise creation order.
    auto key = [align](const TControl* c) {
      switch (align) {
        case TAlign::alTop: return c->Top();
        case TAlign::alBottom: return -(c->Top() + c->Height());
        case TAlign::alLeft: return c->Left();
        case TAlign::alRight: return -(c->Left() + c->Width());
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
      if (key(a) != key(b)) return key(a) < key(b);
      return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
      int w = c->Width();
      int h = c->Height();
      switch (align) {
        case TAlign::alTop:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
          Rect.Top += c->Height();
          break;
        case TAlign::alBottom:
          c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
          Rect.Bottom -= c->Height();
          break;
        case TAlign::alLeft:
          c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
          Rect.Left += c->Width();
          break;
        case TAlign::alRight:
          c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
          Rect.Right -= c->Width();
          break;
        default:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
          break;
      }
    }
  }
  int width = ClientWidth();
  int height = ClientHeight();
  for (TControl* c : controls_)
    if (c->Align() == TAlign::alNone && c->Anchors() != TAnchors{TAnchorKind::akLeft, TAnchorKind::akTop})
      c->SetBoundsRect(c->AnchoredBounds(width, height));
}

void TWinControl::Broadcast(TMessage& Message) {
  std::vector<TControl*> children = controls_;
  for (TControl* child : children) {
    if (std::find(controls_.begin(), controls_.end(), child) == controls_.end()) continue;
    child->HandleWindowMessage(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage message{Msg, 0, 0, 0};
  Broadcast(message);
}

int TWinControl::BorderInset() const {
  if (cachedInset_ >= 0) return cachedInset_;
  TCreateParams params;
  const_cast<TWinControl*>(this)->CreateParams(params);
  return InsetOf(params);
}

TRect TWinControl::ClientRect() const {
  int inset = BorderInset();
  int width = Width() - 2 * inset, height = Height() - 2 * inset;
  if (scrollBars_) {
    width -= scrollBars_->ReservedWidth();
    height -= scrollBars_->ReservedHeight();
  }
  return Rect(0, 0, std::max(width, 0), std::max(height, 0));
}

bool TWinControl::HasNonClientArea() const {
  return BorderInset() > 0 || (scrollBars_ && (scrollBars_->ReservedWidth() > 0 || scrollBars_->ReservedHeight() > 0));
}

TPoint TWinControl::ClientOrigin() const {
  int inset = BorderInset();
  if (!Parent()) return {Left() + inset, Top() + inset};
  TPoint origin = Parent()->ClientOrigin();
  return {origin.X + Left() + inset, origin.Y + Top() + inset};
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = Constraints().ConstrainWidth(AWidth);
  AHeight = Constraints().ConstrainHeight(AHeight);
  if ((AWidth != Width() || AHeight != Height()) && !CanResize(AWidth, AHeight)) {
    AWidth = Width();
    AHeight = Height();
  }
  KeepAlignedEdge(ALeft, ATop, AWidth, AHeight);
  TWindowPos pos{handle_.Handle(), ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE};
  Perform(WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (pos.x == Left() && pos.y == Top() && pos.cx == Width() && pos.cy == Height()) return;
  bool resized = pos.cx != Width() || pos.cy != Height();
  if (Parent()) TControl::Invalidate();
  left_ = pos.x;
  top_ = pos.y;
  width_ = pos.cx;
  height_ = pos.cy;
  UpdateAnchorRules();
  if (topLevel_) {
    Backend().SetBounds(topLevel_->Window(), BoundsRect());
    if (resized) topLevel_->AddDirty(Rect(0, 0, width_, height_));
  } else {
    TControl::Invalidate();
  }
  TGuard guard(*this);
  Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (guard.Alive() && resized)
    Perform(WM_SIZE, SIZE_RESTORED, PointToLParam(ClientWidth(), ClientHeight()));
  if (guard.Alive()) RequestAlign();
}

void TWinControl::Invalidate() {
  if (topLevel_) {
    if (showing_) topLevel_->AddDirty(Rect(0, 0, Width(), Height()));
    return;
  }
  TControl::Invalidate();
}

void TWinControl::InvalidateRect(const TRect& Rect) {
  if (topLevel_ ? !showing_ : !Visible() || !Parent() || !Parent()->IsShowing()) return;
  TTopLevelWindow* top = TopLevelOf(this);
  if (!top) return;
  const TPoint origin = WindowOriginInTop(this);
  const int inset = BorderInset();
  TRect dirty = Rect;
  OffsetRect(dirty, origin.X + inset, origin.Y + inset);
  if (!IntersectRect(dirty, dirty, Bounds(origin.X + inset, origin.Y + inset, ClientWidth(), ClientHeight()))) return;
  if (!topLevel_ && !IntersectRect(dirty, dirty, RectInTopLevel())) return;
  top->AddDirty(dirty);
}

void TWinControl::Update() { TControl::Update(); }

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoKeyDown(WORD& key, LPARAM keyData) {
  TGuard guard(*this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(key, keyData)) return true;
  if (guard.Gone()) return true;
  if (!ControlStyle().Contains(TControlStyleFlag::csNoStdEvents)) {
    KeyDown(key, KeyboardStateToShiftState());
    if (guard.Gone() || key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(WORD& key, LPARAM keyData) {
  TGuard guard(*this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(key, keyData)) return true;
  if (guard.Gone()) return true;
  if (!ControlStyle().Contains(TControlStyleFlag::csNoStdEvents)) {
    KeyUp(key, KeyboardStateToShiftState());
    if (guard.Gone() || key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(char32_t& key) {
  TGuard guard(*this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(key)) return true;
  if (guard.Gone()) return true;
  if (!ControlStyle().Contains(TControlStyleFlag::csNoStdEvents)) {
    KeyPress(key);
    if (guard.Gone() || key == 0) return true;
  }
  return false;
}

bool TWinControl::HandleDialogKey(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return false;
  // Open menus, the menu bar and menu shortcuts see the key before the control.
  if (MenuKeyDown(*this, static_cast<WORD>(Message.WParam), KeyboardStateToShiftState())) {
    g_menuKeyEaten = true;
    return true;
  }
  TGuard guard(*this);
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return true;
  if (guard.Gone()) return true;
  // Alt with a letter or digit is a mnemonic: the form offers it to its controls as a dialog char.
  const bool alt = (Message.LParam & (LPARAM{1} << 29)) != 0;
  const bool alnum = (Message.WParam >= 'A' && Message.WParam <= 'Z') || (Message.WParam >= '0' && Message.WParam <= '9');
  if (alt && alnum) {
    TCustomForm* form = GetParentForm(this);
    return form && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0;
  }
  LRESULT mask = 0;
  switch (Message.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: return false;
  }
  if (Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) != 0) return false;
  if ((Perform(WM_GETDLGCODE) & mask) != 0) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0;
}

void TWinControl::PaintControls(HDC DC) {
  if (!paintClip_) return;
  const PaintClip& clip = *paintClip_;
  std::vector<TControl*> children = controls_;
  for (TControl* child : children) {
    if (dynamic_cast<TWinControl*>(child) || !child->Visible()) continue;
    if (std::find(controls_.begin(), controls_.end(), child) == controls_.end()) continue;
    TPoint origin{clip.origin.X + child->Left(), clip.origin.Y + child->Top()};
    Region region(Bounds(origin.X, origin.Y, child->Width(), child->Height()));
    region.Intersect(clip.region);
    if (region.Empty()) continue;
    TControlCanvas& canvas = child->ControlCanvas();
    BindCanvas(canvas, PaintClip{clip.buffer, region, origin});
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<TCanvas*>(&canvas)));
  }
}

}  // namespace platform
