#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/ui/ControlAppearance.h"

namespace platform {

// How a run of rich text looks. Sizes and the vertical offset are in twips (1/20 point); a positive
// offset raises the characters (superscript), a negative one lowers them. clNone as the colour is the
// automatic text colour of whatever draws the text.
struct TRichCharFormat {
  std::string FaceName = "Arial";
  int Height = 200;
  TColor Color = clNone;
  TFontStyles Style;
  int Offset = 0;

  friend auto operator<=>(const TRichCharFormat& a, const TRichCharFormat& b) {
    if (auto c = a.FaceName <=> b.FaceName; c != 0) return c;
    if (auto c = a.Height <=> b.Height; c != 0) return c;
    if (auto c = a.Color <=> b.Color; c != 0) return c;
    if (auto c = StyleBits(a.Style) <=> StyleBits(b.Style); c != 0) return c;
    return a.Offset <=> b.Offset;
  }
  friend bool operator==(const TRichCharFormat&, const TRichCharFormat&) = default;

private:
  static int StyleBits(TFontStyles style) {
    return style.Contains(TFontStyle::fsBold) | style.Contains(TFontStyle::fsItalic) << 1 |
           style.Contains(TFontStyle::fsUnderline) << 2 | style.Contains(TFontStyle::fsStrikeOut) << 3;
  }
};

// Which attributes of a TRichCharFormat an operation reads or writes (several or'ed together).
enum TRichFormatMask : uint32_t {
  rfmFace = 1,
  rfmHeight = 2,
  rfmColor = 4,
  rfmBold = 8,
  rfmItalic = 16,
  rfmUnderline = 32,
  rfmStrikeOut = 64,
  rfmOffset = 128,
  rfmAll = 255,
};

// A rich text document: UTF-8 text in paragraphs, a format for every character (kept as runs) and an
// alignment for every paragraph. Paragraphs are separated by CR LF (no break after the last); a vertical tab (\v)
// breaks a line inside a paragraph. Positions are byte offsets of the text; callers keep them at
// character boundaries. Every paragraph has an alignment, so there is always at least one.
class TRichText {
public:
  static constexpr std::string_view kParagraphBreak = "\r\n";

  const std::string& Text() const { return text_; }
  bool Empty() const { return text_.empty(); }
  // The format of the character at `pos`; at the end (or in an empty text) the format that text typed
  // there takes: that of the character before it, else the default.
  const TRichCharFormat& FormatAt(size_t pos) const;
  // The end of the run of characters that share the format of the one at `pos`, at most `limit`.
  size_t RunEnd(size_t pos, size_t limit = std::string::npos) const;
  const TRichCharFormat& DefaultFormat() const { return formats_[0]; }
  // Sets the format of an empty document's text to come; the text present keeps its own.
  void SetDefaultFormat(const TRichCharFormat& format);

  int ParagraphCount() const { return static_cast<int>(alignments_.size()); }
  // The paragraph that holds `pos` (a break belongs to the paragraph it ends).
  int ParagraphOf(size_t pos) const;
  TAlignment Alignment(int paragraph) const { return alignments_[paragraph]; }
  // Sets the alignment of every paragraph that [from, to] touches.
  void SetAlignment(size_t from, size_t to, TAlignment alignment);

  // [from, to) within the text, widened to whole paragraph breaks: the range that Replace replaces.
  std::pair<size_t, size_t> WholeBreaks(size_t from, size_t to) const;
  // Replaces [from, to) by `with` in `format`; the paragraph that the replacement joins keeps the
  // alignment of the first one, and new paragraphs take it too. Returns the range replaced: [from, to)
  // as WholeBreaks gives it.
  std::pair<size_t, size_t> Replace(size_t from, size_t to, std::string_view with, const TRichCharFormat& format);
  // Appends text; a paragraph break in it starts a paragraph with the last one's alignment.
  void Append(std::string_view with, const TRichCharFormat& format) { Replace(text_.size(), text_.size(), with, format); }
  void SetLastAlignment(TAlignment alignment) { alignments_.back() = alignment; }

  // Sets the attributes of `mask` on [from, to); the others stay.
  void SetFormat(size_t from, size_t to, const TRichCharFormat& format, uint32_t mask);
  // The format of [from, to) and the mask of the attributes that all its characters share; an empty
  // range gives the format that typing there takes, with every attribute shared.
  TRichCharFormat CommonFormat(size_t from, size_t to, uint32_t& mask) const;

  // A copy of [from, to) with its formats and the alignments of its paragraphs.
  TRichText Range(size_t from, size_t to) const;
  // Inserts a document's text with its formats at `pos`; its paragraphs keep their alignments, but
  // the one it starts in is the text's own. Returns where it went: before a paragraph break that `pos`
  // would cut.
  size_t Insert(size_t pos, const TRichText& other);
  // Replaces exactly [from, to) by a document, as Insert puts it in, even where that cuts a paragraph
  // break in two or puts a lone CR beside a lone LF: what gives back a range as Range took it.
  void Splice(size_t from, size_t to, const TRichText& with);

private:
  // A run of characters of one format: from `start` to the next run's start (or the end).
  struct TRun {
    size_t start;
    uint32_t format;  // into formats_
  };

  uint32_t FormatIndex(const TRichCharFormat& format);
  // Whether `pos` lies between the CR and the LF of a paragraph break.
  bool InsideBreak(size_t pos) const {
    return pos > 0 && pos < text_.size() && text_[pos - 1] == '\r' && text_[pos] == '\n';
  }
  static int BreaksIn(std::string_view text);
  // Replaces exactly [from, to) by `with`, whose runs (from 0, of this document's formats) are `runs`.
  // The paragraphs that its breaks start take `inner`, one per break, or, when none are given, the
  // alignment of the paragraph that it starts in; so do those that a CR or LF at either end of it
  // makes with the one beside it.
  void Splice(size_t from, size_t to, std::string_view with, const std::vector<TRun>& runs,
              const std::vector<TAlignment>* inner);
  bool CrBefore(size_t pos) const { return pos > 0 && pos <= text_.size() && text_[pos - 1] == '\r'; }
  bool LfAt(size_t pos) const { return pos < text_.size() && text_[pos] == '\n'; }

  // The run that holds pos < text_.size().
  size_t RunIndex(size_t pos) const;
  // Makes a run start at `pos` and returns its index; runs_.size() at the end of the text.
  size_t Split(size_t pos);
  // Removes the empty runs among runs [first, last) and their neighbours and joins neighbours of one
  // format, so that runs stay as few as the formats allow.
  void Coalesce(size_t first, size_t last);

  std::string text_;
  // Sorted, none empty, neighbours of different formats; the first starts at 0; none in an empty text.
  std::vector<TRun> runs_;
  std::vector<TRichCharFormat> formats_{TRichCharFormat{}};  // formats_[0] is the default
  std::map<TRichCharFormat, uint32_t> formatIndex_{{TRichCharFormat{}, 0}};
  std::vector<TAlignment> alignments_{TAlignment::taLeftJustify};
};

// `base` with the attributes of `mask` taken from `format`.
TRichCharFormat MergeFormat(TRichCharFormat base, const TRichCharFormat& format, uint32_t mask);

// Gives the font the format's face, size, style and colour (clNone: `autoColor`).
void ApplyRichFormat(TFont& font, const TRichCharFormat& format, TColor autoColor);

}  // namespace platform
