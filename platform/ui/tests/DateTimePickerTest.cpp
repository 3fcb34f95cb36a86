#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "platform/core/FormatSettings.h"
#include "platform/ui/CalendarWindow.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/TypingFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

TDateTime Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return CombineDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, 0));
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

std::string Text(TDateTime value) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", value); }

// Each field wraps within its range and leaves the others alone; a day the new month or year lacks
// becomes the month's last day.
TEST(DateTimeFieldsTest, SteppingAFieldWrapsWithinItAndKeepsTheDayValid) {
  using enum TDateTimeField;
  struct Case {
    TDateTime from;
    TDateTimeField field;
    int delta;
    TDateTime to;
  };
  const Case cases[] = {
      {Moment(2024, 1, 31, 13, 45), Day, 1, Moment(2024, 1, 1, 13, 45)},
      {Moment(2024, 3, 1), Day, -1, Moment(2024, 3, 31)},
      {Moment(2023, 2, 28), Day, 1, Moment(2023, 2, 1)},
      {Moment(2024, 2, 28), Day, 1, Moment(2024, 2, 29)},
      {Moment(2024, 2, 29), Day, 1, Moment(2024, 2, 1)},
      {Moment(2024, 1, 31, 13, 45), Month, 1, Moment(2024, 2, 29, 13, 45)},
      {Moment(2023, 1, 31), Month, 1, Moment(2023, 2, 28)},
      {Moment(2024, 12, 15), Month, 1, Moment(2024, 1, 15)},
      {Moment(2024, 1, 15), Month, -1, Moment(2024, 12, 15)},
      {Moment(2024, 3, 31), Month, -13, Moment(2024, 2, 29)},
      {Moment(2024, 2, 29), Year, 1, Moment(2025, 2, 28)},
      {Moment(2024, 2, 29), Year, 4, Moment(2028, 2, 29)},
      {Moment(2024, 2, 29), Year, -1, Moment(2023, 2, 28)},
      {Moment(1, 1, 1), Year, -1, Moment(1, 1, 1)},
      {Moment(9999, 12, 31), Year, 1, Moment(9999, 12, 31)},
      {Moment(2024, 12, 31, 8), WeekDay, 1, Moment(2025, 1, 1, 8)},
      {Moment(2024, 3, 1), WeekDay, -1, Moment(2024, 2, 29)},
      {Moment(2024, 12, 31, 23, 30), Hour, 1, Moment(2024, 12, 31, 0, 30)},
      {Moment(2024, 5, 5, 10, 0), Minute, -1, Moment(2024, 5, 5, 10, 59)},
      {Moment(2024, 5, 5, 10, 59, 59), Second, 1, Moment(2024, 5, 5, 10, 59, 0)},
      {Moment(2024, 5, 5, 9, 15), AmPm, 1, Moment(2024, 5, 5, 21, 15)},
      {Moment(2024, 5, 5, 21, 15), AmPm, -1, Moment(2024, 5, 5, 9, 15)},
      {Moment(1899, 12, 29, 6), Day, 1, Moment(1899, 12, 30, 6)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(c.from) + " field " + std::to_string(static_cast<int>(c.field)) + " by " + std::to_string(c.delta));
    EXPECT_EQ(Text(StepDateTimeField(c.from, c.field, c.delta)), Text(c.to));
  }
}

TEST(DateTimeFieldsTest, FormatsSplitIntoFieldsAndLiterals) {
  TFormatSettings settings;
  settings.DateSeparator = '.';
  settings.ShortDateFormat = "dd/mm/yyyy";
  struct Case {
    const char* format;
    std::string fields;  // one letter per segment: D day, W week day, M month, Y year, h n s, a am/pm, - literal
  };
  const Case cases[] = {
      {"dd/mm/yyyy", "D-M-Y"},
      {"dddd, d. mmmm yyyy", "W-D-M-Y"},
      {"hh:mm:ss", "h-n-s"},
      {"h:nn am/pm", "h-n-a"},
      {"ddddd", "D-M-Y"},
      {"'Tag' d", "-D"},
  };
  const char letters[] = "-DWMYhnsa";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    std::string fields;
    for (const TDateTimeSegment& segment : SplitDateTimeFormat(c.format, settings))
      fields += letters[static_cast<int>(segment.field)];
    EXPECT_EQ(fields, c.fields);
  }
  std::string shown;
  for (const TDateTimeSegment& segment : SplitDateTimeFormat("h:nn am/pm", settings))
    shown += SegmentText(segment, Moment(2024, 5, 5, 21, 7), settings);
  EXPECT_EQ(shown, "9:07 pm");
}

class DateTimePickerTest : public TypingTestBase {
protected:
  void SetUp() override {
    TypingTestBase::SetUp();
    FormatSettings().DateSeparator = '.';
    FormatSettings().TimeSeparator = ':';
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    FormatSettings().LongTimeFormat = "hh:nn:ss";
    picker = Place<TDateTimePicker>(Rect(8, 8, 180, 29));
    picker->OnChange = [this](TObject*) { ++changes; };
    picker->SetDateTime(Moment(2024, 1, 31, 13, 45));
    picker->SetFocus();
    Settle();
  }
  void TearDown() override {
    TypingTestBase::TearDown();
    ResetFormatSettings();
  }
  void Click(TControl& control, TPoint client) {
    Input().Click(control.ClientToScreen(client));
    Settle();
  }

  TDateTimePicker* picker = nullptr;
  int changes = 0;
};

TEST_F(DateTimePickerTest, ArrowsChooseAFieldAndStepIt) {
  EXPECT_EQ(picker->DisplayText(), "31.01.2024");
  EXPECT_EQ(picker->SelectedField(), TDateTimeField::Day);
  Press(VK_UP);
  EXPECT_EQ(picker->DisplayText(), "01.01.2024");
  Press(VK_DOWN);
  Press(VK_RIGHT);
  EXPECT_EQ(picker->SelectedField(), TDateTimeField::Month);
  Press(VK_UP);
  EXPECT_EQ(picker->DisplayText(), "29.02.2024");
  Press(VK_RIGHT);
  Press(VK_RIGHT);  // stays on the last field
  EXPECT_EQ(picker->SelectedField(), TDateTimeField::Year);
  Press(VK_UP);
  EXPECT_EQ(Text(picker->DateTime()), "2025-02-28 13:45:00") << "the time of day is kept";
  Press(VK_LEFT);
  EXPECT_EQ(picker->SelectedField(), TDateTimeField::Month);
  EXPECT_EQ(changes, 4);
}

// Digits set the selected field; the selection moves on once no further digit could follow.
TEST_F(DateTimePickerTest, TypedDigitsSetTheFields) {
  struct Case {
    TDateTimeKind kind;
    const char* typed;
    const char* shown;
    TDateTimeField selected;
    int beeps;
  };
  using enum TDateTimeField;
  const Case cases[] = {
      {TDateTimeKind::dtkDate, "15", "15.01.2024", Month, 0},
      {TDateTimeKind::dtkDate, "3", "03.01.2024", Day, 0},
      {TDateTimeKind::dtkDate, "4", "04.01.2024", Month, 0},
      {TDateTimeKind::dtkDate, "07", "07.01.2024", Month, 0},
      {TDateTimeKind::dtkDate, "00", "31.01.2024", Day, 1},
      {TDateTimeKind::dtkDate, ".2", "29.02.2024", Year, 0},
      {TDateTimeKind::dtkDate, "1.12.2025", "01.12.2025", Year, 0},
      {TDateTimeKind::dtkDate, "..20", "31.01.2024", Year, 0},
      {TDateTimeKind::dtkTime, "7", "07:45:00", Minute, 0},
      {TDateTimeKind::dtkTime, "2359", "23:59:00", Second, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    picker->SetKind(c.kind);
    picker->SetDateTime(Moment(2024, 1, 31, 13, 45));
    for (int i = 0; i < 3; ++i) Press(VK_LEFT);  // back to the first field
    const int beeps = Input().Beeps();
    Type(c.typed);
    EXPECT_EQ(picker->DisplayText(), c.shown);
    EXPECT_EQ(picker->SelectedField(), c.selected);
    EXPECT_EQ(Input().Beeps() - beeps, c.beeps);
  }
}

TEST_F(DateTimePickerTest, StepsStayWithinTheLimits) {
  picker->SetMinDate(Moment(2024, 1, 10));
  picker->SetMaxDate(Moment(2024, 2, 15));
  Press(VK_UP);  // the day wraps to the 1st, below the earliest date
  EXPECT_EQ(picker->DisplayText(), "10.01.2024");
  Press(VK_RIGHT);
  Press(VK_UP);
  EXPECT_EQ(picker->DisplayText(), "10.02.2024");
  Press(VK_RIGHT);
  Press(VK_UP);
  EXPECT_EQ(picker->DisplayText(), "15.02.2024");
  picker->SetDate(Moment(2030, 1, 1));
  EXPECT_EQ(picker->DisplayText(), "15.02.2024");
  EXPECT_THROW(picker->SetMinDate(Moment(2024, 3, 1)), EDateTimeError);
  EXPECT_EQ(picker->MinDate(), Moment(2024, 1, 10));
}

TEST_F(DateTimePickerTest, TimeKindInUpDownMode) {
  picker->SetKind(TDateTimeKind::dtkTime);
  picker->SetTime(EncodeTime(23, 59, 0, 0));
  EXPECT_EQ(picker->DisplayText(), "23:59:00");
  Press(VK_UP);
  EXPECT_EQ(picker->DisplayText(), "00:59:00");
  EXPECT_EQ(picker->Date(), Moment(2024, 1, 31)) << "the date stays";
  Press(VK_RIGHT);
  const int right = picker->ClientWidth() - 4;
  Click(*picker, {right, 3});  // the upper half of the up-down buttons
  EXPECT_EQ(picker->DisplayText(), "00:00:00");
  Click(*picker, {right, picker->ClientHeight() - 3});
  EXPECT_EQ(picker->DisplayText(), "00:59:00");
  Press(VK_F4);
  EXPECT_FALSE(picker->DroppedDown()) << "no calendar for a time";
}

TEST_F(DateTimePickerTest, CheckBoxSaysWhetherAValueIsGiven) {
  picker->SetShowCheckbox(true);
  picker->SetChecked(false);
  Press(VK_SPACE);
  EXPECT_TRUE(picker->Checked());
  Press(VK_SPACE);
  EXPECT_FALSE(picker->Checked());
  Press(VK_UP);
  EXPECT_TRUE(picker->Checked()) << "stepping gives a value";
  Click(*picker, {6, picker->ClientHeight() / 2});
  EXPECT_FALSE(picker->Checked());
  EXPECT_EQ(changes, 4);
}

TEST_F(DateTimePickerTest, CalendarOpensWithTheDateAndPicksADay) {
  int drops = 0, closes = 0;
  picker->OnDropDown = [&](TObject*) { ++drops; };
  picker->OnCloseUp = [&](TObject*) { ++closes; };
  Press(VK_F4);
  ASSERT_TRUE(picker->DroppedDown());
  TCalendarWindow& calendar = *picker->Calendar();
  EXPECT_EQ(calendar.ShownMonth(), 1);
  EXPECT_EQ(calendar.Selected(), Moment(2024, 1, 31));
  EXPECT_GE(calendar.Top(), picker->ClientToScreen({0, picker->ClientHeight()}).Y) << "below the picker";
  Press(VK_NEXT);
  EXPECT_EQ(calendar.ShownMonth(), 2);
  EXPECT_EQ(calendar.Selected(), Moment(2024, 2, 29));
  Click(calendar, Centre(calendar.NextArrow()));
  EXPECT_EQ(calendar.ShownMonth(), 3);
  Click(calendar, Centre(calendar.PreviousArrow()));
  Click(calendar, Centre(calendar.DayRect(Moment(2024, 2, 14))));
  EXPECT_FALSE(picker->DroppedDown());
  EXPECT_EQ(Text(picker->DateTime()), "2024-02-14 13:45:00");
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(picker->Focused()) << "the keyboard stayed with the picker";
}

TEST_F(DateTimePickerTest, CalendarKeysAndClosingUnchanged) {
  struct Case {
    const char* name;
    std::function<void()> close;
    const char* date;
  };
  const Case cases[] = {
      {"Escape", [this] { Press(VK_ESCAPE); }, "2024-01-31 13:45:00"},
      {"a click outside", [this] { Click(*form, {250, 150}); }, "2024-01-31 13:45:00"},
      {"Enter after the arrows", [this] {
         Press(VK_RIGHT);   // 1 February
         Press(VK_DOWN);    // 8 February
         Press(VK_LEFT);    // 7 February
         Press(VK_RETURN);
       },
       "2024-02-07 13:45:00"},
      {"the today line", [this] { Click(*picker->Calendar(), Centre(picker->Calendar()->TodayLine())); },
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    picker->SetDateTime(Moment(2024, 1, 31, 13, 45));
    picker->SetFocus();
    Press(VK_DOWN, bsAlt);
    ASSERT_TRUE(picker->DroppedDown());
    c.close();
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(Text(picker->DateTime()), c.date ? std::string(c.date) : Text(Date() + EncodeTime(13, 45, 0, 0)));
  }
}

TEST_F(DateTimePickerTest, DaysOutsideTheLimitsCannotBePicked) {
  picker->SetMinDate(Moment(2024, 1, 20));
  picker->SetDate(Moment(2024, 1, 20));
  Press(VK_F4);
  TCalendarWindow& calendar = *picker->Calendar();
  Click(calendar, Centre(calendar.DayRect(Moment(2024, 1, 19))));
  EXPECT_TRUE(picker->DroppedDown()) << "the 19th is refused";
  Press(VK_LEFT);
  EXPECT_EQ(calendar.Selected(), Moment(2024, 1, 20));
  Press(VK_ESCAPE);
}

// The arrows stop at the calendar's first and last day, Page Up and Page Down (and the title's arrows)
// at its first and last month, and the days shown past its last one are not to be picked.
TEST_F(DateTimePickerTest, CalendarStopsAtTheCalendarsEnds) {
  struct Case {
    TDateTime date;
    WORD key;
  };
  const Case cases[] = {
      {Moment(9999, 12, 31), VK_RIGHT},
      {Moment(9999, 12, 27), VK_DOWN},
      {Moment(1, 1, 1), VK_LEFT},
      {Moment(1, 1, 3), VK_UP},
      {Moment(9999, 12, 15), VK_NEXT},
      {Moment(1, 1, 15), VK_PRIOR},
  };
  std::string raised;
  Application().OnException = [&](const Exception& e) { raised += e.Message(); };
  for (const Case& c : cases) {
    SCOPED_TRACE(Text(c.date));
    picker->SetDate(c.date);
    Press(VK_F4);
    TCalendarWindow& calendar = *picker->Calendar();
    Press(c.key);
    Settle();
    EXPECT_EQ(calendar.Selected(), c.date);
    Press(VK_ESCAPE);
  }
  picker->SetDate(Moment(9999, 12, 31));
  Press(VK_F4);
  TCalendarWindow& calendar = *picker->Calendar();
  Click(calendar, Centre(calendar.NextArrow()));
  EXPECT_EQ(calendar.ShownMonth(), 12);
  EXPECT_EQ(calendar.ShownYear(), 9999);
  EXPECT_EQ(raised, "");
  Application().OnException = nullptr;
  Click(calendar, Centre(calendar.DayRect(Moment(9999, 12, 31) + 1)));
  EXPECT_TRUE(picker->DroppedDown()) << "the day after the last is refused";
  Press(VK_ESCAPE);
}

// OnChange may free the picker (and its calendar) as a day is clicked or a field's last digit typed.
TEST_F(DateTimePickerTest, ChangeHandlerMayFreeThePicker) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"a day clicked", [this] {
         Press(VK_F4);
         TCalendarWindow& calendar = *picker->Calendar();
         Click(calendar, Centre(calendar.DayRect(Moment(2024, 1, 10))));
       }},
      {"a day typed", [this] { Type("5"); }},
  };
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    if (!picker) picker = Place<TDateTimePicker>(Rect(8, 8, 180, 29));
    picker->SetDateTime(Moment(2024, 1, 31, 13, 45));
    picker->SetFocus();
    Settle();
    picker->OnChange = [this](TObject*) { delete std::exchange(picker, nullptr); };
    change();
    EXPECT_EQ(picker, nullptr);
  }
}

TEST_F(DateTimePickerTest, LoadsFromAFormResource) {
  TForm loaded(nullptr);
  ReadFormText(loaded, R"(
Form1: TForm {
  Until: TDateTimePicker { Kind = dtkTime  DateMode = dmUpDown  DateFormat = dfLong  ShowCheckbox = True  Checked = False }
}
)",
               "TFORM1.DE", TFormMethods{});
  auto& until = dynamic_cast<TDateTimePicker&>(*loaded.FindComponent("Until"));
  EXPECT_EQ(until.Kind(), TDateTimeKind::dtkTime);
  EXPECT_EQ(until.DateMode(), TDTDateMode::dmUpDown);
  EXPECT_EQ(until.DateFormat(), TDTDateFormat::dfLong);
  EXPECT_TRUE(until.ShowCheckbox());
  EXPECT_FALSE(until.Checked());
}

TEST_F(DateTimePickerTest, Screenshots) {
  form->SetBounds(100, 100, 220, 80);
  form->Font().SetName("Tahoma");  // a real face for people to look at; nothing here is measured
  form->Font().SetSize(8);
  picker->SetBounds(10, 10, 120, 21);
  auto* checked = Place<TDateTimePicker>(Rect(10, 40, 130, 61));
  checked->SetKind(TDateTimeKind::dtkTime);
  checked->SetShowCheckbox(true);
  checked->SetTime(EncodeTime(9, 30, 0, 0));
  picker->SetFocus();
  Press(VK_RIGHT);
  SaveArtefact(Input(), form->BackendWindow(), "datetimepicker");
  Press(VK_F4);
  SaveArtefact(Input(), picker->Calendar()->BackendWindow(), "datetimepicker_calendar");
  Press(VK_ESCAPE);
}

}  // namespace
}  // namespace platform
