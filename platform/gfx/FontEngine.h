#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Font.h"
#include "platform/gfx/Shapes.h"
#include "platform/gfx/TextMetric.h"

namespace platform {

// The fonts behind the canvas's text (internal to platform/gfx): a face of one family, pixel size,
// weight and slant, with its metrics, character advances, rendered glyphs and outlines. Faces are
// shared and live as long as anyone holds them; every member function is thread-safe.

// A rendered glyph: coverage 0..255 per pixel; (left, top) is the offset of its top-left pixel from
// the glyph's origin on the baseline, y growing downwards.
struct GlyphImage {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

// An underline or strike-out stroke: its first row relative to the baseline (down is positive).
struct TextStroke {
  int offset = 0;
  int thickness = 1;
};

inline constexpr int kMaxGlyphImageEm = 512;
inline constexpr size_t kGlyphCacheBytes = size_t{4} << 20;

// Where an installed face comes from, for writers that embed the font (the PDF): the font file and
// face index, the pixel size (em) it is set to, what is synthesised and whether characters go through
// the Symbol encoding.
struct FaceSource {
  std::string path;
  int index = 0;
  int pixelSize = 0;
  bool emboldened = false;
  bool slanted = false;
  bool symbolEncoding = false;
};

class FontFace {
public:
  virtual ~FontFace() = default;

  // The installed face's file; null for the built-in test font, whose ink is its outlines.
  const FaceSource* Source() const { return source_.path.empty() ? nullptr : &source_; }

  const TTextMetric& Metrics() const { return metrics_; }
  const std::string& FamilyName() const { return family_; }
  TextStroke Underline() const { return underline_; }
  TextStroke StrikeOut() const { return strikeOut_; }

  // Horizontal advance in pixels; control characters below U+0020 advance 0.
  int Advance(char32_t c);
  // The glyph turned counter-clockwise by escapement tenths of a degree. Rendered glyphs are cached
  // per face up to kGlyphCacheBytes of coverage; the cache starts afresh when it is full.
  std::shared_ptr<const GlyphImage> Glyph(char32_t c, int escapement);
  // The upright glyph of a character below kKeptGlyphs when it is small, kept as long as the face and
  // found without a lock; else null, and Glyph is the way.
  const GlyphImage* KeptGlyph(char32_t c);
  // Whether the face is too large for glyph images (an em above kMaxGlyphImageEm pixels): its text is
  // drawn by filling the outlines within the visible pixels, so that its cost stays that of the bitmap.
  bool DrawsOutlines() const { return metrics_.tmHeight > kMaxGlyphImageEm; }
  // The glyph's outline, unturned, relative to its origin, y down.
  std::vector<Contour> Outline(char32_t c);

protected:
  virtual int LoadAdvance(char32_t c) = 0;
  virtual GlyphImage RenderGlyph(char32_t c, int escapement) = 0;
  virtual std::vector<Contour> LoadOutline(char32_t c) = 0;

  TTextMetric metrics_;
  std::string family_;
  TextStroke underline_;
  TextStroke strikeOut_;
  FaceSource source_;

private:
  // Text is mostly Latin-1: its advances and small upright glyphs are kept in tables that readers
  // use without the mutex. An entry, once set, never changes; a kept glyph is never freed before the
  // face.
  static constexpr char32_t kKeptGlyphs = 0x100;
  static constexpr size_t kMaxKeptGlyphBytes = 4096;
  std::array<std::atomic<int>, kKeptGlyphs> keptAdvances_{};  // the advance + 1; 0: not yet known
  std::array<std::atomic<const GlyphImage*>, kKeptGlyphs> keptGlyphs_{};
  std::array<std::atomic<bool>, kKeptGlyphs> tooLarge_{};  // whether the glyph is not kept
  std::vector<std::shared_ptr<const GlyphImage>> keptGlyphOwners_;

  std::mutex mutex_;
  std::unordered_map<char32_t, int> advances_;
  std::unordered_map<uint64_t, std::shared_ptr<const GlyphImage>> glyphs_;
  size_t glyphBytes_ = 0;  // coverage bytes held by glyphs_
};

// The face for a logical font: the test font for its reserved name, else the installed face that
// fontconfig finds for the name after the system's face mapping (so "Arial" draws with Liberation
// Sans). Missing bold or italic faces are synthesised. Without any usable installed font the test
// font stands in, so drawing never fails.
std::shared_ptr<FontFace> ResolveFont(const TLogFont& font);

// The em height in pixels that a logical font height asks for when cell and em height are equal.
int EmHeightOf(int logicalHeight);

// Contours turned counter-clockwise on screen by escapement tenths of a degree about (0, 0).
std::vector<Contour> RotateContours(std::vector<Contour> contours, int escapement);

// A glyph image with full coverage over the pixels of a (turned) outline.
GlyphImage RasterizeOutline(const std::vector<Contour>& outline);

// Internal factories: the test font and the installed fonts (null when none can be opened).
std::shared_ptr<FontFace> CreateTestFace(int logicalHeight);
std::shared_ptr<FontFace> OpenInstalledFace(const TLogFont& font);

// A character of the "Symbol" face's own encoding as Unicode; other characters unchanged.
char32_t SymbolToUnicode(char32_t c);

}  // namespace platform
