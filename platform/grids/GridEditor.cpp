// The grid's in-place editing: the editor control and the grid's side of it.
//
// The editor holds one cell at a time (the grid's inplaceCell_, (-1, -1) while it holds none and is
// hidden). Loading a cell sets inplaceCell_ only after the text is in, so loading writes nothing back;
// from then on every change of the editor's text goes to that cell.

#include <algorithm>
#include <utility>

#include "platform/grids/Grids.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

// The keys that the editor hands to the grid's key handling rather than keep: they leave the cell.
bool EditorForwardsKey(WORD key, TShiftState shift, TGridOptions options) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: return true;
    case VK_TAB: return options.Contains(TGridOption::goTabs) && !shift.Contains(TShiftStateFlag::ssAlt);
    default: return false;
  }
}

}  // namespace

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  AutoSelect = false;  // the grid decides what is selected when the editor takes a cell
  SetBorderStyle(TBorderStyle::bsNone);
  SetTabStop(false);
  SetVisible(false);
}

void TInplaceEdit::Move(const TRect& Loc) {
  if (IsRectEmpty(Loc)) {
    if (grid_) grid_->HideEditorWindow();
    return;
  }
  SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
  BoundsChanged();
  SetVisible(true);
  if (grid_ && grid_->Focused() && CanFocus()) SetFocus();
}

void TInplaceEdit::Deselect() { Perform(EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1)); }

void TInplaceEdit::UpdateContents() {
  const int col = grid_->Col(), row = grid_->Row();
  SetText({});  // the last cell's text is not reformatted for this cell's mask
  SetEditMask(grid_->GetEditMask(col, row));
  SetText(grid_->GetEditText(col, row));
  SetMaxLength(grid_->GetEditLimit());
}

void TInplaceEdit::BoundsChanged() {
  TRect r{2, 2, std::max(Width() - 2, 2), Height()};
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  Perform(EM_SCROLLCARET);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  if (Message.Msg == WM_GETDLGCODE && grid_ && grid_->Options().Contains(TGridOption::goTabs))
    Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::Change() {
  TGuard guard(*this);
  TCustomMaskEdit::Change();
  if (guard.Alive() && grid_) grid_->UpdateText();
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (grid_ && EditorForwardsKey(Key, Shift, grid_->Options())) {
    grid_->KeyDown(Key, Shift);
    Key = 0;
    return;
  }
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char32_t& Key) {
  // The grid sees every character first (Enter ends editing there); Tab, Enter and Escape are never
  // typed into the text.
  TGuard guard(*this);
  if (grid_) grid_->KeyPress(Key);
  if (guard.Gone()) {
    Key = 0;
    return;
  }
  if (Key == '\t' || Key == '\r' || Key == 0x1B) Key = 0;
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() {
  if (!options_.Contains(TGridOption::goEditing) || options_.Contains(TGridOption::goRowSelect) || !editorMode_ ||
      ComponentState().Contains(csDesigning))
    return false;
  if (current_.X < FixedCols() || current_.X >= ColCount() || current_.Y < FixedRows() || current_.Y >= RowCount())
    return false;
  return options_.Contains(TGridOption::goAlwaysShowEditor) || Focused() || (inplaceEdit_ && inplaceEdit_->Focused());
}

void TCustomGrid::SetEditorMode(bool value) {
  if (!value) {
    HideEditor();
    return;
  }
  ShowEditor();
  if (inplaceCell_.X >= 0) inplaceEdit_->Deselect();
}

void TCustomGrid::ShowEditor() {
  editorMode_ = true;
  UpdateEdit();
}

void TCustomGrid::HideEditor() {
  editorMode_ = false;
  HideEdit();
}

void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  if (!inplaceEdit_) {
    inplaceEdit_ = CreateEditor();
    inplaceEdit_->grid_ = this;
    inplaceEdit_->SetParent(this);
  }
  if (!(inplaceCell_ == current_)) LoadEditor();
  inplaceEdit_->Move(CellRect(current_.X, current_.Y));
}

void TCustomGrid::LoadEditor() {
  inplaceCell_ = {-1, -1};
  inplaceEdit_->UpdateContents();
  inplaceCell_ = current_;
  originalText_ = inplaceEdit_->Text();
  inplaceEdit_->SelectAll();
}

void TCustomGrid::HideEdit() {
  if (!inplaceEdit_) return;
  inplaceCell_ = {-1, -1};
  HideEditorWindow();
}

void TCustomGrid::HideEditorWindow() {
  if (inplaceEdit_->Focused() && CanFocus()) {
    editorHandsFocusBack_ = true;
    SetFocus();
    editorHandsFocusBack_ = false;
  }
  inplaceEdit_->SetVisible(false);
}

void TCustomGrid::InvalidateEditor() {
  if (inplaceCell_.X < 0) return;
  LoadEditor();
  EditorFollows();
}

void TCustomGrid::EditorFollows() {
  if (inplaceCell_.X < 0) return;
  if (current_.X < FixedCols() || current_.X >= ColCount() || current_.Y < FixedRows() || current_.Y >= RowCount()) {
    HideEditor();
    return;
  }
  if (!(inplaceCell_ == current_)) LoadEditor();
  inplaceEdit_->Move(CellRect(current_.X, current_.Y));
}

void TCustomGrid::UpdateText() {
  if (inplaceCell_.X >= 0) SetEditText(inplaceCell_.X, inplaceCell_.Y, inplaceEdit_->Text());
}

void TCustomGrid::CancelEdit() {
  // The editor takes the old text without writing it to the cell; EditCanceled restores the cell.
  const TGridCoord cell = std::exchange(inplaceCell_, TGridCoord{-1, -1});
  inplaceEdit_->SetText(originalText_);
  inplaceCell_ = cell;
  EditCanceled(cell.X, cell.Y, originalText_);
  if (options_.Contains(TGridOption::goAlwaysShowEditor))
    inplaceEdit_->SelectAll();
  else
    HideEditor();
}

}  // namespace platform
