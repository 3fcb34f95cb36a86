#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Region.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Controls.h"

namespace platform {

// The part of the back buffer a control may paint while the framework paints it: the dirty region cut
// to the control's visible area, in the top-level window's coordinates.
struct PaintClip {
  TBitmap* buffer;
  Region region;
  TPoint origin;  // the control's client (0, 0) in the top-level window
};

// The backend side of a top-level windowed control (internal to the framework): its backend window, its
// back buffer and its dirty region, and the sink that turns the backend's events into messages posted
// to the controls (so they reach the application's hooks and dispatch in order).
//
// Painting: Invalidate adds to the dirty region; PaintDirtyWindows, the loop's idle hook, paints every
// dirty window: each control whose area meets the region gets WM_NCPAINT (with a frame), WM_ERASEBKGND
// and WM_PAINT on its own canvas, clipped to the region, its windowed children cut out; then the dirty
// part of the back buffer is presented.
//
// A disabled window (a form under a modal one, or while its program waits) takes no keys, characters,
// wheel or mouse input and ignores the close request, whatever the backend still delivers to it.
class TTopLevelWindow : public IBackendWindowSink {
public:
  TTopLevelWindow(TWinControl& control, const TCreateParams& params);
  ~TTopLevelWindow() override;

  TBackendWindow Window() const { return window_; }
  void AddDirty(const TRect& r);
  bool IsDirty() const { return !dirty_.Empty(); }
  bool IsShowing() const { return control_.Showing(); }
  void Paint();

  void BackendKeyDown(int virtualKey, unsigned shift, bool repeat) override;
  void BackendKeyUp(int virtualKey, unsigned shift) override;
  void BackendChar(std::string_view utf8, unsigned shift) override;
  void BackendMouseDown(TMouseButtonKind button, TPoint client, unsigned shift) override;
  void BackendMouseUp(TMouseButtonKind button, TPoint client, unsigned shift) override;
  void BackendMouseMove(TPoint client, unsigned shift) override;
  void BackendMouseWheel(int delta, TPoint client, unsigned shift) override;
  void BackendMouseLeave() override;
  void BackendBoundsChanged(const TRect& bounds, TBackendWindowState state) override;
  void BackendExpose(const TRect& client) override;
  void BackendActivate(bool active) override;
  void BackendCloseRequest() override;
  unsigned BackendDragOver(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) override;
  void BackendDragLeave() override;
  unsigned BackendDrop(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) override;

  // The top-level windows that exist, for painting.
  static std::vector<TTopLevelWindow*>& All();

private:
  void PaintControl(TWinControl& control, const Region& dirty, const TRect& visible);
  // The control that takes the keyboard and the wheel: the form's focused control; null while disabled.
  TWinControl* KeyTarget() const;
  // The windowed control that takes a mouse message at a point of the window, and the point in its
  // client coordinates.
  TWinControl* MouseTarget(TPoint windowPoint, TPoint& client) const;
  void PostMouse(UINT msg, TPoint windowPoint, unsigned shift);
  TPoint ScreenPoint(TPoint client) const;

  TWinControl& control_;
  TBackendWindow window_{};
  TBitmap backBuffer_;
  Region dirty_;
};

// Binds a control's canvas to the back buffer for painting: origin at the control's client corner,
// clip to the region.
void BindCanvas(TCanvas& canvas, const PaintClip& clip);

// The top-level window of a control, while its root control has one.
TTopLevelWindow* TopLevelOf(const TControl* control);
// The place of a control's outer corner in its top-level window.
TPoint WindowOriginInTop(const TControl* control);

}  // namespace platform
