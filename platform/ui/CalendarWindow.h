#pragma once

#include "platform/ui/DateTimePicker.h"
#include "platform/ui/DropDownWindow.h"

namespace platform {

// The calendar a date picker drops down: a title with the month and year between two arrows, the
// week-day names, six weeks from Monday to Sunday (the days of the months around in grey, days
// outside the picker's limits struck out and not to be picked), the picked day in the highlight
// colour, today framed in red, and a line at the foot with today's date. It belongs to its picker,
// which keeps the keyboard and hands it the keys (Key) while it is open.
class TCalendarWindow : public TDropDownWindow {
public:
  explicit TCalendarWindow(TDateTimePicker& Picker);

  // Opens below the picker with `date` picked and its month shown.
  void OpenAt(TDateTime date);
  TDateTime Selected() const { return selected_; }
  int ShownYear() const { return year_; }
  int ShownMonth() const { return month_; }
  // Shows another month, `delta` months on; the picked day follows into it.
  void ShowMonth(int delta);
  // Arrows move the picked day, Page Up and Down the month, Enter picks, Escape closes; true when
  // the key was the calendar's.
  bool Key(WORD key);

  // The parts a person clicks, in client coordinates.
  TRect PreviousArrow();
  TRect NextArrow();
  TRect DayRect(TDateTime date);  // empty when the date is not shown
  TRect TodayLine();

protected:
  void Paint() override;
  void PopupMouse(UINT Msg, TPoint client) override;
  void CloseUp() override;

private:
  TDateTime FirstShownDay() const;
  bool Pickable(TDateTime date) const;
  void Select(TDateTime date);
  void Pick(TDateTime date);
  // Measured in the calendar's font.
  int CellWidth();
  int RowHeight();

  TDateTimePicker& picker_;
  TDateTime selected_ = 0;
  int year_ = 1;
  int month_ = 1;
  bool picked_ = false;
};

}  // namespace platform
