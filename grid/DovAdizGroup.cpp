// Grouping the data rows under node rows by the texts of one column, giving them back, and the
// calculations over each group.

#include <algorithm>
#include <map>
#include <numeric>

#include "grid/DovAdiz.h"
#include "grid/ScopedFlag.h"
#include "platform/core/StrUtils.h"

namespace velmora {

void VUraRazuduVova::Group(int ACol) {
  if (ACol <= GetFixedColsEx() || ACol >= StorageColCount() || IsHiddenColumn(ACol)) return;
  if (group_.column >= 0) UnGroup();
  const int first = FixedRows();
  if (LastDataRealRow() < first) return;
  const UpdateGuard lock(*this);
  // Rows hidden by other causes than nodes join the sort and are hidden again where they end up;
  // nodes of the program's own go.
  ExpandAll();
  std::vector<THideCauses> hidden(RowCount() + NumHiddenRows());
  for (const TGridItem& item : hiddenRows_) hidden[item.Idx] = item.Causes;
  UnHideRowsAll();
  for (int node : std::vector<int>(NodeRows())) FreeCellGraphic(0, node);

  GroupState state;
  state.column = ACol;
  state.width = AllColWidths(ACol);
  const int last = RowCount() - 1 - FixedFooters();
  for (int r = 0; r < first; ++r) state.fixedTexts.push_back(Cells(ACol, r));
  for (int r = last + 1; r < RowCount(); ++r) state.footerTexts.push_back(Cells(ACol, r));
  state.valueColumn = GetFixedColsEx() + 1;
  if (state.valueColumn == ACol) ++state.valueColumn;
  // A grid too narrow for it keeps the texts in its first column that is not fixed.
  if (state.valueColumn >= StorageColCount()) state.valueColumn = GetFixedColsEx();

  // The whole rows move, whatever SingleColumn says. A comparison that raises leaves the rows as
  // they are and the grid ungrouped.
  {
    const ScopedFlag wholeRows(*this, sortSettings_.SingleColumn, false);
    sortSettings_.Column = ACol;
    QSort();
  }
  group_ = std::move(state);

  // A node row goes above the first row of each run of equal texts.
  std::vector<int> starts;
  for (int r = first; r <= last; ++r)
    if (r == first || Cells(ACol, r) != Cells(ACol, r - 1)) starts.push_back(r);
  std::vector<int> positions(starts.size());
  for (size_t j = 0; j < starts.size(); ++j) positions[j] = starts[j] + static_cast<int>(j);
  std::vector<std::string> values(starts.size());
  for (size_t j = 0; j < starts.size(); ++j) values[j] = Cells(ACol, starts[j]);
  std::map<HideCause, std::vector<int>> rehide;
  for (int r = first, j = 0; r <= last; ++r) {
    while (j < static_cast<int>(starts.size()) && starts[j] <= r) ++j;
    const THideCauses& causes = hidden[sortXRef_.GetInteger(r)];
    for (const HideCause cause : {HideCause::User, HideCause::Filter})
      if (causes.Has(cause)) rehide[cause].push_back(r + j);
  }
  InsertRowSet(positions);
  InsertDisplayRowMarks(positions, {});
  for (size_t j = 0; j < positions.size(); ++j) {
    const int end = j + 1 < positions.size() ? positions[j + 1] : last + 1 + static_cast<int>(positions.size());
    SetCells(group_.valueColumn, positions[j], values[j]);
    AddNode(positions[j], end - positions[j] - 1);
  }
  for (const auto& [cause, rows] : rehide) HideRowSet(rows, cause);
  RemoveCols(DisplColIndex(ACol), 1);
  FocusCell(Col(), FixedRows(), true);
}

void VUraRazuduVova::UnGroup() {
  if (group_.column < 0) return;
  const UpdateGuard lock(*this);
  ExpandAll();
  const int col = std::min(group_.column, StorageColCount());
  InsertRealCols(col, 1);
  SetAllColWidths(col, group_.width);
  const int first = FixedRows(), lastData = LastDataRealRow();
  for (int r = 0; r < first && r < static_cast<int>(group_.fixedTexts.size()); ++r)
    SetCellsEx(col, r, group_.fixedTexts[r]);
  const int realRows = RowCount() + NumHiddenRows();
  for (int k = 0; k < static_cast<int>(group_.footerTexts.size()) && lastData + 1 + k < realRows; ++k)
    SetCellsEx(col, lastData + 1 + k, group_.footerTexts[k]);

  // Each row takes the text of the node row above it; the node rows go.
  std::string value;
  std::vector<int> nodeRows;
  for (int r = first; r <= lastData; ++r) {
    if (NodeAtReal(r)) {
      value = GetCellsEx(group_.valueColumn, r);
      nodeRows.push_back(r);
    } else {
      SetCellsEx(col, r, value);
    }
  }
  UnHideRowSet(nodeRows);
  std::vector<int> rows(nodeRows.size());
  for (size_t j = 0; j < nodeRows.size(); ++j) rows[j] = DisplRowIndex(nodeRows[j]);
  RemoveDisplayRows(rows);
  group_.column = -1;
}

void VUraRazuduVova::SetGroupColumn(int ACol) {
  if (ACol == -1)
    UnGroup();
  else if (ACol > 0)
    Group(ACol);
}

std::vector<std::pair<int, int>> VUraRazuduVova::NodeGroups() const {
  const std::vector<int>& rows = NodeRows();
  const int lastData = LastDataRealRow();
  std::vector<std::pair<int, int>> groups;
  for (size_t k = 0; k < rows.size() && rows[k] <= lastData; ++k)
    groups.emplace_back(rows[k] + 1, k + 1 < rows.size() ? std::min(rows[k + 1] - 1, lastData) : lastData);
  return groups;
}

void VUraRazuduVova::WriteGroupResults(int ACol, const std::function<double(int, int)>& Calc, bool Whole) {
  // The group texts would be lost.
  if (group_.column >= 0 && ACol == group_.valueColumn - (group_.valueColumn > group_.column ? 1 : 0))
    throw EDovAdizError("The column holds the group texts");
  const std::vector<std::pair<int, int>> groups = NodeGroups();
  std::vector<double> results;
  results.reserve(groups.size());
  for (const auto& [from, to] : groups) results.push_back(Calc(from, to));
  const UpdateGuard lock(*this);
  for (size_t k = 0; k < groups.size(); ++k)
    SetCellsEx(ACol, groups[k].first - 1,
               Whole ? platform::IntToStr(static_cast<int>(results[k])) : platform::Format(FloatFormat, results[k]));
}

std::vector<double> VUraRazuduVova::GroupValues(int ACol, int AFrom, int ATo) const {
  std::vector<double> values;
  for (int r = AFrom; r <= ATo; ++r) values.push_back(FloatValue(GetCellsEx(ACol, r)));
  return values;
}

void VUraRazuduVova::GroupSum(int ACol) {
  WriteGroupResults(ACol, [&](int from, int to) {
    const std::vector<double> v = GroupValues(ACol, from, to);
    return std::accumulate(v.begin(), v.end(), 0.0);
  });
}

void VUraRazuduVova::GroupAvg(int ACol) {
  WriteGroupResults(ACol, [&](int from, int to) {
    const std::vector<double> v = GroupValues(ACol, from, to);
    return v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
  });
}

void VUraRazuduVova::GroupMin(int ACol) {
  WriteGroupResults(ACol, [&](int from, int to) {
    const std::vector<double> v = GroupValues(ACol, from, to);
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
  });
}

void VUraRazuduVova::GroupMax(int ACol) {
  WriteGroupResults(ACol, [&](int from, int to) {
    const std::vector<double> v = GroupValues(ACol, from, to);
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
  });
}

void VUraRazuduVova::GroupCount(int ACol) {
  WriteGroupResults(ACol, [](int from, int to) { return static_cast<double>(to - from + 1); }, true);
}

}  // namespace velmora
