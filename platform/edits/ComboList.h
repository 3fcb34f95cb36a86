#pragma once

#include "platform/ui/DropDownWindow.h"

namespace platform {

class TCustomComboBox;

// The open list of a combo box: its items from TopRow down, as many as fit, the hot row (under the
// mouse, or moved to by keys) in the highlight colours. A click on a row chooses it.
class TComboListWindow : public TDropDownWindow {
public:
  explicit TComboListWindow(TCustomComboBox& Combo);

  // The list's outer size for the combo's items now.
  TSize Extent();
  int TopRow() const { return top_; }
  // The row shown highlighted, -1 for none.
  int Hot() const { return hot_; }
  // Highlights a row and scrolls it into view.
  void SetHot(int index);
  // Shows the rows from TopRow on the scroll bar (which shows only when not all of them fit).
  void UpdateScrollBar();
  // Scrolls so that the row is the first shown, as far as the items allow.
  void SetTopRow(int index);
  // Scrolls by the wheel: three rows a notch.
  void Wheel(int delta) { SetTopRow(top_ + (delta < 0 ? 3 : -3)); }
  // The rows that fit from TopRow.
  int VisibleRows();
  // The rectangle of a shown row in client coordinates (empty when it is not shown).
  TRect RowRect(int index);
  int RowAt(TPoint client);

protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void PopupMouse(UINT Msg, TPoint client) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void CloseUp() override;

private:
  int MaxTopRow();

  TCustomComboBox& combo_;
  int top_ = 0;
  int hot_ = -1;
};

}  // namespace platform
