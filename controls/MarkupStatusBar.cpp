#include "controls/MarkupStatusBar.h"

#include <algorithm>
#include <vector>

#include "platform/core/Ascii.h"
#include "controls/html/MarkupText.h"
#include "platform/core/DateTime.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/shell/ShellApi.h"
#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/app/Window.h"

namespace controls {

using namespace platform;

namespace {

// The text the window gets for a panel: one TAB in front centres it, two right-align it.
std::string AlignedText(TAlignment alignment, const std::string& text) {
  if (alignment == TAlignment::taCenter) return "\t" + text;
  if (alignment == TAlignment::taRightJustify) return "\t\t" + text;
  return text;
}

bool OwnerDrawn(TMarkupStatusPanelStyle style) {
  return style == TMarkupStatusPanelStyle::psHTML || style == TMarkupStatusPanelStyle::psOwnerDraw ||
         style == TMarkupStatusPanelStyle::psProgress;
}

// The lock panels: their key and the text shown while the lock is on.
struct LockPanel {
  TMarkupStatusPanelStyle style;
  int key;
  const char* text;
};
constexpr LockPanel kLockPanels[] = {{TMarkupStatusPanelStyle::psNumLock, VK_NUMLOCK, "NUM"},
                                     {TMarkupStatusPanelStyle::psCapsLock, VK_CAPITAL, "CAP"},
                                     {TMarkupStatusPanelStyle::psScrollLock, VK_SCROLL, "SCRL"}};

}  // namespace

TMarkupStatusBar::TMarkupStatusBar(TComponent* AOwner) : TCustomStatusBar(AOwner), panels_(this) {
  SetAlign(TAlign::alBottom);
  SetHeight(19);
  UpdatePanels(true, false);
}

TMarkupStatusBar::~TMarkupStatusBar() {
  if (HandleAllocated()) KillTimer(Handle(), kTimerId);
}

void TMarkupStatusBar::CreateParams(TCreateParams& Params) {
  TCustomStatusBar::CreateParams(Params);
  if (!(Params.Style & SBARS_SIZEGRIP)) Params.Style |= CCS_TOP;
}

void TMarkupStatusBar::CreateWnd() {
  TCustomStatusBar::CreateWnd();
  Perform(SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  UpdatePanels(true, false);
  if (!SimpleText().empty()) Perform(SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(SimpleText().c_str()));
  if (SimplePanel()) Perform(SB_SIMPLE, 1);
  SetTimer(Handle(), kTimerId, kTimerMs);
}

void TMarkupStatusBar::DestroyWnd() {
  KillTimer(Handle(), kTimerId);
  TCustomStatusBar::DestroyWnd();
}

void TMarkupStatusBar::Loaded() {
  TCustomStatusBar::Loaded();
  UpdateStatusBar();
}

void TMarkupStatusBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomStatusBar::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == images_) {
    images_ = nullptr;
    Invalidate();
  }
}

void TMarkupStatusBar::SetImages(TCustomImageList* value) {
  images_ = value;
  if (images_) images_->FreeNotification(this);
  Invalidate();
}

void TMarkupStatusBar::SetURLColor(TColor value) {
  if (urlColor_ == value) return;
  urlColor_ = value;
  Invalidate();
}

void TMarkupStatusBar::UpdatePanels(bool rects, bool send) {
  const int count = std::min(panels_.Count(), kMaxPanels);
  if (rects) {
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) widths.push_back(panels_.Items(i)->Width());
    SetPartWidths(widths);
  }
  for (int i = 0; i < count; ++i) UpdatePanel(i, send);
}

void TMarkupStatusBar::UpdatePanel(int index, bool send) {
  if (index < 0 || index >= std::min(panels_.Count(), kMaxPanels)) return;
  TMarkupStatusPanel* panel = panels_.Items(index);
  if (!send) {
    panel->updateNeeded_ = true;
    InvalidatePanel(index);
    return;
  }
  if (!panel->updateNeeded_) return;
  panel->updateNeeded_ = false;
  UINT type = 0;
  if (panel->Bevel() == TMarkupStatusPanelBevel::pbNone) type |= SBT_NOBORDERS;
  if (panel->Bevel() == TMarkupStatusPanelBevel::pbRaised) type |= SBT_POPOUT;
  if (OwnerDrawn(panel->Style())) type |= SBT_OWNERDRAW;
  const std::string text = AlignedText(panel->Alignment(), panel->Text());
  Perform(SB_SETTEXT, static_cast<WPARAM>(index) | type, reinterpret_cast<LPARAM>(text.c_str()));
}

// The framework repaints whole controls: a panel that shows invalidates the bar.
void TMarkupStatusBar::InvalidatePanel(int index) {
  TRect rect;
  if (Perform(SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) && !IsRectEmpty(rect))
    Invalidate();
}

void TMarkupStatusBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      UpdatePanels(false, true);
      break;
    case WM_TIMER:
      if (Message.WParam != kTimerId) break;
      UpdateStatusBar();
      blink_ = (blink_ + 1) % 11;
      return;
    case CM_HINTSHOW:
      TCustomStatusBar::Dispatch(Message);
      HintShow(*reinterpret_cast<THintInfo*>(Message.LParam));
      Message.Result = 0;
      return;
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(SimpleText().size());
      return;
    case WM_SIZE:
    case CM_COLORCHANGED:
      if (Message.Msg == CM_COLORCHANGED && HandleAllocated())
        Perform(SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
      break;
    default:
      break;
  }
  TCustomStatusBar::Dispatch(Message);
}

void TMarkupStatusBar::UpdateStatusBar() {
  for (int i = 0; i < panels_.Count(); ++i) {
    TMarkupStatusPanel* panel = panels_.Items(i);
    switch (panel->Style()) {
      case TMarkupStatusPanelStyle::psHTML:
        if ((blink_ == 5 || blink_ == 10) && FindText(panel->Text(), "<BLINK") != std::string::npos) UpdatePanel(i, false);
        break;
      case TMarkupStatusPanelStyle::psTime:
        panel->SetText(FormatDateTime(panel->TimeFormat(), Now()));
        break;
      case TMarkupStatusPanelStyle::psDate:
        panel->SetText(FormatDateTime(panel->DateFormat(), Now()));
        break;
      case TMarkupStatusPanelStyle::psNumLock:
      case TMarkupStatusPanelStyle::psCapsLock:
      case TMarkupStatusPanelStyle::psScrollLock:
        for (const LockPanel& lock : kLockPanels) {
          if (lock.style == panel->Style()) panel->SetText((GetKeyState(lock.key) & 1) ? lock.text : "");
        }
        break;
      default:
        break;
    }
  }
}

void TMarkupStatusBar::DrawItem(int index, const TRect& rect) {
  if (index < std::min(panels_.Count(), kMaxPanels)) DrawPanel(panels_.Items(index), rect);
}

void TMarkupStatusBar::DrawPanel(TMarkupStatusPanel* Panel, const TRect& Rect) {
  TCanvas& canvas = Canvas();
  switch (Panel->Style()) {
    case TMarkupStatusPanelStyle::psHTML: {
      std::string anchor;
      RenderPanelHTML(canvas, Panel->Text(), Rect, images_, 0, 0, false, blink_ <= 5, urlColor_, anchor);
      break;
    }
    case TMarkupStatusPanelStyle::psProgress:
      DrawProgress(Panel->Progress(), Rect);
      break;
    default:
      if (OnDrawPanel)
        OnDrawPanel(this, Panel, Rect);
      else
        canvas.FillRect(Rect);
      break;
  }
}

// The bar inside a 2-pixel ring of the canvas brush: the filled part in Color with the caption in
// TextColor, the rest in BackGround with the caption in its inverse, each clipped to its part.
void TMarkupStatusBar::DrawProgress(const TProgressStyle& progress, const TRect& rect) {
  TCanvas& canvas = Canvas();
  HDC dc = canvas.Handle();
  const TColor ring = canvas.Brush().Color();
  TRect r = rect;
  InflateRect(r, -2, -2);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const std::string caption = progress.Caption();
  const int x = r.Left + (r.Width() - canvas.TextWidth(caption)) / 2;
  const int y = r.Top + (r.Height() - canvas.TextHeight(caption)) / 2;
  const int split = r.Left + progress.FilledWidth(r.Width());
  auto part = [&](const TRect& area, TColor fill, TColor text) {
    if (area.Width() <= 0) return;
    canvas.Brush().SetColor(fill);
    canvas.Pen().SetColor(fill);
    canvas.Font().SetColor(text);
    canvas.FillRect(area);
    CanvasStateGuard state(canvas);
    IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.TextOut(x, y, caption);
  };
  part(platform::Rect(r.Left, r.Top, split, r.Bottom), progress.Color(), progress.TextColor());
  part(platform::Rect(split, r.Top, r.Right, r.Bottom), progress.BackGround(),
       static_cast<TColor>(ColorToRGB(progress.BackGround()) ^ 0xFFFFFF));
  canvas.Brush().SetColor(ring);
  canvas.Pen().SetColor(ring);
  TRect frame = r;
  for (int i = 0; i < 2; ++i) {
    InflateRect(frame, 1, 1);
    canvas.FrameRect(frame);
  }
}

int TMarkupStatusBar::GetPanel(int x) {
  for (int i = 0; i < std::min(panels_.Count(), kMaxPanels); ++i) {
    TRect rect;
    if (Perform(SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) && x >= rect.Left &&
        x <= rect.Right)
      return i;
  }
  return -1;
}

std::string TMarkupStatusBar::IsAnchor(int x, int y) {
  const int index = GetPanel(x);
  if (index < 0 || panels_.Items(index)->Style() != TMarkupStatusPanelStyle::psHTML) return {};
  // The rectangle the panel is drawn in, so that anchors are found where they show.
  const TRect rect = ItemRect(index);
  std::string anchor;
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  return RenderPanelHTML(canvas, panels_.Items(index)->Text(), rect, images_, x, y, true, true, urlColor_, anchor)
             ? anchor
             : std::string{};
}

void TMarkupStatusBar::MouseMove(TShiftState Shift, int X, int Y) {
  const std::string anchor = IsAnchor(X, Y);
  const int panel = GetPanel(X);
  if (panel != panelUnderMouse_) {
    ApplicationHints().CancelHint();
    panelUnderMouse_ = panel;
  }
  if (!anchor.empty()) {
    if (Cursor() == crDefault || anchor != lastAnchor_) {
      lastAnchor_ = anchor;
      SetCursor(crHandPoint);
      if (anchorHint_) ApplicationHints().CancelHint();
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
    }
  } else if (Cursor() == crHandPoint) {
    SetCursor(crDefault);
    if (OnAnchorExit) OnAnchorExit(this, anchor);
  }
  TCustomStatusBar::MouseMove(Shift, X, Y);
}

void TMarkupStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomStatusBar::MouseDown(Button, Shift, X, Y);
  const std::string anchor = IsAnchor(X, Y);
  if (anchor.empty()) return;
  if (anchor.find("://") != std::string::npos || anchor.find("mailto:") != std::string::npos)
    ShellExecute(nullptr, "open", anchor, "", "", SW_SHOWNORMAL);
  else if (OnAnchorClick)
    OnAnchorClick(this, anchor);
}

void TMarkupStatusBar::HintShow(THintInfo& info) {
  const int index = GetPanel(info.CursorPos.X);
  if (index < 0) return;
  const TMarkupStatusPanel* panel = panels_.Items(index);
  if (panel->Style() != TMarkupStatusPanelStyle::psHTML) {
    if (!panel->Hint().empty()) info.HintStr = panel->Hint();
    return;
  }
  if (!anchorHint_) return;
  if (const std::string anchor = IsAnchor(info.CursorPos.X, info.CursorPos.Y); !anchor.empty()) {
    info.HintStr = anchor;
    info.HintPos = ClientToScreen(info.CursorPos);
    info.HintPos.X += 10;
    info.HintPos.Y -= 10;
  } else if (!panel->Hint().empty()) {
    info.HintStr = panel->Hint();
  }
}

}  // namespace controls
