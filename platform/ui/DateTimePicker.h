#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/DateTimeFields.h"

namespace platform {

class TCalendarWindow;

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };
enum class TDTDateFormat { dfShort, dfLong };

// The date-time picker: a box that shows a date (in the short or long date format of the format
// settings) or a time (the long time format), one field of which is selected: Left and Right move
// the selection, Up and Down (and the up-down buttons) step the selected field as StepDateTimeField
// does, within MinDate and MaxDate, and digits typed into a number field set it (the selection moves
// on once no further digit could follow; a typed separator moves it on too). A date picker in
// dmComboBox mode has a drop button that opens a calendar of one month below it (F4 or Alt+Down too):
// its arrows and Page Up and Down change the month, the arrow keys move the day, a click or Enter
// picks a day and the line at its foot picks today; Escape or a click outside closes it unchanged.
// With ShowCheckbox a check box in front says whether a value is given at all (Space toggles it;
// stepping a field checks it).
//
// A change of the value by the user (keys, mouse, calendar, check box) runs OnChange; the program's own
// changes run none.
class TDateTimePicker : public TCustomControl {
public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;

  void Dispatch(TMessage& Message) override;

  TDateTime DateTime() const { return dateTime_; }
  // Kept within MinDate and MaxDate.
  void SetDateTime(TDateTime value);
  // The date, with the time of day kept; the time, with the date kept.
  TDateTime Date() const { return DatePart(dateTime_); }
  void SetDate(TDateTime value) { SetDateTime(CombineDateTime(DatePart(value), TimeOfDay(dateTime_))); }
  TDateTime Time() const { return TimeOfDay(dateTime_); }
  void SetTime(TDateTime value) { SetDateTime(CombineDateTime(DatePart(dateTime_), TimeOfDay(value))); }
  // The earliest and latest dates; 0 is no limit. A limit that excludes the other is refused with
  // EDateTimeError and the value is brought within the new limits.
  TDateTime MinDate() const { return minDate_; }
  void SetMinDate(TDateTime value);
  TDateTime MaxDate() const { return maxDate_; }
  void SetMaxDate(TDateTime value);

  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  TDTDateMode DateMode() const { return dateMode_; }
  void SetDateMode(TDTDateMode value);
  TDTDateFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat value);
  bool ShowCheckbox() const { return showCheckbox_; }
  void SetShowCheckbox(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);

  // The field that the keys step.
  TDateTimeField SelectedField() const;
  // The text shown for the value.
  std::string DisplayText() const;

  bool DroppedDown() const;
  // Opens the calendar (a date picker in dmComboBox mode only) or closes it unchanged.
  void SetDroppedDown(bool value);
  // The calendar while it is open (for tests and for those who look at it), else null.
  TCalendarWindow* Calendar() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void Change();

private:
  friend class TCalendarWindow;
  enum class TPart { None, CheckBox, Field, DropButton, UpButton, DownButton };

  std::vector<TDateTimeSegment> Segments() const;
  // The index of the selected field among the segments (the first field unless one was chosen).
  int SelectedSegment(const std::vector<TDateTimeSegment>& segments) const;
  bool HasDropButton() const { return kind_ == TDateTimeKind::dtkDate && dateMode_ == TDTDateMode::dmComboBox; }
  TRect CheckBoxRect() const;
  TRect ButtonRect() const;
  // Where each segment is drawn, in client coordinates.
  std::vector<TRect> SegmentRects();
  TPart PartAt(TPoint p, int& segment);
  void SelectField(int segment);
  void MoveSelection(int direction);
  void StepSelected(int delta);
  // A user's new value: kept within the limits, checked, OnChange when it differs.
  void ChangeTo(TDateTime value);
  void TypeDigit(char32_t digit);
  TDateTime Clamped(TDateTime value) const;
  // The calendar picked a date (or closed, `picked` false).
  void CalendarClosed(bool picked, TDateTime date);

  TDateTime dateTime_ = 0;
  TDateTime minDate_ = 0;
  TDateTime maxDate_ = 0;
  TDateTimeKind kind_ = TDateTimeKind::dtkDate;
  TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
  TDTDateFormat dateFormat_ = TDTDateFormat::dfShort;
  bool showCheckbox_ = false;
  bool checked_ = true;
  int selected_ = -1;  // index of the selected field segment; -1 selects the first
  std::string typed_;  // the digits typed into the selected field so far
  std::unique_ptr<TCalendarWindow> calendar_;
};

// Raised for limits that exclude each other.
class EDateTimeError : public Exception {
public:
  using Exception::Exception;
};

}  // namespace platform
