#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/core/Utf8.h"
#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

using Device = TCanvas::Device;

// The visible characters after prefix processing, and where the "&"s underline one.
struct Chars {
  std::u32string text;
  std::vector<size_t> mnemonics;  // ascending indices into text
};

// Takes the prefixes out of chars.text in place: "&&" is one "&"; "&x" is an underlined x; an "&" at
// the end shows nothing.
void ApplyPrefixes(Chars& chars) {
  std::u32string& t = chars.text;
  size_t out = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == U'&') {
      if (++i == t.size()) break;
      if (t[i] != U'&') chars.mnemonics.push_back(out);
    }
    t[out++] = t[i];
  }
  t.resize(out);
}

// A line: chars [begin, end) of the text.
struct LineRange {
  size_t begin, end;
};

// A line as it is drawn: its characters, where they begin in the text, and how many of them from the
// start may carry a mnemonic (an ellipsis that ends the line carries none).
struct LineText {
  std::u32string_view chars;
  size_t begin;
  size_t marked;
};

// What a call needs besides its result, kept on the thread so that text drawn word by word allocates
// nothing.
struct Scratch {
  Chars chars;
  std::vector<LineRange> lines;
  std::u32string cut;  // a line shortened to end in "..."
};

// The thread's scratch buffers, kept between calls so that a redraw allocates nothing; a call made
// while they are in use (from a page sink, say) gets buffers of its own.
class ScratchLease {
public:
  ScratchLease() : shared_(!busy_) { busy_ = true; }
  ~ScratchLease() {
    if (shared_) busy_ = false;
  }
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;
  Scratch& Get() { return shared_ ? kept_ : own_; }

private:
  static thread_local Scratch kept_;
  static thread_local bool busy_;
  const bool shared_;
  Scratch own_;
};

thread_local Scratch ScratchLease::kept_;
thread_local bool ScratchLease::busy_ = false;

class Layout {
public:
  Layout(Device& d, unsigned format) : d_(d), face_(d.Face()), format_(format) {
    tab_ = 8 * std::max(1, face_.Metrics().tmAveCharWidth);
  }

  // Width of the chars laid out from a line start.
  int Width(std::u32string_view chars) const {
    int w = 0;
    for (char32_t c : chars) w = Advance(w, c);
    return w;
  }

  int Advance(int x, char32_t c) const {
    if (c == U'\t' && (format_ & DT_EXPANDTABS)) return (x / tab_ + 1) * tab_;
    return x + face_.Advance(c);
  }

  // Splits the text into lines: at CR, LF or CR LF unless single-line, then at blanks with word break.
  void Lines(std::u32string_view text, int limit, std::vector<LineRange>& lines) const {
    lines.clear();
    const bool single = format_ & DT_SINGLELINE;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      const bool end = i == text.size();
      if (!end && (single || (text[i] != U'\r' && text[i] != U'\n'))) continue;
      if ((format_ & DT_WORDBREAK) && !single)
        Wrap(text, start, i, limit, lines);
      else
        lines.push_back({start, i});
      if (!end && text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
      start = i + 1;
    }
  }

  // A line wider than limit cut to end in "...", into `out`; the number of characters it keeps.
  size_t WithEllipsis(std::u32string_view line, int limit, std::u32string& out) const {
    static constexpr std::u32string_view kDots = U"...";
    const int dots = Width(kDots);
    size_t keep = line.size();
    while (keep > 0 && Width(line.substr(0, keep)) + dots > limit) --keep;
    out.assign(line.substr(0, keep));
    out += kDots;
    return keep;
  }

  // Draws a line with its top-left corner at (x, y): pieces between tabs at their tab stops.
  void Draw(const LineText& line, const std::vector<size_t>& mnemonics, int x, int y) {
    const TTextMetric& m = face_.Metrics();
    if (d_.state.bkMode == OPAQUE && d_.pathState != Device::PathState::Recording)
      d_.Paint(PolygonRegion({Band(x, y, Width(line.chars), m.tmHeight)}, FillRule::Winding, d_.Visible()),
               d_.state.bkColor, R2_COPYPEN);
    // The pieces go on a transparent background (the line's is painted above); the mode is put back
    // on every path.
    struct BkModeRestore {
      DcState& state;
      int mode;
      ~BkModeRestore() { state.bkMode = mode; }
    } restore{d_.state, std::exchange(d_.state.bkMode, TRANSPARENT)};
    const std::u32string_view chars = line.chars;
    int pos = 0;
    size_t i = 0;
    while (i < chars.size()) {
      if (chars[i] == U'\t') {
        pos = Advance(pos, U'\t');
        ++i;
        continue;
      }
      const size_t start = i;
      i = std::min(chars.find(U'\t', start), chars.size());
      const std::u32string_view piece = chars.substr(start, i - start);
      const TPoint at = AlongBaseline(x, y, pos);
      d_.TextRun(at.X, at.Y, piece, Mnemonic(line, mnemonics, start, i));
      if (i < chars.size()) pos += Width(piece);  // where the tab after it starts
    }
  }

private:
  // The last mnemonic among the line's chars [from, to), from the first of them; -1 none.
  static int Mnemonic(const LineText& line, const std::vector<size_t>& mnemonics, size_t from, size_t to) {
    to = std::min(to, line.marked);
    int found = -1;
    for (size_t at : mnemonics)
      if (at >= line.begin + from && at < line.begin + to) found = static_cast<int>(at - line.begin - from);
    return found;
  }

  // Breaks the paragraph text [begin, end) into lines.
  void Wrap(std::u32string_view text, size_t begin, size_t end, int limit, std::vector<LineRange>& lines) const {
    const std::u32string_view p = text.substr(begin, end - begin);
    auto blank = [&](size_t i) { return p[i] == U' '; };
    size_t start = 0;
    do {
      size_t i = start, breakAt = std::string::npos, next = p.size(), stop = p.size();
      int w = 0;
      for (; i < p.size(); ++i) {
        if (blank(i)) {
          if (i > start && !blank(i - 1)) breakAt = i;
          w = Advance(w, p[i]);
          continue;
        }
        const int after = Advance(w, p[i]);
        if (after > limit && i > start) {
          if (breakAt != std::string::npos) {
            stop = breakAt;
          } else if (format_ & DT_EDITCONTROL) {
            stop = i;  // the word is broken after the last character that fits
          } else {
            stop = i;  // the word stays whole on its own line
            while (stop < p.size() && !blank(stop)) ++stop;
          }
          next = stop;
          while (next < p.size() && blank(next)) ++next;
          break;
        }
        w = after;
      }
      lines.push_back({begin + start, begin + stop});
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
  ScratchLease lease;
  Scratch& scratch = lease.Get();
  Chars& chars = scratch.chars;
  DecodeTextInto(text, chars.text);
  chars.mnemonics.clear();
  if (!(format & DT_NOPREFIX)) ApplyPrefixes(chars);
  const std::u32string_view all = chars.text;
  std::vector<LineRange>& lines = scratch.lines;
  layout.Lines(all, limit, lines);
  auto lineChars = [&](const LineRange& line) { return all.substr(line.begin, line.end - line.begin); };
  const bool single = format & DT_SINGLELINE;
  const int height = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const LineRange& line : lines) widest = std::max(widest, layout.Width(lineChars(line)));
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + height;
    return height;
  }

  int y = area.Top;
  if (single && (format & DT_VCENTER)) y = (area.Top + area.Bottom - lineHeight) / 2;
  if (single && (format & DT_BOTTOM)) y = area.Bottom - lineHeight;
  std::optional<ClipRectGuard> clip;
  if (!(format & DT_NOCLIP)) clip.emplace(d, d.ToDevice(area));
  const bool aligned = format & (DT_RIGHT | DT_CENTER | DT_END_ELLIPSIS);
  for (size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
    if ((format & DT_EDITCONTROL) && !single && i > 0 && y + lineHeight > area.Bottom) break;
    LineText line{lineChars(lines[i]), lines[i].begin, lines[i].end - lines[i].begin};
    int width = aligned ? layout.Width(line.chars) : 0;
    if ((format & DT_END_ELLIPSIS) && width > limit) {
      line.marked = layout.WithEllipsis(line.chars, limit, scratch.cut);
      line.chars = scratch.cut;
      width = layout.Width(line.chars);
    }
    int x = area.Left;
    if (format & DT_RIGHT) x = area.Right - width;
    if (format & DT_CENTER) x = area.Left + (limit - width) / 2;
    layout.Draw(line, chars.mnemonics, x, y);
  }
  return single && (format & (DT_VCENTER | DT_BOTTOM)) ? y - area.Top : height;
}

}  // namespace

}  // namespace platform
