#include "platform/gfx/FontEngine.h"


#include <cctype>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/core/Ascii.h"
#include "platform/gfx/TestFont.h"

namespace platform {

int FontFace::Advance(char32_t c) {
  if (c < 0x20) return 0;
  if (c < kKeptGlyphs)
    if (const int kept = keptAdvances_[c].load(std::memory_order_relaxed); kept != 0) return kept - 1;
  std::lock_guard lock(mutex_);
  auto it = advances_.find(c);
  if (it == advances_.end()) it = advances_.emplace(c, LoadAdvance(c)).first;
  if (c < kKeptGlyphs) keptAdvances_[c].store(it->second + 1, std::memory_order_relaxed);
  return it->second;
}

const GlyphImage* FontFace::KeptGlyph(char32_t c) {
  if (c >= kKeptGlyphs || tooLarge_[c].load(std::memory_order_relaxed)) return nullptr;
  if (const GlyphImage* kept = keptGlyphs_[c].load(std::memory_order_acquire)) return kept;
  std::shared_ptr<const GlyphImage> glyph = Glyph(c, 0);
  if (glyph->coverage.size() > kMaxKeptGlyphBytes) {
    tooLarge_[c].store(true, std::memory_order_relaxed);
    return nullptr;
  }
  std::lock_guard lock(mutex_);
  if (const GlyphImage* kept = keptGlyphs_[c].load(std::memory_order_relaxed)) return kept;
  keptGlyphOwners_.push_back(glyph);
  keptGlyphs_[c].store(glyph.get(), std::memory_order_release);
  return glyph.get();
}

std::shared_ptr<const GlyphImage> FontFace::Glyph(char32_t c, int escapement) {
  escapement %= 3600;
  if (escapement < 0) escapement += 3600;
  const uint64_t key = (uint64_t{static_cast<uint32_t>(escapement)} << 32) | c;
  std::lock_guard lock(mutex_);
  auto it = glyphs_.find(key);
  if (it != glyphs_.end()) return it->second;
  auto glyph = std::make_shared<const GlyphImage>(c < 0x20 ? GlyphImage{} : RenderGlyph(c, escapement));
  const size_t bytes = glyph->coverage.size() + sizeof(GlyphImage);
  if (glyphBytes_ + bytes > kGlyphCacheBytes) {
    glyphs_.clear();
    glyphBytes_ = 0;
  }
  glyphs_.emplace(key, glyph);
  glyphBytes_ += bytes;
  return glyph;
}

std::vector<Contour> FontFace::Outline(char32_t c) {
  if (c < 0x20) return {};
  std::lock_guard lock(mutex_);
  return LoadOutline(c);
}

int EmHeightOf(int logicalHeight) { return logicalHeight == 0 ? 12 : std::abs(logicalHeight); }

std::vector<Contour> RotateContours(std::vector<Contour> contours, int escapement) {
  if (escapement % 3600 == 0) return contours;
  const double a = escapement * M_PI / 1800.0, c = std::cos(a), s = std::sin(a);
  for (Contour& contour : contours)
    for (FixedPoint& p : contour) {
      // Counter-clockwise on screen, where y grows downwards.
      const double x = static_cast<double>(p.x), y = static_cast<double>(p.y);
      p = {std::llround(x * c + y * s), std::llround(-x * s + y * c)};
    }
  return contours;
}

GlyphImage RasterizeOutline(const std::vector<Contour>& outline) {
  Region region = PolygonRegion(outline, FillRule::Winding, kAllPixels);
  GlyphImage image;
  if (region.Empty()) return image;
  const TRect box = region.Box();
  image.left = box.Left;
  image.top = box.Top;
  image.width = box.Width();
  image.height = box.Height();
  image.coverage.assign(static_cast<size_t>(image.width) * image.height, 0);
  region.ForEachSpan([&](int y, int x0, int x1) {
    uint8_t* row = image.coverage.data() + static_cast<size_t>(y - box.Top) * image.width;
    std::fill(row + (x0 - box.Left), row + (x1 - box.Left), uint8_t{255});
  });
  return image;
}

std::shared_ptr<FontFace> ResolveFont(const TLogFont& font) {
  // Faces differ by family, size, weight and slant; escapement, underline and strike-out are applied
  // when drawing.
  using Key = std::tuple<std::string, int, bool, bool>;
  static std::mutex mutex;
  static std::map<Key, std::shared_ptr<FontFace>> cache;
  Key key{LowerCase(font.FaceName), font.Height, font.Weight >= FW_BOLD, font.Italic};
  std::lock_guard lock(mutex);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::shared_ptr<FontFace> face;
  if (!SameText(font.FaceName, kTestFontName)) face = OpenInstalledFace(font);
  if (!face) face = CreateTestFace(font.Height);
  // Each face holds a glyph cache of its own: like the glyphs, the faces kept start afresh past a bound,
  // so that text drawn at ever new sizes (a zoom) does not keep them all. A face in use lives on with
  // its user.
  constexpr size_t kMaxCachedFaces = 32;
  if (cache.size() >= kMaxCachedFaces) cache.clear();
  cache.emplace(key, face);
  return face;
}

}  // namespace platform
