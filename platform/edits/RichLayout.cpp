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

TRichLayout::TMetrics TRichLayout::MetricsOf(TCanvas& canvas, const TRichCharFormat& format) {
  ApplyRichFormat(canvas.Font(), format, clBlack);
  TTextMetric tm;
  GetTextMetrics(canvas.Handle(), tm);
  return {tm.tmAscent, tm.tmDescent, format.Offset * canvas.PixelsPerInch() / 1440};
}

const TRichLayout::TMetrics& TRichLayout::Metrics(TCanvas& canvas, const TRichCharFormat& format) {
  auto it = metrics_.find(format);
  if (it == metrics_.end()) it = metrics_.emplace(format, MetricsOf(canvas, format)).first;
  return it->second;
}

void TRichLayout::Measure(TCanvas& canvas, size_t from, size_t to) {
  const std::string& s = text_->Text();
  for (size_t pos = from; pos < to;) {
    const size_t end = text_->RunEnd(pos, to);
    ApplyRichFormat(canvas.Font(), text_->FormatAt(pos), clBlack);
    std::map<char32_t, int> widths;
    for (; pos < end; pos = NextCodePoint(s, pos)) {
      const CodePoint c = DecodeCodePoint(s, pos);
      if (c.valid && c.value < 0x20) continue;
      auto [it, added] = widths.try_emplace(c.value, 0);
      if (added) it->second = canvas.TextWidth(s.substr(pos, c.length));
      advances_[pos] = it->second;
    }
  }
  endMetrics_ = Metrics(canvas, text_->FormatAt(s.size()));
}

void TRichLayout::Build(const TRichText& text, TCanvas& canvas, int width, size_t from, int maxHeight) {
  text_ = &text;
  width_ = width;
  lines_.clear();
  metrics_.clear();
  const std::string& s = text.Text();
  from = std::min(from, s.size());
  paragraph_ = text.ParagraphOf(from);
  advances_.assign(s.size(), 0);
  Measure(canvas, from, s.size());
  Flow(canvas, from, maxHeight, [](size_t) { return false; });
}

void TRichLayout::Update(TCanvas& canvas, const TChange& change) {
  const std::string& s = text_->Text();
  const size_t from = change.from, oldEnd = from + change.removed, newEnd = from + change.inserted;
  const auto delta = static_cast<ptrdiff_t>(change.inserted) - static_cast<ptrdiff_t>(change.removed);
  auto at = [](size_t pos) { return static_cast<ptrdiff_t>(pos); };
  advances_.erase(advances_.begin() + at(from), advances_.begin() + at(oldEnd));
  advances_.insert(advances_.begin() + at(from), change.inserted, 0);
  Measure(canvas, from, newEnd);

  // A line depends only on the text from its start on, but the change may pull a word back onto the
  // line before the one that holds it.
  const int redo = std::max(0, LineOf(from) - 1);
  std::vector<TLine> old(lines_.begin() + redo, lines_.end());
  lines_.resize(static_cast<size_t>(redo));
  paragraph_ = old.front().paragraph;
  size_t next = 1;  // the first old line that might start where a new one does
  Flow(canvas, old.front().start, -1, [&](size_t start) {
    if (start < newEnd || start == s.size()) return false;
    while (next < old.size() && at(old[next].start) + delta < at(start)) ++next;
    if (next == old.size() || at(old[next].start) + delta != at(start) || old[next].start < oldEnd) return false;
    const int shift = Height() - old[next].top, breaks = paragraph_ - old[next].paragraph;
    for (size_t i = next; i < old.size(); ++i) {
      TLine line = old[i];
      line.start = static_cast<size_t>(at(line.start) + delta);
      line.end = static_cast<size_t>(at(line.end) + delta);
      line.next = static_cast<size_t>(at(line.next) + delta);
      line.top += shift;
      line.paragraph += breaks;
      line.left = IndentOf(line);  // the paragraph may have taken another's alignment
      lines_.push_back(line);
    }
    return true;
  });
}

template <class F>
void TRichLayout::Flow(TCanvas& canvas, size_t pos, int maxHeight, F&& rejoin) {
  const std::string& s = text_->Text();
  const int tabStop = std::max(1, canvas.PixelsPerInch() / 2);
  size_t lineStart = pos, afterBlank = pos;
  int x = 0;
  for (;;) {
    if (maxHeight >= 0 && !lines_.empty() && Height() > maxHeight) return;
    if (pos >= s.size()) {
      AddLine(canvas, lineStart, s.size(), s.size());
      return;
    }
    if (const size_t brk = BreakAt(s, pos)) {
      AddLine(canvas, lineStart, pos, pos + brk);
      if (s[pos] != '\v') ++paragraph_;
      pos = lineStart = afterBlank = pos + brk;
      x = 0;
      if (rejoin(pos)) return;
      continue;
    }
    const int w = s[pos] == '\t' ? tabStop - x % tabStop : advances_[pos];
    if (width_ > 0 && !IsBlank(s[pos]) && x + w > width_ && pos > lineStart) {
      const size_t cut = afterBlank > lineStart ? afterBlank : pos;
      AddLine(canvas, lineStart, cut, cut);
      pos = lineStart = afterBlank = cut;
      x = 0;
      if (rejoin(pos)) return;
      continue;
    }
    if (s[pos] == '\t') advances_[pos] = w;
    x += w;
    pos = NextCodePoint(s, pos);
    if (IsBlank(s[pos - 1])) afterBlank = pos;
  }
}

void TRichLayout::AddLine(TCanvas& canvas, size_t start, size_t end, size_t next) {
  const std::string& s = text_->Text();
  TLine line{start, end, next};
  line.paragraph = paragraph_;
  int above = 0, below = 0, trailing = 0;
  auto include = [&](const TMetrics& m) {
    above = std::max(above, m.ascent + std::max(0, m.offset));
    below = std::max(below, m.descent + std::max(0, -m.offset));
  };
  for (size_t pos = start; pos < end;) {
    const size_t runEnd = text_->RunEnd(pos, end);
    include(Metrics(canvas, text_->FormatAt(pos)));
    for (; pos < runEnd; pos = NextCodePoint(s, pos)) {
      line.width += advances_[pos];
      trailing = IsBlank(s[pos]) ? trailing + advances_[pos] : 0;
    }
  }
  if (start == end) include(end < s.size() ? Metrics(canvas, text_->FormatAt(end)) : endMetrics_);
  line.width -= trailing;
  line.ascent = above;
  line.height = above + below;
  line.top = Height();
  line.left = IndentOf(line);
  lines_.push_back(line);
}

int TRichLayout::IndentOf(const TLine& line) const {
  if (width_ <= 0) return 0;
  const TAlignment alignment = text_->Alignment(std::min(line.paragraph, text_->ParagraphCount() - 1));
  if (alignment == TAlignment::taRightJustify) return std::max(0, width_ - line.width);
  if (alignment == TAlignment::taCenter) return std::max(0, (width_ - line.width) / 2);
  return 0;
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
      size_t end = text_->RunEnd(pos, line.end);
      if (selected) end = std::min(end, selTo);
      else if (selFrom > pos) end = std::min(end, selFrom);
      int width = 0;
      for (size_t p = pos; p < end; ++p) width += Advance(p);
      if (selected) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect(Rect(x, top, x + width, top + line.height));
      }
      const TMetrics& m = metrics_.at(text_->FormatAt(pos));
      ApplyRichFormat(canvas.Font(), text_->FormatAt(pos), autoColor);
      if (selected) canvas.Font().SetColor(clHighlightText);
      canvas.Brush().SetStyle(TBrushStyle::bsClear);
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
