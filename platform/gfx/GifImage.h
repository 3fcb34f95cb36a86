#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

namespace platform {

// How a GIF frame is cleared before the next one is drawn.
enum class TGIFDisposal { dmNone, dmKeep, dmBackground, dmPrevious };

// One frame of a GIF as stored: its image (alpha 0 on transparent pixels) and where and how long it
// shows on the GIF's logical screen.
struct TGIFFrame {
  int Left = 0;
  int Top = 0;
  int DelayCs = 0;  // hundredths of a second
  TGIFDisposal Disposal = TGIFDisposal::dmNone;
  bool HasTransparency = false;
  std::shared_ptr<TBitmap> Image;
};

// A GIF image with all its frames, decoded from memory or a file. Width and Height are the logical
// screen's; Draw shows the frame selected by SetFrame at its place on the screen, scaled to the
// rectangle, with its transparent pixels left out. SaveToBytes gives the data as loaded.
class TGIFImage : public TGraphic {
public:
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  const TGIFFrame& Frames(int index) const { return frames_.at(static_cast<size_t>(index)); }
  int Frame() const { return frame_; }
  void SetFrame(int index);  // 0-based; other values are ignored

  // Raises EInvalidGraphic "GIF image is not valid: ..." for data giflib cannot read, images
  // beyond the size limits and data without any image.
  void LoadFromBytes(std::string_view data) override;
  std::string SaveToBytes() const override { return data_; }

protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  bool GetEmpty() const override { return frames_.empty(); }

private:
  std::string data_;
  int width_ = 0;
  int height_ = 0;
  std::vector<TGIFFrame> frames_;
  int frame_ = 0;
};

}  // namespace platform
