#include "grid/DovAdizEditLink.h"

#include <algorithm>

#include "grid/DovAdiz.h"
#include "grid/ScopedFlag.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink() { ReleasePopup(); }

void TEditLink::Attach(VUraRazuduVova* AGrid, int ACol, int ARow) {
  if (grid_ != AGrid) {
    if (grid_) grid_->RemoveFreeNotification(this);
    grid_ = AGrid;
    if (grid_) grid_->FreeNotification(this);
  }
  editCol_ = ACol;
  editRow_ = ARow;
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == TOperation::opRemove) {
    if (AComponent == grid_) grid_ = nullptr;
    if (AComponent == popupForm_) popupForm_ = nullptr;
  }
  TComponent::Notification(AComponent, Operation);
}

void TEditLink::ReleasePopup() {
  if (!popupForm_) return;
  TForm* form = std::exchange(popupForm_, nullptr);
  form->RemoveFreeNotification(this);
  form->OnDeactivate = nullptr;
  // The form's own control may be running this handler: the loop frees the form later.
  form->Release();
}

void TEditLink::SetFocus(bool Value) {
  if (Value) {
    if (TWinControl* control = GetEditControl(); control && control->CanFocus()) control->SetFocus();
  } else if (grid_ && grid_->CanFocus()) {
    grid_->SetFocus();
  }
}

void TEditLink::SetRect(TRect R) {
  TWinControl* control = GetEditControl();
  if (!control) return;
  const int line = grid_ ? grid_->GridLineWidth() : 0;
  control->SetBounds(R.Left, R.Top, std::max(R.Width() - line, 0), std::max(R.Height() - line, 0));
}

void TEditLink::SetVisible(bool Value) {
  if (TWinControl* control = GetEditControl()) control->SetVisible(Value);
}

void TEditLink::EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  switch (Key) {
    case VK_RETURN:
      if (WantKeyReturn) return;
      break;
    case VK_ESCAPE:
      if (WantKeyEscape) return;
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (WantKeyPriorNext) return;
      break;
    case VK_END:
      if (WantKeyHomeEnd) return;
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (WantKeyLeftRight) return;
      break;
    case VK_UP:
    case VK_DOWN:
      if (WantKeyUpDown) return;
      break;
    default: return;
  }
  VUraRazuduVova* grid = grid_;
  if (!grid) return;
  const TGuard alive(*this);
  const TGuard gridAlive(*grid);
  const WORD key = Key;
  grid->HandBackKey(key);
  {
    ScopedFlag changing(*this, focusChange_);
    if (grid->CanFocus()) grid->SetFocus();
    if (alive.Gone() || gridAlive.Gone()) return;
  }
  // Escape: the cell gets back its text from before the edit, and no value is written.
  if (key == VK_ESCAPE) SetCellValue(grid->EditOriginalText());
  if (key == VK_ESCAPE) {
    grid->HideInplaceEdit();
  } else {
    HideEditor();
  }
  if (gridAlive.Gone()) return;
  if (key == VK_RETURN) {
    grid->AdvanceEdit(grid->Col(), grid->Row(), true, true, false);
    if (alive.Alive()) Key = 0;
  } else if (key == VK_UP || key == VK_DOWN) {
    WORD move = key;
    grid->KeyDown(move, Shift);
  }
}

void TEditLink::EditExit(TObject* Sender) {
  // While EditKeyDown hands the focus back, it ends the edit itself.
  if (focusChange_) return;
  HideEditor();
  if (EditStyle == TEditStyle::esPopup) ReleasePopup();
}

void TEditLink::FormExit(TObject* Sender) {
  if (!grid_) return;
  if (TInplaceEdit* editor = grid_->GetInplaceEditor()) editor->SetText(GetEditorValue());
  if (focusChange_)
    WriteBack();
  else
    EditExit(Sender);
}

void TEditLink::HideEditor() {
  if (!grid_ || hiding_ || !grid_->linkShown_) return;
  const TGuard alive(*this);
  ScopedFlag hiding(*this, hiding_);
  WriteBack();
  if (alive.Gone() || !grid_) return;
  grid_->HideInplaceEdit();
  if (alive.Gone()) return;
  TWinControl* control = GetEditControl();
  if (control && control->HandleAllocated()) control->Perform(WM_CLOSE);
}

void TEditLink::WriteBack() {
  const std::string value = GetEditorValue();
  if (grid_ && value != grid_->preparedValue_) SetCellValue(value);
}

std::string TEditLink::GetCellValue() const { return grid_ ? grid_->Cells(editCol_, editRow_) : std::string(); }

void TEditLink::SetCellValue(const std::string& S) {
  if (grid_ && grid_->Cells(editCol_, editRow_) != S) grid_->SetCells(editCol_, editRow_, S);
}

TWinControl* TEditLink::GetParent() const {
  if (EditStyle == TEditStyle::esPopup) return popupForm_;
  return grid_;
}

}  // namespace velmora
