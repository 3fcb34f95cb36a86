#pragma once

#include "platform/gfx/Picture.h"
#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"

namespace platform {

// A graphic control that shows a picture: at its natural size from the top-left corner, centred, or
// stretched over the control; Transparent leaves the picture's transparent colour out (bitmaps).
class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* AOwner);

  TPicture& Picture() { return picture_; }
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

protected:
  void Paint() override;
  // Where the picture goes, in client coordinates.
  TRect DestRect() const;

private:
  void PictureChanged();

  TPicture picture_;
  bool center_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

// A graphic control that draws a sunken or raised box, an etched frame or one edge line; it groups
// other controls visually and holds none.
class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value);

protected:
  void Paint() override;

private:
  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

// A windowed container in the face colour with an outer and an inner bevel (BevelWidth pixels each,
// BorderWidth pixels apart), an optional single-line border and a caption centred vertically. Its
// children are aligned within the bevels.
class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;

private:
  void BevelsChanged();

  TAlignment alignment_ = TAlignment::taCenter;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

// How a splitter shows a drag: rsUpdate resizes the control at every move; the others resize it when
// the button is released, rsLine and rsPattern showing a bar where the split will go meanwhile.
enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

// A bar between two aligned controls that the user drags to resize the control before it (the
// sibling aligned to the same side that touches it). The new size stays between MinSize and what
// leaves the client-aligned sibling MinSize; with AutoSnap a size at or below MinSize closes the control
// (size 0). OnCanResize may change or refuse a size; OnMoved runs after each resize.
class TSplitter : public TGraphicControl {
public:
  explicit TSplitter(TComponent* AOwner);

  bool AutoSnap() const { return autoSnap_; }
  void SetAutoSnap(bool value) { autoSnap_ = value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  int MinSize() const { return minSize_; }
  void SetMinSize(int value) { minSize_ = value < 1 ? 1 : value; }
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // OnCanResize, then the snap: false when the size is refused.
  virtual bool DoCanResize(int& NewSize);

private:
  bool Horizontal() const;  // a bar across (top or bottom aligned)
  TControl* FindControl() const;
  // The size the drag to `offset` (pixels along the drag axis from the press) asks for, within limits.
  int SplitSize(int offset) const;
  void ApplySize(int size);
  void ShowDragBar(int offset);
  void HideDragBar();

  bool autoSnap_ = true;
  bool beveled_ = false;
  int minSize_ = 30;
  TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
  TControl* control_ = nullptr;  // the control being resized during a drag
  int downPos_ = 0;              // where the press was, along the drag axis, in the parent's coordinates
  int startSize_ = 0;
  int maxSize_ = 0;
  int newSize_ = -1;             // the size a deferred drag will apply; -1 none
  std::unique_ptr<TCustomControl> dragBar_;  // the bar shown while a deferred drag runs
};

// A graphic control that the program paints in OnPaint, on its Canvas, every time it is painted.
class TPaintBox : public TGraphicControl {
public:
  explicit TPaintBox(TComponent* AOwner);

  TNotifyEvent OnPaint;

protected:
  void Paint() override;
};

}  // namespace platform
