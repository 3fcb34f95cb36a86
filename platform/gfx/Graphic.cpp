#include "platform/gfx/Graphic.h"

#include <algorithm>
#include <atomic>

#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/Streams.h"

namespace platform {

namespace {
std::atomic<int64_t> maxPicturePixels{kDefaultMaxPicturePixels};
}

int64_t MaxPicturePixels() { return maxPicturePixels.load(); }

void SetMaxPicturePixels(int64_t pixels) { maxPicturePixels.store(pixels); }

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

TSize TGraphic::HimetricSize() const { return {MulDiv(Width(), 2540, 96), MulDiv(Height(), 2540, 96)}; }

void TGraphic::LoadFromFile(const std::string& fileName) { LoadFromBytes(ReadFileBytes(ResolvePath(fileName))); }

void TGraphic::SaveToFile(const std::string& fileName) const {
  WriteFileAtomic(ResolvePath(fileName), SaveToBytes());
}

void TGraphic::LoadFromStream(TStream& stream) {
  std::string data(static_cast<size_t>(std::max<int64_t>(0, stream.Size() - stream.Position())), '\0');
  stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  LoadFromBytes(data);
}

void TGraphic::SaveToStream(TStream& stream) const {
  const std::string data = SaveToBytes();
  stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TGraphic::Changed() {
  if (OnChange) OnChange();
}

}  // namespace platform
