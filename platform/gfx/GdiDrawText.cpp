#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/core/Utf8.h"
#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

using Device = TCanvas::Device;

// A visible character after prefix processing; `mnemonic` marks the one an "&" underlines.
struct Char {
  char32_t c;
  bool mnemonic;
};
using Chars = std::vector<Char>;

Chars ApplyPrefixes(const std::u32string& text, bool noPrefix) {
  Chars out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (noPrefix || text[i] != U'&') {
      out.push_back({text[i], false});
    } else if (i + 1 < text.size()) {
      // "&&" is one "&"; "&x" is an underlined x; an "&" at the end shows nothing.
      ++i;
      out.push_back({text[i], text[i] != U'&'});
    }
  }
  return out;
}

class Layout {
public:
  Layout(Device& d, unsigned format) : d_(d), face_(d.Face()), format_(format) {
    tab_ = 8 * std::max(1, face_.Metrics().tmAveCharWidth);
  }

  // Width of chars [begin, end) laid out from a line start.
  int Width(const Chars& chars, size_t begin, size_t end) const {
    int w = 0;
    for (size_t i = begin; i < end; ++i) w = Advance(w, chars[i].c);
    return w;
  }

  int Advance(int x, char32_t c) const {
    if (c == U'\t' && (format_ & DT_EXPANDTABS)) return (x / tab_ + 1) * tab_;
    return x + face_.Advance(c);
  }

  // Splits the text into lines: at CR, LF or CR LF unless single-line, then at blanks with word break.
  std::vector<Chars> Lines(const Chars& chars, int limit) const {
    std::vector<Chars> lines;
    const bool single = format_ & DT_SINGLELINE;
    size_t start = 0;
    for (size_t i = 0; i <= chars.size(); ++i) {
      const bool end = i == chars.size();
      if (!end && (single || (chars[i].c != U'\r' && chars[i].c != U'\n'))) continue;
      Chars paragraph(chars.begin() + static_cast<ptrdiff_t>(start), chars.begin() + static_cast<ptrdiff_t>(i));
      if ((format_ & DT_WORDBREAK) && !single)
        Wrap(paragraph, limit, lines);
      else
        lines.push_back(std::move(paragraph));
      if (!end && chars[i].c == U'\r' && i + 1 < chars.size() && chars[i + 1].c == U'\n') ++i;
      start = i + 1;
    }
    return lines;
  }

  // A line wider than limit cut to end in "...".
  Chars WithEllipsis(const Chars& line, int limit) const {
    static const Chars kDots = {{U'.', false}, {U'.', false}, {U'.', false}};
    const int dots = Width(kDots, 0, 3);
    size_t keep = line.size();
    while (keep > 0 && Width(line, 0, keep) + dots > limit) --keep;
    Chars out(line.begin(), line.begin() + static_cast<ptrdiff_t>(keep));
    out.insert(out.end(), kDots.begin(), kDots.end());
    return out;
  }

  // Draws a line with its top-left corner at (x, y): pieces between tabs at their tab stops.
  void Draw(const Chars& line, int x, int y) {
    const TTextMetric& m = face_.Metrics();
    if (d_.state.bkMode == OPAQUE && d_.pathState != Device::PathState::Recording)
      d_.Paint(PolygonRegion({Band(x, y, Width(line, 0, line.size()), m.tmHeight)}, FillRule::Winding, d_.Visible()),
               d_.state.bkColor, R2_COPYPEN);
    // The pieces go on a transparent background (the line's is painted above); the mode is put back
    // on every path.
    struct BkModeRestore {
      DcState& state;
      int mode;
      ~BkModeRestore() { state.bkMode = mode; }
    } restore{d_.state, std::exchange(d_.state.bkMode, TRANSPARENT)};
    int pos = 0;
    size_t i = 0;
    while (i < line.size()) {
      if (line[i].c == U'\t') {
        pos = Advance(pos, U'\t');
        ++i;
        continue;
      }
      std::u32string piece;
      int mnemonic = -1;
      const int pieceStart = pos;
      for (; i < line.size() && line[i].c != U'\t'; ++i) {
        if (line[i].mnemonic) mnemonic = static_cast<int>(piece.size());
        piece.push_back(line[i].c);
        pos = Advance(pos, line[i].c);
      }
      const TPoint at = AlongBaseline(x, y, pieceStart);
      d_.TextRun(at.X, at.Y, piece, mnemonic);
    }
  }

private:
  void Wrap(const Chars& p, int limit, std::vector<Chars>& lines) const {
    auto blank = [&](size_t i) { return p[i].c == U' '; };
    size_t start = 0;
    do {
      size_t i = start, breakAt = std::string::npos, next = p.size(), end = p.size();
      int w = 0;
      for (; i < p.size(); ++i) {
        if (blank(i)) {
          if (i > start && !blank(i - 1)) breakAt = i;
          w = Advance(w, p[i].c);
          continue;
        }
        const int after = Advance(w, p[i].c);
        if (after > limit && i > start) {
          if (breakAt != std::string::npos) {
            end = breakAt;
          } else if (format_ & DT_EDITCONTROL) {
            end = i;  // the word is broken after the last character that fits
          } else {
            end = i;  // the word stays whole on its own line
            while (end < p.size() && !blank(end)) ++end;
          }
          next = end;
          while (next < p.size() && blank(next)) ++next;
          break;
        }
        w = after;
      }
      lines.emplace_back(p.begin() + static_cast<ptrdiff_t>(start), p.begin() + static_cast<ptrdiff_t>(end));
      start = next;
    } while (start < p.size());
  }

  // The top-left of text that starts `distance` pixels along the baseline of a line at (x, y).
  TPoint AlongBaseline(int x, int y, int distance) const {
    if (distance == 0) return {x, y};
    const double a = d_.state.font.Escapement * M_PI / 1800.0;
    return {x + static_cast<int>(std::lround(distance * std::cos(a))),
            y - static_cast<int>(std::lround(distance * std::sin(a)))};
  }

  Contour Band(int x, int y, int width, int height) const {
    const TPoint o = d_.ToDevice(TPoint{x, y});
    const double a = d_.state.font.Escapement * M_PI / 1800.0, c = std::cos(a), s = std::sin(a);
    auto point = [&](double along, double down) {
      return FixedPoint{std::llround((o.X + along * c + down * s) * 64), std::llround((o.Y - along * s + down * c) * 64)};
    };
    return {point(0, 0), point(width, 0), point(width, height), point(0, height)};
  }

  Device& d_;
  FontFace& face_;
  unsigned format_;
  int tab_;
};

}  // namespace

namespace {

int DrawTextInPixels(Device& d, std::string_view text, TRect& rect, unsigned format);

// A mapped device lays the text out in its pixels: the rectangle is taken to the device, the text is
// drawn there with the identity mapping and the same face, and the results come back in logical units
// (a calculated rectangle grows downward on the page, so its bottom is below its top).
int DrawTextMapped(Device& d, std::string_view text, TRect& rect, unsigned format) {
  TRect pixels = d.ToDevice(rect);
  int height;
  d.Face();
  const std::shared_ptr<FontFace> face = d.face;  // the mapped font's face serves the pixel font as well
  {
    DcStateGuard guard(d);
    d.state.font = d.DeviceFont();
    d.state.mapMode = MM_TEXT;
    d.state.viewportOrg = {0, 0};
    height = DrawTextInPixels(d, text, pixels, format);
  }
  d.face = face;
  if (format & DT_CALCRECT) {
    rect.Right = rect.Left + d.LengthToLogical(pixels.Width());
    rect.Bottom = rect.Top - d.LengthToLogical(pixels.Height());
  }
  return d.LengthToLogical(height);
}

}  // namespace

int DrawText(HDC dc, std::string_view text, TRect& rect, unsigned format) {
  if (!dc) return 0;
  Device& d = CanvasAccess::Of(*dc);
  return d.Mapped() ? DrawTextMapped(d, text, rect, format) : DrawTextInPixels(d, text, rect, format);
}

namespace {

int DrawTextInPixels(Device& d, std::string_view text, TRect& rect, unsigned format) {
  Layout layout(d, format);
  const TTextMetric& m = d.Face().Metrics();
  const int lineHeight = m.tmHeight + ((format & DT_EXTERNALLEADING) ? m.tmExternalLeading : 0);
  const TRect area = d.ToLogical(d.ToDevice(rect));  // within the device's range: no overflow below
  const int limit = area.Width();
  std::vector<Chars> lines = layout.Lines(ApplyPrefixes(DecodeText(text), format & DT_NOPREFIX), limit);
  const bool single = format & DT_SINGLELINE;
  const int height = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Chars& line : lines) widest = std::max(widest, layout.Width(line, 0, line.size()));
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + height;
    return height;
  }

  int y = area.Top;
  if (single && (format & DT_VCENTER)) y = (area.Top + area.Bottom - lineHeight) / 2;
  if (single && (format & DT_BOTTOM)) y = area.Bottom - lineHeight;
  std::optional<ClipRectGuard> clip;
  if (!(format & DT_NOCLIP)) clip.emplace(d, d.ToDevice(area));
  for (size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
    if ((format & DT_EDITCONTROL) && !single && i > 0 && y + lineHeight > area.Bottom) break;
    Chars& line = lines[i];
    int width = layout.Width(line, 0, line.size());
    if ((format & DT_END_ELLIPSIS) && width > limit) {
      line = layout.WithEllipsis(line, limit);
      width = layout.Width(line, 0, line.size());
    }
    int x = area.Left;
    if (format & DT_RIGHT) x = area.Right - width;
    if (format & DT_CENTER) x = area.Left + (limit - width) / 2;
    layout.Draw(line, x, y);
  }
  return single && (format & (DT_VCENTER | DT_BOTTOM)) ? y - area.Top : height;
}

}  // namespace

}  // namespace platform
