#include "platform/ui/DateTimeFields.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Ascii.h"

namespace platform {

namespace {

constexpr double kMsPerDay = 86'400'000.0;

void AddLiteral(std::vector<TDateTimeSegment>& segments, std::string_view text) {
  if (text.empty()) return;
  if (!segments.empty() && segments.back().field == TDateTimeField::None)
    segments.back().spec += text;
  else
    segments.push_back({TDateTimeField::None, std::string(text)});
}

void Split(std::string_view format, const TFormatSettings& settings, std::vector<TDateTimeSegment>& segments,
           int depth) {
  auto lastField = [&] {
    for (auto it = segments.rbegin(); it != segments.rend(); ++it)
      if (it->field != TDateTimeField::None) return it->field;
    return TDateTimeField::None;
  };
  auto expand = [&](std::string_view nested) {
    if (depth < 2) Split(nested, settings, segments, depth + 1);  // formats naming formats end here
  };
  for (size_t i = 0; i < format.size();) {
    const char c = AsciiLower(format[i]);
    size_t run = 1;
    while (i + run < format.size() && AsciiLower(format[i + run]) == c) ++run;
    const std::string_view rest = format.substr(i);
    if (c == '"' || c == '\'') {
      const size_t close = format.find(format[i], i + 1);
      const size_t end = close == std::string_view::npos ? format.size() : close;
      AddLiteral(segments, format.substr(i + 1, end - i - 1));
      i = std::min(format.size(), end + 1);
      continue;
    }
    if (c == 'a') {
      const std::string_view marker = [&]() -> std::string_view {
        for (std::string_view m : {"am/pm", "ampm", "a/p"})
          if (SameText(rest.substr(0, m.size()), m)) return m;
        return {};
      }();
      if (!marker.empty()) {
        segments.push_back({TDateTimeField::AmPm, std::string(rest.substr(0, marker.size()))});
        i += marker.size();
        continue;
      }
    }
    switch (c) {
      case 'd':
        if (run == 5) expand(settings.ShortDateFormat);
        else if (run >= 6) expand(settings.LongDateFormat);
        else segments.push_back({run <= 2 ? TDateTimeField::Day : TDateTimeField::WeekDay, std::string(run, 'd')});
        break;
      case 'm':
        if (run <= 2 && lastField() == TDateTimeField::Hour)
          segments.push_back({TDateTimeField::Minute, std::string(run, 'n')});
        else
          segments.push_back({TDateTimeField::Month, std::string(std::min<size_t>(run, 4), 'm')});
        break;
      case 'y': segments.push_back({TDateTimeField::Year, run <= 2 ? "yy" : "yyyy"}); break;
      case 'h': segments.push_back({TDateTimeField::Hour, std::string(std::min<size_t>(run, 2), 'h')}); break;
      case 'n': segments.push_back({TDateTimeField::Minute, std::string(std::min<size_t>(run, 2), 'n')}); break;
      case 's': segments.push_back({TDateTimeField::Second, std::string(std::min<size_t>(run, 2), 's')}); break;
      case 't': expand(run == 1 ? settings.ShortTimeFormat : settings.LongTimeFormat); break;
      case 'c':
        expand(settings.ShortDateFormat);
        AddLiteral(segments, " ");
        expand(settings.LongTimeFormat);
        break;
      case '/': AddLiteral(segments, std::string(run, settings.DateSeparator)); break;
      case ':': AddLiteral(segments, std::string(run, settings.TimeSeparator)); break;
      default: AddLiteral(segments, format.substr(i, run)); break;
    }
    i += run;
  }
}

bool HasAmPm(const std::vector<TDateTimeSegment>& segments) {
  return std::any_of(segments.begin(), segments.end(),
                     [](const TDateTimeSegment& s) { return s.field == TDateTimeField::AmPm; });
}

int Wrap(int value, int delta, int first, int last) {
  const int span = last - first + 1;
  return first + (((value - first + delta) % span) + span) % span;
}

}  // namespace

std::vector<TDateTimeSegment> SplitDateTimeFormat(std::string_view format, const TFormatSettings& settings) {
  std::vector<TDateTimeSegment> segments;
  Split(format, settings, segments, 0);
  if (HasAmPm(segments))
    for (TDateTimeSegment& segment : segments)
      if (segment.field == TDateTimeField::Hour) segment.spec += " am/pm";  // the 12-hour clock
  return segments;
}

std::string SegmentText(const TDateTimeSegment& segment, TDateTime value, const TFormatSettings& settings) {
  switch (segment.field) {
    case TDateTimeField::None: return segment.spec;
    case TDateTimeField::Hour: {
      // FormatDateTime gives the 12-hour clock only beside an AM/PM marker: format both, keep the hour.
      const std::string text = FormatDateTime(segment.spec, value, settings);
      return text.substr(0, text.find(' '));
    }
    default: return FormatDateTime(segment.spec, value, settings);
  }
}

TDateTime DatePart(TDateTime value) { return std::trunc(value); }

TDateTime TimeOfDay(TDateTime value) { return std::fabs(value - std::trunc(value)); }

TDateTime CombineDateTime(TDateTime date, TDateTime timeOfDay) {
  return date < 0 ? date - timeOfDay : date + timeOfDay;
}

int DaysInMonth(int year, int month) {
  TDateTime ignored;
  int days = 31;
  while (days > 28 && !TryEncodeDate(year, month, days, ignored)) --days;
  return days;
}

TDateTime StepDateTimeField(TDateTime value, TDateTimeField field, int delta) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  if (year == 0) return value;  // outside the calendar: nothing to step
  const TDateTime time = TimeOfDay(value);
  auto withDate = [&](int y, int m, int d) {
    return CombineDateTime(EncodeDate(y, m, std::min(d, DaysInMonth(y, m))), time);
  };
  auto withTime = [&](double ms) { return CombineDateTime(DatePart(value), ms / kMsPerDay); };
  const double ms = std::round(time * kMsPerDay);
  switch (field) {
    case TDateTimeField::Day: return withDate(year, month, Wrap(day, delta, 1, DaysInMonth(year, month)));
    case TDateTimeField::Month: return withDate(year, Wrap(month, delta, 1, 12), day);
    case TDateTimeField::Year: return withDate(std::clamp(year + delta, 1, 9999), month, day);
    case TDateTimeField::WeekDay: {
      TDateTime moved = DatePart(value) + delta;
      DecodeDate(moved, year, month, day);
      return year == 0 ? value : withDate(year, month, day);
    }
    case TDateTimeField::Hour:
    case TDateTimeField::Minute:
    case TDateTimeField::Second: {
      const double unit = field == TDateTimeField::Hour ? 3'600'000.0 : field == TDateTimeField::Minute ? 60'000.0 : 1'000.0;
      const int range = field == TDateTimeField::Hour ? 24 : 60;
      const double larger = field == TDateTimeField::Hour ? kMsPerDay : unit * range;
      const int current = static_cast<int>(std::fmod(ms, larger) / unit);
      return withTime(ms + (Wrap(current, delta, 0, range - 1) - current) * unit);
    }
    case TDateTimeField::AmPm:
      if (delta % 2 == 0) return value;
      return withTime(std::fmod(ms + kMsPerDay / 2, kMsPerDay));
    case TDateTimeField::None: break;
  }
  return value;
}

int DateTimeFieldMaximum(TDateTime value, TDateTimeField field) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  switch (field) {
    case TDateTimeField::Day: return year == 0 ? 31 : DaysInMonth(year, month);
    case TDateTimeField::Month: return 12;
    case TDateTimeField::Year: return 9999;
    case TDateTimeField::Hour: return 23;
    case TDateTimeField::Minute:
    case TDateTimeField::Second: return 59;
    default: return 0;
  }
}

bool SetDateTimeField(TDateTime value, TDateTimeField field, int number, TDateTime& result) {
  const int minimum = field == TDateTimeField::Day || field == TDateTimeField::Month || field == TDateTimeField::Year ? 1 : 0;
  const int maximum = DateTimeFieldMaximum(value, field);
  if (maximum == 0 || number < minimum || number > maximum) return false;
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  if (year == 0) return false;
  int hour = 0, minute = 0, second = 0, ms = 0;
  DecodeTime(value, hour, minute, second, ms);
  switch (field) {
    case TDateTimeField::Day: day = number; break;
    case TDateTimeField::Month: month = number; break;
    case TDateTimeField::Year: year = number; break;
    case TDateTimeField::Hour: hour = number; break;
    case TDateTimeField::Minute: minute = number; break;
    default: second = number; break;
  }
  result = CombineDateTime(EncodeDate(year, month, std::min(day, DaysInMonth(year, month))),
                           EncodeTime(hour, minute, second, ms));
  return true;
}

}  // namespace platform
