#include "platform/printing/PdfDocument.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <ctime>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/core/Utf8.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/FontEngine.h"

namespace platform {

namespace {

// The FreeType library of the PDF fonts, apart from the canvas's, so that the two never share a face.
std::mutex& FreeTypeMutex() {
  static std::mutex mutex;
  return mutex;
}

FT_Library FreeType() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

const cairo_user_data_key_t kFaceKey{};
const cairo_user_data_key_t kTestSizeKey{};

void DoneFace(void* face) {
  std::lock_guard lock(FreeTypeMutex());
  FT_Done_Face(static_cast<FT_Face>(face));
}

// The test font's ink, as its header describes it, in em units: one box per inked character.
cairo_status_t RenderTestGlyph(cairo_scaled_font_t* font, unsigned long glyph, cairo_t* cr,
                               cairo_text_extents_t* extents) {
  const auto* size = static_cast<const int*>(
      cairo_font_face_get_user_data(cairo_scaled_font_get_font_face(font), &kTestSizeKey));
  const int p = size ? *size : 12;
  const int advance = glyph < 0x20 ? 0 : std::max(1, p / 2);
  extents->x_advance = static_cast<double>(advance) / p;
  if (glyph >= 0x21 && glyph != 0xA0) {
    const int ascent = p - p / 4;
    cairo_rectangle(cr, 0, -static_cast<double>(ascent) / p, static_cast<double>(std::max(1, advance - 1)) / p,
                    static_cast<double>(ascent) / p);
    cairo_fill(cr);
  }
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t TestGlyphOf(cairo_scaled_font_t*, unsigned long unicode, unsigned long* glyph) {
  *glyph = unicode;
  return CAIRO_STATUS_SUCCESS;
}

std::string IsoDate(int64_t unixMs) {
  const time_t seconds = static_cast<time_t>(unixMs / 1000);
  tm t{};
  gmtime_r(&seconds, &t);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &t);
  return text;
}

void ClipTo(cairo_t* cr, const Region* clip) {
  if (!clip) return;
  cairo_new_path(cr);
  clip->ForEachRect([&](const TRect& r) { cairo_rectangle(cr, r.Left, r.Top, r.Width(), r.Height()); });
  cairo_clip(cr);
}

void SetColor(cairo_t* cr, TColor rgb) {
  cairo_set_source_rgb(cr, (rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, ((rgb >> 16) & 0xFF) / 255.0);
}

}  // namespace

struct PdfDocument::Writer : PageSink {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  double scale = 0.1;  // points per device pixel
  bool inPage = false;
  bool finished = false;
  int pages = 0;
  std::map<std::tuple<std::string, int, bool, bool>, cairo_font_face_t*> faces;
  std::map<int, cairo_font_face_t*> testFaces;
  cairo_font_options_t* options = nullptr;

  ~Writer() override {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);  // finishes the file as it stands
    for (auto& [key, face] : faces) cairo_font_face_destroy(face);
    for (auto& [key, face] : testFaces) cairo_font_face_destroy(face);
    if (options) cairo_font_options_destroy(options);
  }

  void Check(const char* what) {
    cairo_status_t status = cr ? cairo_status(cr) : CAIRO_STATUS_SUCCESS;
    if (status == CAIRO_STATUS_SUCCESS && surface) status = cairo_surface_status(surface);
    if (status != CAIRO_STATUS_SUCCESS)
      throw EPdfError(std::string("The PDF could not be written (") + what + "): " + cairo_status_to_string(status));
  }

  cairo_font_face_t* FaceFor(const FontFace& face) {
    if (const FaceSource* source = face.Source()) {
      const auto key = std::make_tuple(source->path, source->index, source->emboldened, source->slanted);
      if (auto it = faces.find(key); it != faces.end()) return it->second;
      FT_Face ft = nullptr;
      {
        std::lock_guard lock(FreeTypeMutex());
        if (!FreeType() || FT_New_Face(FreeType(), source->path.c_str(), source->index, &ft) != 0) ft = nullptr;
      }
      if (!ft) throw EPdfError("The font file " + source->path + " could not be opened");
      cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(ft, 0);
      if (cairo_font_face_set_user_data(cf, &kFaceKey, ft, DoneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        DoneFace(ft);
        throw EPdfError("The font file " + source->path + " could not be used");
      }
      unsigned synthesize = 0;
      if (source->emboldened) synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
      if (source->slanted) synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
      if (synthesize) cairo_ft_font_face_set_synthesize(cf, synthesize);
      faces.emplace(key, cf);
      return cf;
    }
    const int p = face.Metrics().tmHeight;
    if (auto it = testFaces.find(p); it != testFaces.end()) return it->second;
    cairo_font_face_t* cf = cairo_user_font_face_create();
    cairo_user_font_face_set_render_glyph_func(cf, RenderTestGlyph);
    cairo_user_font_face_set_unicode_to_glyph_func(cf, TestGlyphOf);
    cairo_font_face_set_user_data(cf, &kTestSizeKey, new int(p), [](void* v) { delete static_cast<int*>(v); });
    testFaces.emplace(p, cf);
    return cf;
  }

  // The glyph index of a character in the face as the canvas draws it.
  static unsigned long GlyphIndex(cairo_font_face_t* cf, const FaceSource* source, char32_t c) {
    if (!source) return c;
    auto* ft = static_cast<FT_Face>(cairo_font_face_get_user_data(cf, &kFaceKey));
    std::lock_guard lock(FreeTypeMutex());
    return FT_Get_Char_Index(ft, source->symbolEncoding ? SymbolToUnicode(c) : c);
  }

  void FillRegion(const Region& region, TColor color) override {
    cairo_new_path(cr);
    region.ForEachRect([&](const TRect& r) { cairo_rectangle(cr, r.Left, r.Top, r.Width(), r.Height()); });
    SetColor(cr, color);
    cairo_fill(cr);
  }

  void GlyphRun(const PageGlyphRun& run) override {
    FontFace& face = *run.face;
    cairo_font_face_t* cf = FaceFor(face);
    const FaceSource* source = face.Source();
    const double size = source ? source->pixelSize : face.Metrics().tmHeight;
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string text;
    for (const PageGlyph& g : run.glyphs) {
      if (g.code < 0x20) continue;  // control characters have no glyph
      const char32_t shown = source && source->symbolEncoding ? SymbolToUnicode(g.code) : g.code;
      std::string utf8;
      AppendCodePoint(utf8, shown);
      glyphs.push_back({GlyphIndex(cf, source, g.code), g.x, g.y});
      clusters.push_back({static_cast<int>(utf8.size()), 1});
      text += utf8;
    }
    if (glyphs.empty()) return;
    cairo_save(cr);
    ClipTo(cr, run.clip);
    cairo_set_font_face(cr, cf);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, size, size);
    if (run.escapement % 3600 != 0) cairo_matrix_rotate(&m, -run.escapement * M_PI / 1800.0);
    cairo_set_font_matrix(cr, &m);
    cairo_set_font_options(cr, options);
    SetColor(cr, run.color);
    cairo_show_text_glyphs(cr, text.data(), static_cast<int>(text.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), clusters.data(), static_cast<int>(clusters.size()),
                           cairo_text_cluster_flags_t{});
    cairo_restore(cr);
  }

  void Image(const TRect& dest, const TBitmap& source, const TRect& src, PageImageMode mode, TColor transparent,
             const Region* clip) override {
    TRect part;
    if (!IntersectRect(part, src, Rect(0, 0, source.Width(), source.Height()))) return;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, part.Width(), part.Height());
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint32_t key = ((transparent & 0xFF) << 16) | (transparent & 0xFF00) | ((transparent >> 16) & 0xFF);
    for (int y = 0; y < part.Height(); ++y) {
      const uint32_t* from = source.ScanLine(part.Top + y) + part.Left;
      auto* to = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
      for (int x = 0; x < part.Width(); ++x) {
        const uint32_t p = from[x];
        switch (mode) {
          case PageImageMode::Copy: to[x] = p | 0xFF000000u; break;
          case PageImageMode::Transparent: to[x] = (p & 0xFFFFFF) == key ? 0 : (p | 0xFF000000u); break;
          case PageImageMode::Alpha: {
            const uint32_t a = p >> 24;
            auto pre = [a](uint32_t v) { return (v * a + 127) / 255; };
            to[x] = (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
            break;
          }
        }
      }
    }
    cairo_surface_mark_dirty(image);
    cairo_save(cr);
    ClipTo(cr, clip);
    cairo_new_path(cr);
    cairo_rectangle(cr, dest.Left, dest.Top, dest.Width(), dest.Height());
    cairo_clip(cr);
    // The source rectangle's own scale, so that a part cut off by the bitmap's edge stays in place.
    const double sx = static_cast<double>(dest.Width()) / src.Width(), sy = static_cast<double>(dest.Height()) / src.Height();
    cairo_translate(cr, dest.Left + (part.Left - src.Left) * sx, dest.Top + (part.Top - src.Top) * sy);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
  }
};

PdfDocument::PdfDocument(const std::string& fileName, const PdfInfo& info, int pixelsPerInch)
    : writer_(std::make_unique<Writer>()) {
  Writer& w = *writer_;
  w.scale = 72.0 / (pixelsPerInch > 0 ? pixelsPerInch : 72);
  w.surface = cairo_pdf_surface_create(fileName.c_str(), 595.2756, 841.8898);
  if (cairo_surface_status(w.surface) != CAIRO_STATUS_SUCCESS)
    throw EPdfError("Cannot create file \"" + fileName + "\"");
  cairo_pdf_surface_set_metadata(w.surface, CAIRO_PDF_METADATA_TITLE, info.title.c_str());
  cairo_pdf_surface_set_metadata(w.surface, CAIRO_PDF_METADATA_CREATOR, info.creator.c_str());
  const std::string date = IsoDate(info.createdUnixMs);
  cairo_pdf_surface_set_metadata(w.surface, CAIRO_PDF_METADATA_CREATE_DATE, date.c_str());
  cairo_pdf_surface_set_metadata(w.surface, CAIRO_PDF_METADATA_MOD_DATE, date.c_str());
  w.cr = cairo_create(w.surface);
  w.options = cairo_font_options_create();
  cairo_font_options_set_hint_style(w.options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(w.options, CAIRO_HINT_METRICS_OFF);
  w.Check("create");
}

PdfDocument::~PdfDocument() = default;

void PdfDocument::BeginPage(double widthPoints, double heightPoints) {
  Writer& w = *writer_;
  if (w.inPage) EndPage();
  cairo_pdf_surface_set_size(w.surface, widthPoints, heightPoints);
  cairo_save(w.cr);
  cairo_scale(w.cr, w.scale, w.scale);
  w.inPage = true;
  w.Check("page");
}

PageSink& PdfDocument::Sink() { return *writer_; }

void PdfDocument::EndPage() {
  Writer& w = *writer_;
  if (!w.inPage) return;
  cairo_restore(w.cr);
  cairo_show_page(w.cr);
  w.inPage = false;
  ++w.pages;
  w.Check("page");
}

void PdfDocument::Finish() {
  Writer& w = *writer_;
  if (w.finished) return;
  EndPage();
  if (w.pages == 0) {  // a PDF has at least one page
    BeginPage(595.2756, 841.8898);
    EndPage();
  }
  cairo_destroy(w.cr);
  w.cr = nullptr;
  cairo_surface_finish(w.surface);
  w.finished = true;
  w.Check("finish");
}

int PdfDocument::PageCount() const { return writer_->pages; }

}  // namespace platform
