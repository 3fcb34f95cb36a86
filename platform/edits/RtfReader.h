#pragma once

#include <string_view>

#include "platform/edits/RichText.h"

namespace platform {

// Reads the subset of the Rich Text Format that the rich edit shows: the font and colour tables, bold,
// italic, underline, strike-out, size, font, colour, super- and subscript (\super, \sub, \up, \dn),
// paragraph alignment, paragraph and line breaks, tabs, table cells (as tabs) and rows (as paragraphs),
// \uN with its \ucN fallback count, and \'hh bytes in the document's code page (\ansicpg, \pca; 1252
// and 850). Destinations marked \* and those that hold no text (style sheet, document information,
// pictures, headers and footers, ...) and every other control word are skipped.
//
// It never fails: malformed input (an unbalanced group, a truncated file, a huge number, nesting
// deeper than it keeps track of) gives the text read so far. Time is linear in the input and the
// document holds at most a few bytes per input byte. Text that does not begin with "{\rtf" is taken
// as plain text. `defaults` is the format of text that sets none.
TRichText ReadRtf(std::string_view rtf, const TRichCharFormat& defaults);

// True when the bytes begin as a rich text document does.
bool LooksLikeRtf(std::string_view text);

}  // namespace platform
