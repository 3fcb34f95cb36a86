#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/ExtCtrls.h"

namespace platform {

namespace {

// The bar a deferred splitter drag shows where the split will go: a pop-up window above the form, in
// the shadow colour dotted with the face colour.
class TSplitterDragBar : public TCustomControl {
public:
  explicit TSplitterDragBar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetParentColor(false);
    SetColor(clBtnShadow);
  }

protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  }
  void Paint() override {
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FillRect(ClientRect());
    for (int y = 0; y < Height(); ++y)
      for (int x = (y % 2); x < Width(); x += 2) canvas.SetPixels(x, y, clBtnFace);
  }
};

}  // namespace

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption - TControlStyleFlag::csClickEvents -
                  TControlStyleFlag::csDoubleClicks);
  SetBounds(0, 0, 3, 100);
  SetAlign(TAlign::alLeft);
  SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool value) {
  if (beveled_ == value) return;
  beveled_ = value;
  Invalidate();
}

bool TSplitter::Horizontal() const { return Align() == TAlign::alTop || Align() == TAlign::alBottom; }

TControl* TSplitter::FindControl() const {
  TWinControl* parent = Parent();
  if (!parent || Align() == TAlign::alNone || Align() == TAlign::alClient) return nullptr;
  // The point just outside the splitter on the side of the control it resizes.
  TPoint p;
  switch (Align()) {
    case TAlign::alLeft: p = {Left() - 1, Top()}; break;
    case TAlign::alRight: p = {Left() + Width(), Top()}; break;
    case TAlign::alTop: p = {Left(), Top() - 1}; break;
    default: p = {Left(), Top() + Height()}; break;
  }
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    TRect r = c->BoundsRect();
    // A closed control (size 0) still touches the splitter.
    if (r.Width() == 0) ++r.Right;
    if (r.Height() == 0) ++r.Bottom;
    if (PtInRect(r, p)) return c;
  }
  return nullptr;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  control_ = FindControl();
  if (!control_) return;
  control_->FreeNotification(this);
  downPos_ = Horizontal() ? Top() + Y : Left() + X;
  startSize_ = Horizontal() ? control_->Height() : control_->Width();
  // The most the control may take: the parent's extent less every other control aligned across the
  // same axis and MinSize left for the client-aligned one.
  TWinControl* parent = Parent();
  maxSize_ = Horizontal() ? parent->ClientHeight() : parent->ClientWidth();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == control_ || !c->Visible()) continue;
    const bool across = Horizontal() ? (c->Align() == TAlign::alTop || c->Align() == TAlign::alBottom)
                                     : (c->Align() == TAlign::alLeft || c->Align() == TAlign::alRight);
    if (across) maxSize_ -= Horizontal() ? c->Height() : c->Width();
  }
  maxSize_ = std::max(0, maxSize_ - minSize_);
  newSize_ = -1;
}

int TSplitter::SplitSize(int offset) const {
  const bool grows = Align() == TAlign::alLeft || Align() == TAlign::alTop;
  int size = startSize_ + (grows ? offset : -offset);
  return std::min(std::max(size, minSize_), maxSize_);
}

bool TSplitter::DoCanResize(int& NewSize) {
  bool accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, accept);
  if (accept && NewSize <= minSize_ && autoSnap_) NewSize = 0;
  return accept;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!control_) return;
  const int offset = (Horizontal() ? Top() + Y : Left() + X) - downPos_;
  int size = SplitSize(offset);
  if (!DoCanResize(size)) return;
  if (resizeStyle_ == TResizeStyle::rsUpdate) {
    ApplySize(size);
    return;
  }
  newSize_ = size;
  if (resizeStyle_ != TResizeStyle::rsNone) {
    const bool grows = Align() == TAlign::alLeft || Align() == TAlign::alTop;
    ShowDragBar(grows ? size - startSize_ : startSize_ - size);
  }
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || !control_) return;
  HideDragBar();
  const int size = newSize_;
  newSize_ = -1;
  if (size >= 0) ApplySize(size);
  if (control_) control_->RemoveFreeNotification(this);
  control_ = nullptr;
}

void TSplitter::ApplySize(int size) {
  if (!control_) return;
  const int current = Horizontal() ? control_->Height() : control_->Width();
  if (size == current) return;
  // A closed control stays where the splitter is; the alignment moves the splitter beside it.
  switch (Align()) {
    case TAlign::alLeft: control_->SetWidth(size); break;
    case TAlign::alTop: control_->SetHeight(size); break;
    case TAlign::alRight:
      control_->SetBounds(control_->Left() + control_->Width() - size, control_->Top(), size, control_->Height());
      break;
    default:
      control_->SetBounds(control_->Left(), control_->Top() + control_->Height() - size, control_->Width(), size);
      break;
  }
  if (OnMoved) OnMoved(this);
}

void TSplitter::ShowDragBar(int offset) {
  if (!dragBar_) dragBar_ = std::make_unique<TSplitterDragBar>(nullptr);
  TPoint origin = Parent()->ClientToScreen({Left(), Top()});
  if (Horizontal())
    origin.Y += offset;
  else
    origin.X += offset;
  dragBar_->SetBounds(origin.X, origin.Y, Width(), Height());
  dragBar_->Show();
}

void TSplitter::HideDragBar() {
  if (dragBar_) dragBar_->Hide();
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == control_) control_ = nullptr;
}

void TSplitter::Paint() {
  TCanvas& canvas = Canvas();
  TRect r = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(r);
  if (beveled_) {
    if (Horizontal())
      InflateRect(r, 2, 0);
    else
      InflateRect(r, 0, 2);
    DrawEdge(canvas.Handle(), r, EDGE_RAISED, BF_RECT);
  }
}

}  // namespace platform
