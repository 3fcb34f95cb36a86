#include "grid/VovUra.h"

#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/Backend.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/Forms.h"

// The two small pop-up windows that the grid shows while rows or columns are dragged.

using namespace platform;

namespace velmora {

namespace {

constexpr std::array<std::array<TPoint, 7>, 4> kArrowOutlines{{
    {{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}}},  // arrUp
    {{{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}}},   // arrDown
    {{{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}}},  // arrLeft
    {{{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}}},  // arrRight
}};

// A pop-up stays above the form of the control that owns it.
HWND OwnerFormHandle(TComponent* owner) {
  auto* control = dynamic_cast<TControl*>(owner);
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  return form && form->HandleAllocated() ? form->Handle() : HWND{};
}

}  // namespace

TArrowWindow::TArrowWindow(TComponent* AOwner, TArrowDirection Direction) : TPanel(AOwner), direction_(Direction) {
  SetParentColor(false);
  SetColor(clLime);
  SetVisible(false);
  int width = 0, height = 0;
  for (TPoint p : Outline()) {
    width = std::max(width, p.X + 1);
    height = std::max(height, p.Y + 1);
  }
  SetBounds(0, 0, width, height);
}

const std::array<TPoint, 7>& TArrowWindow::Outline() const { return kArrowOutlines[static_cast<size_t>(direction_)]; }

void TArrowWindow::CreateParams(TCreateParams& Params) {
  TPanel::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.WndParent = OwnerFormHandle(Owner());
}

void TArrowWindow::CreateWnd() {
  TPanel::CreateWnd();
  Backend().SetShape(BackendWindow(), Outline());
}

TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetParentColor(false);
  SetColor(clBtnFace);
  SetVisible(false);
}

void TPopupButton::SetFlat(bool value) {
  flat_ = value;
  Invalidate();
}

void TPopupButton::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle |= WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = OwnerFormHandle(Owner());
}

void TPopupButton::Paint() {
  TCanvas& canvas = Canvas();
  TRect rect = ClientRect();
  if (!flat_) {
    TRect frame = rect;
    Frame3D(canvas, frame, clWhite, clGray, 1);
  }
  canvas.Font().Assign(Font());
  const int oldMode = SetBkMode(canvas.Handle(), TRANSPARENT);
  DrawText(canvas.Handle(), Caption(), rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SetBkMode(canvas.Handle(), oldMode);
}

}  // namespace velmora
