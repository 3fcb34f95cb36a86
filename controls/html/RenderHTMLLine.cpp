#include <algorithm>

#include "controls/html/MarkupRenderer.h"
#include "controls/html/MarkupText.h"
#include "platform/gfx/Gdi.h"

namespace controls::markup {

using namespace platform;

namespace {

constexpr unsigned kTextFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;

// The panel dialect's entities, decoded in rounds until a round replaces nothing; in a round each is
// replaced once, at its first occurrence after the end of the round's previous replacement.
std::string DecodePanelEntities(std::string run) {
  static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}};
  for (bool replaced = true; replaced;) {
    replaced = false;
    size_t from = 0;
    for (const auto& [entity, replacement] : kEntities) {
      const size_t at = FindText(run, entity, from);
      if (at == std::string::npos) continue;
      run.replace(at, entity.size(), replacement);
      from = at + replacement.size();
      replaced = true;
    }
  }
  return run;
}

}  // namespace

size_t TagFinder::From(size_t at) {
  if (at < from_) {
    // Back to an earlier start: only the stretch before the last search is new.
    const size_t before = text_.substr(at, from_ - at).find('<');
    if (before != std::string_view::npos) found_ = at + before;
  } else if (at > found_) {
    found_ = text_.find('<', at);
  }
  from_ = at;
  return found_;
}

// The next run of text: up to the next "<"; with word wrap up to and including the first blank when
// that comes first.
size_t MarkupRenderer::RunLength() {
  const size_t lt = std::min(tags_.From(pos_), end_);
  if (a_.WordWrap) {
    const size_t blank = text_.substr(pos_, lt - pos_).find(' ');
    if (blank != std::string_view::npos) return blank + 1;
  }
  return lt - pos_;
}

size_t MarkupRenderer::RenderLine(Pass pass, size_t begin, size_t end) {
  pass_ = pass;
  pos_ = begin;
  end_ = end;
  dropsRest_ = false;
  line_.width = 0;
  pen_ = line_.rect.Left;
  trailingBlank_ = 0;
  lineEnded_ = deferred_ = placedAny_ = lastRunEndsInBlank_ = false;
  listItems_ = 0;
  anchorHit_ = imageHit_ = false;
  rotated_.clear();
  if (inAnchor_) hoverStart_ = {line_.rect.Left, line_.rect.Top};
  focusOpen_ = Drawing() && inAnchor_ && a_.HyperLinks == a_.FocusLink + 1;
  if (focusOpen_) focusRect_ = platform::Rect(line_.rect.Left, line_.rect.Top, line_.rect.Left, line_.rect.Top);
  if (Drawing() && paragraphBackground_) FillBand(paragraphColor_);
  clipBox_.reset();
  if (TRect clip; Drawing() && GetMapMode(canvas_.Handle()) == MM_TEXT)
    clipBox_ = GetClipBox(canvas_.Handle(), clip) == NULLREGION ? TRect{} : clip;

  while (pos_ < end_ && !lineEnded_ && !deferred_) {
    if (!PlaceRun() || dropsRest_) break;
    if (pos_ == end_ || text_[pos_] != '<') continue;
    const size_t gt = end_ - pos_ < 3 ? std::string_view::npos : text_.substr(pos_, end_ - pos_).find('>');
    if (gt == std::string_view::npos) {
      dropsRest_ = true;
      break;
    }
    Tag(text_.substr(pos_, gt + 1));
    if (deferred_) break;
    pos_ += gt + 1;
    placedAny_ = true;
  }
  if (anchorHit_ || imageHit_) hitSomething_ = true;
  line_.width -= trailingBlank_;
  a_.XSize = std::max(a_.XSize, line_.width);
  if (focusOpen_) {
    focusRect_.Right = pen_;
    DrawFocusRect();
  }
  return pos_;
}

bool MarkupRenderer::PlaceRun() {
  const size_t length = RunLength();
  if (length == 0) return true;
  std::string run(text_.substr(pos_, length));
  const bool endsInBlank = run.back() == ' ';
  if (a_.PanelDialect)
    run = DecodePanelEntities(run);
  else if (run.find('&') != std::string::npos)
    run = ReplaceAllText(ReplaceAllText(ReplaceAllText(run, "&nbsp;", " "), "&lt;", "<"), "&gt;", ">");

  if (pass_ == Pass::Measure) {  // the second pass meets no other heights
    const int height = canvas_.TextHeight(run);
    line_.height = std::max(line_.height, height);
    if (switches_.sub) line_.subHeight = std::max(line_.subHeight, height / 4);
    if (switches_.sup) line_.supHeight = std::max(line_.supHeight, height / 4);
  }
  a_.StripVal += run;
  if (switches_.hidden) {
    pos_ += length;
    placedAny_ = true;
    return true;
  }

  const RunExtent extent = Extent(run, endsInBlank);
  const int width = extent.width;
  const int before = line_.width;
  const int after = AddClamped(before, width);

  // A run fits when the line stays within the available width, when it could never fit anyway, or
  // when it continues a word (the text so far does not end in a blank).
  const bool fits = after < line_.available || width >= line_.available || !lastRunEndsInBlank_ || !placedAny_;
  if (!fits && a_.WordWrap) {
    lineEnded_ = true;
    return false;
  }
  line_.width = after;
  if (pass_ == Pass::Measure) measuredRuns_.push_back(extent);
  if (Measuring() && inAnchor_ && a_.X - line_.rect.Left >= before && a_.X - line_.rect.Left <= after) {
    anchorHit_ = true;
    if (a_.Y > line_.rect.Top) {
      a_.AnchorVal = anchorTarget_;
      hover_ = true;
    }
  }
  if (Drawing()) DrawRun(run, width);
  pen_ = AddClamped(pen_, width);

  pos_ += length;
  if (!fits && pass_ == Pass::Measure) dropsRest_ = true;  // without word wrap the ellipsis shows the cut
  placedAny_ = true;
  lastRunEndsInBlank_ = endsInBlank;
  trailingBlank_ = extent.blank;
  return true;
}

RunExtent MarkupRenderer::Extent(const std::string& run, bool endsInBlank) {
  if (pass_ != Pass::Measure && placedRuns_ && nextRun_ < placedRuns_->size()) return (*placedRuns_)[nextRun_++];
  TRect calc = line_.rect;
  DrawText(canvas_.Handle(), run, calc, TextFormat() | DT_CALCRECT);
  return {calc.Right - calc.Left, endsInBlank ? canvas_.TextWidth(" ") : 0};
}

unsigned MarkupRenderer::TextFormat() const {
  return kTextFormat | (a_.WordWrap ? 0 : DT_END_ELLIPSIS) | (a_.PanelDialect ? DT_NOPREFIX : 0);
}

// Normal text sits above the room that SUB runs need at the line's bottom; SUB runs sit at the bottom
// and SUP runs above both.
int MarkupRenderer::RunBottom() const {
  int bottom = line_.Bottom();
  if (switches_.sup)
    bottom -= line_.supHeight + line_.subHeight;
  else if (!switches_.sub)
    bottom -= line_.subHeight;
  return bottom - line_.descent;
}

// Whether drawing a run in r, with its shadow and error mark, can reach a pixel that the clip lets
// through.
bool MarkupRenderer::Reaches(const TRect& r) const {
  if (!clipBox_) return true;
  TRect box = r;
  if (switches_.shadow) {
    TRect shadow = r;
    OffsetRect(shadow, a_.ShadowOffset, a_.ShadowOffset);
    UnionRect(box, box, shadow);
  }
  InflateRect(box, 2, 2);
  TRect common;
  return IntersectRect(common, box, *clipBox_);
}

void MarkupRenderer::DrawRun(const std::string& run, int width) {
  if (inAnchor_ && a_.HyperLinks == a_.FocusLink + 1) a_.FocusAnchor = anchorTarget_;
  TRect r = platform::Rect(pen_, line_.rect.Top, line_.rect.Right, RunBottom());
  if (!Reaches(r)) return;
  HDC dc = canvas_.Handle();
  const unsigned format = TextFormat();
  if (switches_.shadow) {
    TRect shadow = r;
    OffsetRect(shadow, a_.ShadowOffset, a_.ShadowOffset);
    platform::SetTextColor(dc, a_.ShadowColor);
    DrawText(dc, run, shadow, format);
    platform::SetTextColor(dc, canvas_.Font().Color());
  }
  DrawText(dc, run, r, format);
  if (error_) {
    // A zigzag on a 4-pixel grid, so that the underlines of neighbouring runs join.
    const int bottom = r.Bottom;
    const int right = std::min(pen_ + width, line_.rect.Right);
    std::vector<TPoint> points;
    for (int x = pen_ & ~1; x <= right; x += 2) points.push_back({x, x % 4 == 0 ? bottom + 1 : bottom - 1});
    TPen saved;
    saved.Assign(canvas_.Pen());
    canvas_.Pen().SetColor(RGB(255, 0, 0));
    canvas_.Pen().SetWidth(1);
    canvas_.Pen().SetStyle(TPenStyle::psSolid);
    canvas_.Polyline(points);
    canvas_.Pen().Assign(saved);
  }
}

}  // namespace controls::markup
