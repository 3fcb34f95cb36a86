#pragma once

#include "controls/html/PictureContainer.h"
#include "platform/ui/Controls.h"

namespace controls {

enum TPicturePosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpCenter, bpTiled, bpStretched };

// A graphic control that shows one markup picture (GIF, JPEG, BMP, ICO, WMF) in a corner or the centre
// of its client area, tiled over it or stretched to it. It owns its picture; the picture's download
// events reach the control's.
class TMarkupImage : public platform::TGraphicControl {
public:
  explicit TMarkupImage(platform::TComponent* AOwner);

  TMarkupPicture& HTMLPicture() { return picture_; }
  // Copies the picture's data.
  void SetHTMLPicture(const TMarkupPicture& value) { picture_.Assign(&value); }
  TPicturePosition PicturePosition() const { return picturePosition_; }
  void SetPicturePosition(TPicturePosition value);

  std::function<void(platform::TObject* Sender, const std::string& err)> OnDownLoadError;
  platform::TNotifyEvent OnDownLoadComplete;
  std::function<void(platform::TObject* Sender, bool& Cancel)> OnDownLoadCancel;
  std::function<void(platform::TObject* Sender, int dwSize, int dwTotalSize)> OnDownLoadProgress;

protected:
  void Paint() override;
  // The picture takes the resolution of the control's canvas.
  void Loaded() override;

private:
  TMarkupPicture picture_;
  TPicturePosition picturePosition_ = bpTopLeft;
};

}  // namespace controls
