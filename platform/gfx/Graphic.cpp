#include "platform/gfx/Graphic.h"

#include "platform/core/Files.h"
#include "platform/core/Paths.h"

namespace platform {

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

void TGraphic::Changed() {
  if (OnChange) OnChange();
}

}  // namespace platform
