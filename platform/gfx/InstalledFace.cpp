// Installed fonts through fontconfig and FreeType; the only file that sees either library.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H


#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/core/Ascii.h"
#include "platform/gfx/FontEngine.h"

// fontconfig keeps some memory of its configuration parse unreachable until exit; the leak checker
// of the sanitizer builds is told so (the function is only called by that checker).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace platform {

namespace {

// The system's face names and the installed families that stand in for them.
struct FaceMapping {
  const char* name;
  const char* family;
};
constexpr FaceMapping kFaceMappings[] = {
    {"Tahoma", "DejaVu Sans"},           {"MS Sans Serif", "DejaVu Sans"},
    {"Arial", "Liberation Sans"},        {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},  {"Symbol", "DejaVu Sans"},
};

// The process's FreeType library. It is never released, so faces may be released at any time,
// also while the process exits. Guarded by LibraryMutex for face creation and release.
FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

struct FaceFile {
  std::string path;
  int index = 0;
  std::string family;
  bool bold = false;
  bool italic = false;
};

bool FindFaceFile(const std::string& family, bool bold, bool italic, FaceFile& out) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* file = nullptr;
  FcChar8* matchedFamily = nullptr;
  int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    out.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch)
      out.family = reinterpret_cast<const char*>(matchedFamily);
    out.index = index;
    out.bold = weight >= FC_WEIGHT_DEMIBOLD;
    out.italic = slant != FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  return ok;
}

FT_Fixed ToFixed(double v) { return static_cast<FT_Fixed>(std::lround(v * 65536.0)); }

class InstalledFace : public FontFace {
public:
  InstalledFace(FT_Face face, const FaceFile& file, const TLogFont& font, bool symbolEncoding)
      : face_(face), symbolEncoding_(symbolEncoding) {
    family_ = file.family;
    emboldenBy_ = font.Weight >= FW_BOLD && !file.bold ? 64 : 0;
    oblique_ = font.Italic && !file.italic;

    const double upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const double winAscent = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
    const double winDescent = os2 && (os2->usWinAscent || os2->usWinDescent) ? os2->usWinDescent : -face->descender;
    const double cellUnits = std::max(1.0, winAscent + winDescent);

    int ppem;
    if (font.Height > 0) {
      ppem = std::max(1, static_cast<int>(std::lround(font.Height * upem / cellUnits)));
      metrics_.tmAscent = static_cast<int>(std::lround(winAscent * font.Height / cellUnits));
      metrics_.tmDescent = font.Height - metrics_.tmAscent;
    } else {
      ppem = EmHeightOf(font.Height);
      metrics_.tmAscent = static_cast<int>(std::lround(winAscent * ppem / upem));
      metrics_.tmDescent = static_cast<int>(std::lround(winDescent * ppem / upem));
    }
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(ppem));
    source_ = {file.path, file.index, ppem, emboldenBy_ != 0, oblique_, symbolEncoding};
    const double scale = ppem / upem;
    metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
    metrics_.tmInternalLeading = std::max(0, metrics_.tmHeight - ppem);
    if (hhea) {
      const double gap = hhea->Line_Gap + hhea->Ascender - hhea->Descender - cellUnits;
      metrics_.tmExternalLeading = std::max(0, static_cast<int>(std::lround(gap * scale)));
    }
    metrics_.tmAveCharWidth = os2 ? static_cast<int>(std::lround(os2->xAvgCharWidth * scale)) : ppem / 2;
    metrics_.tmMaxCharWidth = static_cast<int>(std::lround(face->max_advance_width * scale)) + (emboldenBy_ ? 1 : 0);
    metrics_.tmWeight = font.Weight >= FW_BOLD ? FW_BOLD : FW_NORMAL;
    metrics_.tmPitchAndFamily =
        TMPF_VECTOR | TMPF_TRUETYPE | (FT_IS_FIXED_WIDTH(face_) ? 0 : TMPF_FIXED_PITCH);

    const int underlineThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
    underline_ = {static_cast<int>(std::lround(-face->underline_position * scale)) - underlineThickness / 2,
                  underlineThickness};
    if (underline_.offset < 1) underline_.offset = 1;
    if (os2 && os2->yStrikeoutSize > 0) {
      strikeOut_ = {static_cast<int>(std::lround(-os2->yStrikeoutPosition * scale)),
                    std::max(1, static_cast<int>(std::lround(os2->yStrikeoutSize * scale)))};
    } else {
      strikeOut_ = {-(metrics_.tmAscent / 3), underlineThickness};
    }
  }

  ~InstalledFace() override {
    std::lock_guard lock(LibraryMutex());
    FT_Done_Face(face_);
  }

protected:
  int LoadAdvance(char32_t c) override {
    if (FT_Load_Glyph(face_, GlyphIndex(c), FT_LOAD_DEFAULT) != 0) return 0;
    return static_cast<int>((face_->glyph->advance.x + 32) >> 6) + (emboldenBy_ ? 1 : 0);
  }

  GlyphImage RenderGlyph(char32_t c, int escapement) override {
    GlyphImage image;
    const FT_Int32 flags = FT_LOAD_NO_BITMAP | (escapement ? FT_LOAD_NO_HINTING : FT_LOAD_DEFAULT);
    if (!LoadOutlineGlyph(c, flags)) return image;
    FT_GlyphSlot slot = face_->glyph;
    if (escapement) {
      const double a = escapement * M_PI / 1800.0;
      FT_Matrix m{ToFixed(std::cos(a)), ToFixed(-std::sin(a)), ToFixed(std::sin(a)), ToFixed(std::cos(a))};
      FT_Outline_Transform(&slot->outline, &m);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
      return image;
    const FT_Bitmap& bm = slot->bitmap;
    image.left = slot->bitmap_left;
    image.top = -slot->bitmap_top;
    image.width = static_cast<int>(bm.width);
    image.height = static_cast<int>(bm.rows);
    image.coverage.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
      std::copy_n(bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch, image.width,
                  image.coverage.data() + static_cast<size_t>(y) * image.width);
    return image;
  }

  std::vector<Contour> LoadOutline(char32_t c) override {
    std::vector<Contour> contours;
    if (!LoadOutlineGlyph(c, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING)) return contours;
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector* to, void* user) {
      auto& cs = *static_cast<std::vector<Contour>*>(user);
      cs.push_back({{to->x, -to->y}});
      return 0;
    };
    funcs.line_to = [](const FT_Vector* to, void* user) {
      static_cast<std::vector<Contour>*>(user)->back().push_back({to->x, -to->y});
      return 0;
    };
    funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
      Contour& c = static_cast<std::vector<Contour>*>(user)->back();
      const FixedPoint p0 = c.back();
      constexpr int kSteps = 8;
      for (int i = 1; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps, u = 1 - t;
        c.push_back({std::llround(u * u * p0.x + 2 * u * t * control->x + t * t * to->x),
                     std::llround(u * u * p0.y - 2 * u * t * control->y - t * t * to->y)});
      }
      return 0;
    };
    funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
      Contour& c = static_cast<std::vector<Contour>*>(user)->back();
      const FixedPoint p0 = c.back();
      constexpr int kSteps = 12;
      for (int i = 1; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps, u = 1 - t;
        const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        c.push_back({std::llround(b0 * p0.x + b1 * c1->x + b2 * c2->x + b3 * to->x),
                     std::llround(b0 * p0.y - b1 * c1->y - b2 * c2->y - b3 * to->y)});
      }
      return 0;
    };
    FT_Outline_Decompose(&face_->glyph->outline, &funcs, &contours);
    return contours;
  }

private:
  FT_UInt GlyphIndex(char32_t c) const {
    return FT_Get_Char_Index(face_, symbolEncoding_ ? SymbolToUnicode(c) : c);
  }

  // Loads the glyph's outline with the synthesised bold and italic applied; false for a glyph
  // without an outline.
  bool LoadOutlineGlyph(char32_t c, FT_Int32 flags) {
    if (FT_Load_Glyph(face_, GlyphIndex(c), flags) != 0) return false;
    FT_GlyphSlot slot = face_->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (emboldenBy_) FT_Outline_EmboldenXY(&slot->outline, emboldenBy_, 0);
    if (oblique_) {
      FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
      FT_Outline_Transform(&slot->outline, &shear);
    }
    return true;
  }

  FT_Face face_;
  bool symbolEncoding_;
  FT_Pos emboldenBy_ = 0;
  bool oblique_ = false;
};

}  // namespace

std::shared_ptr<FontFace> OpenInstalledFace(const TLogFont& font) {
  std::string family = font.FaceName;
  bool symbolEncoding = false;
  for (const FaceMapping& m : kFaceMappings) {
    if (SameText(m.name, font.FaceName)) {
      family = m.family;
      symbolEncoding = SameText(m.name, "Symbol");
      break;
    }
  }
  const bool bold = font.Weight >= FW_BOLD;
  std::lock_guard lock(LibraryMutex());
  FaceFile file;
  if (!Library() || !FindFaceFile(family, bold, font.Italic, file)) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    return nullptr;
  }
  return std::make_shared<InstalledFace>(face, file, font, symbolEncoding);
}

std::vector<std::string> InstalledFontFamilies() {
  std::vector<std::string> families;
  {
    std::lock_guard lock(LibraryMutex());
    FcPattern* pattern = FcPatternBuild(nullptr, FC_SCALABLE, FcTypeBool, FcTrue, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
      FcChar8* family = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
        families.emplace_back(reinterpret_cast<const char*>(family));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
  }
  std::sort(families.begin(), families.end(), [](const std::string& a, const std::string& b) {
    return CompareText(a, b) < 0;
  });
  families.erase(std::unique(families.begin(), families.end(), [](const std::string& a, const std::string& b) {
                   return SameText(a, b);
                 }),
                 families.end());
  return families;
}

}  // namespace platform
