#pragma once

#include <cstddef>
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
  };

  // Lays out `text` from byte `from` on, stopping after the first line that ends below `maxHeight`
  // (no limit when negative).
  void Build(const TRichText& text, TCanvas& canvas, int width, size_t from = 0, int maxHeight = -1);

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
  TMetrics MetricsOf(TCanvas& canvas, const TRichCharFormat& format) const;
  void Measure(TCanvas& canvas, size_t from);
  void AddLine(size_t start, size_t end, size_t next);
  int Advance(size_t pos) const { return pos < advances_.size() ? advances_[pos] : 0; }

  const TRichText* text_ = nullptr;
  int width_ = 0;
  std::vector<TLine> lines_;
  int paragraph_ = 0;  // of the line being added
  std::vector<int> advances_;      // per byte: the width of the character that starts there, else 0
  std::vector<TMetrics> metrics_;  // per byte: the metrics of the character's font
  TMetrics endMetrics_;            // of text typed at the end
};

}  // namespace platform
