#pragma once

#include "platform/gfx/Picture.h"
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

}  // namespace platform
