// Check boxes and radio groups in cells: their states and what a click or the space key does to them.

#include "grid/DovAdiz.h"

using namespace platform;

namespace velmora {

TCellGraphic* VUraRazuduVova::BaseGraphicOf(int ACol, int ARow, TCellType AType) const {
  const TPoint base = BaseCell(ACol, ARow);
  TCellGraphic* graphic = GraphicOf(base.X, base.Y);
  return graphic && graphic->CellType() == AType ? graphic : nullptr;
}

bool VUraRazuduVova::CellEditable(int ACol, int ARow) {
  bool canEdit = true;
  GetCellReadOnly(ACol, ARow, canEdit);
  return canEdit;
}

void VUraRazuduVova::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
  TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, Data ? TCellType::ctDataCheckBox : TCellType::ctCheckBox);
  if (!graphic) return;
  graphic->State = State;
  graphic->Transparent = true;
  graphic->HAlign = TCellHAlign::haBeforeText;
  switch (VAlignment()) {
    case TVAlignment::vtaTop: graphic->VAlign = TCellVAlign::vaTop; break;
    case TVAlignment::vtaCenter: graphic->VAlign = TCellVAlign::vaCenter; break;
    case TVAlignment::vtaBottom: graphic->VAlign = TCellVAlign::vaBottom; break;
  }
  RepaintCell(ACol, ARow);
}

bool VUraRazuduVova::HasCheckBox(int ACol, int ARow) const {
  return BaseGraphicOf(ACol, ARow, TCellType::ctCheckBox) || HasDataCheckBox(ACol, ARow);
}

bool VUraRazuduVova::HasDataCheckBox(int ACol, int ARow) const {
  return BaseGraphicOf(ACol, ARow, TCellType::ctDataCheckBox) != nullptr;
}

bool VUraRazuduVova::HasStaticEdit(int ACol, int ARow) const {
  return HasCheckBox(ACol, ARow) || IsRadio(ACol, ARow);
}

bool VUraRazuduVova::GetCheckBoxState(int ACol, int ARow, bool& State) {
  switch (GetCellType(ACol, ARow)) {
    case TCellType::ctCheckBox: State = GetCellGraphic(ACol, ARow)->State; return true;
    case TCellType::ctDataCheckBox: {
      std::string checked;
      GetCheckTrue(ACol, ARow, checked);
      State = Cells(ACol, ARow) == checked;
      return true;
    }
    default: return false;
  }
}

bool VUraRazuduVova::SetCheckBoxState(int ACol, int ARow, bool State) {
  switch (GetCellType(ACol, ARow)) {
    case TCellType::ctCheckBox:
      GetCellGraphic(ACol, ARow)->State = State;
      RepaintCell(ACol, ARow);
      return true;
    case TCellType::ctDataCheckBox: {
      std::string text;
      if (State)
        GetCheckTrue(ACol, ARow, text);
      else
        GetCheckFalse(ACol, ARow, text);
      SetCells(ACol, ARow, text);
      return true;
    }
    default: return false;
  }
}

bool VUraRazuduVova::ToggleCheck(int ACol, int ARow, bool AskReadOnly) {
  bool state = false;
  if (!GetCheckBoxState(ACol, ARow, state)) return false;
  if (AskReadOnly && !CellEditable(ACol, ARow)) return false;
  SetCheckBoxState(ACol, ARow, !state);
  RepaintCell(ACol, ARow);
  return true;
}

bool VUraRazuduVova::RemoveCheckBox(int ACol, int ARow) {
  return RemoveCellGraphic(ACol, ARow, TCellType::ctCheckBox) ||
         RemoveCellGraphic(ACol, ARow, TCellType::ctDataCheckBox);
}

void VUraRazuduVova::AddRadio(int ACol, int ARow, int Direction, int Index, TStringList* Strings) {
  if (TCellGraphic* graphic = MakeCellGraphic(ACol, ARow, TCellType::ctRadio)) {
    graphic->Strings.Borrow(Strings);
    graphic->RadioIndex = Index;
    graphic->State = Direction != 0;
  }
}

TStringList* VUraRazuduVova::CreateRadio(int ACol, int ARow, int Index, int Direction) {
  AddRadio(ACol, ARow, Direction, Index, nullptr);
  TCellGraphic* graphic = GraphicOf(ACol, ARow);
  return graphic ? &graphic->Strings.Own(std::make_unique<TStringList>()) : nullptr;
}

bool VUraRazuduVova::IsRadio(int ACol, int ARow) const {
  return BaseGraphicOf(ACol, ARow, TCellType::ctRadio) != nullptr;
}

TStringList* VUraRazuduVova::GetRadioStrings(int ACol, int ARow) const {
  const TCellGraphic* graphic = BaseGraphicOf(ACol, ARow, TCellType::ctRadio);
  return graphic ? graphic->Strings.Get() : nullptr;
}

bool VUraRazuduVova::GetRadioIdx(int ACol, int ARow, int& Index) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctRadio) return false;
  const TStringList* items = graphic->Strings.Get();
  Index = graphic->RadioIndex >= 0 || !items ? graphic->RadioIndex : items->IndexOf(Cells(ACol, ARow));
  return true;
}

bool VUraRazuduVova::SetRadioIdx(int ACol, int ARow, int Index) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctRadio) return false;
  graphic->RadioIndex = Index;
  RepaintCell(ACol, ARow);
  return true;
}

bool VUraRazuduVova::ToggleRadio(int ACol, int ARow, bool AskReadOnly) {
  TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
  if (!graphic || graphic->CellType() != TCellType::ctRadio) return false;
  const TStringList* items = graphic->Strings.Get();
  if (!items || items->Count() == 0) return false;
  if (AskReadOnly && !CellEditable(ACol, ARow)) return false;
  int current = 0;
  GetRadioIdx(ACol, ARow, current);
  // An index past the items (they shrank) or a text among none of them starts again at the first.
  const int next = current >= -1 && current + 1 < items->Count() ? current + 1 : 0;
  if (graphic->RadioIndex >= 0) graphic->RadioIndex = next;
  SetCells(ACol, ARow, items->Strings(next));
  RepaintCell(ACol, ARow);
  return true;
}

}  // namespace velmora
