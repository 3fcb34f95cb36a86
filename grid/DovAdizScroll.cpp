// Scroll bars (flat looks, proportional thumbs, the thumb's hint, synchronous scrolling), bringing a
// cell into view, the stretched last column and the sizing of all columns (rows) with one.
#include <algorithm>
#include <cmath>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ScrollBars.h"

using namespace platform;

namespace velmora {

namespace {

constexpr int kMaxScrollPos = 127;

bool BarIncluded(TScrollStyle style, int bar) {
  return style == TScrollStyle::ssBoth || style == (bar == SB_HORZ ? TScrollStyle::ssHorizontal : TScrollStyle::ssVertical);
}

}  // namespace

void VUraRazuduVova::SetScrollType(TScrollType Value) {
  if (scrollType_ == Value) return;
  scrollType_ = Value;
  if (Value != TScrollType::ssNormal) {
    FlatInit();
    FlatUpdate();
  } else if (!scrollProportional_) {
    FlatDone();
  }
  UpdateType();
}

void VUraRazuduVova::SetScrollColor(TColor Value) {
  scrollColor_ = Value;
  UpdateColor();
}

void VUraRazuduVova::SetScrollWidth(int Value) {
  scrollWidth_ = Value;
  UpdateWidth();
}

void VUraRazuduVova::SetScrollProportional(bool Value) {
  scrollProportional_ = Value;
  if (Value) {
    // Proportional thumbs go through the flat bars, with the normal look too.
    FlatInit();
    FlatUpdate();
  } else if (flatActive_ && scrollType_ == TScrollType::ssNormal) {
    FlatDone();
    for (int bar : {SB_HORZ, SB_VERT}) {
      SCROLLINFO info;
      info.fMask = SIF_PAGE;
      info.nPage = 0;
      SetScrollInfo(Handle(), bar, info, true);
    }
  }
}

void VUraRazuduVova::FlatInit() { flatActive_ = HandleAllocated() && InitializeFlatSB(Handle()); }

void VUraRazuduVova::FlatDone() {
  flatActive_ = false;
  if (HandleAllocated()) UninitializeFlatSB(Handle());
}

void VUraRazuduVova::UpdateType() {
  if (!flatActive_) return;
  const int mode = scrollType_ == TScrollType::ssFlat      ? FSB_FLAT_MODE
                   : scrollType_ == TScrollType::ssEncarta ? FSB_ENCARTA_MODE
                                                           : FSB_REGULAR_MODE;
  FlatSB_SetScrollProp(Handle(), WSB_PROP_VSTYLE, mode, true);
  FlatSB_SetScrollProp(Handle(), WSB_PROP_HSTYLE, mode, true);
}

void VUraRazuduVova::UpdateColor() {
  if (!flatActive_ || scrollColor_ == clNone) return;
  FlatSB_SetScrollProp(Handle(), WSB_PROP_VBKGCOLOR, static_cast<int>(ColorToRGB(scrollColor_)), true);
  FlatSB_SetScrollProp(Handle(), WSB_PROP_HBKGCOLOR, static_cast<int>(ColorToRGB(scrollColor_)), true);
}

void VUraRazuduVova::UpdateWidth() {
  if (!flatActive_) return;
  FlatSB_SetScrollProp(Handle(), WSB_PROP_CXVSCROLL, scrollWidth_, true);
  FlatSB_SetScrollProp(Handle(), WSB_PROP_CYHSCROLL, scrollWidth_, true);
}

void VUraRazuduVova::FlatShowScrollBar(int Bar, bool Show) {
  if (flatActive_ && BarIncluded(ScrollBars(), Bar)) FlatSB_ShowScrollBar(Handle(), Bar, Show);
}

void VUraRazuduVova::FlatUpdate() {
  if (!flatActive_) return;
  UpdateType();
  UpdateColor();
  UpdateWidth();
  const bool rowsScroll = VisibleRowCount() + FixedRows() < RowCount();
  FlatShowScrollBar(SB_VERT, rowsScroll);
  if (rowsScroll) UpdateScrollBar(SB_VERT);
  const bool colsScroll = VisibleColCount() + FixedCols() < ColCount();
  FlatShowScrollBar(SB_HORZ, colsScroll);
  if (colsScroll) UpdateScrollBar(SB_HORZ);
}

int VUraRazuduVova::ProportionalPage(int Bar) const {
  const int count = Bar == SB_HORZ ? ColCount() : RowCount();
  const int visible = Bar == SB_HORZ ? VisibleColCount() : VisibleRowCount();
  // A grid without rows (columns) has no page rather than a division by zero.
  return count > 0 ? static_cast<int>(std::lround(visible * 128.0 / count)) : 0;
}

void VUraRazuduVova::UpdateScrollBar(int Bar) {
  if (!BarIncluded(ScrollBars(), Bar) || !flatActive_) return;
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  GetScrollInfo(Handle(), Bar, info);
  if (scrollProportional_) {
    if (info.nPos < 0 || info.nPos > kMaxScrollPos) info.nPos = 0;
    info.nMin = 0;
    info.nMax = kMaxScrollPos;
    info.nPage = static_cast<UINT>(ProportionalPage(Bar));
  }
  info.fMask = SIF_ALL;
  FlatSB_SetScrollInfo(Handle(), Bar, info, true);
}

void VUraRazuduVova::ScrollBarMessage(TMessage& Message) {
  const int bar = Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
  const auto code = static_cast<WORD>(Message.WParam & 0xFFFF);
  int pos = static_cast<int>((Message.WParam >> 16) & 0xFFFF);
  const bool columns = bar == SB_HORZ;
  const bool hints = ScrollHints == TScrollHintType::shBoth ||
                     ScrollHints == (columns ? TScrollHintType::shHorizontal : TScrollHintType::shVertical);
  // A thumb with a page ends at 128 - page: its positions are stretched over the whole range.
  if ((code == SB_THUMBTRACK || code == SB_THUMBPOSITION) && flatActive_) {
    SCROLLINFO info;
    info.fMask = SIF_PAGE;
    if (GetScrollInfo(Handle(), bar, info) && info.nPage > 0 && info.nPage < 128)
      pos = std::min(kMaxScrollPos, static_cast<int>(std::lround(pos * 127.0 / (128 - static_cast<int>(info.nPage)))));
    Message.WParam = (static_cast<WPARAM>(pos) << 16) | code;
  }
  const TGuard alive(*this);
  if (code == SB_THUMBTRACK && (hints || ScrollSynch)) {
    const int span = columns ? ColCount() - VisibleColCount() - FixedCols() : RowCount() - VisibleRowCount() - FixedRows();
    const int n = MulDiv(pos, std::max(span, 0), kMaxScrollPos) + (columns ? FixedCols() : FixedRows());
    if (hints) ShowScrollHint(columns, n);
    if (alive.Gone()) return;
    if (ScrollSynch) {
      if (columns)
        SetLeftCol(n);
      else
        SetTopRow(n);
    }
  }
  if (code == SB_ENDSCROLL && hints) HideScrollHint();
  TBaseGrid::WndProc(Message);
  if (alive.Alive()) UpdateScrollBar(bar);
}

void VUraRazuduVova::ShowScrollHint(bool Columns, int Index) {
  std::string text = (Columns ? "Col : " : "Row : ") + std::to_string(Index);
  const TGuard alive(*this);
  if (OnScrollHint) OnScrollHint(this, Index, text);
  if (alive.Gone()) return;
  THintWindow& window = OwnHintWindow();
  const TPoint at = Screen().CursorPos();
  TRect R = window.CalcHintRect(Screen().Width(), text, nullptr);
  OffsetRect(R, at.X + 10, at.Y);
  window.ActivateHint(R, text);
  scrollHintShown_ = true;
}

void VUraRazuduVova::HideScrollHint() {
  if (std::exchange(scrollHintShown_, false)) OwnHintWindow().ReleaseHandle();
}

void VUraRazuduVova::ScrollInView(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
  // A partly shown last column (row) counts as outside, so it is scrolled in whole.
  const auto outside = [](int index, int fixed, int first, int visible) {
    return index >= fixed && (index < first || index > first + visible - 1);
  };
  int left = LeftCol();
  if (outside(ACol, FixedCols(), LeftCol(), VisibleColCount())) {
    SetCol(ACol);
    left = std::max(ACol - VisibleColCount() / 2, FixedCols());
  }
  int top = TopRow();
  if (outside(ARow, FixedRows(), TopRow(), VisibleRowCount())) {
    SetRow(ARow);
    top = std::max(ARow - VisibleRowCount() / 2, FixedRows());
  }
  MoveTopLeft(left, top);
}

void VUraRazuduVova::ScreenToCell(TPoint P, int& ACol, int& ARow) {
  const TPoint at = ScreenToClient(P);
  MouseToCell(at.X, at.Y, ACol, ARow);
}

bool VUraRazuduVova::InSizeZone(int X, int Y) {
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (c < 0 || r < 0) return false;
  const TRect R = CellRect(c, r);
  bool result = false;
  // A fixed corner cell has both kinds of border.
  if (r < FixedRows() && Options().Contains(TGridOption::goColSizing))
    result = std::abs(X - R.Left) < 4 || std::abs(R.Right - X) < 4;
  if (c < FixedCols() && Options().Contains(TGridOption::goRowSizing))
    result = result || std::abs(Y - R.Top) < 4 || std::abs(R.Bottom - Y) < 4;
  return result;
}

void VUraRazuduVova::SizeChanged(int OldColCount, int OldRowCount) {
  if (!Parent()) {
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    return;
  }
  if (columnSize_.Stretch()) StretchRightColumn();
  TBaseGrid::SizeChanged(OldColCount, OldRowCount);
  FlatUpdate();
  if (fixedFooters_ > 0 || fixedRightCols_ > 0) Invalidate();
}

void VUraRazuduVova::StretchRightColumn() {
  if (ColCount() <= 0 || !columnSize_.Stretch() || !stretchEnabled_) return;
  stretchEnabled_ = false;
  // The base grid's lines after the columns count too, so the last one ends at the client's right edge.
  const int line = ColAxis().LineWidth();
  int sum = 0;
  for (int c = 0; c < ColCount() - 1; ++c) sum += ColWidths(c) + line;
  if (ClientWidth() > sum + line) SetColWidths(ColCount() - 1, ClientWidth() - sum - line);
  stretchEnabled_ = true;
}

void VUraRazuduVova::BeginMouseSizing(TGridLine Line, int Index) {
  const bool columns = Line == TGridLine::Column;
  mouseSizing_ = {Line, Index, {}};
  for (int i = 0; i < (columns ? ColCount() : RowCount()); ++i)
    mouseSizing_->startSizes.push_back(columns ? ColWidths(i) : RowHeights(i));
}

void VUraRazuduVova::EndMouseSizing() {
  if (!mouseSizing_) return;
  const auto [line, index, sizes] = *std::exchange(mouseSizing_, std::nullopt);
  // The state is reset first, so a handler that sets a size starts no sizing of its own.
  if (line == TGridLine::Column && OnEndColumnSize) OnEndColumnSize(this, index);
  if (line == TGridLine::Row && OnEndRowSize) OnEndRowSize(this, index);
}

void VUraRazuduVova::SizesFollowMouse(TGridLine Line) {
  const bool columns = Line == TGridLine::Column;
  if (!mouseSizing_ || mouseSizing_->line != Line || scalingAll_) return;
  if (!(columns ? mouseActions_.AllColumnSize : mouseActions_.AllRowSize)) return;
  const std::vector<int>& start = mouseSizing_->startSizes;
  const int index = mouseSizing_->index;
  if (index < 0 || static_cast<size_t>(index) >= start.size() || start[index] <= 0) return;
  // Scaled from the sizes at the press, so the steps of a drag do not compound.
  const double factor = static_cast<double>(columns ? ColWidths(index) : RowHeights(index)) / start[index];
  scalingAll_ = true;
  const int fixed = columns ? FixedCols() : FixedRows();
  const int count = std::min<int>(start.size(), columns ? ColCount() : RowCount());
  for (int i = fixed; i < count; ++i) {
    if (i == index) continue;
    const int size = static_cast<int>(std::lround(start[i] * factor));
    if (columns)
      SetColWidths(i, size);
    else
      SetRowHeights(i, size);
  }
  scalingAll_ = false;
}

void VUraRazuduVova::ColWidthsChanged() {
  StretchRightColumn();
  TBaseGrid::ColWidthsChanged();
  SizesFollowMouse(TGridLine::Column);
  UpdateFooter();
}

void VUraRazuduVova::RowHeightsChanged() {
  TBaseGrid::RowHeightsChanged();
  SizesFollowMouse(TGridLine::Row);
  UpdateFooter();
}

void VUraRazuduVova::SizeWhileTypingStep(const std::string& EditorText) {
  if (sizeWhileTyping_.Width) SizeToWidth(Col(), true);
  if (!sizeWhileTyping_.Height) return;
  if (WordWrap()) {
    AutoSizeRow(Row());
  } else if (Multilinecells) {
    const int lines = LinesInText(EditorText, true);
    Canvas().Font().Assign(Font());
    const int h = Canvas().TextHeight("gh");
    if (RowHeights(Row()) < (h + h / 4) * lines) SizeToLines(Row(), lines, 0);
  }
}

void VUraRazuduVova::SizeRowAtCtrlEnter(const std::string& EditorText) {
  if (!sizeWhileTyping_.Height || !Multilinecells) return;
  // Ctrl+Enter types no line break here (it ends the edit): the row fits the lines the text has.
  const int lines = LinesInText(EditorText, true);
  if (lines >= MaxLinesInRow(Row()))
    SizeToLines(Row(), lines, 0);
  else
    AutoSizeRow(Row());
}

void VUraRazuduVova::ClientSizeChanged() {
  StretchRightColumn();
  if (columnSize_.SynchWithGrid) SynchColumnWidths();
  previousClientWidth_ = ClientWidth();
  FlatUpdate();
}

TColor VUraRazuduVova::ArrowColor() const { return arrows_.empty() ? clLime : arrows_.front()->Color(); }

void VUraRazuduVova::SetArrowColor(TColor Value) {
  for (TArrowWindow* arrow : arrows_) arrow->SetColor(Value);
}

}  // namespace velmora
