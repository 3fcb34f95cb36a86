#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/Set.h"
#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/edits/Edit.h"

namespace platform {

// The messages of the combo box. Indices count items from 0; CB_ERR answers a bad one.
inline constexpr UINT CB_GETEDITSEL = 0x0140;     // Result: start low 16 bits, end high 16 (characters)
inline constexpr UINT CB_LIMITTEXT = 0x0141;      // wParam: characters, 0 for no limit
inline constexpr UINT CB_SETEDITSEL = 0x0142;     // lParam: start low 16 bits, end high 16; -1 start: none
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_SETCURSEL = 0x014E;      // wParam: the index, -1 for none
inline constexpr UINT CB_SHOWDROPDOWN = 0x014F;   // wParam: open
inline constexpr UINT CB_SETITEMHEIGHT = 0x0153;  // wParam: the item, -1 for the selection field; lParam: pixels
inline constexpr UINT CB_GETITEMHEIGHT = 0x0154;  // wParam: the item, -1 for the selection field
inline constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
inline constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
inline constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;  // wParam: pixels; the list is never narrower than the control
inline constexpr LRESULT CB_ERR = -1;

// Notifications, sent to the parent as WM_COMMAND (high word of wParam; lParam the combo's handle) and
// reflected to the combo as CN_COMMAND.
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD CBN_EDITCHANGE = 5;
inline constexpr WORD CBN_DROPDOWN = 7;
inline constexpr WORD CBN_CLOSEUP = 8;

// csDropDown: an edit with a list below; csSimple: an edit only (the list is not shown); csDropDownList:
// the selected item in a field, chosen from the list only; the owner-drawn styles are drop-down lists
// whose items OnDrawItem paints, of ItemHeight each (fixed) or of the height OnMeasureItem gives.
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// What an owner-drawn item is showing: odComboBoxEdit for the selection field of the closed combo.
enum class TOwnerDrawStateFlag { odSelected, odDisabled, odFocused, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

class TWinControl;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TComboListWindow;
class TComboEdit;

// The combo box: a selection field (an edit in the edit styles) with a button that drops down the list
// of Items as a pop-up window. The keyboard stays with the combo while the list is open: F4 and
// Alt+Down or Alt+Up open and close it, the arrows, Home, End and the page keys move the selection
// (Home and End move the caret in an edit), Enter takes the item and Escape the one from before, and
// in the list styles a typed prefix finds an item. A press outside the list, or the combo losing the
// focus, closes it.
//
// Text is the edit's text, or the selected item's in the list styles. The user's choice of an item
// runs OnChange and OnSelect (and CBN_SELCHANGE to the parent), typing runs OnChange (CBN_EDITCHANGE);
// setting ItemIndex or Text from the program runs neither.
class TCustomComboBox : public TCustomControl {
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  // The items and their objects; a change updates the shown selection.
  TStringList& Items() { return *items_; }
  void SetItems(const std::vector<std::string>& value);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool value) { items_->SetSorted(value); }
  // -1 when no item is selected.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  // The most rows the open list shows at once (8).
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = std::max(1, value); }
  // The height of a list row (of every row but in csOwnerDrawVariable); 0 until set is the font's.
  int ItemHeight() const;
  void SetItemHeight(int value);
  // The open list's width; never narrower than the control (0: as wide).
  int DroppedWidth() const { return droppedWidth_; }
  void SetDroppedWidth(int value) { droppedWidth_ = std::max(0, value); }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool DroppedDown() const;
  void SetDroppedDown(bool value);
  // The edit's selection in characters; 0 in the list styles.
  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  void SelectAll();

  // The selection field's height (CB_SETITEMHEIGHT -1); the control is 6 pixels higher.
  int EditHeight() const;
  // The list's rectangle on the screen when it opens now.
  TRect DropDownRect();
  // The area of the drop button, in client coordinates.
  TRect ButtonRect() const;
  // The canvas items are drawn on: while the open list paints, the list's.
  TCanvas& Canvas();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void DoEnter() override;
  void DoExit() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  // Paints an item: OnDrawItem in the owner-drawn styles, else its text on the highlight when selected.
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // The drop button's width; 0 sets the default, a vertical scroll bar's width.
  int DropButtonWidth() const;
  void SetDropButtonWidth(int value);

private:
  friend class TComboListWindow;
  friend class TComboEdit;

  bool HasEdit() const { return style_ == TComboBoxStyle::csDropDown || style_ == TComboBoxStyle::csSimple; }
  bool ListStyle() const { return !HasEdit(); }
  bool OwnerDrawn() const {
    return style_ == TComboBoxStyle::csOwnerDrawFixed || style_ == TComboBoxStyle::csOwnerDrawVariable;
  }
  // Sends the notification to the parent (WM_COMMAND) and reflects it (CN_COMMAND); false when that
  // destroyed the combo.
  bool Notify(WORD code);
  // The user chose an item: selection, text and the events.
  bool ChooseItem(int index);
  bool HandleKey(WORD key, TShiftState shift);
  int FontHeight() const;
  TRect FieldRect() const;
  // DrawItem on another canvas (the open list's), which Canvas gives while it runs.
  void PaintItem(TCanvas& canvas, int Index, TRect Rect, TOwnerDrawState State);
  bool HandleChar(char32_t c);
  int FindPrefix(const std::string& prefix, int from) const;
  void ItemsChanged();
  void ShowSelection();
  void EditChanged();
  void PlaceEdit();
  int RowHeight(int index);
  void Open();
  // Closes the list; a cancel brings back the item selected when it opened.
  void CloseList(bool cancel);
  // The list has closed, however that happened.
  void ListClosed();

  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  std::unique_ptr<TStringList> items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  int itemHeight_ = 0;
  int editHeight_ = 0;  // 0: the font's
  int droppedWidth_ = 0;
  int dropButtonWidth_ = 0;  // 0: the default
  int maxLength_ = 0;
  TComboEdit* edit_ = nullptr;
  TComboListWindow* list_ = nullptr;
  int indexBeforeDrop_ = -1;
  bool closingCancel_ = false;
  bool buttonDown_ = false;
  bool ownText_ = false;   // the combo sets its text itself: no item is looked up for it
  bool fromEdit_ = false;  // the text comes from the edit
  TCanvas* drawingOn_ = nullptr;
  std::string typed_;     // the prefix typed in a list style
  uint32_t typedAt_ = 0;  // the tick count of its last character
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
};

}  // namespace platform
