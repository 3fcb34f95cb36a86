#include "grid/DovAdizSettings.h"

#include <algorithm>

#include "grid/DovAdizTypes.h"

namespace velmora {

namespace {

// Stores Value and invalidates the grid, whether or not the value changed.
template <class V>
void StoreAndRepaint(V& field, const V& Value, GridSettingsOwner& owner) {
  field = Value;
  owner.InvalidateGrid();
}

// Stores Value and invalidates the grid only when the value changed.
template <class V>
void StoreAndRepaintChange(V& field, const V& Value, GridSettingsOwner& owner) {
  if (field == Value) return;
  field = Value;
  owner.InvalidateGrid();
}

void CopyAndRepaint(platform::TBitmap& glyph, const platform::TBitmap& Value, GridSettingsOwner& owner) {
  glyph.Assign(Value);
  owner.InvalidateGrid();
}

}  // namespace

void TCellNode::SetNodeType(TNodeType Value) { StoreAndRepaintChange(nodeType_, Value, owner_); }
void TCellNode::SetShowTree(bool Value) { StoreAndRepaintChange(showTree_, Value, owner_); }

void TColumnSize::SetStretch(bool Value) {
  stretch_ = Value;
  owner_.StretchRightColumn();
}

void TSortSettings::SetRow(int Value) {
  if (!owner_.LoadingResource() && Value > owner_.FixedRowCount())
    throw EDovAdizError("Sort row should be smaller than number of fixed rows");
  row_ = Value;
}

void TControlLook::SetCheckSize(int Value) { StoreAndRepaint(checkSize_, Value, owner_); }
void TControlLook::SetRadioSize(int Value) { StoreAndRepaint(radioSize_, Value, owner_); }
void TControlLook::SetColor(platform::TColor Value) { StoreAndRepaint(color_, Value, owner_); }
void TControlLook::SetControlStyle(TControlStyle Value) { StoreAndRepaint(controlStyle_, Value, owner_); }
void TControlLook::SetFlatButton(bool Value) { StoreAndRepaint(flatButton_, Value, owner_); }
void TControlLook::SetCheckedGlyph(const platform::TBitmap& Value) { CopyAndRepaint(checkedGlyph_, Value, owner_); }
void TControlLook::SetUnCheckedGlyph(const platform::TBitmap& Value) { CopyAndRepaint(unCheckedGlyph_, Value, owner_); }
void TControlLook::SetRadioOnGlyph(const platform::TBitmap& Value) { CopyAndRepaint(radioOnGlyph_, Value, owner_); }
void TControlLook::SetRadioOffGlyph(const platform::TBitmap& Value) { CopyAndRepaint(radioOffGlyph_, Value, owner_); }

void TBands::SetActive(bool Value) { StoreAndRepaint(active_, Value, owner_); }

void TBands::SetPrimaryColor(platform::TColor Value) {
  primaryColor_ = Value;
  Changed();
}

void TBands::SetPrimaryLength(int Value) {
  primaryLength_ = std::max(0, Value);
  Changed();
}

void TBands::SetSecondaryColor(platform::TColor Value) {
  secondaryColor_ = Value;
  Changed();
}

void TBands::SetSecondaryLength(int Value) {
  secondaryLength_ = std::max(0, Value);
  Changed();
}

int TBands::Period() const { return std::max(1, primaryLength_ + secondaryLength_); }

void TBands::Changed() {
  if (active_) owner_.InvalidateGrid();
}

void TBackGround::SetTop(int Value) { StoreAndRepaint(top_, Value, owner_); }
void TBackGround::SetLeft(int Value) { StoreAndRepaint(left_, Value, owner_); }
void TBackGround::SetDisplay(TBackgroundDisplay Value) { StoreAndRepaint(display_, Value, owner_); }
void TBackGround::SetCells(TBackgroundCells Value) { StoreAndRepaint(cells_, Value, owner_); }
void TBackGround::SetBitmap(const platform::TBitmap& Value) { CopyAndRepaint(bitmap_, Value, owner_); }

}  // namespace velmora
