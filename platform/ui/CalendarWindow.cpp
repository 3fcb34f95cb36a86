#include "platform/ui/CalendarWindow.h"

#include <cmath>

#include "platform/core/Utf8.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Backend.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kPad = 4;
constexpr int kWeeks = 6;

// Monday 0 .. Sunday 6 (day 0, 1899-12-30, was a Saturday).
int WeekDayFromMonday(TDateTime date) {
  const auto day = static_cast<long long>(std::floor(date));
  return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

// The first two characters of a day's short name: "Mo", "Tu", ...
std::string DayInitials(int weekDayFromMonday) {
  const std::u32string name = DecodeText(FormatSettings().ShortDayNames[static_cast<size_t>((weekDayFromMonday + 1) % 7)]);
  return EncodeText(name.substr(0, 2));
}

}  // namespace

TCalendarWindow::TCalendarWindow(TDateTimePicker& Picker) : picker_(Picker) {}

int TCalendarWindow::RowHeight() { return Canvas().TextHeight("0") + 4; }

int TCalendarWindow::CellWidth() {
  TCanvas& canvas = Canvas();
  int width = canvas.TextWidth("00");
  for (int day = 0; day < 7; ++day) width = std::max(width, canvas.TextWidth(DayInitials(day)));
  return width + 8;
}

void TCalendarWindow::OpenAt(TDateTime date) {
  Font().Assign(picker_.Font());
  Canvas().SetFont(Font());
  picked_ = false;
  Select(date);
  // The client area and the one-pixel frame around it.
  const TSize size{2 * kPad + 7 * CellWidth() + 2, TodayLine().Bottom + kPad + 2};
  Open(DropDownBounds(ScreenBounds(picker_), size, Backend().ScreenRect()));
}

TDateTime TCalendarWindow::FirstShownDay() const {
  const TDateTime first = EncodeDate(year_, month_, 1);
  return first - WeekDayFromMonday(first);
}

bool TCalendarWindow::Pickable(TDateTime date) const {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  if (year == 0) return false;  // before the calendar's first day or after its last
  const TDateTime min = picker_.MinDate();
  const TDateTime max = picker_.MaxDate();
  return (min == 0 || date >= DatePart(min)) && (max == 0 || date <= DatePart(max));
}

void TCalendarWindow::Select(TDateTime date) {
  selected_ = DatePart(date);
  int day = 0;
  DecodeDate(selected_, year_, month_, day);
  Invalidate();
}

void TCalendarWindow::ShowMonth(int delta) {
  const int months = year_ * 12 + (month_ - 1) + delta;
  if (months < 12 || months >= 10000 * 12) return;  // past the calendar's first or last month
  Select(IncMonth(selected_, delta));
  year_ = months / 12;
  month_ = months % 12 + 1;
}

void TCalendarWindow::Pick(TDateTime date) {
  if (!Pickable(date)) return;
  selected_ = date;
  picked_ = true;
  Close();
}

void TCalendarWindow::CloseUp() {
  const bool picked = std::exchange(picked_, false);
  picker_.CalendarClosed(picked, selected_);
}

bool TCalendarWindow::Key(WORD key) {
  auto move = [&](int days) {
    if (Pickable(selected_ + days)) Select(selected_ + days);
  };
  switch (key) {
    case VK_LEFT: move(-1); return true;
    case VK_RIGHT: move(1); return true;
    case VK_UP: move(-7); return true;
    case VK_DOWN: move(7); return true;
    case VK_PRIOR: ShowMonth(-1); return true;
    case VK_NEXT: ShowMonth(1); return true;
    case VK_RETURN: Pick(selected_); return true;
    case VK_ESCAPE: Close(); return true;
    default: return false;
  }
}

TRect TCalendarWindow::PreviousArrow() {
  const int size = RowHeight();
  return Bounds(kPad, 3, size, size);
}

TRect TCalendarWindow::NextArrow() {
  const int size = RowHeight();
  return Bounds(kPad + 7 * CellWidth() - size, 3, size, size);
}

TRect TCalendarWindow::DayRect(TDateTime date) {
  const auto index = static_cast<int>(std::lround(DatePart(date) - FirstShownDay()));
  if (index < 0 || index >= 7 * kWeeks) return {};
  const int top = PreviousArrow().Bottom + 3 + RowHeight() + 2;
  return Bounds(kPad + index % 7 * CellWidth(), top + index / 7 * RowHeight(), CellWidth(), RowHeight());
}

TRect TCalendarWindow::TodayLine() {
  const int top = PreviousArrow().Bottom + 3 + RowHeight() + 2 + kWeeks * RowHeight() + 2;
  return Rect(kPad, top, kPad + 7 * CellWidth(), top + RowHeight());
}

void TCalendarWindow::PopupMouse(UINT Msg, TPoint client) {
  if (Msg != WM_LBUTTONDOWN) return;
  if (PtInRect(PreviousArrow(), client)) {
    ShowMonth(-1);
  } else if (PtInRect(NextArrow(), client)) {
    ShowMonth(1);
  } else if (PtInRect(TodayLine(), client)) {
    Pick(Date());
  } else {
    for (TDateTime day = FirstShownDay(), last = day + 7 * kWeeks; day < last; ++day)
      if (PtInRect(DayRect(day), client)) {
        Pick(day);  // may free the picker and its calendar
        return;
      }
  }
}

void TCalendarWindow::Paint() {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  const TRect client = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(clWindow);
  canvas.FillRect(client);
  constexpr unsigned kCentred = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX;

  // The title: the month between its arrows.
  const TRect title = Rect(client.Left, client.Top, client.Right, PreviousArrow().Bottom + 3);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(title);
  TRect arrow = PreviousArrow();
  DrawFrameControl(canvas.Handle(), arrow, DFC_SCROLL, DFCS_SCROLLLEFT);
  arrow = NextArrow();
  DrawFrameControl(canvas.Handle(), arrow, DFC_SCROLL, DFCS_SCROLLRIGHT);
  canvas.Font().SetColor(clBtnText);
  canvas.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
  DrawCaption(canvas, FormatDateTime("mmmm yyyy", EncodeDate(year_, month_, 1)), title, kCentred, true);
  canvas.Font().SetStyle(TFontStyles{});

  // The week days over a line.
  const int namesTop = title.Bottom + 1;
  canvas.Font().SetColor(clHighlight);
  for (int day = 0; day < 7; ++day)
    DrawCaption(canvas, DayInitials(day), Bounds(kPad + day * CellWidth(), namesTop, CellWidth(), RowHeight()), kCentred, true);
  canvas.Brush().SetColor(clGrayText);
  canvas.FillRect(Rect(kPad, namesTop + RowHeight(), kPad + 7 * CellWidth(), namesTop + RowHeight() + 1));

  const TDateTime today = Date();
  for (TDateTime day = FirstShownDay(), last = day + 7 * kWeeks; day < last; ++day) {
    int year = 0, month = 0, dayOfMonth = 0;
    DecodeDate(day, year, month, dayOfMonth);
    if (year == 0) continue;  // after the calendar's last day
    const TRect cell = DayRect(day);
    const bool selected = day == selected_;
    if (selected) {
      canvas.Brush().SetColor(clHighlight);
      canvas.FillRect(cell);
    }
    canvas.Font().SetColor(selected ? clHighlightText : (month != month_ || !Pickable(day)) ? clGrayText : clWindowText);
    canvas.Font().SetStyle(Pickable(day) ? TFontStyles{} : TFontStyles{TFontStyle::fsStrikeOut});
    DrawCaption(canvas, std::to_string(dayOfMonth), cell, kCentred, true);
    if (day == today) {
      canvas.Brush().SetColor(clRed);
      canvas.FrameRect(cell);
    }
  }
  canvas.Font().SetStyle(TFontStyles{});

  // Today, with the red frame that marks it in the month.
  const TRect line = TodayLine();
  const TRect mark = Bounds(line.Left + 2, line.Top + 2, CellWidth() - 4, line.Height() - 4);
  canvas.Brush().SetColor(clRed);
  canvas.FrameRect(mark);
  canvas.Font().SetColor(clWindowText);
  DrawCaption(canvas, DateToStr(today), Rect(mark.Right + 6, line.Top, line.Right, line.Bottom),
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, true);
}

}  // namespace platform
