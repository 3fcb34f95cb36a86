#include <algorithm>
#include <cstdint>

#include "platform/core/Utf8.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/edits/Edit.h"
#include "platform/ui/ScrollBars.h"

// The edit's layout: the lines as shown, the place of every caret stop, scrolling, and painting.
// The width of a text is the sum of its characters' advances (the canvas does not kern), so the
// caret's place, the mouse's character and the drawn text always agree, and a place's x can be
// measured from any other known place of its line (its start, its end, or the last place measured
// far from both). A change of the text lays out again only the paragraphs that it touches, and a
// line is painted only where it is shown, so a key press costs what it changes and what is shown.

namespace platform {

namespace {

bool IsBlank(char32_t c) { return c == ' ' || c == '\t'; }

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Measured places that lie further than this from the known ones of their line are remembered.
constexpr size_t kFarBytes = 256;
// What is painted of a line reaches this far beyond what is shown, for glyphs that overhang.
constexpr int kPaintMargin = 64;

}  // namespace

void TCustomEdit::Measure() {
  Canvas().SetFont(Font());
  TTextMetric metrics;
  GetTextMetrics(Canvas().Handle(), metrics);
  lineHeight_ = std::max(1, metrics.tmHeight);
  ascent_ = metrics.tmAscent;
}

void TCustomEdit::InvalidateLayout() {
  layoutValid_ = false;
  knownX_ = {};
  contentWidth_ = -1;
}

TRect TCustomEdit::FormatRect() {
  if (formatRectSet_) return formatRect_;
  const TRect r = ClientRect();
  return Rect(r.Left + 1, r.Top + 1, std::max(r.Left + 1, r.Right - 1), r.Bottom);
}

void TCustomEdit::Layout() {
  if (layoutValid_) return;
  Measure();
  lines_.clear();
  knownX_ = {};
  contentWidth_ = -1;
  LayParagraphs(0, Text().size(), lines_);
  layoutValid_ = true;
  UpdateScrollBars();
}

void TCustomEdit::LayParagraphs(size_t start, size_t end, std::vector<TLine>& lines) {
  const std::string& text = Text();
  if (!Multiline()) {
    lines.push_back({0, text.size(), WidthOf(text, 0, text.size())});
    return;
  }
  const bool wraps = Wraps();
  const int width = FormatRect().Width();
  for (size_t pos = start;; ++pos) {
    const size_t breakLength = LineBreakAt(text, pos);
    if (!breakLength && pos < end) continue;
    if (wraps)
      WrapLine(start, pos, width, lines);
    else
      lines.push_back({start, pos, WidthOf(text, start, pos)});
    if (pos >= end) break;
    pos += breakLength - 1;
    start = pos + 1;
  }
}

void TCustomEdit::FollowChange(const TTextChange& change) {
  const std::string& text = Text();
  const size_t changeEnd = change.from + change.removed;  // in the old text
  const auto delta = static_cast<std::ptrdiff_t>(change.inserted) - static_cast<std::ptrdiff_t>(change.removed);
  contentWidth_ = -1;
  const std::string_view inserted = std::string_view(text).substr(change.from, change.inserted);
  // A CR left before an LF (or the reverse) by a removal becomes one line break.
  const bool joinsBreak = change.from > 0 && text[change.from - 1] == '\r' && change.from + change.inserted < text.size() &&
                          text[change.from + change.inserted] == '\n';
  Measure();
  int first = LineOf(change.from);
  if (!Multiline() || (!Wraps() && !HasLineBreak(inserted) && !joinsBreak && changeEnd <= lines_[first].end)) {
    // The line keeps its line breaks: only its end and width change.
    TLine& line = lines_[first];
    line.end = static_cast<size_t>(static_cast<std::ptrdiff_t>(line.end) + delta);
    line.width += WidthOf(text, change.from, change.from + change.inserted) - change.removedWidth;
    for (size_t i = first + 1; i < lines_.size(); ++i) {
      lines_[i].start += delta;
      lines_[i].end += delta;
    }
    if (knownX_.line == first && knownX_.pos > change.from) knownX_ = {};
    UpdateScrollBars();
    return;
  }
  // The paragraphs from the one before the change (which a new line break may join) to the one after.
  const auto paragraphStart = [&](int line) {
    while (line > 0 && lines_[line - 1].end == lines_[line].start) --line;
    return line;
  };
  const int count = static_cast<int>(lines_.size());
  first = paragraphStart(first);
  if (first > 0) first = paragraphStart(first - 1);
  const auto paragraphEnd = [&](int line) {
    while (line + 1 < count && lines_[line].end == lines_[line + 1].start) ++line;
    return line;
  };
  int last = paragraphEnd(LineOf(changeEnd));
  if (last + 1 < count) last = paragraphEnd(last + 1);
  const size_t start = lines_[first].start;
  const size_t end = static_cast<size_t>(static_cast<std::ptrdiff_t>(lines_[last].end) + delta);
  std::vector<TLine> laid;
  LayParagraphs(start, end, laid);
  for (size_t i = last + 1; i < lines_.size(); ++i) {
    lines_[i].start += delta;
    lines_[i].end += delta;
  }
  const auto replaced = static_cast<size_t>(last + 1 - first);
  if (laid.size() == replaced) {
    std::copy(laid.begin(), laid.end(), lines_.begin() + first);
  } else {
    lines_.erase(lines_.begin() + first, lines_.begin() + last + 1);
    lines_.insert(lines_.begin() + first, laid.begin(), laid.end());
  }
  if (knownX_.line >= first) knownX_ = {};
  UpdateScrollBars();
}

void TCustomEdit::WrapLine(size_t start, size_t end, int width, std::vector<TLine>& lines) {
  // Breaks after the last blank that fits; a word longer than the line breaks where it overflows.
  // Blanks at the end of a line hang past its edge.
  const std::string& text = Text();
  size_t lineStart = start;
  size_t afterBlank = start;
  int x = 0;
  for (size_t pos = start; pos < end;) {
    const int w = CharWidth(text, pos);
    if (!IsBlank(DecodeCodePoint(text, pos).value) && x + w > width && pos > lineStart) {
      const size_t cut = afterBlank > lineStart ? afterBlank : pos;
      lines.push_back({lineStart, cut, WidthOf(text, lineStart, cut)});
      lineStart = afterBlank = cut;
      x = 0;
      for (size_t p = cut; p < pos; p = NextCaretStop(text, p)) x += CharWidth(text, p);
      continue;
    }
    x += w;
    pos = NextCaretStop(text, pos);
    if (IsBlank(DecodeCodePoint(text, PreviousCaretStop(text, pos)).value)) afterBlank = pos;
  }
  lines.push_back({lineStart, end, WidthOf(text, lineStart, end)});
}

int TCustomEdit::CharWidth(std::string_view text, size_t pos) {
  const auto byte = static_cast<unsigned char>(text[pos]);
  const bool masked = passwordChar_ != 0 && !Multiline();
  if (byte < 0x80 && !masked && asciiWidths_[byte] > 0) return asciiWidths_[byte] - 1;
  char32_t c = passwordChar_ != 0 && !Multiline() ? passwordChar_ : DecodeText(text.substr(pos, DecodeCodePoint(text, pos).length))[0];
  auto found = widths_.find(c);
  if (found != widths_.end()) return found->second;
  int width = 0;
  if (c == '\t') {
    width = 8 * CharWidth(" ", 0);
  } else {
    std::string glyph;
    AppendCodePoint(glyph, c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) ? U' ' : c);
    width = c < 0x20 ? 0 : Canvas().TextWidth(glyph);
  }
  widths_[c] = width;
  if (byte < 0x80 && !masked) asciiWidths_[byte] = width + 1;
  return width;
}

void TCustomEdit::ForgetWidths() {
  widths_.clear();
  asciiWidths_.fill(0);
}

int TCustomEdit::WidthOf(std::string_view text, size_t from, size_t to) {
  int width = 0;
  for (size_t p = from; p < to; p = NextCaretStop(text, p)) width += CharWidth(text, p);
  return width;
}

int TCustomEdit::LineCount() {
  Layout();
  return static_cast<int>(lines_.size());
}

int TCustomEdit::XOf(int line, size_t pos) {
  const std::string& text = Text();
  const TLine& l = lines_[line];
  pos = std::clamp(pos, l.start, l.end);
  // From the nearest known place: the start, the end or the one remembered.
  TKnownX from{line, l.start, 0};
  const auto nearer = [&](size_t p, int x) {
    const auto distance = [&](size_t q) { return q > pos ? q - pos : pos - q; };
    if (distance(p) < distance(from.pos)) from = {line, p, x};
  };
  nearer(l.end, l.width);
  if (knownX_.line == line) nearer(knownX_.pos, knownX_.x);
  int x = from.x;
  size_t p = from.pos;
  if (p <= pos) {
    for (; p < pos; p = NextCaretStop(text, p)) x += CharWidth(text, p);
  } else {
    while (p > pos) {
      p = PreviousCaretStop(text, p);
      x -= CharWidth(text, p);
    }
    if (p < pos) x += CharWidth(text, p);  // pos inside a character counts it, as measuring forwards does
  }
  if ((from.pos > pos ? from.pos - pos : pos - from.pos) > kFarBytes) knownX_ = {line, pos, x};
  return x;
}

int TCustomEdit::LineLeft(int line) {
  const TRect r = FormatRect();
  // A right-aligned line keeps a pixel free for the caret after its end.
  const int indent = (EditStyle() & ES_RIGHT) ? std::max(0, r.Width() - 1 - lines_[line].width) : 0;
  return r.Left - scrollX_ + indent;
}

size_t TCustomEdit::PosAtX(int line, int x) {
  const std::string& text = Text();
  const TLine& l = lines_[line];
  if (x >= l.width) return l.end;
  // Every place before a known one left of x lies left of x too: the search starts there.
  size_t start = l.start;
  int left = 0;
  if (knownX_.line == line && knownX_.x <= x) {
    start = knownX_.pos;
    left = knownX_.x;
  }
  for (size_t p = start; p < l.end; p = NextCaretStop(text, p)) {
    const int w = CharWidth(text, p);
    if (x < left + (w + 1) / 2) {
      if (p - start > kFarBytes) knownX_ = {line, p, left};
      return p;
    }
    left += w;
  }
  return l.end;
}

size_t TCustomEdit::StopBeforeX(int line, int x) {
  const size_t pos = PosAtX(line, x - kPaintMargin);
  return pos > lines_[line].start ? PreviousCaretStop(Text(), pos) : pos;
}

size_t TCustomEdit::StopAfterX(int line, int x) {
  const size_t pos = PosAtX(line, x + kPaintMargin);
  return pos < lines_[line].end ? NextCaretStop(Text(), pos) : pos;
}

int TCustomEdit::LineOf(size_t pos) {
  Layout();
  auto after = std::upper_bound(lines_.begin(), lines_.end(), pos, [](size_t p, const TLine& l) { return p < l.start; });
  return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

int TCustomEdit::VisibleLines() {
  Layout();
  return std::max(1, FormatRect().Height() / lineHeight_);
}

int TCustomEdit::MaxTopLine() { return std::max(0, LineCount() - VisibleLines()); }

void TCustomEdit::SetTopLine(int line) {
  line = std::clamp(line, 0, MaxTopLine());
  if (line == topLine_) return;
  topLine_ = line;
  Invalidate();
  UpdateScrollBars();
}

int TCustomEdit::ContentWidth() {
  Layout();
  if (contentWidth_ < 0) {
    contentWidth_ = 0;
    for (const TLine& line : lines_) contentWidth_ = std::max(contentWidth_, line.width);
  }
  return contentWidth_;
}

void TCustomEdit::UpdateScrollBars() {
  const DWORD style = EditStyle();
  if (!HandleAllocated() || !(style & (WS_VSCROLL | WS_HSCROLL))) return;
  // The horizontal range reaches one pixel past the widest line, for the caret after its end.
  if (style & WS_HSCROLL) SetScrollBarRange(Handle(), SB_HORZ, ContentWidth(), FormatRect().Width(), scrollX_);
  if (style & WS_VSCROLL) SetScrollBarRange(Handle(), SB_VERT, LineCount() - 1, VisibleLines(), topLine_);
}

void TCustomEdit::Scroll(bool vertical, WORD code) {
  if (code > SB_BOTTOM) return;
  const int width = FormatRect().Width();
  const int64_t target = ScrollCodeTarget(Handle(), vertical ? SB_VERT : SB_HORZ, code, vertical ? topLine_ : scrollX_,
                                          vertical ? 1 : CharWidth("x", 0), vertical ? VisibleLines() : width, 0, INT32_MAX);
  const int to = static_cast<int>(std::clamp<int64_t>(target, 0, INT32_MAX));
  if (vertical) {
    SetTopLine(to);
    return;
  }
  const int x = std::min(to, std::max(0, ContentWidth() - width + 1));
  if (x == scrollX_) return;
  scrollX_ = x;
  Invalidate();
  UpdateScrollBars();
}

size_t TCustomEdit::PosAtPoint(TPoint p) {
  Layout();
  const TRect r = FormatRect();
  int row = p.Y < r.Top ? -1 : (p.Y - r.Top) / lineHeight_;
  const int line = std::clamp(topLine_ + row, 0, LineCount() - 1);
  return PosAtX(line, p.X - LineLeft(line));
}

TPoint TCustomEdit::PointOf(size_t pos) {
  Layout();
  const TRect r = FormatRect();
  const int line = LineOf(pos);
  return {LineLeft(line) + XOf(line, pos), r.Top + (line - topLine_) * lineHeight_};
}

void TCustomEdit::ScrollCaretIntoView() {
  Layout();
  const int line = LineOf(caret_);
  if (line < topLine_) SetTopLine(line);
  else if (line >= topLine_ + VisibleLines()) SetTopLine(line - VisibleLines() + 1);
  if (Wraps()) return;
  // Horizontally in jumps of a quarter of the width, so typing does not scroll at every character.
  const int width = FormatRect().Width();
  const int x = XOf(line, caret_);
  int scroll = scrollX_;
  if (x < scroll) scroll = std::max(0, x - width / 4);
  else if (x >= scroll + width) scroll = x - width + width / 4 + 1;
  scroll = std::min(scroll, std::max(0, ContentWidth() - width + 1));
  if (scroll != scrollX_) {
    scrollX_ = scroll;
    Invalidate();
    UpdateScrollBars();
  }
}

void TCustomEdit::Paint() {
  Layout();
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  const TRect r = FormatRect();
  HDC dc = canvas.Handle();
  CanvasStateGuard state(canvas);
  IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  const int last = std::min(LineCount(), topLine_ + VisibleLines() + 1);
  for (int line = topLine_; line < last; ++line) PaintLine(line);
  if (ShowFocus()) {
    const TPoint caret = PointOf(caret_);
    canvas.Pen().SetColor(clWindowText);
    canvas.Pen().SetWidth(1);
    canvas.MoveTo(caret.X, caret.Y);
    canvas.LineTo(caret.X, caret.Y + lineHeight_);
  }
}

void TCustomEdit::PaintLine(int line) {
  // Only the part of the line that is shown (with room for overhanging glyphs).
  const TRect r = FormatRect();
  const int left = LineLeft(line);
  const size_t start = StopBeforeX(line, r.Left - left);
  const size_t end = StopAfterX(line, r.Right - left);
  const bool showSelection = caret_ != anchor_ && (ShowFocus() || !HideSelection);
  const size_t selFirst = showSelection ? std::clamp(SelFirst(), start, end) : end;
  const size_t selLast = showSelection ? std::clamp(SelLast(), start, end) : end;
  DrawRun(line, start, selFirst, false);
  DrawRun(line, selFirst, selLast, true);
  DrawRun(line, selLast, end, false);
}

void TCustomEdit::DrawRun(int line, size_t from, size_t to, bool selected) {
  if (from >= to) return;
  TCanvas& canvas = Canvas();
  const std::string& text = Text();
  const TRect r = FormatRect();
  const int y = r.Top + (line - topLine_) * lineHeight_;
  int x = LineLeft(line) + XOf(line, from);
  if (selected) {
    const int width = XOf(line, to) - (x - LineLeft(line));
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clHighlight);
    canvas.FillRect(Rect(x, y, x + width, y + lineHeight_));
  }
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.Font().SetColor(!Enabled() ? clGrayText : selected ? clHighlightText : Font().Color());
  // Runs between tabs are drawn at once; a tab is a gap.
  const bool masked = passwordChar_ != 0 && !Multiline();
  std::string shown;
  int runX = x;
  for (size_t p = from; p < to; p = NextCaretStop(text, p)) {
    const int w = CharWidth(text, p);
    if (!masked && text[p] == '\t') {
      if (!shown.empty()) canvas.TextOut(runX, y, shown);
      shown.clear();
      runX = x + w;
    } else if (masked) {
      AppendCodePoint(shown, passwordChar_);
    } else {
      shown.append(text, p, NextCaretStop(text, p) - p);
    }
    x += w;
  }
  if (!shown.empty()) canvas.TextOut(runX, y, shown);
}

}  // namespace platform
