#include <algorithm>

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/TestFont.h"

namespace platform {

namespace {

// The metrics documented in TestFont.h.
class TestFace : public FontFace {
public:
  explicit TestFace(int logicalHeight) {
    const int p = EmHeightOf(logicalHeight);
    advance_ = std::max(1, p / 2);
    metrics_.tmHeight = p;
    metrics_.tmAscent = p - p / 4;
    metrics_.tmDescent = p / 4;
    metrics_.tmExternalLeading = p / 8;
    metrics_.tmAveCharWidth = advance_;
    metrics_.tmMaxCharWidth = advance_;
    metrics_.tmWeight = FW_NORMAL;
    metrics_.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE;
    family_ = kTestFontName;
    underline_ = {metrics_.tmDescent / 2, 1};
    strikeOut_ = {-(metrics_.tmAscent / 2), 1};
  }

protected:
  int LoadAdvance(char32_t) override { return advance_; }

  GlyphImage RenderGlyph(char32_t c, int escapement) override {
    return RasterizeOutline(RotateContours(LoadOutline(c), escapement));
  }

  std::vector<Contour> LoadOutline(char32_t c) override {
    if (c <= 0x20 || c == 0xA0) return {};
    const int64_t w = 64 * std::max(1, advance_ - 1), top = -64 * int64_t{metrics_.tmAscent};
    return {{{0, top}, {w, top}, {w, 0}, {0, 0}}};
  }

private:
  int advance_ = 1;
};

}  // namespace

std::shared_ptr<FontFace> CreateTestFace(int logicalHeight) { return std::make_shared<TestFace>(logicalHeight); }

}  // namespace platform
