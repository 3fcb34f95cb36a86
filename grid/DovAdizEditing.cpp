// The grid's side of in-place editing: the editor controls it makes, the kind of a cell, when editing
// may start, placing a control over a cell and writing its value back, ending an edit, the combo item
// list and the edit link's show and hide steps.

#include <algorithm>
#include <utility>

#include "controls/html/MarkupText.h"
#include "grid/DovAdiz.h"
#include "grid/DovAdizEditLink.h"
#include "grid/DovAdizEditors.h"
#include "grid/EditorTyping.h"
#include "grid/ScopedFlag.h"
#include "platform/app/Window.h"
#include "platform/core/Utf8.h"
#include "platform/ui/Forms.h"
#include "platform/ui/VirtualKeys.h"

using namespace platform;

namespace velmora {

namespace {

bool IsSpinKind(TEditorType kind) {
  return kind == TEditorType::edSpinEdit || kind == TEditorType::edFloatSpinEdit ||
         kind == TEditorType::edTimeSpinEdit || kind == TEditorType::edDateSpinEdit;
}

bool IsEditBtnKind(TEditorType kind) {
  return kind == TEditorType::edEditBtn || kind == TEditorType::edNumericEditBtn ||
         kind == TEditorType::edFloatEditBtn;
}

bool IsDateKind(TEditorType kind) {
  return kind == TEditorType::edDateEdit || kind == TEditorType::edDateEditUpDown || kind == TEditorType::edTimeEdit;
}

bool IsTextEditorKind(TEditorType kind) {
  switch (kind) {
    case TEditorType::edNormal:
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
    case TEditorType::edFloat:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edPassword:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase: return true;
    default: return false;
  }
}

}  // namespace

void VUraRazuduVova::CreateEditorControls() {
  // The combo and the spin editor draw their buttons through the theme when the grid found one in force.
  combo_ = new TGridCombo(this);
  combo_->SetThemedButton(isThemed_);
  spin_ = new TGridSpin(this);
  spin_->SetBorderStyle(TBorderStyle::bsNone);
  spin_->SetIsWinXP(isThemed_);
  datePicker_ = new TGridDatePicker(this);
  checkBox_ = new TGridCheckBox(this);
  editBtn_ = new TGridEditBtn(this);
  unitEditBtn_ = new TGridUnitEditBtn(this);
  button_ = new TGridButton(this);
  richEdit_ = new TExRichEdit(this);
  for (TWinControl* control : EditorControls()) {
    control->SetParent(this);
    control->SetVisible(false);
    control->SetEnabled(false);
  }
}

std::vector<TWinControl*> VUraRazuduVova::EditorControls() const {
  std::vector<TWinControl*> controls;
  for (TWinControl* control : std::initializer_list<TWinControl*>{combo_, spin_, datePicker_, checkBox_, editBtn_,
                                                                   unitEditBtn_, button_, richEdit_})
    if (control) controls.push_back(control);
  return controls;
}

void VUraRazuduVova::ForgetEditorControl(TComponent* AComponent) {
  if (AComponent == shownControl_) shownControl_ = nullptr;
  if (AComponent == combo_) combo_ = nullptr;
  if (AComponent == spin_) spin_ = nullptr;
  if (AComponent == datePicker_) datePicker_ = nullptr;
  if (AComponent == checkBox_) checkBox_ = nullptr;
  if (AComponent == editBtn_) editBtn_ = nullptr;
  if (AComponent == unitEditBtn_) unitEditBtn_ = nullptr;
  if (AComponent == button_) button_ = nullptr;
  if (AComponent == richEdit_) richEdit_ = nullptr;
  if (AComponent == editLink_) {
    editLink_ = nullptr;
    linkShown_ = false;
  }
}

TInplaceEdit* VUraRazuduVova::CreateEditor() { return new TExInplaceEdit(this); }

bool VUraRazuduVova::EditActive() const {
  if (shownControl_ || linkShown_) return true;
  return IsTextEditorKind(EditorKind) && InplaceEditor() && InplaceEditor()->Visible();
}

TColor VUraRazuduVova::EditorLook(int ACol, int ARow, TFont& AFont) {
  const TCellProperties* props = GetGridObject(ACol, ARow);
  TBrush brush;
  brush.SetColor(props && props->BrushColor() != clNone ? props->BrushColor() : Color());
  AFont.Assign(Font());
  TGridDrawState state;
  TAlignment hAlign = props ? props->Alignment : TAlignment::taLeftJustify;
  TVAlignment vAlign = props ? props->VAlignment() : TVAlignment::vtaTop;
  bool wordWrap = props && props->WordWrap();
  GetVisualProperties(ACol, ARow, state, false, false, brush, AFont, hAlign, vAlign, wordWrap);
  return brush.Color();
}

std::string VUraRazuduVova::CellEditText(int ACol, int ARow) const {
  const std::string text = Cells(ACol, ARow);
  return EditWithTags ? text : controls::StripHTML(text);
}

int VUraRazuduVova::GetEditLimit() { return maxEditLength_; }

void VUraRazuduVova::SetMaxEditLength(int Value) {
  maxEditLength_ = std::clamp(Value, 0, 32767);
  if (auto* editor = dynamic_cast<TExInplaceEdit*>(InplaceEditor()))
    editor->SetLengthLimit(static_cast<int16_t>(maxEditLength_));
}

bool VUraRazuduVova::IsEditable(int ACol, int ARow) {
  if (!Options().Contains(TGridOption::goEditing) && !editingRemembered_) return false;
  bool canEdit = true;
  GetCellReadOnly(ACol, ARow, canEdit);
  bool isFixed = false;
  GetCellFixed(ACol, ARow, isFixed);
  return canEdit && !isFixed;
}

bool VUraRazuduVova::IsPassword(int ACol, int ARow) {
  bool isPassword = false;
  GetCellPassword(ACol, ARow, isPassword);
  return isPassword;
}

void VUraRazuduVova::SetEditLink(TEditLink* Value) {
  if (editLink_ == Value) return;
  if (editLink_) editLink_->RemoveFreeNotification(this);
  editLink_ = Value;
  if (editLink_) editLink_->FreeNotification(this);
}

bool VUraRazuduVova::SelectCellEditing(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return true;
  const TPoint base = BaseCell(RealColIndex(ACol), ARow);
  // A move within the block being edited (to its base) leaves the edit open.
  if (EditActive() && base == editCell_) return true;
  editOriginalText_ = Cells(base.X, base.Y);
  // Whichever cell comes next, an editor open on the current one ends here (the grid takes the focus).
  if (EditActive()) {
    const TGuard alive(*this);
    HideInplaceEdit();
    if (alive.Gone()) return false;
  }
  // The edited value was refused (as the editor lost the focus to the grid, or as it closed): the
  // edited cell stays current, with its editor open again.
  if (refusedCell_.X >= 0 && base != refusedCell_) {
    refusedCell_ = {-1, -1};
    ShowEditor();
    return false;
  }
  // A cell holding a check box or radio group is edited by clicking: it keeps the options as they are.
  if (!HasStaticEdit(base.X, base.Y)) ApplyCellEditing(ACol, ARow, base.X);
  const bool selfValidating = InplaceEditor() && InplaceEditor()->Focused();
  // A fixed cell (footer rows, right fixed columns, OnIsFixedCell) never becomes the current one.
  if (!EditPending || selfValidating) return !IsFixed(ACol, ARow);
  const TPoint current = BaseCell(RealColIndex(Col()), Row());
  return ValidateCell(Cells(current.X, current.Y));
}

void VUraRazuduVova::ApplyCellEditing(int ACol, int ARow, int ARealCol) {
  bool canEdit = Options().Contains(TGridOption::goEditing) || editingRemembered_;
  editingRemembered_ = false;
  GetCellReadOnly(ARealCol, ARow, canEdit);
  // The move repaints both cells itself: the change of the options does not repaint the grid.
  auto setQuietly = [this](TGridOptions options) {
    SkipNextInvalidate();
    SetOptions(options);
    skipInvalidate_ = false;
  };
  if (canEdit && !Options().Contains(TGridOption::goEditing)) {
    InitValidate(ACol, ARow);
    setQuietly(Options() + TGridOption::goEditing);
  } else if (!canEdit && Options().Contains(TGridOption::goEditing)) {
    editingRemembered_ = true;
    setQuietly(Options() - TGridOption::goEditing);
  }
}

bool VUraRazuduVova::CanEditShow() {
  // While a control editor opens or ends (the grid taking the focus back), the text editor stays shut.
  if (validatingCell_ || editTransition_) return false;
  bool result = TBaseGrid::CanEditShow();
  if (ComponentState().Contains(csDesigning)) return result;
  if (result && !EditActive()) {
    const TPoint base = BaseCell(RealColIndex(Col()), Row());
    // A check box or radio cell is edited by clicks and Space: no editor opens over it.
    if (HasStaticEdit(base.X, base.Y)) return false;
    editOriginalText_ = Cells(base.X, base.Y);
    EditorKind = TEditorType::edNormal;
    GetCellEditor(base.X, base.Y, EditorKind);
    editCell_ = base;
    InitValidate(Col(), Row());
    refusedCell_ = {-1, -1};
    if (!IsTextEditorKind(EditorKind)) {
      ShowEditControl(DisplColIndex(base.X), base.Y);
      result = false;
    }
  }
  if (result) EditPending = true;
  return result;
}

void VUraRazuduVova::ShowEditControl(int ACol, int ARow) {
  if (editTransition_ || EditActive()) return;
  const TGuard alive(*this);
  const TPoint base = BaseCell(RealColIndex(ACol), ARow);
  const int c = base.X, r = base.Y;
  {
    ScopedFlag transition(*this, editTransition_);
    EditPending = true;
    refusedCell_ = {-1, -1};
    const TRect R = CellRect(DisplColIndex(c), r);
    const int width = std::max(R.Width() - 1, 0);
    const int height = std::max(R.Height() - 1, 0);
    TFont font;
    const TColor color = EditorLook(c, r, font);
    const std::string editText = CellEditText(c, r);
    TWinControl* control = nullptr;
    bool postPending = true;

    if (IsSpinKind(EditorKind) && spin_) {
      control = spin_;
      spin_->SetBounds(R.Left, R.Top, width, height);
      PrepareSpin(c, r);
    } else if ((EditorKind == TEditorType::edComboEdit || EditorKind == TEditorType::edComboList) && combo_) {
      control = combo_;
      postPending = PrepareCombo(R, width, height, editText);
    } else if (IsEditBtnKind(EditorKind) && editBtn_) {
      control = editBtn_;
      editBtn_->SetBounds(R.Left, R.Top, width, height);
      editBtn_->SetText(editText);
      editBtn_->SetMaxLength(GetEditLimit());
      preparedValue_ = editBtn_->Text();
    } else if (EditorKind == TEditorType::edUnitEditBtn && unitEditBtn_) {
      control = unitEditBtn_;
      unitEditBtn_->SetBounds(R.Left, R.Top, width, height);
      unitEditBtn_->SetMaxLength(GetEditLimit());
      const auto [number, unit] = SplitNumberAndUnit(editText);
      unitEditBtn_->SetText(number);
      unitEditBtn_->SetUnitID(unit);
      preparedValue_ = unitEditBtn_->Text() + unitEditBtn_->UnitID();
    } else if (EditorKind == TEditorType::edCheckBox && checkBox_) {
      control = checkBox_;
      checkBox_->SetBounds(R.Left, R.Top, width, height);
      checkBox_->SetCaption(editText);
      checkBox_->SetState(TCheckBoxState::cbUnchecked);
      postPending = false;
    } else if (IsDateKind(EditorKind) && datePicker_) {
      control = datePicker_;
      PrepareDatePicker(R, width, height, editText);
      postPending = false;
    } else if (EditorKind == TEditorType::edButton && button_) {
      control = button_;
      button_->SetBounds(R.Left, R.Top, width, height);
      button_->SetCaption(editText);
      postPending = false;
    } else if (EditorKind == TEditorType::edRichEdit && richEdit_) {
      control = richEdit_;
      richEdit_->Lock();
      richEdit_->SetBorderStyle(TBorderStyle::bsNone);
      richEdit_->HideSelection = false;
      richEdit_->SetBounds(R.Left, R.Top, width, height);
      CellToRich(c, r, *richEdit_);
      richEdit_->SetSelStart(0);
      richEdit_->SetSelLength(static_cast<int>(CodePointCount(richEdit_->Text())));
      richEdit_->InsetFormatRect();
      richEdit_->Unlock();
      preparedValue_ = richEdit_->RichText();
    } else if (EditorKind == TEditorType::edCustom && editLink_) {
      ShowEditLink(c, r, R);
      PendingEditChar = 0;
      return;
    }
    if (!control) {
      PendingEditChar = 0;
      return;
    }
    editCell_ = {c, r};
    control->SetColor(color);
    control->SetEnabled(true);
    control->SetVisible(true);
    shownControl_ = control;
    if (control->CanFocus()) control->SetFocus();
    if (alive.Gone()) return;
    if (EditorKind == TEditorType::edComboEdit || EditorKind == TEditorType::edComboList)
      combo_->SetDroppedDown(mouseActions_.DirectComboDrop);
    if (postPending && PendingEditChar != 0 && control->HandleAllocated())
      PostMessage(control->Handle(), WM_CHAR, PendingEditChar, 0);
  }
  PendingEditChar = 0;
}

void VUraRazuduVova::PrepareSpin(int c, int r) {
  // A cell that is no value of the kind gives the spin edit's own reading of the text.
  const std::string text = Cells(c, r);
  try {
    switch (EditorKind) {
      case TEditorType::edSpinEdit:
        spin_->SetSpinType(controls::zgspin::sptNormal);
        spin_->SetValue(Ints(c, r));
        break;
      case TEditorType::edFloatSpinEdit:
        spin_->SetSpinType(controls::zgspin::sptFloat);
        spin_->SetFloatValue(Floats(c, r));
        break;
      case TEditorType::edTimeSpinEdit:
        spin_->SetSpinType(controls::zgspin::sptTime);
        spin_->SetText(text);
        break;
      default:
        spin_->SetSpinType(controls::zgspin::sptDate);
        spin_->SetDateValue(Dates(c, r));
        break;
    }
  } catch (const Exception&) {
    spin_->SetText(text);
    switch (EditorKind) {
      case TEditorType::edSpinEdit: spin_->SetValue(spin_->Value()); break;
      case TEditorType::edFloatSpinEdit: spin_->SetFloatValue(spin_->FloatValue()); break;
      default: spin_->SetDateValue(spin_->DateValue()); break;
    }
  }
  preparedValue_ = spin_->Text();
}

bool VUraRazuduVova::PrepareCombo(const TRect& R, int width, int height, const std::string& editText) {
  const bool list = EditorKind == TEditorType::edComboList;
  combo_->SetDroppedDown(false);
  combo_->SetStyle(list ? TComboBoxStyle::csDropDownList : TComboBoxStyle::csDropDown);
  const int itemHeight = combo_->ItemHeight();
  combo_->SetBounds(R.Left, R.Top, width, itemHeight * (combo_->DropDownCount() + 1) + height);
  if (list) {
    int index = combo_->Items().IndexOf(editText);
    if (index < 0) index = comboSelection_ >= 0 ? comboSelection_ : 0;
    const int count = combo_->Items().Count();
    combo_->SetItemIndex(count == 0 ? -1 : std::clamp(index, 0, count - 1));
  } else {
    combo_->SetText(editText);
    combo_->Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(height - 6, 1));
  }
  combo_->SetFlat(Look == TGridLook::glSoft);
  combo_->SetEtched(Look == TGridLook::glSoft);
  if (navigation_.AutoComboDropSize) combo_->SizeDropDownWidth();
  preparedValue_ = combo_->Text();
  return !list;
}

void VUraRazuduVova::PrepareDatePicker(const TRect& R, int width, int height, const std::string& editText) {
  const bool time = EditorKind == TEditorType::edTimeEdit;
  TDateTime value = Now();
  try {
    value = time ? StrToTime(editText) : StrToDate(editText);
  } catch (const Exception&) {
  }
  datePicker_->SetKind(time ? TDateTimeKind::dtkTime : TDateTimeKind::dtkDate);
  datePicker_->SetDateMode(EditorKind == TEditorType::edDateEditUpDown ? TDTDateMode::dmUpDown
                                                                       : TDTDateMode::dmComboBox);
  if (time)
    datePicker_->SetTime(value);
  else
    datePicker_->SetDateTime(value);
  datePicker_->SetBounds(R.Left, R.Top, width, time ? height : datePicker_->Height());
  preparedValue_ = DatePickerText();
}

std::string VUraRazuduVova::DatePickerText() const {
  return EditorKind == TEditorType::edTimeEdit ? TimeToStr(datePicker_->Time()) : DateToStr(datePicker_->Date());
}

void VUraRazuduVova::ShowEditLink(int c, int r, const TRect& R) {
  TEditLink* link = editLink_;
  linkShown_ = true;
  editCell_ = {c, r};
  link->Attach(this, c, r);
  const TGuard linkAlive(*link);
  if (link->EditStyle == TEditStyle::esPopup) {
    auto* form = new TForm(&Application());
    link->popupForm_ = form;
    form->FreeNotification(link);
    form->OnDeactivate = [link](TObject* Sender) { link->FormExit(Sender); };
    const TPoint at = ClientToScreen({R.Left, R.Top});
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
    form->Show();
    link->CreateEditor(form);
    link->SetRect(Rect(0, 0, link->PopupWidth, link->PopupHeight));
  } else {
    link->CreateEditor(this);
    link->SetRect(R);
  }
  link->SetVisible(true);
  TFont font;
  font.Assign(Font());
  link->SetCellProps(Color(), font);
  link->SetProperties();
  if (OnGetEditorProp) OnGetEditorProp(this, c, r, link);
  if (linkAlive.Gone() || editLink_ != link) return;
  preparedValue_ = CellEditText(c, r);
  link->SetEditorValue(preparedValue_);
  link->SetFocus(true);
  TWinControl* control = link->GetEditControl();
  if (PendingEditChar != 0 && control && control->HandleAllocated())
    PostMessage(control->Handle(), WM_CHAR, PendingEditChar, 0);
}

void VUraRazuduVova::HideEditControl(int ACol, int ARow) {
  PendingEditChar = 0;
  if (editTransition_) return;
  if (linkShown_) {
    ScopedFlag transition(*this, editTransition_);
    linkShown_ = false;
    if (editLink_ && editLink_->EditStyle != TEditStyle::esPopup) editLink_->SetVisible(false);
    return;
  }
  if (!shownControl_) return;
  const TGuard alive(*this);
  ScopedFlag transition(*this, editTransition_);
  TWinControl* control = std::exchange(shownControl_, nullptr);
  const TPoint base = BaseCell(RealColIndex(ACol), ARow);
  const int c = base.X, r = base.Y;
  // The value as the control holds it now, read before the control lets go.
  std::string value;
  if (control == spin_)
    value = spin_->Text();
  else if (control == editBtn_)
    value = editBtn_->Text();
  else if (control == combo_)
    value = combo_->Text();
  else if (control == unitEditBtn_)
    value = unitEditBtn_->Text() + unitEditBtn_->UnitID();
  else if (control == datePicker_)
    value = DatePickerText();
  else if (control == richEdit_)
    value = richEdit_->RichText();
  // Focus off the control first (off its inner edit too), so that its exit handler finds nothing
  // left to end.
  if (control->ContainsControl(Screen().ActiveControl()) && CanFocus()) SetFocus();
  if (alive.Gone()) return;
  control->SetVisible(false);
  control->SetEnabled(false);
  const bool changed = value != preparedValue_;
  if (!changed || control == checkBox_ || control == button_) return;
  if (control == spin_) {
    if (EditorKind == TEditorType::edFloatSpinEdit)
      SetFloats(c, r, spin_->FloatValue());
    else if (EditorKind == TEditorType::edDateSpinEdit)
      SetDates(c, r, spin_->DateValue());
    else
      SetCells(c, r, value);
  } else if (control == richEdit_) {
    RichToCell(c, r, *richEdit_);
  } else {
    SetCells(c, r, value);
  }
}

void VUraRazuduVova::HideCellEdit() { HideEditControl(Col(), Row()); }

void VUraRazuduVova::ShowCellEdit() {
  if (HandleAllocated()) PostMessage(Handle(), WM_KEYDOWN, VK_F2, 0);
}

void VUraRazuduVova::HideInplaceEdit() {
  if (!EditActive() || editTransition_) return;
  const TGuard alive(*this);
  HideEditor();
  if (alive.Gone()) return;
  HideEditControl(Col(), Row());
  if (alive.Gone()) return;
  SelectCell(Col(), Row());
  if (alive.Gone()) return;
  if (CanFocus() && !Focused()) SetFocus();
}

void VUraRazuduVova::TopLeftChanged() {
  TBaseGrid::TopLeftChanged();
  if (EditActive() && EditorKind != TEditorType::edNormal) HideInplaceEdit();
}

void VUraRazuduVova::ComboChanged(TObject* Sender, int AItemIndex, const std::string& ASelection) {
  if (OnComboChange) OnComboChange(Sender, Col(), Row(), AItemIndex, ASelection);
  if (AItemIndex < 0 || !combo_ || AItemIndex >= combo_->Items().Count()) return;
  if (OnComboObjectChange)
    OnComboObjectChange(Sender, Col(), Row(), AItemIndex, ASelection,
                        static_cast<TObject*>(combo_->Items().Objects(AItemIndex)));
}

void VUraRazuduVova::AddComboString(const std::string& S) {
  if (combo_) combo_->Items().Add(S);
}

void VUraRazuduVova::AddComboStringObject(const std::string& S, TObject* AObject) {
  if (combo_) combo_->Items().AddObject(S, AObject);
}

void VUraRazuduVova::ClearComboString() {
  if (combo_) combo_->Items().Clear();
}

bool VUraRazuduVova::RemoveComboString(const std::string& S) {
  const int index = combo_ ? combo_->Items().IndexOf(S) : -1;
  if (index < 0) return false;
  combo_->Items().Delete(index);
  return true;
}

void VUraRazuduVova::SetComboSelection(int Index) { comboSelection_ = Index; }

bool VUraRazuduVova::SetComboSelectionString(const std::string& S) {
  const int index = combo_ ? combo_->Items().IndexOf(S) : -1;
  if (index < 0) return false;
  comboSelection_ = index;
  return true;
}

int VUraRazuduVova::GetComboCount() const { return combo_ ? combo_->Items().Count() : 0; }

}  // namespace velmora
