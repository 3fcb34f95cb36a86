#pragma once

#include <string>
#include <string_view>

#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"

namespace controls {

// The rules of the spin edits' values, apart from any control: clamping, the hexadecimal text, the
// steps by caret position and the filter of typed characters.

enum class TSpinValueKind { Integer, Float, Date, Time, Hex };

// The value kept inside [min, max]; equal bounds mean no bounds.
template <class T>
T ClampToBounds(T value, T min, T max) {
  if (min == max) return value;
  return value < min ? min : (max < value ? max : value);
}

// "0x" and the upper-case hexadecimal digits of the value's 32 bits.
std::string HexText(int value);
// The value of a hexadecimal text after its first two characters (the "0x"): digits in either case, read
// up to the first character that is not one, wrapping as 32 bits.
int HexTextValue(std::string_view text);

// The step that changes the digit just left of the caret by one ("smart" stepping). At the start of the
// text, or right after a leading "-", it is `increment`. Right of the decimal separator it is a decimal
// fraction for floats and 0 (nothing to step) for integers.
double SmartStep(std::string_view text, int caret, char decimalSeparator, double increment, bool isFloat);

// The date moved by `direction` (+1 or -1) in the field of the caret: the fields are separated by the
// date separator and ordered as in the short date format. A day step keeps the time of day; a month step
// clamps the day to the target month; a year step drops the time of day and clamps the day too (29
// February lands on 28 February). A step out of the years 1..9999 leaves the date as it is.
platform::TDateTime StepDateField(platform::TDateTime date, std::string_view text, int caret, int direction,
                                  const platform::TFormatSettings& settings);
// The time of day moved by `direction` hours, minutes or seconds as the caret stands before the first time
// separator, before the second or after it; it wraps round midnight.
platform::TDateTime StepTimeField(platform::TDateTime time, std::string_view text, int caret, int direction,
                                  char timeSeparator);

// Where the spin edits' filters differ.
struct TSpinFilterRules {
  bool decimalNeedsPrecision = false;  // a float takes no decimal separator at Precision 0
  int maxTimeSeparators = 2;           // the time separators a time text may hold
};

// What the filter looks at when a character is typed; positions are characters.
struct TSpinTyping {
  TSpinValueKind kind = TSpinValueKind::Integer;
  int precision = 0;
  bool editorEnabled = true;
  std::string_view text;
  int selStart = 0;
  int selLength = 0;
};

// Whether the typed key is taken. Taken are signs, digits, the decimal, thousand, date and time
// separators and control characters other than Enter; the date separator only in dates and the time
// separator only in times (unless it is also a sign or a number separator). A float turns a thousand
// separator into the decimal separator and limits its decimals to Precision; a hexadecimal text takes
// hexadecimal digits behind its "0x" only. Without EditorEnabled only control characters other than
// Backspace pass.
bool FilterSpinKey(char32_t& key, const TSpinTyping& typing, const TSpinFilterRules& rules,
                   const platform::TFormatSettings& settings);

}  // namespace controls
