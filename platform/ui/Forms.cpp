#include "platform/ui/Forms.h"

#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

void MoveToFront(std::vector<TCustomForm*>& list, TCustomForm* form) {
  list.erase(std::remove(list.begin(), list.end(), form), list.end());
  list.insert(list.begin(), form);
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  visible_ = false;
  parentFont_ = false;
  parentColor_ = false;
  parentShowHint_ = false;
  width_ = 320;
  height_ = 240;
  formState_.Include(TFormStateFlag::fsCreating);
  Screen().forms_.push_back(this);
  Screen().zOrder_.push_back(this);
  // The user's sizing through a window manager keeps within the constraints too.
  Constraints().OnChange = [this, keepBounds = std::move(Constraints().OnChange)] {
    const TSizeConstraints& limits = Constraints();
    if (BackendWindow() != TBackendWindow{})
      Backend().SetSizeLimits(BackendWindow(), {limits.MinWidth(), limits.MinHeight()},
                              {limits.MaxWidth(), limits.MaxHeight()});
    keepBounds();
  };
}

bool TCustomForm::CanResize(int& NewWidth, int& NewHeight) {
  constexpr int kSizingFrame = 8;
  const TRect screen = Backend().ScreenRect();
  NewWidth = std::min(NewWidth, screen.Width() + 2 * kSizingFrame);
  NewHeight = std::min(NewHeight, screen.Height() + 2 * kSizingFrame);
  return true;
}

TCustomForm::~TCustomForm() {
  if (created_ && OnDestroy) OnDestroy(this);
  TScreen& screen = Screen();
  screen.forms_.erase(std::remove(screen.forms_.begin(), screen.forms_.end(), this), screen.forms_.end());
  screen.zOrder_.erase(std::remove(screen.zOrder_.begin(), screen.zOrder_.end(), this), screen.zOrder_.end());
  if (screen.activeForm_ == this) screen.activeForm_ = nullptr;
  if (screen.focused_ && GetParentForm(screen.focused_) == this) screen.focused_ = nullptr;
  if (Application().MainForm() == this) Application().MainFormDestroyed();
  DestroyHandle();  // while the form is whole, for those that hear WM_DESTROY
}

void TCustomForm::AfterConstruction() {
  formState_.Exclude(TFormStateFlag::fsCreating);
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      SetActive(Message.WParam != WA_INACTIVE);
      return;
    case CM_ACTIVATE:
      Activate();
      return;
    case CM_DEACTIVATE:
      Deactivate();
      return;
    case CM_DIALOGKEY:
      if (DialogKey(Message)) return;
      break;
    case CM_TEXTCHANGED:
      if (HandleAllocated()) {
        SetWindowText(Handle(), Text());
        if (BackendWindow() != TBackendWindow{}) Backend().SetCaption(BackendWindow(), Text());
      }
      return;
    case CM_SHOWINGCHANGED:
      if (Showing())
        DoShow();
      else
        DoHide();
      return;
    case WM_SETFOCUS:
      // The form's own window has the focus: give it to the active control.
      if (activeControl_ && activeControl_ != this && activeControl_->CanFocus()) {
        SetWindowFocus(activeControl_);
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::Dispatch(Message);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style &= ~WS_CHILD;
  Params.Style |= WS_CLIPCHILDREN;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone: Params.Style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsDialog: Params.Style |= WS_CAPTION; break;
    case TFormBorderStyle::bsSizeable: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case TFormBorderStyle::bsToolWindow:
      Params.Style |= WS_CAPTION;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && borderStyle_ != TFormBorderStyle::bsDialog &&
      borderIcons_.Contains(TBorderIcon::biSystemMenu)) {
    if (borderIcons_.Contains(TBorderIcon::biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (borderIcons_.Contains(TBorderIcon::biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
  }
  if (borderStyle_ == TFormBorderStyle::bsDialog) Params.ExStyle |= WS_EX_DLGMODALFRAME;
  if (TCustomForm* active = Screen().ActiveForm(); active && active != this && active->HandleAllocated())
    Params.WndParent = active->Handle();
}

void TCustomForm::PaintWindow(HDC DC) { Paint(); }

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (borderIcons_ == value) return;
  borderIcons_ = value;
  RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState value) {
  if (windowState_ == value) return;
  if (windowState_ == TWindowState::wsNormal) normalBounds_ = BoundsRect();
  TWindowState old = windowState_;
  windowState_ = value;
  // The backend hears of the state before the bounds that go with it: a window manager that maximises
  // the window itself then never sees the whole screen asked for as the window's normal place.
  if (BackendWindow() != TBackendWindow{})
    Backend().SetWindowState(BackendWindow(), static_cast<TBackendWindowState>(static_cast<int>(value)));
  if (value == TWindowState::wsMaximized)
    SetBoundsRect(Screen().WorkAreaRect());
  else if (value == TWindowState::wsNormal && old == TWindowState::wsMaximized)
    SetBoundsRect(normalBounds_);
}

void TCustomForm::BackendPlaced(const TRect& bounds, TBackendWindowState state) {
  auto value = static_cast<TWindowState>(static_cast<int>(state));
  if (windowState_ == TWindowState::wsNormal && value != TWindowState::wsNormal) normalBounds_ = BoundsRect();
  windowState_ = value;
  if (value != TWindowState::wsMinimized) SetBoundsRect(bounds);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (activeControl_ == Control) return;
  if (Control && (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
    throw EInvalidOperation("Invalid control to make active: it must be a focusable control on the form");
  if (!Control) {
    activeControl_ = nullptr;
    if (active_) SetWindowFocus(this);
    return;
  }
  FocusControl(Control);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (BackendWindow() != TBackendWindow{}) Backend().Activate(BackendWindow());
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || formState_.Contains(TFormStateFlag::fsModal))
    throw EInvalidOperation("Cannot make a visible window modal");
  SetCaptureControl(nullptr);
  ApplicationHints().CancelHint();
  formState_.Include(TFormStateFlag::fsModal);
  std::vector<TCustomForm*> disabled;
  for (TCustomForm* form : Screen().forms_)
    if (form != this && form->Visible() && form->Enabled()) {
      form->SetEnabled(false);
      disabled.push_back(form);
    }
  TCustomForm* before = Screen().ActiveForm();
  TGuard guard(*this);
  auto restore = [&] {
    for (TCustomForm* form : disabled)
      if (std::find(Screen().forms_.begin(), Screen().forms_.end(), form) != Screen().forms_.end())
        form->SetEnabled(true);
    if (before && std::find(Screen().forms_.begin(), Screen().forms_.end(), before) != Screen().forms_.end() &&
        before->BackendWindow() != TBackendWindow{} && before->Visible())
      Backend().Activate(before->BackendWindow());
  };
  TModalResult result = mrCancel;
  try {
    RecreateWnd();  // a modal window is transient for the active one
    modalResult_ = mrNone;
    Show();
    do {
      Application().HandleMessage();
      if (guard.Gone()) break;
      if (Application().Terminated())
        modalResult_ = mrCancel;
      else if (modalResult_ != mrNone)
        CloseModal();
    } while (modalResult_ == mrNone);
    if (guard.Alive()) {
      result = modalResult_;
      Hide();
      formState_.Exclude(TFormStateFlag::fsModal);
    }
  } catch (...) {
    if (guard.Alive()) formState_.Exclude(TFormStateFlag::fsModal);
    restore();
    throw;
  }
  restore();
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = TCloseAction::caNone;
  TGuard guard(*this);
  if (CloseQuery()) {
    action = TCloseAction::caHide;
    if (guard.Alive()) DoClose(action);
  }
  if (guard.Gone()) return;
  if (action == TCloseAction::caNone)
    modalResult_ = mrNone;
  else if (action == TCloseAction::caFree)
    Release();
}

void TCustomForm::Close() {
  if (formState_.Contains(TFormStateFlag::fsModal)) {
    modalResult_ = mrCancel;
    return;
  }
  TGuard guard(*this);
  if (!CloseQuery() || guard.Gone()) return;
  TCloseAction action = TCloseAction::caHide;
  DoClose(action);
  if (guard.Gone() || action == TCloseAction::caNone) return;
  if (Application().MainForm() == this)
    Application().Terminate();
  else if (action == TCloseAction::caHide)
    Hide();
  else if (action == TCloseAction::caMinimize)
    SetWindowState(TWindowState::wsMinimized);
  else
    Release();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Release() { Application().ReleaseLater(this); }

void TCustomForm::DoShow() {
  PlaceOnShow();
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::PlaceOnShow() {
  if (windowState_ != TWindowState::wsNormal) return;
  TRect area = Screen().WorkAreaRect();
  switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
      SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
      break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
      TCustomForm* center = Application().MainForm();
      if (position_ == TPosition::poOwnerFormCenter) center = dynamic_cast<TCustomForm*>(Owner());
      if (!center || center == this) center = nullptr;
      TRect r = center ? center->BoundsRect() : area;
      SetBounds(r.Left + (r.Width() - Width()) / 2, r.Top + (r.Height() - Height()) / 2, Width(), Height());
      break;
    }
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly: {
      // Cascaded from the work area's corner, one step per form already shown.
      int shown = 0;
      for (TCustomForm* form : Screen().forms_)
        if (form != this && form->Visible()) ++shown;
      int step = 24 * (shown % 8);
      SetBounds(area.Left + step, area.Top + step, Width(), Height());
      break;
    }
    default:
      break;
  }
}

void TCustomForm::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  TGuard guard(*this);
  TScreen& screen = Screen();
  if (value) {
    screen.activeForm_ = this;
    MoveToFront(screen.zOrder_, this);
    if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
    Perform(CM_ACTIVATE);
    if (guard.Gone() || !active_) return;
    SetWindowFocus(activeControl_ && activeControl_->CanFocus() ? activeControl_ : this);
    return;
  }
  if (screen.focused_ && GetParentForm(screen.focused_) == this) {
    TWinControl* old = std::exchange(screen.focused_, nullptr);
    old->Perform(WM_KILLFOCUS);
    if (guard.Gone()) return;
  }
  if (screen.activeForm_ == this) screen.activeForm_ = nullptr;
  Perform(CM_DEACTIVATE);
}

void TCustomForm::FocusControl(TWinControl* Control) {
  if (active_) {
    SetWindowFocus(Control);
    return;
  }
  activeControl_ = Control == this ? nullptr : Control;
}

void TCustomForm::SetWindowFocus(TWinControl* control) {
  TScreen& screen = Screen();
  TWinControl* old = screen.focused_;
  if (old == control) return;
  screen.focused_ = control;
  if (old) {
    TComponent::TGuard guard(*control);
    old->Perform(WM_KILLFOCUS, 0);
    if (guard.Gone() || screen.focused_ != control) return;
  }
  control->Perform(WM_SETFOCUS, 0);
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  activeControl_ = Control == this ? nullptr : Control;
  if (Control->ControlState().Contains(TControlStateFlag::csFocusing)) return false;
  int count = ++focusCount_;
  TGuard guard(*this);
  TGuard controlGuard(*Control);
  auto stillOurs = [&] { return guard.Alive() && controlGuard.Alive() && focusCount_ == count; };
  Control->controlState_.Include(TControlStateFlag::csFocusing);
  if (!focusedControl_) focusedControl_ = this;
  while (focusedControl_ && !focusedControl_->ContainsControl(Control)) {
    TWinControl* leaving = focusedControl_;
    focusedControl_ = leaving->Parent();
    leaving->Perform(CM_EXIT);
    if (!stillOurs()) break;
  }
  while (stillOurs() && focusedControl_ != Control) {
    TWinControl* entering = Control;
    while (entering->Parent() != focusedControl_) entering = entering->Parent();
    focusedControl_ = entering;
    entering->Perform(CM_ENTER);
  }
  if (controlGuard.Alive()) Control->controlState_.Exclude(TControlStateFlag::csFocusing);
  if (!stillOurs()) return false;
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TCustomForm::DefocusControl(TControl* Control) {
  auto contains = [Control](const TControl* c) {
    for (; c; c = c->Parent())
      if (c == Control) return true;
    return false;
  };
  if (contains(activeControl_)) activeControl_ = nullptr;
  if (contains(focusedControl_)) focusedControl_ = Control->Parent();
  TScreen& screen = Screen();
  if (contains(screen.focused_)) screen.focused_ = active_ ? this : nullptr;
}

bool TCustomForm::DialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) < 0) return false;
  switch (Message.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result = 1;
        return true;
      }
      return false;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (activeControl_ && activeControl_->Parent()) {
        activeControl_->Parent()->SelectNext(activeControl_, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN,
                                             false);
        Message.Result = 1;
      }
      return true;
    default:
      return false;
  }
}

TScreen::TScreen() {
  hintFont_.SetName("Tahoma");
  hintFont_.SetSize(8);
  hintFont_.SetColor(clInfoText);
}

int TScreen::Width() const { return Backend().ScreenRect().Width(); }

int TScreen::Height() const { return Backend().ScreenRect().Height(); }

TRect TScreen::WorkAreaRect() const { return Backend().WorkArea(); }

TPoint TScreen::CursorPos() const { return Backend().CursorPos(); }

void TScreen::SetCursor(TCursor value) {
  cursor_ = value;
  if (value == crDefault) return;
  for (TCustomForm* form : forms_)
    if (form->BackendWindow() != TBackendWindow{}) ShowBackendCursor(form->BackendWindow(), value);
}

HCURSOR TScreen::Cursors(TCursor index) const {
  const auto found = cursors_.find(index);
  return found == cursors_.end() ? nullptr : found->second;
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
  if (cursor)
    cursors_[index] = cursor;
  else
    cursors_.erase(index);
}

void ShowBackendCursor(TBackendWindow window, TCursor cursor) {
  if (HCURSOR image = Screen().Cursors(cursor))
    Backend().SetCursorImage(window, *image);
  else
    Backend().SetCursor(window, BackendCursorOf(cursor));
}

TScreen& Screen() {
  static TScreen* screen = new TScreen;  // never destroyed: forms may go after the program's statics
  return *screen;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  visible_ = false;
  color_ = clInfoBk;
  parentColor_ = false;
  parentFont_ = false;
  Font().Assign(Screen().HintFont());
  Canvas().Font().Assign(Screen().HintFont());
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) {
  TRect r = Rect(0, 0, MaxWidth, 0);
  Canvas().Font().Assign(Screen().HintFont());
  DrawText(Canvas().Handle(), AHint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetCaption(AHint);
  Rect.Bottom += 4;
  SetBoundsRect(KeptOnScreen(Rect, 0));
  SetVisible(true);
  Invalidate();
}

TRect THintWindow::KeptOnScreen(TRect Rect, int gap) {
  const TRect screen = Backend().ScreenRect();
  if (Rect.Right > screen.Right - gap) OffsetRect(Rect, screen.Right - gap - Rect.Right, 0);
  if (Rect.Bottom > screen.Bottom - gap) OffsetRect(Rect, 0, screen.Bottom - gap - Rect.Bottom);
  if (Rect.Left < screen.Left) OffsetRect(Rect, screen.Left - Rect.Left, 0);
  if (Rect.Top < screen.Top) OffsetRect(Rect, 0, screen.Top - Rect.Top);
  return Rect;
}

void THintWindow::ActivateHintData(TRect Rect, const std::string& AHint, void* AData) { ActivateHint(Rect, AHint); }

void THintWindow::ReleaseHandle() { SetVisible(false); }

void THintWindow::Paint() {
  TRect r = ClientRect();
  r.Left += 2;
  r.Top += 2;
  Canvas().Font().Assign(Screen().HintFont());
  Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  DrawText(Canvas().Handle(), Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

}  // namespace platform
