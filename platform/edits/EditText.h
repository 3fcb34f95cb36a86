#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// How an edit changes the case of the text that is typed or pasted into it.
enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// The text rules of the edit controls, on UTF-8 text with byte offsets. A caret stop is a place the
// caret can stand: between two characters (code points), never inside one, and never between the CR
// and LF of a line break, which the caret passes and deletion removes as one.

size_t NextCaretStop(std::string_view text, size_t pos);
size_t PreviousCaretStop(std::string_view text, size_t pos);

// The caret stop at `pos`, or the one before it when `pos` is none (at most text.size()).
size_t CaretStopAtOrBefore(std::string_view text, size_t pos);

// Ctrl+Left: the start of the word before `pos`; Ctrl+Right: the start of the word after it (past the
// blanks that follow the word). Words are runs of letters and digits, or runs of punctuation.
size_t WordStartBefore(std::string_view text, size_t pos);
size_t WordStartAfter(std::string_view text, size_t pos);
// The word (or run of blanks) around `pos` as [first, last): what a double click selects.
void WordAround(std::string_view text, size_t pos, size_t& first, size_t& last);

// Where Left (or Right, `forward`) takes the caret, by words with Ctrl (`byWord`): without either and
// without Shift (`extend`) a selection collapses to its start (or end).
size_t CaretAfterHorizontalKey(std::string_view text, size_t anchor, size_t caret, bool forward, bool byWord,
                               bool extend);

// The other end of what Backspace (or Delete) removes: the selection's anchor, else the caret stop before
// (after) the caret; the caret itself when there is nothing to remove.
enum class TDeleteKey { Backspace, Delete };
size_t DeletionEnd(std::string_view text, size_t anchor, size_t caret, TDeleteKey key);

// The length in bytes of a line break at `pos` (CR LF, CR or LF), 0 when none begins there.
size_t LineBreakAt(std::string_view text, size_t pos);
// Pasted text for a single-line edit: the text up to its first line break.
std::string FirstLine(std::string_view text);
// Pasted text without control characters (a NUL would end the text), except line breaks and, when
// `keepTabs`, tabs.
std::string WithoutControlCharacters(std::string_view text, bool keepTabs);
// Pasted text for a multi-line edit: every line break made CR LF.
std::string WithCrLfBreaks(std::string_view text);

// The byte offset of character `index` (clamped to the end) and the character index of a byte offset.
size_t ByteOfChar(std::string_view text, size_t index);
size_t CharOfByte(std::string_view text, size_t byte);

// The text (or character) in the case the edit asks for; characters without a case stay as they are.
std::string ApplyCharCase(std::string_view text, TEditCharCase charCase);
char32_t ApplyCharCase(char32_t c, TEditCharCase charCase);

// A letter of any script.
bool IsLetter(char32_t c);

}  // namespace platform
