#include "platform/edits/RichLayout.h"

#include <algorithm>

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

uint16_t Clamped16(int value) { return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF)); }

}  // namespace

TRichLayout::TMetrics TRichLayout::MetricsOf(TCanvas& canvas, const TRichCharFormat& format) {
  ApplyRichFormat(canvas.Font(), format, clBlack);
  TTextMetric tm;
  GetTextMetrics(canvas.Handle(), tm);
  return {tm.tmAscent, tm.tmDescent, format.Offset * canvas.PixelsPerInch() / 1440};
}

TRichLayout::TMeasures& TRichLayout::MeasuresOf(TCanvas& canvas, const TRichCharFormat& format) {
  auto it = measures_.find(format);
  if (it == measures_.end()) {
    it = measures_.emplace(format, TMeasures{}).first;
    TMeasures& m = it->second;
    m.format = &it->first;
    m.metrics = MetricsOf(canvas, format);
    m.ascii.fill(-1);
    applied_ = &m;
  }
  return it->second;
}

const TRichLayout::TMeasures* TRichLayout::FindMeasures(const TRichCharFormat& format) const {
  const auto it = measures_.find(format);
  return it == measures_.end() ? nullptr : &it->second;
}

int TRichLayout::Advance(const TMeasures& measures, size_t pos, int x) const {
  const std::string& s = text_->Text();
  const auto b = static_cast<unsigned char>(s[pos]);
  if (b == '\t') return tabStop_ - x % tabStop_;
  if (b < 0x20) return 0;
  if (b < 0x80) return std::max(0, measures.ascii[b]);
  const CodePoint c = DecodeCodePoint(s, pos);
  const auto it = measures.others.find(c.valid ? c.value : kNoCharacter + b);
  return it == measures.others.end() ? 0 : it->second;
}

int TRichLayout::MeasuredAdvance(TCanvas& canvas, TMeasures& measures, size_t pos, int x) {
  const std::string& s = text_->Text();
  const auto b = static_cast<unsigned char>(s[pos]);
  if (b < 0x20) return Advance(measures, pos, x);
  auto measure = [&](size_t length) {
    if (applied_ != &measures) {
      ApplyRichFormat(canvas.Font(), *measures.format, clBlack);
      applied_ = &measures;
    }
    return canvas.TextWidth(s.substr(pos, length));
  };
  if (b < 0x80) {
    int& width = measures.ascii[b];
    if (width < 0) width = measure(1);
    return width;
  }
  const CodePoint c = DecodeCodePoint(s, pos);
  auto [it, added] = measures.others.try_emplace(c.valid ? c.value : kNoCharacter + b, 0);
  if (added) it->second = measure(c.length);
  return it->second;
}

template <class F>
void TRichLayout::ForEachAdvance(const TStoredLine& line, size_t end, F&& f) const {
  const std::string& s = text_->Text();
  int x = 0;
  for (size_t pos = line.start; pos < end;) {
    const size_t runEnd = text_->RunEnd(pos, end);
    const TMeasures* measures = FindMeasures(text_->FormatAt(pos));
    while (pos < runEnd) {
      const size_t next = NextCodePoint(s, pos);
      const int advance = measures ? Advance(*measures, pos, x) : 0;
      if (!f(pos, next, advance)) return;
      x += advance;
      pos = next;
    }
  }
}

void TRichLayout::Build(const TRichText& text, TCanvas& canvas, int width, size_t from, int maxHeight) {
  text_ = &text;
  width_ = width;
  tabStop_ = std::max(1, canvas.PixelsPerInch() / 2);
  lines_.clear();
  measures_.clear();
  applied_ = nullptr;
  widest_ = widestCount_ = 0;
  widestKnown_ = true;
  from = std::min(from, text.Text().size());
  paragraph_ = text.ParagraphOf(from);
  lastNext_ = Flow(canvas, lines_, from, 0, maxHeight, [](size_t) { return false; });
  if (lines_.capacity() > lines_.size() + lines_.size() / 8 + 64) lines_.shrink_to_fit();  // what doubling left over
  for (const TStoredLine& line : lines_) Counted(line);
}

void TRichLayout::Update(TCanvas& canvas, const TChange& change) {
  const std::string& s = text_->Text();
  applied_ = nullptr;
  const size_t from = change.from, oldEnd = from + change.removed, newEnd = from + change.inserted;
  const auto delta = static_cast<ptrdiff_t>(change.inserted) - static_cast<ptrdiff_t>(change.removed);
  auto at = [](size_t pos) { return static_cast<ptrdiff_t>(pos); };

  // A line depends only on the text from its start on, but the change may pull a word back onto the
  // line before the one that holds it.
  const size_t redo = static_cast<size_t>(std::max(0, LineOf(from) - 1));
  paragraph_ = lines_[redo].paragraph;
  std::vector<TStoredLine> fresh;
  size_t next = redo + 1;  // the first old line that might start where a new one does
  size_t kept = lines_.size();  // the first old line kept, moved
  const size_t flowNext = Flow(canvas, fresh, lines_[redo].start, lines_[redo].top, -1, [&](size_t start) {
    if (start < newEnd || start == s.size()) return false;
    while (next < lines_.size() && at(lines_[next].start) + delta < at(start)) ++next;
    if (next == lines_.size() || at(lines_[next].start) + delta != at(start) || lines_[next].start < oldEnd) return false;
    kept = next;
    return true;
  });

  // The old lines [redo, kept) give way to the fresh ones; the kept ones move.
  const bool rejoined = kept < lines_.size();
  const int shift = rejoined ? fresh.back().top + fresh.back().height - lines_[kept].top : 0;
  const int breaks = rejoined ? paragraph_ - lines_[kept].paragraph : 0;
  const int joined = rejoined ? lines_[kept].paragraph : -1;  // it may have taken another's alignment
  for (const TStoredLine& line : fresh) Counted(line);
  for (size_t i = redo; i < kept; ++i) Forgotten(lines_[i]);
  const size_t common = std::min(kept - redo, fresh.size());
  std::copy(fresh.begin(), fresh.begin() + static_cast<ptrdiff_t>(common), lines_.begin() + static_cast<ptrdiff_t>(redo));
  if (fresh.size() > common) {
    // Room for a sixteenth more lines than needed, rather than twice as many.
    const size_t needed = lines_.size() + fresh.size() - common;
    if (needed > lines_.capacity()) lines_.reserve(needed + needed / 16);
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(redo + common), fresh.begin() + static_cast<ptrdiff_t>(common), fresh.end());
  } else {
    lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(redo + common), lines_.begin() + static_cast<ptrdiff_t>(kept));
  }
  if (!rejoined) {
    lastNext_ = flowNext;
    return;
  }
  lastNext_ = static_cast<size_t>(at(lastNext_) + delta);
  const bool moved = delta != 0 || shift != 0 || breaks != 0;
  for (size_t i = redo + fresh.size(); i < lines_.size(); ++i) {
    TStoredLine& line = lines_[i];
    const bool realign = line.paragraph == joined;
    if (!realign && !moved) break;
    line.start = static_cast<size_t>(at(line.start) + delta);
    line.top += shift;
    line.paragraph += breaks;
    if (!realign) continue;
    TStoredLine realigned = line;
    realigned.left = IndentOf(line);
    Counted(realigned);
    Forgotten(line);
    line = realigned;
  }
}

template <class F>
size_t TRichLayout::Flow(TCanvas& canvas, std::vector<TStoredLine>& out, size_t pos, int top, int maxHeight, F&& rejoin) {
  const std::string& s = text_->Text();
  size_t lineStart = pos, afterBlank = pos;
  int x = 0;
  // The measures of the format at [runFrom, runEnd), where pos is.
  size_t runFrom = 0, runEnd = 0;
  TMeasures* measures = nullptr;
  auto add = [&](size_t end, size_t next) {
    out.push_back(MakeLine(canvas, lineStart, end, next, top));
    top += out.back().height;
  };
  for (;;) {
    if (maxHeight >= 0 && !out.empty() && top > maxHeight) return lineStart;
    if (pos >= s.size()) {
      add(s.size(), s.size());
      return s.size();
    }
    if (const size_t brk = BreakAt(s, pos)) {
      add(pos, pos + brk);
      if (brk == 2) ++paragraph_;
      pos = lineStart = afterBlank = pos + brk;
      x = 0;
      if (rejoin(pos)) return pos;
      continue;
    }
    if (pos < runFrom || pos >= runEnd) {
      runFrom = pos;
      runEnd = text_->RunEnd(pos);
      measures = &MeasuresOf(canvas, text_->FormatAt(pos));
    }
    const int w = MeasuredAdvance(canvas, *measures, pos, x);
    if (width_ > 0 && !IsBlank(s[pos]) && x + w > width_ && pos > lineStart) {
      const size_t cut = afterBlank > lineStart ? afterBlank : pos;
      add(cut, cut);
      pos = lineStart = afterBlank = cut;
      x = 0;
      if (rejoin(pos)) return pos;
      continue;
    }
    x += w;
    pos = NextCodePoint(s, pos);
    if (IsBlank(s[pos - 1])) afterBlank = pos;
  }
}

TRichLayout::TStoredLine TRichLayout::MakeLine(TCanvas& canvas, size_t start, size_t end, size_t next, int top) {
  const std::string& s = text_->Text();
  TStoredLine line;
  line.start = start;
  line.top = top;
  line.paragraph = paragraph_;
  line.breakLength = static_cast<uint8_t>(next - end);
  int above = 0, below = 0, width = 0, trailing = 0;
  auto include = [&](const TMetrics& m) {
    above = std::max(above, m.ascent + std::max(0, m.offset));
    below = std::max(below, m.descent + std::max(0, -m.offset));
  };
  for (size_t pos = start; pos < end;) {
    const size_t runEnd = text_->RunEnd(pos, end);
    TMeasures& measures = MeasuresOf(canvas, text_->FormatAt(pos));
    include(measures.metrics);
    for (; pos < runEnd; pos = NextCodePoint(s, pos)) {
      const int advance = MeasuredAdvance(canvas, measures, pos, width);
      width += advance;
      trailing = IsBlank(s[pos]) ? trailing + advance : 0;
    }
  }
  if (start == end) include(MeasuresOf(canvas, text_->FormatAt(end)).metrics);
  line.width = width - trailing;
  line.ascent = Clamped16(above);
  line.height = Clamped16(above + below);
  line.left = IndentOf(line);
  return line;
}

int TRichLayout::IndentOf(const TStoredLine& line) const {
  if (width_ <= 0) return 0;
  const TAlignment alignment = text_->Alignment(std::min(line.paragraph, text_->ParagraphCount() - 1));
  if (alignment == TAlignment::taRightJustify) return std::max(0, width_ - line.width);
  if (alignment == TAlignment::taCenter) return std::max(0, (width_ - line.width) / 2);
  return 0;
}

void TRichLayout::Counted(const TStoredLine& line) const {
  if (!widestKnown_) return;
  const int extent = line.left + line.width;
  if (extent > widest_) {
    widest_ = extent;
    widestCount_ = 1;
  } else if (extent == widest_) {
    ++widestCount_;
  }
}

void TRichLayout::Forgotten(const TStoredLine& line) const {
  if (widestKnown_ && line.left + line.width == widest_ && --widestCount_ == 0) widestKnown_ = false;
}

int TRichLayout::Width() const {
  if (!widestKnown_) {
    widest_ = widestCount_ = 0;
    widestKnown_ = true;
    for (const TStoredLine& line : lines_) Counted(line);
  }
  return widest_;
}

TRichLayout::TLine TRichLayout::Line(int index) const {
  const TStoredLine& l = lines_[static_cast<size_t>(index)];
  const size_t next = NextOf(static_cast<size_t>(index));
  return {l.start, next - l.breakLength, next, l.top, l.height, l.ascent, l.left, l.width, l.paragraph};
}

int TRichLayout::LineOf(size_t pos) const {
  auto after = std::upper_bound(lines_.begin(), lines_.end(), pos, [](size_t p, const TStoredLine& l) { return p < l.start; });
  return std::max(0, static_cast<int>(after - lines_.begin()) - 1);
}

int TRichLayout::LineAtY(int y) const {
  const auto below = std::upper_bound(lines_.begin(), lines_.end(), y,
                                      [](int value, const TStoredLine& l) { return value < l.top + l.height; });
  return std::clamp(static_cast<int>(below - lines_.begin()), 0, std::max(0, LineCount() - 1));
}

int TRichLayout::XOf(size_t pos) const {
  if (lines_.empty()) return 0;
  const int index = LineOf(pos);
  const TStoredLine& line = lines_[static_cast<size_t>(index)];
  int x = line.left;
  ForEachAdvance(line, std::min(pos, EndOf(static_cast<size_t>(index))), [&](size_t, size_t, int advance) {
    x += advance;
    return true;
  });
  return x;
}

size_t TRichLayout::PosAt(int line, int x) const {
  if (lines_.empty()) return 0;
  const auto index = static_cast<size_t>(std::clamp(line, 0, LineCount() - 1));
  const TStoredLine& l = lines_[index];
  const size_t end = EndOf(index);
  size_t found = end;
  int left = l.left;
  ForEachAdvance(l, end, [&](size_t pos, size_t, int advance) {
    if (x < left + (advance + 1) / 2) {
      found = pos;
      return false;
    }
    left += advance;
    return true;
  });
  return found;
}

void TRichLayout::Draw(TCanvas& canvas, TPoint origin, int first, int last, size_t selFrom, size_t selTo,
                       TColor autoColor) const {
  const std::string& s = text_->Text();
  last = std::min(last, LineCount());
  for (int index = std::max(first, 0); index < last; ++index) {
    const TLine line = Line(index);
    const int top = origin.Y + line.top, lineLeft = origin.X + line.left;
    // Segments of one format and one selection state, drawn in pieces between control characters
    // (tabs are gaps); x is from the line's start, where tabs stop.
    int x = 0;
    for (size_t pos = line.start; pos < line.end;) {
      const bool selected = pos >= selFrom && pos < selTo;
      size_t end = text_->RunEnd(pos, line.end);
      if (selected) end = std::min(end, selTo);
      else if (selFrom > pos) end = std::min(end, selFrom);
      const TRichCharFormat& format = text_->FormatAt(pos);
      const TMeasures* measures = FindMeasures(format);
      auto advance = [&](size_t p, int at) { return measures ? Advance(*measures, p, at) : 0; };
      int width = 0;
      for (size_t p = pos; p < end; p = NextCodePoint(s, p)) width += advance(p, x + width);
      const int left = lineLeft + x;
      if (selected) {
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(clHighlight);
        canvas.FillRect(Rect(left, top, left + width, top + line.height));
      }
      const TMetrics m = measures ? measures->metrics : TMetrics{};
      ApplyRichFormat(canvas.Font(), format, autoColor);
      if (selected) canvas.Font().SetColor(clHighlightText);
      canvas.Brush().SetStyle(TBrushStyle::bsClear);
      const int y = top + line.ascent - m.ascent - m.offset;
      int pieceX = x;
      std::string shown;
      for (size_t p = pos; p < end; p = NextCodePoint(s, p)) {
        const int w = advance(p, x);
        x += w;
        if (static_cast<unsigned char>(s[p]) < 0x20) {
          if (!shown.empty()) canvas.TextOut(lineLeft + pieceX, y, shown);
          shown.clear();
          pieceX = x;
        } else {
          shown.append(s, p, NextCodePoint(s, p) - p);
        }
      }
      if (!shown.empty()) canvas.TextOut(lineLeft + pieceX, y, shown);
      pos = end;
    }
    // A selected line break shows as a quarter of the line's height on the highlight.
    if (line.next > line.end && line.end >= selFrom && line.end < selTo) {
      canvas.Brush().SetStyle(TBrushStyle::bsSolid);
      canvas.Brush().SetColor(clHighlight);
      canvas.FillRect(Rect(lineLeft + x, top, lineLeft + x + std::max(1, line.height / 4), top + line.height));
    }
  }
}

}  // namespace platform
