#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/Exception.h"
#include "platform/gfx/Geometry.h"

namespace platform {

class TCanvas;

// The most pixels that decoding a picture may produce (all frames of an animation together): data
// that claims more is refused with EInvalidGraphic before any pixel is allocated. A setting for the
// whole process; 64 megapixels (an 8192 x 8192 picture, 256 MiB of pixels) by default.
constexpr int64_t kDefaultMaxPicturePixels = int64_t{64} << 20;
int64_t MaxPicturePixels();
void SetMaxPicturePixels(int64_t pixels);
class TStream;

// Image data that cannot be decoded (or a graphic that cannot be encoded); the message says which
// kind of image it was.
class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};

// The base of every picture kind (bitmap, GIF, JPEG, icon, metafile, and the system's own graphics):
// a size, whether it is empty, transparency, loading and saving, and drawing on a canvas, which
// only the canvas calls (TCanvas::Draw and StretchDraw).
class TGraphic {
public:
  virtual ~TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  int Width() const { return GetWidth(); }
  int Height() const { return GetHeight(); }
  bool Empty() const { return GetEmpty(); }
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  // The size in HIMETRIC (hundredths of a millimetre); by default the pixel size at 96 dots per inch.
  virtual TSize HimetricSize() const;

  // Replaces the content with decoded data; raises EInvalidGraphic and keeps the old content when the
  // data cannot be decoded. Fires OnChange.
  virtual void LoadFromBytes(std::string_view data) = 0;
  virtual std::string SaveToBytes() const = 0;
  // The file name as the system spells it (see ResolvePath). Raises EFOpenError or EFCreateError for
  // the file, EInvalidGraphic for its content.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  // Loads from the stream's position to its end; saves at its position. Stream errors are the
  // stream's exceptions.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  std::function<void()> OnChange;

protected:
  TGraphic() = default;
  friend class TCanvas;
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual bool GetEmpty() const = 0;
  void Changed();

private:
  bool transparent_ = false;
};

}  // namespace platform
