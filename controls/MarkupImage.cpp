#include "controls/MarkupImage.h"

#include <algorithm>

namespace controls {

TMarkupImage::TMarkupImage(platform::TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 100, 100);
  picture_.OnChange = [this] { Invalidate(); };
  picture_.OnFrameChange = [this](platform::TObject*) { Invalidate(); };
  picture_.OnDownLoadError = [this](platform::TObject*, const std::string& err) {
    if (OnDownLoadError) OnDownLoadError(this, err);
  };
  picture_.OnDownLoadComplete = [this](platform::TObject*) {
    if (OnDownLoadComplete) OnDownLoadComplete(this);
  };
  picture_.OnDownLoadCancel = [this](platform::TObject*, bool& Cancel) {
    if (OnDownLoadCancel) OnDownLoadCancel(this, Cancel);
  };
  picture_.OnDownLoadProgress = [this](platform::TObject*, int dwSize, int dwTotalSize) {
    if (OnDownLoadProgress) OnDownLoadProgress(this, dwSize, dwTotalSize);
  };
}

void TMarkupImage::SetPicturePosition(TPicturePosition value) {
  picturePosition_ = value;
  Invalidate();
}

void TMarkupImage::Loaded() {
  TGraphicControl::Loaded();
  const int ppi = Canvas().PixelsPerInch();
  picture_.SetLogPixels(ppi, ppi);
}

void TMarkupImage::Paint() {
  if (picture_.Empty()) return;
  platform::TCanvas& canvas = Canvas();
  const int w = picture_.Width(), h = picture_.Height();
  const int right = std::max(0, ClientWidth() - w), bottom = std::max(0, ClientHeight() - h);
  switch (picturePosition_) {
    case bpTopLeft: canvas.Draw(0, 0, picture_); break;
    case bpTopRight: canvas.Draw(right, 0, picture_); break;
    case bpBottomLeft: canvas.Draw(0, bottom, picture_); break;
    case bpBottomRight: canvas.Draw(right, bottom, picture_); break;
    case bpCenter: canvas.Draw(right / 2, bottom / 2, picture_); break;
    case bpTiled:
      if (w <= 0 || h <= 0) break;
      for (int y = 0; y < ClientHeight(); y += h)
        for (int x = 0; x < ClientWidth(); x += w) canvas.Draw(x, y, picture_);
      break;
    case bpStretched: {
      const bool stretch = picture_.Stretch;
      picture_.Stretch = true;
      canvas.StretchDraw(platform::Rect(0, 0, ClientWidth(), ClientHeight()), picture_);
      picture_.Stretch = stretch;
      break;
    }
  }
}

}  // namespace controls
