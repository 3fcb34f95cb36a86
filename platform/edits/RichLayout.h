#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/edits/RichText.h"

namespace platform {

// Rich text laid out in lines for one canvas and width: where every line starts, how high it is and
// where every character stands. The rich edit paints and hit-tests with it, and the range formatter
// renders documents into a rectangle with it. Lines wrap after the last blank that fits (a word wider
// than the line breaks where it overflows) unless the width is 0; line breaks (CR LF, a lone CR or LF)
// and \v end a line, and only CR LF a paragraph. Tabs stand every half inch. Coordinates are pixels
// from the layout's top-left corner.
class TRichLayout {
public:
  struct TLine {
    size_t start = 0;  // the line's characters are [start, end)
    size_t end = 0;
    size_t next = 0;   // where the next line starts: after the break that ends this one
    int top = 0;
    int height = 0;
    int ascent = 0;  // from the top to the baseline
    int left = 0;    // the alignment's indent
    int width = 0;   // without the blanks at its end
    int paragraph = 0;
  };

  // A change of the text laid out: bytes [from, from + removed) became [from, from + inserted), or
  // (removed and inserted equal) took other formats there.
  struct TChange {
    size_t from = 0;
    size_t removed = 0;
    size_t inserted = 0;
  };

  // Lays out `text` from byte `from` on, stopping after the first line that ends below `maxHeight`
  // (no limit when negative).
  void Build(const TRichText& text, TCanvas& canvas, int width, size_t from = 0, int maxHeight = -1);
  // Follows one change of the text laid out in full by Build: lines are laid out again from the one
  // before the change until a line starts where one started before, after the change; the lines
  // after it are kept, moved.
  void Update(TCanvas& canvas, const TChange& change);

  int LineCount() const { return static_cast<int>(lines_.size()); }
  TLine Line(int index) const;
  int Height() const { return lines_.empty() ? 0 : lines_.back().top + lines_.back().height; }
  int Width() const;  // the widest line
  int LineOf(size_t pos) const;
  // The first line whose bottom lies below `y`, else the last.
  int LineAtY(int y) const;
  int XOf(size_t pos) const;  // from the layout's left edge
  size_t PosAt(int line, int x) const;
  size_t PosAtPoint(TPoint p) const { return PosAt(LineAtY(p.Y), p.X); }

  // Draws lines [first, last) with their top-left corner at `origin`; characters in [selFrom, selTo)
  // on the highlight, text of the automatic colour in `autoColor`.
  void Draw(TCanvas& canvas, TPoint origin, int first, int last, size_t selFrom, size_t selTo, TColor autoColor) const;

private:
  struct TMetrics {
    int ascent = 0;
    int descent = 0;
    int offset = 0;  // pixels the characters are raised (negative: lowered)
  };
  // What one format measures: its metrics and the advances of the characters met in it, each measured
  // once per layout. Widths are kept per format rather than per character, so that a long text costs
  // the layout no memory beyond its lines.
  struct TMeasures {
    const TRichCharFormat* format = nullptr;  // the key it is kept under
    TMetrics metrics;
    std::array<int, 128> ascii;  // -1 until measured
    std::unordered_map<char32_t, int> others;  // by code point; a byte that is none as kNoCharacter + byte
  };
  // A line as kept: its end and next follow from the next line's start (lastNext_ after the last).
  struct TStoredLine {
    size_t start = 0;
    int top = 0;
    int width = 0;
    int left = 0;
    int paragraph = 0;
    uint16_t height = 0;
    uint16_t ascent = 0;
    uint8_t breakLength = 0;  // of the break that ends the line
  };
  static constexpr char32_t kNoCharacter = 0x110000;

  static TMetrics MetricsOf(TCanvas& canvas, const TRichCharFormat& format);
  TMeasures& MeasuresOf(TCanvas& canvas, const TRichCharFormat& format);
  const TMeasures* FindMeasures(const TRichCharFormat& format) const;
  // The advance of the character at `pos`, `x` pixels from its line's start (where tabs stop); a
  // character not measured yet is measured.
  int MeasuredAdvance(TCanvas& canvas, TMeasures& measures, size_t pos, int x);
  int Advance(const TMeasures& measures, size_t pos, int x) const;
  // Calls f(pos, next, advance) for the characters of [line.start, end) from the line's start, until f
  // returns false.
  template <class F>
  void ForEachAdvance(const TStoredLine& line, size_t end, F&& f) const;

  // Adds lines to `out` from `pos`, a line start whose top is `top`, until the end of the text, until
  // the first line that ends below maxHeight (when not negative), or until rejoin(start) takes over at
  // a line's start. Returns where the line after the last one added starts.
  template <class F>
  size_t Flow(TCanvas& canvas, std::vector<TStoredLine>& out, size_t pos, int top, int maxHeight, F&& rejoin);
  TStoredLine MakeLine(TCanvas& canvas, size_t start, size_t end, size_t next, int top);
  // The indent that the alignment of the line's paragraph gives it.
  int IndentOf(const TStoredLine& line) const;
  size_t NextOf(size_t index) const { return index + 1 < lines_.size() ? lines_[index + 1].start : lastNext_; }
  size_t EndOf(size_t index) const { return NextOf(index) - lines_[index].breakLength; }

  // The widest line's extent (indent and width) and how many lines have it; Width finds it again
  // only after the last of those lines went.
  void Counted(const TStoredLine& line) const;
  void Forgotten(const TStoredLine& line) const;

  const TRichText* text_ = nullptr;
  int width_ = 0;
  int tabStop_ = 1;
  std::vector<TStoredLine> lines_;
  size_t lastNext_ = 0;
  int paragraph_ = 0;  // of the line being added
  std::map<TRichCharFormat, TMeasures> measures_;
  const TMeasures* applied_ = nullptr;  // whose font the canvas has while laying out
  mutable int widest_ = 0;
  mutable int widestCount_ = 0;
  mutable bool widestKnown_ = true;
};

}  // namespace platform
