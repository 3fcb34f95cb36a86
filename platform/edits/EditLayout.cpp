#include <algorithm>
#include <cstdint>

#include "platform/core/Utf8.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/edits/Edit.h"
#include "platform/ui/ScrollBars.h"

// The edit's layout: the lines as shown, the place of every caret stop, scrolling, and painting.
// The width of a text is the sum of its characters' advances (the canvas does not kern), so the
// caret's place, the mouse's character and the drawn text always agree.

namespace platform {

namespace {

bool IsBlank(char32_t c) { return c == ' ' || c == '\t'; }

}  // namespace

void TCustomEdit::Measure() {
  Canvas().SetFont(Font());
  TTextMetric metrics;
  GetTextMetrics(Canvas().Handle(), metrics);
  lineHeight_ = std::max(1, metrics.tmHeight);
  ascent_ = metrics.tmAscent;
}

void TCustomEdit::InvalidateLayout() { layoutValid_ = false; }

TRect TCustomEdit::FormatRect() {
  if (formatRectSet_) return formatRect_;
  const TRect r = ClientRect();
  return Rect(r.Left + 1, r.Top + 1, std::max(r.Left + 1, r.Right - 1), r.Bottom);
}

void TCustomEdit::Layout() {
  if (layoutValid_) return;
  Measure();
  lines_.clear();
  const std::string& text = Text();
  if (!Multiline()) {
    lines_.push_back({0, text.size()});
  } else {
    const bool wraps = Wraps();
    const int width = FormatRect().Width();
    size_t start = 0;
    for (size_t pos = 0;; ++pos) {
      const size_t breakLength = LineBreakAt(text, pos);
      if (!breakLength && pos < text.size()) continue;
      if (wraps)
        WrapLine(start, pos, width);
      else
        lines_.push_back({start, pos});
      if (pos >= text.size()) break;
      pos += breakLength - 1;
      start = pos + 1;
    }
  }
  layoutValid_ = true;
  UpdateScrollBars();
}

void TCustomEdit::WrapLine(size_t start, size_t end, int width) {
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
      lines_.push_back({lineStart, cut});
      lineStart = afterBlank = cut;
      x = 0;
      for (size_t p = cut; p < pos; p = NextCaretStop(text, p)) x += CharWidth(text, p);
      continue;
    }
    x += w;
    pos = NextCaretStop(text, pos);
    if (IsBlank(DecodeCodePoint(text, PreviousCaretStop(text, pos)).value)) afterBlank = pos;
  }
  lines_.push_back({lineStart, end});
}

int TCustomEdit::CharWidth(std::string_view text, size_t pos) {
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
  return width;
}

int TCustomEdit::LineCount() {
  Layout();
  return static_cast<int>(lines_.size());
}

int TCustomEdit::XOf(int line, size_t pos) {
  const std::string& text = Text();
  int x = 0;
  for (size_t p = lines_[line].start; p < pos && p < lines_[line].end; p = NextCaretStop(text, p)) x += CharWidth(text, p);
  return x;
}

int TCustomEdit::LineLeft(int line) {
  const TRect r = FormatRect();
  // A right-aligned line keeps a pixel free for the caret after its end.
  const int indent = (EditStyle() & ES_RIGHT) ? std::max(0, r.Width() - 1 - XOf(line, lines_[line].end)) : 0;
  return r.Left - scrollX_ + indent;
}

size_t TCustomEdit::PosAtX(int line, int x) {
  const std::string& text = Text();
  int left = 0;
  for (size_t p = lines_[line].start; p < lines_[line].end; p = NextCaretStop(text, p)) {
    const int w = CharWidth(text, p);
    if (x < left + (w + 1) / 2) return p;
    left += w;
  }
  return lines_[line].end;
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
  int widest = 0;
  for (int line = 0; line < static_cast<int>(lines_.size()); ++line)
    widest = std::max(widest, XOf(line, lines_[line].end));
  return widest;
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
  const TLine& l = lines_[line];
  const bool showSelection = caret_ != anchor_ && (ShowFocus() || !HideSelection);
  const size_t selFirst = showSelection ? std::clamp(SelFirst(), l.start, l.end) : l.end;
  const size_t selLast = showSelection ? std::clamp(SelLast(), l.start, l.end) : l.end;
  DrawRun(line, l.start, selFirst, false);
  DrawRun(line, selFirst, selLast, true);
  DrawRun(line, selLast, l.end, false);
}

void TCustomEdit::DrawRun(int line, size_t from, size_t to, bool selected) {
  if (from >= to) return;
  TCanvas& canvas = Canvas();
  const std::string& text = Text();
  const TRect r = FormatRect();
  const int y = r.Top + (line - topLine_) * lineHeight_;
  int x = LineLeft(line) + XOf(line, from);
  if (selected) {
    int width = 0;
    for (size_t p = from; p < to; p = NextCaretStop(text, p)) width += CharWidth(text, p);
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
