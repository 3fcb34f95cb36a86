#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "controls/html/MarkupText.h"
#include "platform/core/DateTime.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include "platform/grids/Grids.h"

namespace platform {
class TBitmap;
class TStringList;
class TWinControl;
}  // namespace platform

namespace velmora {

// The grid's free routines: text conversions, number and date recognition, the pattern language of
// filters and searches, and two drawing helpers. They keep no state and read the separators and the
// short date format from platform::FormatSettings() at each call. Strings are UTF-8 byte strings and
// positions are 1-based bytes; parsing works on ASCII bytes and leaves other bytes alone.

// ---- Pattern matching -------------------------------------------------------------------------------
//
// A compound pattern is simple patterns joined by "&" (and), ";" or "^" (both or), combined strictly from
// left to right without precedence; blanks around the operators do not count.
//
// A simple pattern is either a comparison or a wildcard pattern. ">x", ">=x", "<x" and "<=x" compare the
// text with the operand x (it ends at a blank, "&" or "|"): as numbers when both convert, else as dates
// in the short date format's order when both read as dates, else byte by byte. A comparison that holds
// decides the match; one that fails falls back to wildcard matching of the whole pattern. In a wildcard
// pattern "*" matches any run of characters, "?" any one byte, and "!" anywhere inverts the result.
// Matching takes time linear in the text for every pattern (see WildcardMatch.h).

// The text satisfies the compound pattern; without caseSensitive both are compared upper-cased.
bool MatchStrEx(std::string_view pattern, std::string_view text, bool caseSensitive);
// The text satisfies one simple pattern.
bool MatchStr(std::string_view pattern, std::string_view text, bool caseSensitive);
// The core matcher of one simple pattern, case-sensitive.
bool Matches(std::string_view pattern, std::string_view text);

// ---- Recognition and conversion of values -----------------------------------------------------------

// 0 for an integer ("-12"), 1 for a number with thousand or decimal separators ("-1.5", "1,234"),
// 2 for anything else, the empty text included. A sign is accepted only in front, and a number needs a
// digit.
int IsType(std::string_view text);

// 0 plain text, 1 markup (only with markupEnabled: the text holds "</", "<B" or "<I"), 2 rich text
// (starts "{\"), 3 formula (starts "=").
int TextType(std::string_view text, bool markupEnabled);

// The numeric part of a displayed number: leading signs, currency and blanks dropped, thousand
// separators removed, the decimal separator made ".", the scan ended at the first other character;
// "(12)" and a leading "-" give a negative value. "" stays "".
std::string RemoveSeps(std::string_view text);

// When the locale's decimal separator is ",", the first "," becomes "."; else the text unchanged.
std::string FixDecimalSeparator(std::string_view text);

// Dates written as three numbers separated by the first of "/", "." or "-" that the text holds: day,
// month, year (EU) or month, day, year (US). A year below 100 lies in 1926..2025 (below 26 in the
// 2000s); a longer year stands as written. 0 when a number does not convert or the separator is
// missing; an impossible day or month raises platform::EConvertError.
platform::TDateTime StrToShortDateEU(std::string_view text);
platform::TDateTime StrToShortdateUS(std::string_view text);

// With exactly one of years, months and days non-zero: the date moved by that many years, months
// (carried into the year) or days, its time of day kept; otherwise date + stepDate. A result that is no
// date (31 January + 1 month) raises platform::EConvertError.
platform::TDateTime GetNextDate(platform::TDateTime date, uint16_t years, uint16_t months, uint16_t days,
                                platform::TDateTime stepDate);

// A cell named "R<row>C<column>" (any case, decimal digits): true, with cell = (column, row).
bool NameToCell(std::string_view name, platform::TPoint& cell);

// The cell lies in the block, both corners included.
inline bool IsInGridRect(const platform::TGridRect& gridRect, int col, int row) { return gridRect.Contains(col, row); }

inline int Max(int a, int b) { return std::max(a, b); }
inline int Min(int a, int b) { return std::min(a, b); }

// ---- Line breaks ------------------------------------------------------------------------------------
//
// The grid separates the lines of a cell by CR, usually followed by LF.

// 1 + the number of CRs with multiLine, else 1.
int LinesInText(std::string_view text, bool multiLine);
// line := the text up to its first CR; the CR and an LF right after it are removed from the text, and
// without keepRest the rest of the text too. A text without CR becomes the line, and the text "".
void GetNextLine(std::string& text, bool keepRest, std::string& line);
std::string CLFToLF(std::string_view text);         // "\n" (backslash, n) -> CR
std::string LFToCLF(std::string_view text);         // CR -> "\n"; LF dropped
std::string HTMLLineBreaks(std::string_view text);  // CR -> "<br>"
// CR LF -> LF, then the whole text in double quotes (inner quotes are the caller's business).
std::string LineFeedsToCSV(std::string_view text);
// An LF that is not part of a CR LF becomes CR LF.
std::string CSVToLineFeeds(std::string_view text);
std::string LineFeedsToJava(std::string_view text);  // CR -> "~"; LF dropped
std::string JavaToLineFeeds(std::string_view text);  // "~" -> CR LF
std::string LineFeedsToXLS(std::string_view text);   // CR dropped
// For the one line per cell of the grid's own file: when the text holds a CR, CR -> byte 9 and LF ->
// byte 8. FileToLf reverses it when the text holds byte 8, keeping the whole text with keepAll and
// else only its first line.
std::string LfToFile(std::string_view text);
std::string FileToLf(std::string_view text, bool keepAll);

// ---- Other text routines ----------------------------------------------------------------------------

// Position of sub (expected upper-case) in the upper-cased text; 0 when absent.
int FIPos(std::string_view sub, std::string_view text);
// Position of sub in text, also stored in position: the markup utilities' routine.
using controls::VarPos;
// The text before the first separator, removed from text with the separator; "" (text unchanged) when
// the separator does not occur.
std::string GetToken(std::string& text, std::string_view separator);
// The first byte of the text that is one of `characters`; '\0' when none.
char FirstChar(std::string_view characters, std::string_view text);
// Position of the first occurrence of c that is not doubled (neither neighbour is c); an occurrence at
// the last position always counts. 0 when none.
int SinglePos(char c, std::string_view text);
// The number of such single occurrences.
int NumSingleChar(char c, std::string_view text);
// Every run of c collapsed to one.
std::string DoubleToSingleChar(char c, std::string_view text);
// Every character (code point) replaced by c.
void StringToPassword(std::string& text, char c);
// The OEM and the ANSI code page are both UTF-8 on this platform: the text stays as it is.
void StringToOem(std::string& text);
void OemToString(std::string& text);
// First letter of every word upper case, other ASCII letters lower case; words are separated by blank,
// apostrophe, ",", "-" and "."; "Mc" at a word's start makes the next letter upper case too, and a
// letter among the last two of the text after " I" or " II" stays upper case (Henry II, Louis IV).
std::string ShiftCase(std::string_view text);
// The text holds "://" or "mailto:".
bool IsURL(std::string_view text);
// Removes everything through "://", else through "mailto:".
void StripURLProtocol(std::string& text);
// Six upper-case hexadecimal digits RRGGBB (a system colour by its RGB value).
std::string HTMLColor(platform::TColor color);
// "[left:top][right:bottom]".
std::string RectString(const platform::TRect& r);
// All lines joined with no separator.
std::string StringListToText(const platform::TStringList& list);

// ---- Drawing ----------------------------------------------------------------------------------------

// Draws the bitmap stretched into r with `transparent` left out: through a work bitmap filled with the
// canvas's brush colour, so those pixels show the brush.
void DrawBitmapTransp(platform::TCanvas& canvas, platform::TBitmap& bitmap, platform::TColor transparent,
                      const platform::TRect& r);
// The same with the program's bitmap resource of that name; raises platform::EResNotFound.
void DrawBitmapResourceTransp(platform::TCanvas& canvas, platform::TColor transparent, const platform::TRect& r,
                              const std::string& resourceName);

// Underlines `length` characters (code points) of text, from the 1-based character `first`, with a red
// zig-zag 2 pixels wide, as the text stands in a single-line edit of r's size in the canvas's font at
// r's place: from 3 pixels below r.Top + verticalOffset it goes up and down by 3 pixels every 3
// pixels to the right. The characters' places come from a hidden edit made on `control` for the call;
// a run that reaches the end of the text ends 4 pixels past its last character's start. Nothing is
// drawn for a run outside the text.
void DrawErrorLines(platform::TWinControl& control, platform::TCanvas& canvas, const std::string& text,
                    const platform::TRect& r, int first, int length, int verticalOffset);

}  // namespace velmora
