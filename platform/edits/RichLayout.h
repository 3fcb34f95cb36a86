#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/edits/RichText.h"

namespace platform {

// Rich text laid out in lines for one canvas and width: where every line starts, how high it is and
// where every character stands. The rich edit paints and hit-tests with it, and the range formatter
// renders documents into a rectangle with it. Lines wrap after the last blank that fits (a word wider
// than the line breaks where it overflows) unless the width is 0; paragraph breaks and \v end a line.
// Tabs stand every half inch. Coordinates are pixels from the layout's top-left corner.
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

    // Bytes [first, last) removed, then `length` bytes inserted at `at` of the text that remained.
    static TChange RemovedThenInserted(size_t first, size_t last, size_t at, size_t length) {
      const size_t start = std::min(first, at), after = std::max(first, at);
      return {start, last + after - first - start, after + length - start};
    }
  };

  // Lays out `text` from byte `from` on, stopping after the first line that ends below `maxHeight`
  // (no limit when negative).
  void Build(const TRichText& text, TCanvas& canvas, int width, size_t from = 0, int maxHeight = -1);
  // Follows one change of the text laid out in full by Build: lines are laid out again from the one
  // before the change until a line starts where one started before, after the change; the lines
  // after it are kept, moved.
  void Update(TCanvas& canvas, const TChange& change);

  const std::vector<TLine>& Lines() const { return lines_; }
  int Height() const { return lines_.empty() ? 0 : lines_.back().top + lines_.back().height; }
  int Width() const;  // the widest line
  int LineOf(size_t pos) const;
  int XOf(size_t pos) const;  // from the layout's left edge
  size_t PosAt(int line, int x) const;
  size_t PosAtPoint(TPoint p) const;

  // Draws lines [first, last) with their top-left corner at `origin`; characters in [selFrom, selTo)
  // on the highlight, text of the automatic colour in `autoColor`.
  void Draw(TCanvas& canvas, TPoint origin, int first, int last, size_t selFrom, size_t selTo, TColor autoColor) const;

private:
  struct TMetrics {
    int ascent = 0;
    int descent = 0;
    int offset = 0;  // pixels the characters are raised (negative: lowered)
  };
  static TMetrics MetricsOf(TCanvas& canvas, const TRichCharFormat& format);
  // The metrics of a format, measured once per layout.
  const TMetrics& Metrics(TCanvas& canvas, const TRichCharFormat& format);
  // Measures the advances of [from, to).
  void Measure(TCanvas& canvas, size_t from, size_t to);
  // Adds lines from `pos`, a line start, until the end of the text, until the first line that ends
  // below maxHeight (when not negative), or until rejoin(start) takes over at a line's start.
  template <class F>
  void Flow(TCanvas& canvas, size_t pos, int maxHeight, F&& rejoin);
  void AddLine(TCanvas& canvas, size_t start, size_t end, size_t next);
  // The indent that the alignment of the line's paragraph gives it.
  int IndentOf(const TLine& line) const;
  int Advance(size_t pos) const { return pos < advances_.size() ? advances_[pos] : 0; }

  const TRichText* text_ = nullptr;
  int width_ = 0;
  std::vector<TLine> lines_;
  int paragraph_ = 0;  // of the line being added
  std::vector<int> advances_;  // per byte: the width of the character that starts there, else 0
  std::map<TRichCharFormat, TMetrics> metrics_;
  TMetrics endMetrics_;  // of text typed at the end
};

}  // namespace platform
