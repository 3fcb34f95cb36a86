#include <algorithm>
#include <vector>

#include "platform/grids/Grids.h"

namespace platform {

TGridDrawState TCustomGrid::CellState(int col, int row) const {
  if (col < FixedCols() || row < FixedRows()) return {TGridDrawStateFlag::gdFixed};
  TGridDrawState state;
  if (TGridCoord{col, row} == current_ && Focused())
    state.Include(TGridDrawStateFlag::gdFocused);
  if (selectionShown_ && Selection().Contains(col, row)) state.Include(TGridDrawStateFlag::gdSelected);
  return state;
}

void TCustomGrid::Paint() {
  TCanvas& canvas = Canvas();
  const int width = ClientWidth(), height = ClientHeight();
  const std::vector<GridAxis::Placed> cols = cols_.ShownItems(width), rows = rows_.ShownItems(RowsExtent());
  const bool highlightFocused =
      options_.Contains(TGridOption::goDrawFocusSelected) || options_.Contains(TGridOption::goRowSelect);
  const TRect clip = canvas.ClipRect();
  const int line = GridLineWidth();
  int right = 0, bottom = 0;
  for (const GridAxis::Placed& rowAt : rows) {
    const int row = rowAt.index;
    for (const GridAxis::Placed& colAt : cols) {
      const int col = colAt.index;
      const TRect cell{colAt.start, rowAt.start, colAt.start + cols_.Size(col), rowAt.start + rows_.Size(row)};
      right = std::max(right, cell.Right + line);
      bottom = std::max(bottom, cell.Bottom + line);
      // Cells outside the part being painted are left alone.
      TRect painted;
      if (!IntersectRect(painted, {cell.Left, cell.Top, cell.Right + line, cell.Bottom + line}, clip)) continue;
      const TGridDrawState state = CellState(col, row);
      const bool focused = state.Contains(TGridDrawStateFlag::gdFocused);
      if (defaultDrawing_) {
        canvas.Font().Assign(Font());
        TColor background = Color();
        if (state.Contains(TGridDrawStateFlag::gdFixed)) {
          background = fixedColor_;
        } else if (state.Contains(TGridDrawStateFlag::gdSelected) && (highlightFocused || !focused)) {
          background = clHighlight;
          canvas.Font().SetColor(clHighlightText);
        }
        canvas.Brush().SetColor(background);
        canvas.FillRect(cell);
      }
      DrawCell(col, row, cell, state);
      if (defaultDrawing_ && focused && !options_.Contains(TGridOption::goRowSelect)) canvas.DrawFocusRect(cell);
      DrawLines(col, row, cell);
    }
  }
  canvas.Brush().SetColor(Color());
  if (right < width) canvas.FillRect({right, 0, width, height});
  if (bottom < height) canvas.FillRect({0, bottom, right, height});
}

void TCustomGrid::DrawLines(int col, int row, const TRect& cell) {
  const int line = GridLineWidth();
  if (line == 0) return;
  const bool fixed = col < FixedCols() || row < FixedRows();
  const bool vert = options_.Contains(fixed ? TGridOption::goFixedVertLine : TGridOption::goVertLine);
  const bool horz = options_.Contains(fixed ? TGridOption::goFixedHorzLine : TGridOption::goHorzLine);
  const TColor lineColor = fixed ? clBlack : clSilver;
  const TColor background = fixed ? fixedColor_ : Color();
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(vert ? lineColor : background);
  canvas.FillRect({cell.Right, cell.Top, cell.Right + line, cell.Bottom + line});
  canvas.Brush().SetColor(horz ? lineColor : background);
  canvas.FillRect({cell.Left, cell.Bottom, cell.Right + (vert ? 0 : line), cell.Bottom + line});
}

}  // namespace platform
