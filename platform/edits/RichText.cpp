#include "platform/edits/RichText.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

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

const TRichCharFormat& TRichText::FormatAt(size_t pos) const {
  if (pos < charFormats_.size()) return formats_[charFormats_[pos]];
  return charFormats_.empty() ? formats_[0] : formats_[charFormats_.back()];
}

size_t TRichText::RunEnd(size_t pos, size_t limit) const {
  if (pos >= charFormats_.size()) return std::min(text_.size(), limit);
  limit = std::min(limit, charFormats_.size());
  const uint32_t index = charFormats_[pos];
  while (pos < limit && charFormats_[pos] == index) ++pos;
  return pos;
}

void TRichText::SetDefaultFormat(const TRichCharFormat& format) {
  formats_[0] = format;
  formatIndex_.clear();
  for (uint32_t i = 0; i < formats_.size(); ++i) formatIndex_.try_emplace(formats_[i], i);
}

int TRichText::ParagraphOf(size_t pos) const {
  return BreaksIn(std::string_view(text_).substr(0, std::min(pos + 1, text_.size())));
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
  const int first = from == text_.size() ? ParagraphCount() - 1 : ParagraphOf(from);  // appending costs no scan
  const int removed = BreaksIn(std::string_view(text_).substr(from, to - from));
  const int added = BreaksIn(with);
  const TAlignment kept = alignments_[first];
  alignments_.erase(alignments_.begin() + first + 1, alignments_.begin() + first + 1 + removed);
  alignments_.insert(alignments_.begin() + first + 1, added, kept);
  const uint32_t index = FormatIndex(format);
  text_.replace(from, to - from, with);
  charFormats_.erase(charFormats_.begin() + static_cast<std::ptrdiff_t>(from), charFormats_.begin() + static_cast<std::ptrdiff_t>(to));
  charFormats_.insert(charFormats_.begin() + static_cast<std::ptrdiff_t>(from), with.size(), index);
  return {from, to};
}

void TRichText::SetFormat(size_t from, size_t to, const TRichCharFormat& format, uint32_t mask) {
  to = std::min(to, text_.size());
  std::map<uint32_t, uint32_t> changed;  // old index -> new index, so each distinct format is merged once
  for (size_t pos = from; pos < to; ++pos) {
    auto [it, added] = changed.try_emplace(charFormats_[pos], 0);
    if (added) it->second = FormatIndex(MergeFormat(formats_[charFormats_[pos]], format, mask));
    charFormats_[pos] = it->second;
  }
}

TRichCharFormat TRichText::CommonFormat(size_t from, size_t to, uint32_t& mask) const {
  to = std::min(to, text_.size());
  mask = rfmAll;
  if (from >= to) return FormatAt(from > 0 ? from - 1 : 0);
  const TRichCharFormat& first = formats_[charFormats_[from]];
  for (size_t pos = from + 1; pos < to; ++pos) {
    if (charFormats_[pos] == charFormats_[pos - 1]) continue;
    const TRichCharFormat& f = formats_[charFormats_[pos]];
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
  part.alignments_[0] = alignments_[ParagraphOf(from)];
  for (size_t pos = from; pos < to;) {
    const size_t end = std::min(RunEnd(pos), to);
    part.Append(std::string_view(text_).substr(pos, end - pos), FormatAt(pos));
    pos = end;
  }
  const int first = ParagraphOf(from);
  for (int p = 1; p < part.ParagraphCount(); ++p) part.alignments_[p] = alignments_[first + p];
  return part;
}

size_t TRichText::Insert(size_t pos, const TRichText& other) {
  // In one splice, so that a large paste costs no more than copying the document once.
  pos = std::min(pos, text_.size());
  if (InsideBreak(pos)) --pos;
  const int first = ParagraphOf(pos);
  std::vector<uint32_t> indices(other.formats_.size());
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = FormatIndex(other.formats_[i]);
  std::vector<uint32_t> inserted(other.charFormats_.size());
  for (size_t i = 0; i < inserted.size(); ++i) inserted[i] = indices[other.charFormats_[i]];
  text_.insert(pos, other.text_);
  charFormats_.insert(charFormats_.begin() + static_cast<std::ptrdiff_t>(pos), inserted.begin(), inserted.end());
  alignments_.insert(alignments_.begin() + first + 1, other.alignments_.begin() + 1, other.alignments_.end());
  return pos;
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
