// The mouse on the grid: presses on cells, anchors and fixed cells, whole row, column and all
// selection, disjunct row selection, the sort by a header click and the validation hooks of a click.
//
// Positions from MouseToCell are display cells; a press acts on the base of the merged block it hits,
// and the events name the display row and the real column.

#include <algorithm>

#include "controls/html/RenderHTML.h"
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "grid/GridCursors.h"
#include "grid/ScopedFlag.h"
#include "platform/core/Clock.h"
#include "platform/core/Ascii.h"
#include "platform/shell/ShellApi.h"
#include "platform/ui/ApplicationHints.h"

using namespace platform;

namespace velmora {

namespace {

// A click at most this many pixels from a column border belongs to the border (sizing), not the cell.
constexpr int kBorderZone = 3;

// Only a text that begins with a URL scheme ("scheme://", the scheme of letters, digits, "+", "." and
// "-", or "mailto:") goes to the shell; anything else could name a program that the shell would run.
bool HasUrlScheme(std::string_view text) {
  if (text.size() >= 7 && SameText(text.substr(0, 7), "mailto:")) return true;
  const size_t colon = text.find("://");
  if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(text[0])) return false;
  return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon),
                     [](char ch) { return IsAsciiAlnum(ch) || ch == '+' || ch == '.' || ch == '-'; });
}

constexpr std::string_view kCellScheme = "CELL://";

// The merged block (display columns) that holds display cell (c, r); the cell alone when unmerged.
TGridRect BlockOnDisplay(const VUraRazuduVova& grid, int c, int r) {
  const TPoint base = grid.BaseCell(grid.RealColIndex(c), r);
  const TPoint span = grid.CellSpan(base.X, base.Y);
  const int left = grid.DisplColIndex(base.X);
  return {left, base.Y, left + std::max(span.X, 0), base.Y + std::max(span.Y, 0)};
}

}  // namespace

void VUraRazuduVova::Click() {
  InitValidate(Col(), Row());
  TBaseGrid::Click();
}

void VUraRazuduVova::DoEnter() {
  TBaseGrid::DoEnter();
  SelectCell(Col(), Row());
  InitValidate(Col(), Row());
}

bool VUraRazuduVova::NearColumnBorder(int c, int X) const {
  const TRect R = CellRect(c, 0);
  return Options().Contains(TGridOption::goColSizing) && (X - R.Left <= kBorderZone || R.Right - X <= kBorderZone);
}

VUraRazuduVova::TSelectMode VUraRazuduVova::SelectModeAt(int c, int r, int X) const {
  if (c < 0 || r < 0) return TSelectMode::smNone;
  const bool fixedRow = r < FixedRows(), fixedCol = c < FixedCols();
  if (fixedRow && fixedCol) return mouseActions_.AllSelect ? TSelectMode::smAll : TSelectMode::smNone;
  if (fixedRow && mouseActions_.ColSelect && !NearColumnBorder(c, X)) return TSelectMode::smColumns;
  if (fixedCol && mouseActions_.RowSelect && r < RowCount() - FixedFooters()) return TSelectMode::smRows;
  return TSelectMode::smNone;
}

std::string VUraRazuduVova::AnchorAt(int c, int r, int X, int Y) {
  const int realCol = RealColIndex(c);
  const std::string text = Cells(realCol, r);
  if (TextType(text, EnableHTML) != 1) return URLShow && IsURL(text) ? text : std::string();
  // The markup is laid out as painting lays it out, on a scratch canvas, and hit-tested at the point.
  TRect R = CellRect(c, r);
  R.Left += 2;
  R.Top += 2;
  TBitmap scratch;
  scratch.SetSize(std::max(R.Right, 1), std::max(R.Bottom, 1));
  std::string anchor, stripped, focusAnchor;
  int xSize = 0, ySize = 0, links = 0, mouseLink = -1;
  TRect hover;
  scratch.Canvas().Font().Assign(Font());
  const bool hit = controls::RenderHTML(scratch.Canvas(), text, R, gridImages_, X, Y, -1, -1, 1, true, false, false,
                                        false, blinkPhase_, false, !EnhTextSize, 1.0, URLColor, clNone, clNone, clGray,
                                        anchor, stripped, focusAnchor, xSize, ySize, links, mouseLink, hover,
                                        &pictureCache_, pictureContainer_);
  return hit ? anchor : std::string();
}

void VUraRazuduVova::OpenAnchor(int c, int r, const std::string& anchor) {
  const TGuard alive(*this);
  bool autoHandle = true;
  if (OnAnchorClick) OnAnchorClick(this, r, RealColIndex(c), anchor, autoHandle);
  if (alive.Gone() || !autoHandle) return;
  if (anchor.size() >= kCellScheme.size() && SameText(std::string_view(anchor).substr(0, kCellScheme.size()), kCellScheme)) {
    TPoint cell;
    if (!NameToCell(anchor.substr(kCellScheme.size()), cell)) return;
    if (cell.X < 0 || cell.Y < 0 || cell.X >= ColCount() || cell.Y >= RowCount()) return;
    FocusCell(cell.X, cell.Y, true);
    return;
  }
  if (HasUrlScheme(anchor)) ShellExecute(nullptr, "open", anchor, "", "", SW_SHOWNORMAL);
}

bool VUraRazuduVova::SelectWholeLines(int c, int r) {
  if (!Options().Contains(TGridOption::goRangeSelect)) return false;
  const int firstCol = FixedCols(), lastCol = ColCount() - 1 - FixedRightCols();
  const int firstRow = FixedRows(), lastRow = RowCount() - 1 - FixedFooters();
  if (lastCol < firstCol || lastRow < firstRow) return false;
  TGridRect area{};
  switch (selectMode_) {
    case TSelectMode::smAll: area = {firstCol, firstRow, lastCol, lastRow}; break;
    case TSelectMode::smRows: area = {firstCol, r, lastCol, r}; break;
    case TSelectMode::smColumns: area = {c, firstRow, c, lastRow}; break;
    case TSelectMode::smNone: return false;
  }
  if (CanFocus() && !Focused()) SetFocus();
  selectAnchor_ = selectMode_ == TSelectMode::smRows ? r : selectMode_ == TSelectMode::smColumns ? c : -1;
  SetSelection(area);
  return true;
}

void VUraRazuduVova::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGuard alive(*this);
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (Button == TMouseButton::mbRight) {
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (alive.Alive() && c >= 0 && r >= 0 && OnRightClickCell) OnRightClickCell(this, r, RealColIndex(c));
    // A link is edited from its context click, as a left click opens it.
    if (alive.Alive() && c >= 0 && r >= 0 && URLShow && URLEdit && IsURL(Cells(RealColIndex(c), r))) {
      FocusCell(c, r, true);
      if (alive.Alive()) ShowEditor();
    }
    return;
  }
  if (Button != TMouseButton::mbLeft) {
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (c < 0 || r < 0) {
    HideInplaceEdit();
    if (alive.Alive()) TBaseGrid::MouseDown(Button, Shift, X, Y);
    return;
  }
  const TGridRect block = BlockOnDisplay(*this, c, r);
  c = block.Left;
  r = block.Top;
  mouseDownPoint_ = {X, Y};
  mouseDownCell_ = {c, r};
  moveOrigin_ = -1;
  caretToMouse_ = mouseActions_.CaretPositioning;
  dragPending_ = false;

  if (Shift.Contains(TShiftStateFlag::ssDouble)) {
    // A double click on a header border sizes the column left of it; its release does not sort.
    const TRect R = CellRect(c, r);
    if (r == 0 && Options().Contains(TGridOption::goColSizing)) {
      const bool leftBorder = X - R.Left < 4, rightBorder = R.Right - X < 4;
      if (leftBorder && c - 1 >= FixedCols()) AutoSizeColumn(RealColIndex(c - 1));
      if (rightBorder) AutoSizeColumn(RealColIndex(c));
      if (leftBorder || rightBorder) {
        suppressSort_ = true;
        return;
      }
    }
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (alive.Alive() && OnDblClickCell) OnDblClickCell(this, r, RealColIndex(c));
    return;
  }

  FixedPress(c, r);
  if (NodeOrRadioPress(c, r, X, Y) || alive.Gone() || ArmDrag(c, r, X) || ButtonPress(c, r, X, Y)) return;
  const bool normalRow = r >= FixedRows() && r < RowCount() - FixedFooters();
  const bool normalCol = c >= FixedCols() && c < ColCount() - FixedRightCols();
  if (mouseActions_.DisjunctRowSelect && normalRow) {
    if (Shift.Contains(TShiftStateFlag::ssCtrl)) {
      rowDeselectPending_ = RowSelect(r);
    } else {
      MouseSelecting = true;
      ClearRowSelect();
    }
  }

  if (URLShow || TextType(Cells(RealColIndex(c), r), EnableHTML) == 1) {
    const std::string anchor = AnchorAt(c, r, X, Y);
    if (!anchor.empty()) {
      OpenAnchor(c, r, anchor);
      return;
    }
  }

  if (SelectWholeLines(c, r)) {
    moveOrigin_ = r < FixedRows() ? c : c < FixedCols() ? r : -1;
    return;
  }
  if (CheckBoxPress(c, r)) return;

  if (mouseActions_.DirectEdit && Options().Contains(TGridOption::goEditing) && normalRow && normalCol) {
    if (CanFocus() && !Focused()) SetFocus();
    if (alive.Gone()) return;
  }

  if (OnClickCell) OnClickCell(this, r, RealColIndex(c));
  if (alive.Gone()) return;
  {
    ScopedFlag noAlwaysEdit(*this, navigation_.AlwaysEdit, false);
    TBaseGrid::MouseDown(Button, Shift, X, Y);
    if (alive.Gone()) return;
  }
  if (OnCellValidate) InitValidate(Col(), Row());
  if (block.Right > block.Left || block.Bottom > block.Top) {
    const bool wasSelection = Selection() == block;
    SetSelection(block);
    if (wasSelection && Options().Contains(TGridOption::goEditing)) ShowEditor();
    return;
  }
  const TRect R = CellRect(c, r);
  if (mouseActions_.DirectEdit && Options().Contains(TGridOption::goEditing) && normalRow && normalCol &&
      X - R.Left >= 4 && R.Right - X >= 4 && Col() == c && Row() == r && !HasStaticEdit(RealColIndex(c), r))
    ShowEditor();
}

void VUraRazuduVova::MouseMove(TShiftState Shift, int X, int Y) {
  {
    const TGuard alive(*this);
    if (DragMove(X, Y) || alive.Gone()) return;
  }
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (selectAnchor_ >= 0 && c >= 0 && r >= 0) {
    // Dragging over the fixed cells widens a whole-row (column) selection from its anchor.
    const int firstCol = FixedCols(), lastCol = ColCount() - 1 - FixedRightCols();
    const int firstRow = FixedRows(), lastRow = RowCount() - 1 - FixedFooters();
    if (selectMode_ == TSelectMode::smRows && r >= firstRow && r <= lastRow)
      SetSelection({firstCol, std::min(r, selectAnchor_), lastCol, std::max(r, selectAnchor_)});
    else if (selectMode_ == TSelectMode::smColumns && c >= firstCol && c <= lastCol)
      SetSelection({std::min(c, selectAnchor_), firstRow, std::max(c, selectAnchor_), lastRow});
    return;
  }
  if (!Shift.Contains(TShiftStateFlag::ssLeft)) selectMode_ = SelectModeAt(c, r, X);

  const TGuard alive(*this);
  std::string anchor;
  if (c >= 0 && r >= 0) {
    const TGridRect block = BlockOnDisplay(*this, c, r);
    anchor = AnchorAt(block.Left, block.Top, X, Y);
    if (anchor != mouseAnchor_) {
      if (!mouseAnchor_.empty() && OnAnchorExit) OnAnchorExit(this, r, RealColIndex(c), mouseAnchor_);
      if (alive.Gone()) return;
      mouseAnchor_ = anchor;
      if (!anchor.empty() && OnAnchorEnter) OnAnchorEnter(this, r, RealColIndex(c), anchor);
      if (alive.Gone()) return;
    }
  }
  if (hintCell_.X >= 0 && (hintCell_.X != c || hintCell_.Y != r)) {
    ApplicationHints().CancelHint();
    hintCell_ = {c, r};
  }
  // While the wheel button pans, the pan cursor keeps showing the way.
  if (const TCursor cursor = CursorAt(X, Y, anchor); !panning_ && TBaseGrid::Cursor() != cursor)
    SetOwnCursor(cursor);
  TBaseGrid::MouseMove(Shift, X, Y);
  if (alive.Gone()) return;
  ShowSizingHint(X, Y);
  if (EnhRowColMove && (GridState() == TGridState::gsColMoving || GridState() == TGridState::gsRowMoving))
    ShowMoveMarks(X, Y);
}

void VUraRazuduVova::SetOwnCursor(TCursor Value) {
  const ScopedFlag own(*this, settingOwnCursor_);
  TBaseGrid::SetCursor(Value);
}

TCursor VUraRazuduVova::CursorAt(int X, int Y, const std::string& anchor) {
  if (!anchor.empty()) return crHandPoint;
  TGridState state = GridState();
  if (state == TGridState::gsNormal) {
    int index = 0, sizingPos = 0, sizingOfs = 0;
    TBaseGrid::CalcSizingState(X, Y, state, index, sizingPos, sizingOfs);
  }
  if (state == TGridState::gsColSizing) return crHSplit;
  if (state == TGridState::gsRowSizing) return crVSplit;
  RegisterGridCursors();
  switch (selectMode_) {
    case TSelectMode::smRows: return crSelectRow;
    case TSelectMode::smColumns: return crSelectColumn;
    case TSelectMode::smAll: return crSelectAll;
    case TSelectMode::smNone: break;
  }
  return normalCursor_;
}

void VUraRazuduVova::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGuard alive(*this);
  const bool moving = GridState() == TGridState::gsColMoving || GridState() == TGridState::gsRowMoving;
  if (Button != TMouseButton::mbLeft) {
    // Another button's release leaves a move by the left button going.
    if (!moving) TBaseGrid::MouseUp(Button, Shift, X, Y);
    return;
  }
  const bool wasSelecting = MouseSelecting;
  MouseSelecting = false;
  selectAnchor_ = -1;
  const bool sizing = GridState() == TGridState::gsColSizing || GridState() == TGridState::gsRowSizing;
  HideSizingHint();
  HideMoveMarks();
  DragRelease();
  if (alive.Gone()) return;
  FixedRelease();
  ButtonRelease();
  if (alive.Gone()) return;
  TBaseGrid::MouseUp(Button, Shift, X, Y);
  if (alive.Alive() && sizing) EndMouseSizing();
  if (alive.Gone()) return;
  if (mouseActions_.DisjunctRowSelect) {
    if (rowDeselectPending_) {
      SetRowSelect(mouseDownCell_.Y, false);
    } else if (wasSelecting || Shift.Contains(TShiftStateFlag::ssCtrl)) {
      SelectToRowSelect(!Shift.Contains(TShiftStateFlag::ssCtrl));
    }
    rowDeselectPending_ = false;
    Invalidate();
  }
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  StaticEditRelease(c, r);
  if (alive.Gone() || std::exchange(suppressSort_, false) || sizing || moving) return;
  if (c >= 0 && r >= 0 && mouseDownCell_.Y == r) SortOnHeaderClick(c, Shift, X);
}

void VUraRazuduVova::SortOnHeaderClick(int c, TShiftState Shift, int X) {
  if (NearColumnBorder(c, X)) return;
  if (mouseDownCell_.Y != sortSettings_.Row() || FixedRows() <= 0) return;
  ClickSort(c, Shift.Contains(TShiftStateFlag::ssShift));
}

void VUraRazuduVova::AutoSizeColumn(int ACol) { AutoSizeCol(DisplColIndex(ACol)); }

}  // namespace velmora
