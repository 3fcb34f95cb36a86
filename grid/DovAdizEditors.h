#pragma once

#include <string>

#include "controls/ZGEdit.h"
#include "controls/zgcombo.h"
#include "controls/zgspin.h"
#include "platform/edits/RichEdit.h"
#include "platform/grids/Grids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/StdCtrls.h"

namespace velmora {

class VUraRazuduVova;

// The grid's in-place editors. The text editor TExInplaceEdit serves the text kinds of TEditorType
// and is made by the grid's CreateEditor; the other controls are made once by the grid's constructor,
// owned and parented by the grid, and kept hidden and disabled until the grid places one over a cell
// (DovAdizEditing.cpp). Each knows its grid (its owner), ends the edit when it loses the focus (its
// exit handler calls HideInplaceEdit), and hands the keys that leave the cell back to the grid: Enter,
// Up and Down store the control's text and validate it first (a refused value keeps the editor open
// with the cell's text), Escape reloads the cell's text, and then DoneInplaceEdit closes the editor.

// The text editor: the base grid's masked in-place edit with the character filters, case conversion,
// password mask, length limit and lookup of the cell's editor kind.
class TExInplaceEdit : public platform::TInplaceEdit {
public:
  explicit TExInplaceEdit(VUraRazuduVova* AGrid);

  void Dispatch(platform::TMessage& Message) override;

  // Stored only; the window takes them when it is made (VAlign: the text stands at the right).
  bool VAlign() const { return vAlign_; }
  void SetVAlign(bool value) { vAlign_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  // The most characters the editor takes, 0 for the grid's MaxEditLength; in force at once.
  int16_t LengthLimit() const { return lengthLimit_; }
  void SetLengthLimit(int16_t value);

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void CreateWnd() override;
  void UpdateContents() override;
  void BoundsChanged() override;
  void Change() override;
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(platform::WORD& Key, platform::TShiftState Shift) override;
  void DblClick() override;

private:
  // The limit in force: LengthLimit, else the grid's (clamped) MaxEditLength.
  int EffectiveLimit() const;
  // False when the filter of the grid's editor kind drops the character (it may convert it).
  bool FilterChar(char32_t& Key);
  void Paste();
  void LookupCompletion();
  // The window's style follows the cell just loaded (its kind, its right alignment in VAlign, the grid's
  // wrapping): a window made for another cell is made again.
  void FollowCellStyle();
  // Takes the cell's edit text again without writing it back to the cell.
  void ReloadFromCell();
  void LeaveCell();
  // Puts the caret, nothing selected, at the character under the mouse when the mouse is over the
  // editor; false when it is not.
  bool CaretToMouse();

  VUraRazuduVova* grid_;
  bool vAlign_ = false;
  bool wordWrap_ = false;
  int16_t lengthLimit_ = 0;
  bool lookupKey_ = true;  // the last key was not Backspace or Delete
  bool reloading_ = false;
};

// The spin editor of the spin kinds: Tab, Enter, Escape, Up and Down are grid keys (taken before the
// spin edit steps with Up and Down); the page keys step by the increment only while the result stays
// within the bounds, End sets the minimum and Home the maximum.
class TGridSpin : public controls::zgspin::TZgSpinEdit {
public:
  explicit TGridSpin(VUraRazuduVova* AGrid);

  void Dispatch(platform::TMessage& Message) override;
  void UpClick(platform::TObject* Sender) override;
  void DownClick(platform::TObject* Sender) override;

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoExit() override;

private:
  // The spin event of the spin type, Up for a step up.
  void SpinClicked(bool Up);
  // The page keys, End and Home; false for another key.
  bool StepKey(platform::WORD Key);

  VUraRazuduVova* grid_;
};

// The combo editor of edComboEdit and edComboList: type-ahead from its items, the drop-down width
// fitted to them, wheel stepping and the grid's combo events.
class TGridCombo : public controls::TZGComboBox {
public:
  explicit TGridCombo(VUraRazuduVova* AGrid);

  void Dispatch(platform::TMessage& Message) override;
  // The width of the open list fitted to the longest item.
  void SizeDropDownWidth();

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(platform::WORD& Key, platform::TShiftState Shift) override;
  void DoExit() override;
  bool DoMouseWheel(platform::TShiftState Shift, int WheelDelta, platform::TPoint MousePos) override;

private:
  bool IsGridKey(platform::WORD Key) const;
  void DoChange();
  // The caret, nothing selected, at the character of the edit under the mouse.
  void CaretToMouse();

  VUraRazuduVova* grid_;
  bool lookupKey_ = true;  // the last key was not Backspace or Delete
};

// The date picker of the date and time kinds: Enter, Escape, the page keys and End are grid keys;
// Escape reads the value from the cell again; nothing closes the editor while the calendar is open.
class TGridDatePicker : public platform::TDateTimePicker {
public:
  explicit TGridDatePicker(VUraRazuduVova* AGrid);

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void DoExit() override;

private:
  VUraRazuduVova* grid_;
};

// The check-box editor: Space and a left press toggle it; Enter, the page keys, End and the arrows
// end the edit without validation.
class TGridCheckBox : public platform::TCheckBox {
public:
  explicit TGridCheckBox(VUraRazuduVova* AGrid);

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void DoExit() override;

private:
  VUraRazuduVova* grid_;
};

// The edit with button of edEditBtn, edNumericEditBtn and edFloatEditBtn: the button and F4 pass the
// text through the grid's EllipsClick; the numeric kinds filter what is typed.
class TGridEditBtn : public controls::TZgEditBtn {
public:
  explicit TGridEditBtn(VUraRazuduVova* AGrid);

  void Dispatch(platform::TMessage& Message) override;
  void BtnClick(platform::TObject* Sender) override;

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void DoExit() override;

private:
  VUraRazuduVova* grid_;
};

// The unit edit of edUnitEditBtn: the number as text, the unit chosen from the button's menu.
class TGridUnitEditBtn : public controls::TZgUnitEditBtn {
public:
  explicit TGridUnitEditBtn(VUraRazuduVova* AGrid);

  void Dispatch(platform::TMessage& Message) override;

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void DoExit() override;

private:
  VUraRazuduVova* grid_;
};

// The push button of edButton: a click and Space pass its caption through EllipsClick; Escape and the
// arrows end the edit and go to the grid.
class TGridButton : public platform::TButton {
public:
  explicit TGridButton(VUraRazuduVova* AGrid);

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void KeyUp(platform::WORD& Key, platform::TShiftState Shift) override;
  void MouseUp(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
  void DoExit() override;

private:
  // Hidden, disabled, the edit over and the grid focused.
  void Leave();

  VUraRazuduVova* grid_;
};

// The rich-text editor of edRichEdit: sub- and superscript for the selection; Up and Down go to the
// grid after the rich edit has handled them, unless the grid wraps or has multi-line cells. With
// SizeWhileTyping.Height the grid's editor grows downwards with its text, and its row with it, as long
// as it stays inside the grid; Lock suspends that while the grid loads a cell into it.
class TExRichEdit : public platform::TRichEdit {
public:
  explicit TExRichEdit(VUraRazuduVova* AGrid);

  void SelNormal() { SetSelOffset(0); }
  void SelSubscript() { SetSelOffset(-40); }
  void SelSuperscript() { SetSelOffset(40); }
  // The size of the text's area that the control asked for last.
  int ReqWidth() const { return reqWidth_; }
  int ReqHeight() const { return reqHeight_; }
  void Lock() { locked_ = true; }
  void Unlock() { locked_ = false; }
  // The text is laid out 2 pixels inside the control's edges.
  void InsetFormatRect();

protected:
  void KeyDown(platform::WORD& Key, platform::TShiftState Shift) override;
  void DoExit() override;
  void RequestSize(const platform::TRect& Rect) override;

private:
  static constexpr int kInset = 2;

  void SetSelOffset(int twips);

  VUraRazuduVova* grid_;
  int reqWidth_ = 0;
  int reqHeight_ = 0;
  bool locked_ = false;
};

}  // namespace velmora
