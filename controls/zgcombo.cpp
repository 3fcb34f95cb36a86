#include "controls/zgcombo.h"

#include "grid/xpvs/ExXPVS.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/VirtualKeys.h"

namespace controls {

using namespace platform;

namespace {

constexpr int kMinButtonWidth = 14;
constexpr int kMaxButtonWidth = 32;

}  // namespace

TZGCustomCombo::TZGCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), savedParentColor_(ParentColor()), savedColor_(Color()) {
  SetDropButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2);
}

void TZGCustomCombo::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
}

void TZGCustomCombo::SetEtched(bool value) {
  if (value == etched_) return;
  etched_ = value;
  Invalidate();
}

void TZGCustomCombo::SetFocusBorder(bool value) {
  if (value == focusBorder_) return;
  focusBorder_ = value;
  Invalidate();
}

void TZGCustomCombo::SetButtonWidth(int value) {
  if (value >= kMinButtonWidth && value <= kMaxButtonWidth) SetDropButtonWidth(value);
}

void TZGCustomCombo::SetDropWidth(int value) {
  dropWidth_ = value;
  if (value >= 1) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(value), 0);
}

void TZGCustomCombo::SetThemedButton(bool value) {
  if (value == themedButton_) return;
  themedButton_ = value;
  Invalidate();
}

bool TZGCustomCombo::Designing() const { return ComponentState().Contains(csDesigning); }

bool TZGCustomCombo::Active() const { return Focused() || Screen().ActiveControl() == this; }

bool TZGCustomCombo::FrameRaised() const { return !Designing() && (mouseInside_ || Active()) && focusBorder_; }

bool TZGCustomCombo::ButtonRaised() const { return Designing() ? Enabled() : mouseInside_ || Active(); }

void TZGCustomCombo::EnabledChanging() {
  if (Enabled()) {
    SetParentColor(savedParentColor_);
    if (!savedParentColor_) SetColor(savedColor_);
  } else {
    savedParentColor_ = ParentColor();
    savedColor_ = Color();
    SetParentColor(true);
  }
}

void TZGCustomCombo::Dispatch(TMessage& Message) {
  // The handlers that the base handling raises (OnEnter, OnExit, OnMouseEnter, ...) may free the combo.
  TGuard guard(*this);
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      TCustomComboBox::Dispatch(Message);
      if (guard.Gone()) return;
      if (!mouseInside_ && Enabled()) {
        mouseInside_ = true;
        Invalidate();
      }
      if (autoFocus_ && CanFocus() && !Focused()) SetFocus();
      return;
    case CM_MOUSELEAVE:
      TCustomComboBox::Dispatch(Message);
      if (guard.Gone()) return;
      if (mouseInside_ && Enabled()) {
        mouseInside_ = false;
        Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      if (flat_) EnabledChanging();
      break;
    case CM_ENTER:
    case CM_EXIT:
      TCustomComboBox::Dispatch(Message);
      if (guard.Alive() && !Designing()) Invalidate();
      return;
    case WM_NCPAINT:
      TCustomComboBox::Dispatch(Message);
      if (flat_ && Message.WParam != 0) DrawBorders(*reinterpret_cast<HDC>(Message.WParam));
      return;
    case CN_COMMAND: {
      const WORD code = static_cast<WORD>(Message.WParam >> 16);
      TCustomComboBox::Dispatch(Message);
      if (guard.Alive() && (code == CBN_DROPDOWN || code == CBN_CLOSEUP)) Invalidate();
      return;
    }
    default:
      break;
  }
  TCustomComboBox::Dispatch(Message);
}

// The frame rings in the non-client border, in window coordinates; the innermost ring is the client's
// edge, which the field's fill gives the control's colour.
void TZGCustomCombo::DrawBorders(TCanvas& canvas) {
  TColor outer = FrameRaised() ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
  TRect r = Rect(0, 0, Width(), Height());
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  if (FrameRaised()) {
    DrawEdge(&canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    canvas.Brush().SetColor(outer);
    canvas.FrameRect(r);
  } else {
    canvas.Brush().SetColor(outer);
    canvas.FrameRect(r);
    InflateRect(r, -1, -1);
    canvas.FrameRect(r);
  }
}

void TZGCustomCombo::DrawDropButton(TCanvas& canvas, TRect button) {
  using namespace velmora::xpvs;
  if (themedButton_ && OpenThemeData && DrawThemeBackground && CloseThemeData) {
    if (HTHEME theme = OpenThemeData(Handle(), "combobox")) {
      const bool pressed = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
      DrawThemeBackground(theme, &canvas, CP_DROPDOWNBUTTON, pressed ? CBXS_PRESSED : CBXS_NORMAL, &button, nullptr);
      CloseThemeData(theme);
      return;
    }
  }
  unsigned state = DFCS_SCROLLCOMBOBOX | DFCS_FLAT;
  if (!Enabled()) state |= DFCS_INACTIVE;
  DrawFrameControl(&canvas, button, DFC_SCROLL, state);
}

void TZGCustomCombo::Paint() {
  if (!flat_ || Style() == TComboBoxStyle::csSimple) {
    TCustomComboBox::Paint();
    return;
  }
  // The field as the base paints it, then the flat button and its edge over the button area.
  TCustomComboBox::Paint();
  TCanvas& canvas = TCustomControl::Canvas();
  const int cw = ClientWidth();
  const int ch = ClientHeight();
  TRect area = Rect(cw - ButtonWidth() - 2, 0, cw, ch);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(area);
  TRect button = Rect(cw - ButtonWidth(), 0, cw, ch);
  InflateRect(button, -1, -1);
  DrawDropButton(canvas, button);
  if (ButtonRaised()) {
    unsigned flags = BF_RECT;
    if (DroppedDown()) flags |= BF_FLAT;
    DrawEdge(&canvas, button, etched_ ? EDGE_ETCHED : EDGE_RAISED, flags);
  } else {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FrameRect(button);
  }
}

}  // namespace controls
