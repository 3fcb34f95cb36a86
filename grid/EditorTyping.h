#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/core/StringList.h"

namespace velmora {

// What the grid's editors share about typing: the number filters of the numeric kinds and the
// completion of a typed prefix from a list (and the grid's search by a typed prefix). Positions and lengths count characters (code points).

enum class TNumberFilter : uint8_t { Integer, PositiveInteger, Float };

// Whether a typed character may go into `text` whose selection is [selStart, selStart + selLength):
// Backspace, Tab, Enter and digits always; "-" once, in front (or over a selected "-" of a float);
// a float's one separator ("." or ",") unless the text keeps one outside the selection. A refused
// character beeps, except a float's letters and surplus separators, which are dropped silently.
bool NumberCharAccepted(TNumberFilter filter, char32_t c, std::string_view text, int selStart, int selLength);

// The leading number of a unit cell (sign, digits, "," and ".") and the unit from the first other
// character on, so that the two joined are always the cell's text ("12a3 kg": "12" and "a3 kg").
std::pair<std::string, std::string> SplitNumberAndUnit(std::string_view text);

// Whether `text` begins with `prefix`, compared upper-cased unless caseSensitive.
bool BeginsWith(std::string_view text, std::string_view prefix, bool caseSensitive);

// The completion of `typed` from the first item (in list order) that begins with it, compared upper-
// cased unless caseSensitive: the typed characters followed by the rest of the item. False, and the
// index -1, when no item begins with it or nothing was typed.
bool CompleteFromList(const platform::TStringList& items, std::string_view typed, bool caseSensitive,
                      std::string& completed, int& index);

}  // namespace velmora
