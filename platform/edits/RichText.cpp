#include "platform/edits/RichText.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

#include "platform/core/StringGrowth.h"

namespace platform {

namespace {

constexpr std::pair<TRichFormatMask, TFontStyle> kStyleBits[] = {{rfmBold, TFontStyle::fsBold},
                                                                 {rfmItalic, TFontStyle::fsItalic},
                                                                 {rfmUnderline, TFontStyle::fsUnderline},
                                                                 {rfmStrikeOut, TFontStyle::fsStrikeOut}};

// Positions of the paragraph breaks of a text (each the offset of its CR).
template <typename F>
void ForEachBreak(std::string_view text, F&& f) {
  for (size_t pos = text.find(TRichText::kParagraphBreak); pos != std::string_view::npos;
       pos = text.find(TRichText::kParagraphBreak, pos + 2))
    f(pos);
}

}  // namespace

int TRichText::BreaksIn(std::string_view text) {
  int count = 0;
  ForEachBreak(text, [&](size_t) { ++count; });
  return count;
}

uint32_t TRichText::FormatIndex(const TRichCharFormat& format) {
  auto [it, added] = formatIndex_.try_emplace(format, static_cast<uint32_t>(formats_.size()));
  if (added) formats_.push_back(format);
  return it->second;
}

size_t TRichText::RunIndex(size_t pos) const {
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), pos, [](size_t p, const TRun& r) { return p < r.start; });
  return static_cast<size_t>(after - runs_.begin()) - 1;
}

size_t TRichText::Split(size_t pos) {
  if (pos >= text_.size()) return runs_.size();
  const size_t i = RunIndex(pos);
  if (runs_[i].start == pos) return i;
  runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, TRun{pos, runs_[i].format});
  return i + 1;
}

void TRichText::Coalesce(size_t first, size_t last) {
  first = first > 0 ? first - 1 : 0;
  last = std::min(last + 1, runs_.size());
  std::vector<TRun> kept;
  for (size_t i = first; i < last; ++i) {
    const size_t end = i + 1 < runs_.size() ? runs_[i + 1].start : text_.size();
    if (runs_[i].start >= end) continue;
    if (!kept.empty() && kept.back().format == runs_[i].format) continue;
    kept.push_back(runs_[i]);
  }
  const auto at = runs_.begin() + static_cast<std::ptrdiff_t>(first);
  runs_.erase(at, runs_.begin() + static_cast<std::ptrdiff_t>(last));
  runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(first), kept.begin(), kept.end());
}

const TRichCharFormat& TRichText::FormatAt(size_t pos) const {
  if (runs_.empty()) return formats_[0];
  return formats_[pos < text_.size() ? runs_[RunIndex(pos)].format : runs_.back().format];
}

size_t TRichText::RunEnd(size_t pos, size_t limit) const {
  if (pos >= text_.size()) return std::min(text_.size(), limit);
  const size_t next = RunIndex(pos) + 1;
  return std::min(next < runs_.size() ? runs_[next].start : text_.size(), limit);
}

void TRichText::SetDefaultFormat(const TRichCharFormat& format) {
  formats_[0] = format;
  formatIndex_.clear();
  for (uint32_t i = 0; i < formats_.size(); ++i) formatIndex_.try_emplace(formats_[i], i);
}

int TRichText::ParagraphOf(size_t pos) const {
  // The breaks before pos, counted on the shorter side of it: near the end (where typing mostly is)
  // the breaks after it are taken from those of the whole text.
  const std::string_view text(text_);
  if (pos >= text.size()) return ParagraphCount() - 1;
  if (pos < text.size() / 2) return BreaksIn(text.substr(0, pos + 1));
  const bool straddles = text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
  return ParagraphCount() - 1 - BreaksIn(text.substr(pos + 1)) - (straddles ? 1 : 0);
}

void TRichText::SetAlignment(size_t from, size_t to, TAlignment alignment) {
  const int last = ParagraphOf(to);
  for (int p = ParagraphOf(from); p <= last; ++p) alignments_[p] = alignment;
}

std::pair<size_t, size_t> TRichText::WholeBreaks(size_t from, size_t to) const {
  from = std::min(from, text_.size());
  to = std::clamp(to, from, text_.size());
  // A break cut in half would leave a stray CR or LF: the range takes the whole break.
  if (from == to && InsideBreak(from)) return {from - 1, from - 1};
  return {InsideBreak(from) ? from - 1 : from, InsideBreak(to) ? to + 1 : to};
}

std::pair<size_t, size_t> TRichText::Replace(size_t from, size_t to, std::string_view with,
                                             const TRichCharFormat& format) {
  std::tie(from, to) = WholeBreaks(from, to);
  std::vector<TRun> runs;
  if (!with.empty()) runs.push_back({0, FormatIndex(format)});
  Splice(from, to, with, runs, nullptr);
  return {from, to};
}

void TRichText::Splice(size_t from, size_t to, std::string_view with, const std::vector<TRun>& runs,
                       const std::vector<TAlignment>* inner) {
  if (from == to && with.empty()) return;
  // The breaks that go are those within a window of one byte more on either side (a break that the
  // range cuts in half, or whose CR and LF the range keeps apart); the ones that come are those
  // within `with` and those that it makes at its ends.
  const size_t windowFrom = from > 0 ? from - 1 : 0, windowTo = std::min(to + 1, text_.size());
  const int removed = BreaksIn(std::string_view(text_).substr(windowFrom, windowTo - windowFrom));
  const bool joinedBefore = CrBefore(from) && (with.empty() ? LfAt(to) : with.front() == '\n');
  const bool joinedAfter = !with.empty() && with.back() == '\r' && LfAt(to);
  const int breaks = inner ? static_cast<int>(inner->size()) : BreaksIn(with);
  // Only a change of paragraphs needs to know which one it starts in (a search of the text).
  if (removed > 0 || joinedBefore || joinedAfter || breaks > 0) {
    const int first = ParagraphOf(windowFrom);
    const TAlignment kept = alignments_[first];
    auto next = alignments_.erase(alignments_.begin() + first + 1, alignments_.begin() + first + 1 + removed);
    if (joinedBefore) next = alignments_.insert(next, kept) + 1;
    next = inner ? alignments_.insert(next, inner->begin(), inner->end()) : alignments_.insert(next, breaks, kept);
    next += breaks;
    if (joinedAfter) alignments_.insert(next, kept);
  }

  const size_t firstRun = Split(from), lastRun = Split(to);
  runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(firstRun), runs_.begin() + static_cast<std::ptrdiff_t>(lastRun));
  for (size_t i = firstRun; i < runs_.size(); ++i) runs_[i].start = runs_[i].start - (to - from) + with.size();
  const auto placed = runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(firstRun), runs.begin(), runs.end());
  for (auto run = placed; run != placed + static_cast<std::ptrdiff_t>(runs.size()); ++run) run->start += from;
  ReserveForGrowth(text_, text_.size() - (to - from) + with.size());
  text_.replace(from, to - from, with);
  Coalesce(firstRun, firstRun + runs.size());
}

void TRichText::SetFormat(size_t from, size_t to, const TRichCharFormat& format, uint32_t mask) {
  to = std::min(to, text_.size());
  if (from >= to) return;
  const size_t first = Split(from), last = Split(to);
  std::map<uint32_t, uint32_t> changed;  // old index -> new index, so each distinct format is merged once
  for (size_t i = first; i < last; ++i) {
    auto [it, added] = changed.try_emplace(runs_[i].format, 0);
    if (added) it->second = FormatIndex(MergeFormat(formats_[runs_[i].format], format, mask));
    runs_[i].format = it->second;
  }
  Coalesce(first, last);
}

TRichCharFormat TRichText::CommonFormat(size_t from, size_t to, uint32_t& mask) const {
  to = std::min(to, text_.size());
  mask = rfmAll;
  if (from >= to) return FormatAt(from > 0 ? from - 1 : 0);
  const TRichCharFormat& first = FormatAt(from);
  for (size_t i = RunIndex(from) + 1; i < runs_.size() && runs_[i].start < to; ++i) {
    const TRichCharFormat& f = formats_[runs_[i].format];
    if (f.FaceName != first.FaceName) mask &= ~rfmFace;
    if (f.Height != first.Height) mask &= ~rfmHeight;
    if (f.Color != first.Color) mask &= ~rfmColor;
    for (auto [bit, style] : kStyleBits)
      if (f.Style.Contains(style) != first.Style.Contains(style)) mask &= ~bit;
    if (f.Offset != first.Offset) mask &= ~rfmOffset;
  }
  return first;
}

TRichText TRichText::Range(size_t from, size_t to) const {
  to = std::min(to, text_.size());
  from = std::min(from, to);
  TRichText part;
  part.SetDefaultFormat(FormatAt(from));
  const int first = ParagraphOf(from);
  part.alignments_[0] = alignments_[first];
  for (size_t pos = from; pos < to;) {
    const size_t end = std::min(RunEnd(pos), to);
    part.Append(std::string_view(text_).substr(pos, end - pos), FormatAt(pos));
    pos = end;
  }
  for (int p = 1; p < part.ParagraphCount(); ++p) part.alignments_[p] = alignments_[first + p];
  return part;
}

size_t TRichText::Insert(size_t pos, const TRichText& other) {
  pos = std::min(pos, text_.size());
  if (InsideBreak(pos)) --pos;
  Splice(pos, pos, other);
  return pos;
}

void TRichText::Splice(size_t from, size_t to, const TRichText& with) {
  // In one splice, so that a large paste costs no more than copying the document once.
  to = std::min(to, text_.size());
  from = std::min(from, to);
  std::vector<uint32_t> indices(with.formats_.size());
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = FormatIndex(with.formats_[i]);
  std::vector<TRun> runs(with.runs_);
  for (TRun& run : runs) run.format = indices[run.format];
  const std::vector<TAlignment> inner(with.alignments_.begin() + 1, with.alignments_.end());
  Splice(from, to, with.text_, runs, &inner);
}

TRichCharFormat MergeFormat(TRichCharFormat base, const TRichCharFormat& format, uint32_t mask) {
  if (mask & rfmFace) base.FaceName = format.FaceName;
  if (mask & rfmHeight) base.Height = format.Height;
  if (mask & rfmColor) base.Color = format.Color;
  for (auto [bit, style] : kStyleBits)
    if (mask & bit) base.Style = format.Style.Contains(style) ? base.Style + style : base.Style - style;
  if (mask & rfmOffset) base.Offset = format.Offset;
  return base;
}

void ApplyRichFormat(TFont& font, const TRichCharFormat& format, TColor autoColor) {
  font.SetName(format.FaceName);
  font.SetHeight(-std::max(1, (format.Height * font.PixelsPerInch() + 720) / 1440));
  font.SetStyle(format.Style);
  font.SetColor(format.Color == clNone ? autoColor : format.Color);
}

}  // namespace platform
