#include "controls/html/RenderHTML.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

#include "controls/html/MarkupRenderer.h"
#include "controls/html/MarkupText.h"
#include "platform/core/Ascii.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"

namespace controls {

using namespace platform;

namespace {

std::string Utf8(char32_t c) {
  std::string s;
  AppendCodePoint(s, c);
  return s;
}

// The entities of the text and their replacements in UTF-8. "&amp;" becomes "&&", which the text
// output shows as one "&".
using EntityTable = std::array<std::pair<std::string_view, std::string>, 9>;
const EntityTable& Entities() {
  static const EntityTable entities = {{
      {"&amp;", "&&"},           {"&quot;", "\""},          {"&sect;", Utf8(0xA7)},
      {"&permil;", Utf8(0x2030)}, {"&reg;", Utf8(0xAE)},     {"&copy;", Utf8(0xA9)},
      {"&para;", Utf8(0xB6)},    {"&trade;", Utf8(0x2122)}, {"&euro;", Utf8(0x20AC)},
  }};
  return entities;
}

// Entities, the "<#...>" brackets and line ends, before the layout: every round replaces the first
// occurrence of each entity until a round replaces nothing, so an entity that a replacement completes
// is decoded too; "<#" loses its "<" and the first ">" after it; CR becomes <BR> and LF goes.
std::string PrepareText(const std::string& text) {
  std::string s = text;
  if (s.find('&') != std::string::npos) {
    for (bool replaced = true; replaced;) {
      replaced = false;
      for (const auto& [entity, replacement] : Entities()) replaced = ReplaceFirst(entity, replacement, s) || replaced;
    }
  }
  if (const size_t hash = s.find("<#"); hash != std::string::npos) {
    s.erase(hash, 1);
    if (const size_t gt = s.find('>', hash); gt != std::string::npos) s.erase(gt, 1);
  }
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\r')
      out += "<BR>";
    else if (c != '\n')
      out += c;
  }
  return out;
}

// The panel dialect's preparation: line ends go (only tags break lines) and every "<#" loses its "<"
// and the first ">" after it.
std::string PreparePanelText(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n') s += c;
  }
  for (size_t hash = s.find("<#"); hash != std::string::npos; hash = s.find("<#", hash)) {
    s.erase(hash, 1);
    if (const size_t gt = s.find('>', hash); gt != std::string::npos) s.erase(gt, 1);
  }
  return s;
}

void CopyFont(TFont& target, const TFont& source) {
  target.SetPixelsPerInch(source.PixelsPerInch());
  target.Assign(source);
}

}  // namespace

bool RenderHTML(TCanvas& Canvas, const std::string& Text, const TRect& Rect, TCustomImageList* Images, int X, int Y,
                int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CheckHeight, bool Print,
                bool Selected, bool Blink, bool HoverStyle, bool WordWrap, double ResizeFactor, TColor URLColor,
                TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, std::string& AnchorVal,
                std::string& StripVal, std::string& FocusAnchor, int& XSize, int& YSize, int& HyperLinks,
                int& MouseLink, TRect& HoverRect, TMarkupPictureCache* PictureCache,
                TPictureContainer* PictureContainer) {
  markup::RenderArgs args{Canvas,        Rect,         Images,         X,           Y,          FocusLink,
                          HoverLink,     ShadowOffset, CheckHotSpot,   CheckHeight, Print,      Selected,
                          Blink,         HoverStyle,   WordWrap,       ResizeFactor, URLColor,  HoverColor,
                          HoverFontColor, ShadowColor, AnchorVal,      StripVal,    FocusAnchor, XSize,
                          YSize,         HyperLinks,   MouseLink,      HoverRect,   PictureCache, PictureContainer};
  return markup::RenderMarkup(args, Text);
}

void PrintBitmap(TCanvas& Canvas, const TRect& Dest, TBitmap& Bitmap) {
  if (Bitmap.Empty()) return;
  StretchBlt(Canvas.Handle(), Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Bitmap.Canvas().Handle(), 0, 0,
             Bitmap.Width(), Bitmap.Height());
}

namespace markup {

bool RenderMarkup(RenderArgs& args, const std::string& text) {
  bool result;
  {
    CanvasStateGuard state(args.Canvas);  // also when drawing raises
    result = MarkupRenderer(args).Render(text);
  }
  // Text drawn afterwards stays without background, as the renderer leaves it.
  SetBkMode(args.Canvas.Handle(), TRANSPARENT);
  return result;
}

MarkupRenderer::MarkupRenderer(RenderArgs& args) : a_(args), canvas_(args.Canvas) {
  CopyFont(base_, canvas_.Font());
  entryBrush_ = canvas_.Brush().Color();
  canvas_.Brush().SetStyle(TBrushStyle::bsClear);
  SetBkMode(canvas_.Handle(), TRANSPARENT);
  a_.XSize = 0;
  a_.YSize = 0;
  a_.HyperLinks = 0;
  a_.StripVal.clear();
  a_.FocusAnchor.clear();
  a_.MouseLink = -1;
}

// The layout is kept per thread for the next call with the same key; a call that finds one skips
// the measuring passes and only runs the second passes on the lines it holds.
bool MarkupRenderer::Render(const std::string& text) {
  const std::string prepared = a_.PanelDialect ? PreparePanelText(text) : PrepareText(text);
  text_ = prepared;
  tags_ = TagFinder(text_);
  LayoutCache& cache = ThreadLayoutCache();
  LayoutKey key = Key(text);
  const std::shared_ptr<const Layout> kept = cache.Find(key, [this](const Layout& layout) { return StillSized(layout.images); });
  Layout made;
  size_t at = 0, keptLines = 0;
  TRect working = a_.Rect;
  working.Left += 1;
  TFont measureFont, drawFont;
  CopyFont(measureFont, base_);
  CopyFont(drawFont, base_);
  while (kept ? keptLines < kept->lines.size() : at < prepared.size()) {
    const LaidOutLine& laid = kept ? kept->lines[keptLines++] : made.lines.emplace_back(MeasureLine(at, working, measureFont));
    if (kept) {
      // What the measuring pass would have done.
      switches_.sub = switches_.sup = false;
      a_.StripVal += laid.strip;
      a_.XSize = std::max(a_.XSize, laid.line.width);
      line_ = laid.line;
    }
    if (!a_.CheckHeight) {
      CopyFont(canvas_.Font(), drawFont);
      placedRuns_ = &laid.runs;
      nextRun_ = 0;
      RenderLine(a_.CheckHotSpot ? Pass::HotSpot : Pass::Draw, laid.begin, laid.end);
      const int bottom = line_.Bottom() - line_.descent;
      if ((anchorHit_ && a_.Y > bottom - TextHeightGh() && a_.Y < bottom) || imageHit_) result_ = true;
      CopyFont(drawFont, canvas_.Font());
    }

    const int lineHeight = AddClamped(line_.height, line_.subHeight + line_.supHeight);
    working.Top = AddClamped(working.Top, lineHeight);
    a_.YSize = AddClamped(a_.YSize, lineHeight);
    if (working.Top > a_.Rect.Bottom && !a_.CheckHeight) break;
  }
  if (kept && a_.CheckHeight) a_.HyperLinks = kept->hyperLinks;
  if (!kept && !hitSomething_) {
    made.hyperLinks = a_.HyperLinks;
    made.images = std::move(sizedImages_);
    cache.Keep(std::move(key), std::move(made));
  }
  CopyFont(canvas_.Font(), base_);
  if (a_.YSize == 0) a_.YSize = TextHeightGh();
  return result_;
}

LaidOutLine MarkupRenderer::MeasureLine(size_t& at, const TRect& working, TFont& measureFont) {
  CopyFont(canvas_.Font(), measureFont);
  const bool inAnchor = inAnchor_;
  const std::string anchorTarget = anchorTarget_;
  const int hyperLinks = a_.HyperLinks, listLevel = listLevel_, imageCount = imageCount_;
  // SUB and SUP start every line off; the second pass starts from the switches the first one did.
  switches_.sub = switches_.sup = false;
  const Switches switches = switches_;
  line_ = Line{};
  line_.rect = working;
  line_.height = TextHeightGh();
  line_.available = working.Right - working.Left;

  LaidOutLine laid;
  laid.begin = at;
  const size_t stripStart = a_.StripVal.size();
  laid.end = RenderLine(Pass::Measure, at, text_.size());
  laid.runs = std::exchange(measuredRuns_, {});
  at = dropsRest_ ? text_.size() : laid.end;
  inAnchor_ = inAnchor;
  anchorTarget_ = anchorTarget;
  CopyFont(measureFont, canvas_.Font());

  TRect r = working;
  if (align_ == 1 && r.Right - line_.width > r.Left) r.Left = r.Right - line_.width;
  if (align_ == 2 && r.Right - r.Left - line_.width > 0) r.Left += (r.Right - r.Left - line_.width) / 2;
  r.Left = AddClamped(r.Left, indent_);
  r.Bottom = line_.Bottom();
  line_.rect = r;
  laid.line = line_;
  laid.strip = a_.StripVal.substr(stripStart);

  if (!a_.CheckHeight) {
    a_.HyperLinks = hyperLinks;
    listLevel_ = listLevel;
    imageCount_ = imageCount;
    switches_ = switches;
  }
  return laid;
}

LayoutKey MarkupRenderer::Key(const std::string& text) {
  HDC dc = canvas_.Handle();
  TPoint origin;
  GetViewportOrgEx(dc, origin);
  return {a_.Rect,        a_.Images,       a_.PictureCache,    a_.PictureContainer, a_.X,
          a_.Y,           a_.FocusLink,    a_.HoverLink,       a_.ShadowOffset,     a_.CheckHotSpot,
          a_.CheckHeight, a_.Print,        a_.Selected,        a_.Blink,            a_.HoverStyle,
          a_.WordWrap,    a_.PanelDialect, a_.ResizeFactor,    a_.URLColor,         a_.HoverColor,
          a_.HoverFontColor, a_.ShadowColor, base_.Name(),     base_.Height(),      base_.Style(),
          base_.Color(),  base_.Orientation(), base_.PixelsPerInch(), GetDeviceCaps(dc, LOGPIXELSX),
          GetDeviceCaps(dc, LOGPIXELSY), GetMapMode(dc), origin, text};
}

TColor MarkupRenderer::BrushColorOrNone() {
  return canvas_.Brush().Style() == TBrushStyle::bsClear ? clNone : canvas_.Brush().Color();
}

void MarkupRenderer::SetBrushColorOrClear(TColor color) {
  if (color == clNone)
    canvas_.Brush().SetStyle(TBrushStyle::bsClear);
  else
    canvas_.Brush().SetColor(color);
}

void MarkupRenderer::SetTextColor(TColor color) { canvas_.Font().SetColor(color); }

void MarkupRenderer::FillBand(TColor color) {
  if (color == clNone) return;
  const TBrush saved = [&] {
    TBrush b;
    b.Assign(canvas_.Brush());
    return b;
  }();
  canvas_.Brush().SetColor(color);
  canvas_.FillRect(platform::Rect(a_.Rect.Left, line_.rect.Top, a_.Rect.Right, line_.Bottom()));
  canvas_.Brush().Assign(saved);
}

int MarkupRenderer::TextHeightGh() { return canvas_.TextHeight("gh"); }

std::string AttributeValue(std::string_view tag, std::string_view name) {
  bool quoted = false;
  for (size_t i = 0; i < tag.size(); ++i) {
    if (tag[i] == '"') quoted = !quoted;
    if (quoted || tag.compare(i, name.size(), name) != 0) continue;
    const char before = i == 0 ? ' ' : tag[i - 1];
    if (before != ' ' && before != '\t' && before != '<') continue;
    size_t k = i + name.size();
    while (k < tag.size() && tag[k] == ' ') ++k;
    if (k >= tag.size() || tag[k] != '=') continue;
    ++k;
    while (k < tag.size() && tag[k] == ' ') ++k;
    if (k >= tag.size() || tag[k] != '"') return {};
    const size_t end = tag.find('"', k + 1);
    return end == std::string_view::npos ? std::string{} : std::string(tag.substr(k + 1, end - k - 1));
  }
  return {};
}

std::string FirstQuoted(std::string_view tag) {
  const size_t open = tag.find('"');
  if (open == std::string_view::npos) return {};
  const size_t close = tag.find('"', open + 1);
  return close == std::string_view::npos ? std::string{} : std::string(tag.substr(open + 1, close - open - 1));
}

int LeadingNumber(std::string_view s) {
  constexpr int kLimit = 1 << 20;
  size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) ++i;
  int value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = std::min(kLimit, value * 10 + (s[i] - '0'));
  return negative ? -value : value;
}

TColor MarkupColor(std::string_view value) {
  return !value.empty() && value[0] == '#' ? ColorFromHex(value) : ColorFromName(LowerCase(value));
}

int AddClamped(int a, int b) {
  const long long sum = static_cast<long long>(a) + b;
  return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

}  // namespace markup

}  // namespace controls
