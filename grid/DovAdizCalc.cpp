// Calculations over runs of cells, automatic numbering, the selection test and the selection as text.
#include "grid/DovAdiz.h"
#include "controls/html/MarkupText.h"
#include "grid/ExUtil.h"
#include "platform/edits/RichEdit.h"

namespace velmora {

using platform::TGridOption;

std::vector<double> VUraRazuduVova::RunValues(CalcRun Run, int AIndex, int First, int Last) {
  const bool column = Run == CalcRun::Column;
  const int across = column ? ColCount() : RowCount(), along = column ? RowCount() : ColCount();
  const char* const acrossError = column ? "Invalid Column accessed" : "Invalid Row accessed";
  const char* const alongError = column ? "Invalid Row accessed" : "Invalid Column accessed";
  if (AIndex < 0 || AIndex >= across) throw EDovAdizError(acrossError);
  // An empty run needs its first cell in the grid too (its minimum and maximum).
  if (First < 0 || std::max(First, Last) >= along) throw EDovAdizError(alongError);
  std::vector<double> values;
  for (int i = First; i <= Last; ++i)
    values.push_back(column ? Floats(RealColIndex(AIndex), i) : Floats(RealColIndex(i), AIndex));
  return values;
}

double VUraRazuduVova::RunExtreme(CalcRun Run, int AIndex, int First, int Last, bool Largest) {
  const bool empty = Last < First;
  const std::vector<double> values = RunValues(Run, AIndex, First, empty ? First : Last);
  double extreme = values.front();
  for (double v : values)
    if (Largest ? v > extreme : v < extreme) extreme = v;
  return extreme;
}

namespace {

double Sum(const std::vector<double>& values) {
  double sum = 0.0;
  for (double v : values) sum += v;
  return sum;
}

double Average(const std::vector<double>& values) {
  return values.empty() ? 0.0 : Sum(values) / static_cast<double>(values.size());
}

}  // namespace

double VUraRazuduVova::ColumnSum(int ACol, int FromRow, int ToRow) { return Sum(RunValues(CalcRun::Column, ACol, FromRow, ToRow)); }
double VUraRazuduVova::ColumnAvg(int ACol, int FromRow, int ToRow) {
  return Average(RunValues(CalcRun::Column, ACol, FromRow, ToRow));
}
double VUraRazuduVova::ColumnMin(int ACol, int FromRow, int ToRow) {
  return RunExtreme(CalcRun::Column, ACol, FromRow, ToRow, false);
}
double VUraRazuduVova::ColumnMax(int ACol, int FromRow, int ToRow) {
  return RunExtreme(CalcRun::Column, ACol, FromRow, ToRow, true);
}
double VUraRazuduVova::RowSum(int ARow, int FromCol, int ToCol) { return Sum(RunValues(CalcRun::Row, ARow, FromCol, ToCol)); }
double VUraRazuduVova::RowAvg(int ARow, int FromCol, int ToCol) { return Average(RunValues(CalcRun::Row, ARow, FromCol, ToCol)); }
double VUraRazuduVova::RowMin(int ARow, int FromCol, int ToCol) { return RunExtreme(CalcRun::Row, ARow, FromCol, ToCol, false); }
double VUraRazuduVova::RowMax(int ARow, int FromCol, int ToCol) { return RunExtreme(CalcRun::Row, ARow, FromCol, ToCol, true); }

void VUraRazuduVova::AutoNumberCol(int ACol) {
  if (RowCount() <= 0) return;
  const UpdateGuard lock(*this);
  const int col = RealColIndex(ACol);
  for (int r = FixedRows(); r <= RowCount() - 1 - FixedFooters(); ++r) SetInts(col, r, r - FixedRows() + 1);
}

void VUraRazuduVova::AutoNumberRow(int ARow) {
  if (ColCount() <= 0) return;
  const UpdateGuard lock(*this);
  for (int c = FixedCols(); c <= ColCount() - 1 - FixedRightCols(); ++c) SetInts(RealColIndex(c), ARow, c - FixedCols() + 1);
}

bool VUraRazuduVova::IsSelected(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return false;
  if (mouseActions_.DisjunctRowSelect) return ARow < RowCount() && RowSelect(ARow);
  return Selection().Contains(ACol, ARow);
}

std::string VUraRazuduVova::SelectedText() { return SelectionText(false); }

std::string VUraRazuduVova::SelectionText(bool StripMarkup) {
  platform::TGridRect range = Selection();
  if (Options().Contains(TGridOption::goRowSelect) && dragDropSettings_.OleEntireRows) {
    range.Left = 0;
    range.Right = ColCount() - 1;
  }
  std::vector<int> rows;
  if (mouseActions_.DisjunctRowSelect) {
    for (int r = FixedRows(); r < RowCount(); ++r)
      if (RowSelect(r)) rows.push_back(r);
  } else {
    for (int r = std::max(range.Top, 0); r <= range.Bottom && r < RowCount(); ++r) rows.push_back(r);
  }
  std::string out;
  for (int r : rows) {
    for (int c = range.Left; c <= range.Right; ++c) {
      const int col = RealColIndex(c);
      std::string text = Cells(col, r);
      if (StripMarkup && text.find("</") != std::string::npos) {
        text = controls::StripHTML(text);
      } else if (text.find("{\\") != std::string::npos) {
        platform::TCustomRichEdit& rich = RichEdit();
        CellToRich(col, r, rich);
        text.clear();
        for (int i = 0; i < rich.Lines().Count(); ++i) text += (i > 0 ? "\r\n" : "") + rich.Lines().Strings(i);
      }
      if (Multilinecells && ClipboardCSVMultiLine && LinesInText(text, true) > 1) text = LineFeedsToCSV(text);
      out += text;
      if (c < range.Right) out += '\t';
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace velmora
