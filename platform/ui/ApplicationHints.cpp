#include "platform/ui/ApplicationHints.h"

#include <algorithm>
#include <atomic>
#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/app/Timer.h"

namespace platform {

namespace {

// The hint window sits this far below the mouse, clear of the pointer.
constexpr int kCursorMargin = 16;

// The control whose hint shows at a control: itself or the nearest parent with ShowHint.
TControl* GetHintControl(TControl* control) {
  while (control && !control->ShowHint()) control = control->Parent();
  if (control && control->ComponentState().Contains(csDesigning)) return nullptr;
  return control;
}

// The hints installed into the application, null once the application has destroyed them.
std::atomic<TApplicationHints*> g_installedHints{nullptr};

}  // namespace

TApplicationHints& ApplicationHints() {
  static TApplicationHints* const hints = [] {
    auto owned = std::make_unique<TApplicationHints>();
    TApplicationHints* installed = owned.get();
    g_installedHints = installed;
    Application().SetHintHook(std::move(owned));
    return installed;
  }();
  if (g_installedHints.load()) return *hints;
  // The application has ended and destroyed its hints; a control that goes later (one that a static of
  // the program's own holds) tells a detached set, which is never destroyed.
  static TApplicationHints* const detached = new TApplicationHints;
  return *detached;
}

TApplicationHints::~TApplicationHints() {
  TApplicationHints* self = this;
  g_installedHints.compare_exchange_strong(self, nullptr);
}

void TApplicationHints::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  if (!value) {
    CancelHint();
    delete std::exchange(hintWindow_, nullptr);
  }
}

void TApplicationHints::HintMouseMessage(TControl* Control, TPoint ScreenPos) {
  TControl* hintControl = showHint_ ? GetHintControl(FindDragTarget(ScreenPos, true)) : nullptr;
  if (!hintControl) {
    CancelHint();
    return;
  }
  if (hintControl != hintControl_ || !PtInRect(hintCursorRect_, ScreenPos)) {
    if (hintControl != hintControl_) HideHint();
    StartHintTimer(hintActive_ ? hintShortPause_ : hintPause_, HintTimerMode::Show);
  }
  hintControl_ = hintControl;
}

void TApplicationHints::UpdateMouseControl(TControl* Control) {
  if (Control && Control->ComponentState().Contains(csDesigning)) Control = nullptr;
  mouseControl_ = Control;
  MouseCaptureChanged();
  if (!Control) CancelHint();
}

void TApplicationHints::MouseCaptureChanged() {
  // While a control holds the capture, only it hears that the mouse leaves it or comes back.
  TControl* capture = GetCaptureControl();
  TControl* wanted = capture ? (mouseControl_ == capture ? capture : nullptr) : mouseControl_;
  if (wanted == enteredControl_) return;
  TControl* old = std::exchange(enteredControl_, wanted);
  if (old) old->Perform(CM_MOUSELEAVE);
  if (wanted && enteredControl_ == wanted) wanted->Perform(CM_MOUSEENTER);
}

void TApplicationHints::ControlDestroyed(TControl* Control) {
  if (mouseControl_ == Control) mouseControl_ = nullptr;
  if (enteredControl_ == Control) enteredControl_ = nullptr;
  if (hintWindow_ == Control) hintWindow_ = nullptr;
  if (hintControl_ == Control) CancelHint();
}

void TApplicationHints::StartHintTimer(int ms, HintTimerMode mode) {
  if (!hintTimer_) {
    hintTimer_ = new TTimer(&Application());
    hintTimer_->SetEnabled(false);
    hintTimer_->OnTimer = [this](TObject*) {
      StopHintTimer();
      if (hintTimerMode_ == HintTimerMode::Show)
        ActivateHint(Backend().CursorPos());
      else
        HideHint();
    };
  }
  hintTimerMode_ = mode;
  hintTimer_->SetEnabled(false);
  hintTimer_->SetInterval(static_cast<UINT>(std::max(ms, 1)));
  hintTimer_->SetEnabled(true);
}

void TApplicationHints::StopHintTimer() {
  if (hintTimer_) hintTimer_->SetEnabled(false);
}

void TApplicationHints::HideHint() {
  if (hintWindow_ && hintWindow_->Visible()) hintWindow_->ReleaseHandle();
}

void TApplicationHints::CancelHint() {
  StopHintTimer();
  HideHint();
  hintControl_ = nullptr;
  hintActive_ = false;
  hintCursorRect_ = {};
}

void TApplicationHints::ActivateHint(TPoint CursorPos) {
  StopHintTimer();
  TControl* control = showHint_ ? GetHintControl(FindDragTarget(CursorPos, true)) : nullptr;
  if (!control || control != hintControl_) {
    CancelHint();
    return;
  }
  if (!hintWindowClass_.create) hintWindowClass_ = HintWindowClassOf<THintWindow>();
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = hintWindowClass_;
  info.HintPos = {CursorPos.X, CursorPos.Y + kCursorMargin};
  info.HintMaxWidth = Screen().Width();
  info.HintColor = hintColor_;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HideTimeout = hintHidePause_;
  info.HintStr = GetShortHint(control->Hint());
  TComponent::TGuard guard(*control);
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (guard.Gone() || hintControl_ != control) return;
  hintActive_ = canShow;
  if (!canShow || info.HintStr.empty()) {
    HideHint();
    return;
  }
  if (!hintWindow_ || !info.HintWindowClass.type || typeid(*hintWindow_) != *info.HintWindowClass.type) {
    delete std::exchange(hintWindow_, nullptr);
    hintWindow_ = info.HintWindowClass.create(&Application());
  }
  TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  hintWindow_->SetColor(info.HintColor);
  hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
  TPoint topLeft = control->ClientToScreen(info.CursorRect.TopLeft());
  TPoint bottomRight = control->ClientToScreen(info.CursorRect.BottomRight());
  hintCursorRect_ = Rect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, HintTimerMode::Hide);
}

}  // namespace platform
