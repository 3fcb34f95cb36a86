#include "grid/tests/GridOperations.h"

#include <algorithm>

namespace velmora::testing {

namespace {

const char* Name(GridOpKind kind) {
  switch (kind) {
    case GridOpKind::SetText: return "SetCells";
    case GridOpKind::SetObject: return "SetObjects";
    case GridOpKind::SetColor: return "SetColors";
    case GridOpKind::MergeCells: return "MergeCells";
    case GridOpKind::SetRowSelect: return "SetRowSelect";
    case GridOpKind::HideRows: return "HideRows";
    case GridOpKind::UnHideRows: return "UnHideRows";
    case GridOpKind::UnHideRowsAll: return "UnHideRowsAll";
    case GridOpKind::HideSelectedRows: return "HideSelectedRows";
    case GridOpKind::HideColumns: return "HideColumns";
    case GridOpKind::UnHideColumns: return "UnHideColumns";
    case GridOpKind::InsertRows: return "InsertRows";
    case GridOpKind::RemoveRows: return "RemoveRows";
    case GridOpKind::InsertCols: return "InsertCols";
    case GridOpKind::RemoveCols: return "RemoveCols";
    case GridOpKind::SwapRows: return "SwapRows";
    case GridOpKind::MoveRow: return "MoveRow";
    case GridOpKind::SwapColumns: return "SwapColumns";
    case GridOpKind::MoveColumn: return "MoveColumn";
    case GridOpKind::SetRowCount: return "SetRowCount";
    case GridOpKind::ClearRect: return "ClearRect";
    case GridOpKind::MergeCols: return "MergeCols";
    case GridOpKind::RemoveSelectedRows: return "RemoveSelectedRows";
    case GridOpKind::FilterOn: return "FilterActive := true";
    case GridOpKind::FilterOff: return "FilterActive := false";
    case GridOpKind::AddNode: return "AddNode";
    case GridOpKind::RemoveNode: return "RemoveNode";
    case GridOpKind::ContractNode: return "ContractNode";
    case GridOpKind::ExpandNode: return "ExpandNode";
    case GridOpKind::ContractAll: return "ContractAll";
    case GridOpKind::ExpandAll: return "ExpandAll";
  }
  return "?";
}

int Arguments(GridOpKind kind) {
  switch (kind) {
    case GridOpKind::UnHideRowsAll:
    case GridOpKind::HideSelectedRows:
    case GridOpKind::RemoveSelectedRows:
    case GridOpKind::FilterOn:
    case GridOpKind::FilterOff:
    case GridOpKind::ContractAll:
    case GridOpKind::ExpandAll: return 0;
    case GridOpKind::SetRowCount:
    case GridOpKind::RemoveNode:
    case GridOpKind::ContractNode:
    case GridOpKind::ExpandNode: return 1;
    case GridOpKind::SetText:
    case GridOpKind::SetObject:
    case GridOpKind::SetColor: return 3;
    case GridOpKind::MergeCells:
    case GridOpKind::ClearRect: return 4;
    default: return 2;
  }
}

// The marked data rows shown.
int MarkedRows(const GridModel& model) {
  int marked = 0;
  for (int d = model.FixedRows(); d < model.RowCount(); ++d) marked += model.RealRow(model.RealRowIndex(d)).mark;
  return marked;
}

// The operation leaves the fixed row and at least one data row shown.
bool KeepsTwoRows(const GridModel& model, const GridOp& op) {
  GridModel after = model;
  Apply(after, op);
  return after.RowCount() >= 2;
}

bool ColumnHasBlocks(const GridModel& model, int real) {
  for (int r = 0; r < model.RealRowCount(); ++r)
    if (model.RealCell(real, r).block) return true;
  return false;
}

}  // namespace

std::string Describe(const GridOp& op) {
  std::string line = Name(op.kind);
  const int args[] = {op.a, op.b, op.c, op.d};
  const int count = Arguments(op.kind);
  if (count > 0) {
    line += "(";
    for (int i = 0; i < count; ++i) {
      if (i) line += ", ";
      line += op.kind == GridOpKind::SetText && i == 2 ? "\"" + op.text + "\"" : std::to_string(args[i]);
    }
    line += ")";
  }
  for (const auto& [col, prefix] : op.conditions) line += " [col " + std::to_string(col) + " \"" + prefix + "*\"]";
  return line;
}

void Apply(GridModel& model, const GridOp& op) {
  switch (op.kind) {
    case GridOpKind::SetText: model.SetText(op.a, op.b, op.text); break;
    case GridOpKind::SetObject: model.SetObject(op.a, op.b, op.c); break;
    case GridOpKind::SetColor: model.SetColor(op.a, op.b, static_cast<platform::TColor>(op.c)); break;
    case GridOpKind::MergeCells: model.MergeCells(op.a, op.b, op.c, op.d); break;
    case GridOpKind::SetRowSelect: model.SetMark(op.a, op.b != 0); break;
    case GridOpKind::HideRows: model.HideRows(op.a, op.b); break;
    case GridOpKind::UnHideRows: model.UnHideRows(op.a, op.b); break;
    case GridOpKind::UnHideRowsAll: model.UnHideRowsAll(); break;
    case GridOpKind::HideSelectedRows: model.HideSelectedRows(); break;
    case GridOpKind::HideColumns: model.HideColumns(op.a, op.b); break;
    case GridOpKind::UnHideColumns: model.UnHideColumns(op.a, op.b); break;
    case GridOpKind::InsertRows: model.InsertRows(op.a, op.b); break;
    case GridOpKind::RemoveRows: model.RemoveRows(op.a, op.b); break;
    case GridOpKind::InsertCols: model.InsertCols(op.a, op.b); break;
    case GridOpKind::RemoveCols: model.RemoveCols(op.a, op.b); break;
    case GridOpKind::SwapRows: model.SwapRows(op.a, op.b); break;
    case GridOpKind::MoveRow: model.MoveRow(op.a, op.b); break;
    case GridOpKind::SwapColumns: model.SwapColumns(op.a, op.b); break;
    case GridOpKind::MoveColumn: model.MoveColumn(op.a, op.b); break;
    case GridOpKind::SetRowCount: model.SetRowCount(op.a); break;
    case GridOpKind::ClearRect: model.ClearRect(op.a, op.b, op.c, op.d); break;
    case GridOpKind::MergeCols: model.MergeCols(op.a, op.b); break;
    case GridOpKind::RemoveSelectedRows: model.RemoveSelectedRows(); break;
    case GridOpKind::FilterOn: model.SetFilterActive(true, op.conditions); break;
    case GridOpKind::FilterOff: model.SetFilterActive(false, {}); break;
    case GridOpKind::AddNode: model.AddNode(op.a, op.b); break;
    case GridOpKind::RemoveNode: model.RemoveNode(op.a); break;
    case GridOpKind::ContractNode: model.ContractNode(op.a); break;
    case GridOpKind::ExpandNode: model.ExpandNode(op.a); break;
    case GridOpKind::ContractAll:
      for (int r = model.RealRowCount() - 1; r >= 1; --r) model.ContractNode(r);
      break;
    case GridOpKind::ExpandAll:
      for (int r = 1; r < model.RealRowCount(); ++r) model.ExpandNode(r);
      break;
  }
}

GridOpGenerator::GridOpGenerator(uint32_t seed, std::set<GridOpKind> enabled, int maxRealCols, int objectCount)
    : random_(seed), enabled_(enabled.begin(), enabled.end()), maxRealCols_(maxRealCols), objectCount_(objectCount) {}

int GridOpGenerator::Index(int count) {
  const int edge = Below(4);
  if (edge == 0) return 0;
  if (edge == 1) return std::max(count - 1, 0);
  return Below(count);
}

int GridOpGenerator::Count(int room) {
  const int pick = Below(8);
  if (pick == 0) return 0;
  if (pick == 1) return room + 1;
  return 1 + Below(3);
}

GridOp GridOpGenerator::Next(const GridModel& model) {
  GridOp op;
  op.kind = GridOpKind::FilterOff;
  // The blank row that a filter nobody passes adds goes again before anything else happens.
  if (model.FilterBlankRow()) return op;
  // Cell writes keep the grid filled; every other kind is drawn alike.
  for (;;) {
    const GridOpKind kind = Chance(35) ? static_cast<GridOpKind>(Below(5)) : enabled_[Below(enabled_.size())];
    if (std::find(enabled_.begin(), enabled_.end(), kind) != enabled_.end() && Draw(kind, model, op)) return op;
  }
}

bool GridOpGenerator::Draw(GridOpKind kind, const GridModel& model, GridOp& op) {
  op = GridOp();
  op.kind = kind;
  const int rows = model.RowCount(), cols = model.ColCount(), realRows = model.RealRowCount(),
            realCols = model.RealColCount();
  switch (kind) {
    case GridOpKind::SetText:
      op.a = Below(realCols);
      op.b = Below(rows);
      op.text = Chance(10) ? "" : std::string(1, static_cast<char>('a' + Below(3))) + std::to_string(Below(10));
      return true;
    case GridOpKind::SetObject:
      op.a = Below(realCols);
      op.b = Below(rows);
      op.c = Below(objectCount_ + 1);
      return true;
    case GridOpKind::SetColor:
      op.a = Below(realCols);
      op.b = Below(rows);
      op.c = static_cast<int>(platform::RGB(Below(256), Below(256), Below(256)));
      return true;
    case GridOpKind::MergeCells:
      op.a = Below(realCols);
      op.b = Below(rows);
      op.c = 1 + Below(3);
      op.d = 1 + Below(3);
      return op.c * op.d >= 2;
    case GridOpKind::SetRowSelect:
      op.a = Below(rows);
      op.b = Chance(75);
      return true;
    case GridOpKind::HideRows: {
      op.a = 1 + Below(realRows - 1);
      op.b = op.a + Below(5);
      int hiding = 0;
      for (int r = op.a; r <= std::min(op.b, realRows - 1); ++r) hiding += !model.IsHiddenRow(r);
      return rows - hiding >= 2;
    }
    case GridOpKind::UnHideRows:
      if (model.NumHiddenRows() == 0) return false;
      op.a = Below(realRows);
      op.b = op.a + Below(6);
      // One row of a contracted node, which the node no longer holds then.
      if (const int held = ReachRow(model, false); held >= 0 && Chance(50)) op.a = op.b = held;
      return true;
    // Not too often: it ends every state that the other kinds build up.
    case GridOpKind::UnHideRowsAll: return model.NumHiddenRows() > 0 && Chance(40);
    case GridOpKind::HideSelectedRows:
    case GridOpKind::RemoveSelectedRows: return rows - MarkedRows(model) >= 2;
    case GridOpKind::HideColumns: {
      op.a = Below(realCols);
      op.b = op.a + Below(3);
      int hiding = 0;
      for (int c = op.a; c <= std::min(op.b, realCols - 1); ++c) hiding += !model.IsHiddenColumn(c);
      return cols - hiding >= 3;
    }
    case GridOpKind::UnHideColumns:
      if (model.NumHiddenColumns() == 0) return false;
      op.a = Below(realCols);
      op.b = op.a + Below(4);
      return true;
    case GridOpKind::InsertRows:
      op.a = Chance(10) ? rows + 2 : Chance(20) ? ReachRow(model, true) : Index(rows + 1);
      if (op.a < 0) op.a = Index(rows + 1);
      op.b = Count(3);
      return realRows < 80;
    case GridOpKind::RemoveRows:
      op.a = Chance(5) ? rows : Index(rows);
      op.b = Count(rows - op.a);
      // Real row 0 stays a shown row: a hidden row never becomes the fixed one.
      if (op.a == 0 && op.b > 0 && model.RealRowIndex(std::min(op.b, rows)) != std::min(op.b, rows)) return false;
      return rows - std::min(std::max(op.b, 0), std::max(rows - op.a, 0)) >= 2;
    case GridOpKind::InsertCols:
      op.a = Chance(10) ? cols + 2 : Index(cols + 1);
      op.b = Count(3);
      return realCols + 4 <= maxRealCols_;
    case GridOpKind::RemoveCols:
      op.a = Chance(5) ? cols : Index(cols);
      op.b = Count(cols - op.a);
      return cols - std::min(std::max(op.b, 0), std::max(cols - op.a, 0)) >= 3;
    case GridOpKind::SwapRows:
    case GridOpKind::MoveRow:
      // Node rows move often enough to meet contracted ones.
      op.a = Chance(25) ? std::min(model.DisplRowIndex(NodeRow(model)), rows - 1) : Index(rows);
      // Into or right after the rows of a contracted node, often.
      op.b = Chance(25) ? ReachRow(model, true) : Index(rows);
      return op.b >= 0;
    case GridOpKind::SwapColumns:
    case GridOpKind::MoveColumn:
      op.a = Index(cols);
      op.b = Index(cols);
      return true;
    case GridOpKind::SetRowCount:
      op.a = 2 + Below(rows + 4);
      return op.a + model.NumHiddenRows() < 80;
    case GridOpKind::ClearRect:
      // Column 0 often: it holds the nodes.
      op.a = Chance(25) ? 0 : Below(realCols);
      op.b = Chance(20) ? ReachRow(model, true) : Below(rows);
      if (op.b < 0) op.b = Below(rows);
      op.c = op.a + Below(3);
      op.d = op.b + Below(4);
      return true;
    case GridOpKind::MergeCols:
      op.a = Below(realCols);
      op.b = Chance(10) ? op.a : Below(realCols);
      return cols - !model.IsHiddenColumn(op.b) >= 3 && !ColumnHasBlocks(model, op.a) && !ColumnHasBlocks(model, op.b);
    case GridOpKind::FilterOn: {
      if (model.FilterActive()) return false;
      // On real columns, hidden ones too.
      const int conditions = 1 + Below(2);
      for (int i = 0; i < conditions; ++i)
        op.conditions.emplace_back(Below(realCols), std::string(1, static_cast<char>('a' + Below(3))));
      return true;
    }
    case GridOpKind::FilterOff: return model.FilterActive();
    case GridOpKind::AddNode:
      // Within or right after the rows of a contracted node, often; span 0 reaches up to the next node.
      op.a = Chance(50) ? ReachRow(model, true) : 1 + Below(rows - 1);
      op.b = Chance(40) ? 0 : Below(5);
      return op.a >= 1;
    case GridOpKind::RemoveNode:
      op.a = Chance(25) ? ReachRow(model, true) : model.DisplRowIndex(NodeRow(model));
      return op.a >= 0 && op.a < rows;
    case GridOpKind::ContractNode:
    case GridOpKind::ExpandNode:
      op.a = NodeRow(model, kind == GridOpKind::ExpandNode);
      return KeepsTwoRows(model, op);
    case GridOpKind::ContractAll:
    case GridOpKind::ExpandAll: return KeepsTwoRows(model, op);
  }
  return false;
}

int GridOpGenerator::NodeRow(const GridModel& model, bool contracted) {
  std::vector<int> nodes;
  for (int r = 0; r < model.RealRowCount(); ++r)
    if (model.IsNode(r) && (!contracted || model.RealCell(0, r).contracted)) nodes.push_back(r);
  if (nodes.empty() && contracted) return NodeRow(model, false);
  if (nodes.empty() || Chance(15)) return Below(model.RealRowCount());
  return nodes[Below(static_cast<int>(nodes.size()))];
}

int GridOpGenerator::ReachRow(const GridModel& model, bool shown) {
  std::vector<int> rows;
  for (int node = 1; node < model.RealRowCount(); ++node) {
    if (!model.IsNode(node) || !model.RealCell(0, node).contracted) continue;
    for (int r = node + 1; r <= model.NodeEnd(node) + 1 && r < model.RealRowCount(); ++r)
      if (model.IsHiddenRow(r) != shown) rows.push_back(r);
  }
  if (rows.empty()) return -1;
  const int real = rows[Below(static_cast<int>(rows.size()))];
  return shown ? model.DisplRowIndex(real) : real;
}

}  // namespace velmora::testing
