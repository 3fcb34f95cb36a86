#include "platform/edits/RichLayout.h"

#include <algorithm>
#include <map>

#include "platform/core/Utf8.h"
#include "platform/gfx/Gdi.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The length of the line break at `pos` (CR LF, CR, LF or the vertical tab), 0 when none.
size_t BreakAt(const std::string& s, size_t pos) {
  if (s[pos] == '\r') return pos + 1 < s.size() && s[pos + 1] == '\n' ? 2 : 1;
  return s[pos] == '\n' || s[pos] == '\v' ? 1 : 0;
}

}  // namespace

TRichLayout::TMetrics TRichLayout::MetricsOf(TCanvas& canvas, const TRichCharFormat& format) const {
  ApplyRichFormat(canvas.Font(), format, clBlack);
  TTextMetric tm;
  GetTextMetrics(canvas.Handle(), tm);
  return {tm.tmAscent, tm.tmDescent, format.Offset * canvas.PixelsPerInch() / 1440};
}

void TRichLayout::Measure(TCanvas& canvas, size_t from) {
  const std::string& s = text_->Text();
  advances_.assign(s.size(), 0);
  metrics_.assign(s.size(), {});
  for (size_t pos = from; pos < s.size();) {
    const size_t end = text_->RunEnd(pos);
    const TMetrics metrics = MetricsOf(canvas, text_->FormatAt(pos));
    std::map<char32_t, int> widths;
    for (; pos < end; pos = NextCodePoint(s, pos)) {
      metrics_[pos] = metrics;
      const CodePoint c = DecodeCodePoint(s, pos);
      if (c.valid && c.value < 0x20) continue;
      auto [it, added] = widths.try_emplace(c.value, 0);
      if (added) it->second = canvas.TextWidth(s.substr(pos, c.length));
      advances_[pos] = it->second;
    }
  }
  endMetrics_ = MetricsOf(canvas, text_->FormatAt(s.size()));
}

void TRichLayout::Build(const TRichText& text, TCanvas& canvas, int width, size_t from, int maxHeight) {
  text_ = &text;
  width_ = width;
  lines_.clear();
  const std::string& s = text.Text();
  from = std::min(from, s.size());
  paragraph_ = text.ParagraphOf(from);
  Measure(canvas, from);
  const int tabStop = std::max(1, canvas.PixelsPerInch() / 2);
  size_t lineStart = from, afterBlank = from;
  int x = 0;
  for (size_t pos = from;;) {
    if (maxHeight >= 0 && !lines_.empty() && Height() > maxHeight) return;
    if (pos >= s.size()) {
      AddLine(lineStart, s.size(), s.size());
      return;
    }
    if (const size_t brk = BreakAt(s, pos)) {
      AddLine(lineStart, pos, pos + brk);
      if (s[pos] != '\v') ++paragraph_;
      pos = lineStart = afterBlank = pos + brk;
      x = 0;
      continue;
    }
    const int w = s[pos] == '\t' ? tabStop - x % tabStop : advances_[pos];
    if (width_ > 0 && !IsBlank(s[pos]) && x + w > width_ && pos > lineStart) {
      const size_t cut = afterBlank > lineStart ? afterBlank : pos;
      AddLine(lineStart, cut, cut);
      pos = lineStart = afterBlank = cut;
      x = 0;
      continue;
    }
    if (s[pos] == '\t') advances_[pos] = w;
    x += w;
    pos = NextCodePoint(s, pos);
    if (IsBlank(s[pos - 1])) afterBlank = pos;
  }
}

void TRichLayout::AddLine(size_t start, size_t end, size_t next) {
  const std::string& s = text_->Text();
  TLine line{start, end, next};
  int above = 0, below = 0, trailing = 0;
  auto include = [&](const TMetrics& m) {
    above = std::max(above, m.ascent + std::max(0, m.offset));
    below = std::max(below, m.descent + std::max(0, -m.offset));
  };
  for (size_t pos = start; pos < end; ++pos) {
    if (!metrics_[pos].ascent && !metrics_[pos].descent) continue;  // a continuation byte
    include(metrics_[pos]);
    line.width += advances_[pos];
    trailing = IsBlank(s[pos]) ? trailing + advances_[pos] : 0;
  }
  if (start == end) include(end < s.size() ? metrics_[end] : endMetrics_);
  line.width -= trailing;
  line.ascent = above;
  line.height = above + below;
  line.top = Height();
  if (width_ > 0) {
    const TAlignment alignment = text_->Alignment(std::min(paragraph_, text_->ParagraphCount() - 1));
    if (alignment == TAlignment::taRightJustify) line.left = std::max(0, width_ - line.width);
    if (alignment == TAlignment::taCenter) line.left = std::max(0, (width_ - line.width) / 2);
  }
  lines_.push_back(line);
}

int TRichLayout::Width() const {
  int widest = 0;
  for (const TLine& line : lines_) widest = std::max(widest, line.left + line.width);
  return widest;
}

int TRichLayout::LineOf(size_t pos) const {
  auto after = std::upper_bound(lines_.begin(), lines_.end(), pos, [](size_t p, const TLine& l) { return p < l.start; });
  return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

int TRichLayout::XOf(size_t pos) const {
  if (lines_.empty()) return 0;
  const TLine& line = lines_[LineOf(pos)];
  int x = line.left;
  for (size_t p = line.start; p < pos && p < line.end; ++p) x += Advance(p);
  return x;
}

size_t TRichLayout::PosAt(int line, int x) const {
  if (lines_.empty()) return 0;
  const TLine& l = lines_[std::clamp(line, 0, static_cast<int>(lines_.size()) - 1)];
  const std::string& s = text_->Text();
  int left = l.left;
  for (size_t p = l.start; p < l.end; p = NextCodePoint(s, p)) {
    if (x < left + (Advance(p) + 1) / 2) return p;
    left += Advance(p);
  }
  return l.end;
}

size_t TRichLayout::PosAtPoint(TPoint p) const {
  int line = 0;
  while (line + 1 < static_cast<int>(lines_.size()) && p.Y >= lines_[line].top + lines_[line].height) ++line;
  return PosAt(line, p.X);
}

void TRichLayout::Draw(TCanvas& canvas, TPoint origin, int first, int last, size_t selFrom, size_t selTo,
                       TColor autoColor) const {
  const std::string& s = text_->Text();
  last = std::min(last, static_cast<int>(lines_.size()));
  for (int index = std::max(first, 0); index < last; ++index) {
    const TLine& line = lines_[index];
    const int top = origin.Y + line.top;
    int x = origin.X + line.left;
    // Segments of one format and one selection state, without tabs (which are gaps).
    for (size_t pos = line.start; pos < line.end;) {
      const bool selected = pos >= selFrom && pos < selTo;
      size_t end = std::min(text_->RunEnd(pos), line.end);
      if (selected) end = std::min(end, selTo);
      else if (selFrom > pos) end = std::min(end, selFrom);
      int width = 0;
      for (size_t p = pos; p < end; ++p) width += Advance(p);
      if (selected) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect(Rect(x, top, x + width, top + line.height));
      }
      ApplyRichFormat(canvas.Font(), text_->FormatAt(pos), autoColor);
      if (selected) canvas.Font().SetColor(clHighlightText);
      canvas.Brush().SetStyle(TBrushStyle::bsClear);
      const TMetrics& m = metrics_[pos];
      const int y = top + line.ascent - m.ascent - m.offset;
      int runX = x;
      std::string shown;
      for (size_t p = pos; p < end; p = NextCodePoint(s, p)) {
        if (static_cast<unsigned char>(s[p]) < 0x20) {
          if (!shown.empty()) canvas.TextOut(runX, y, shown);
          shown.clear();
          runX = x;
          for (size_t q = pos; q <= p; ++q) runX += Advance(q);
        } else {
          shown.append(s, p, NextCodePoint(s, p) - p);
        }
      }
      if (!shown.empty()) canvas.TextOut(runX, y, shown);
      x += width;
      pos = end;
    }
    // A selected line break shows as a quarter of the line's height on the highlight.
    if (line.next > line.end && line.end >= selFrom && line.end < selTo) {
      canvas.Brush().SetStyle(TBrushStyle::bsSolid);
      canvas.Brush().SetColor(clHighlight);
      canvas.FillRect(Rect(x, top, x + std::max(1, line.height / 4), top + line.height));
    }
  }
}

}  // namespace platform
