#pragma once

#include <string>
#include <string_view>

namespace controls {

// String routines over the mini-markup that need no canvas: its plain and visible text, marking every
// occurrence of a search text with a tag pair that the renderer draws ("hi" highlights, "e" underlines
// as an error) and removing such pairs again, and the helpers the renderer's parser is built from.
// Positions are 1-based byte positions; tags, entities and upper-casing work on ASCII bytes and leave
// every other byte (the rest of UTF-8) alone.

// The plain text: "<BR>" and "<HR>" written exactly so (any case) become CR LF, every other tag goes.
// A "<" without a ">" after it is kept with the rest of the text.
std::string StripHTML(std::string_view markup);

// The text outside tags, without line-break conversion; a "<" without a ">" after it and everything
// after it are not visible.
std::string VisibleText(std::string_view markup);

// The position in the markup of the visible character at visible position k (1-based): tags before
// that character count to it, so text inserted there lands before them. Length + 1 for the position
// just past the visible text, 0 beyond it.
int VisibleToRaw(std::string_view markup, int k);

// Searches `search` in the visible text after its first `start` characters (ASCII case ignored unless
// caseSensitive). Returns and stores in found the position of the match in the whole visible text, or 0.
int FindVisible(std::string_view search, std::string_view visible, int start, int& found, bool caseSensitive);

// Puts every occurrence of `search` in the visible text between "<tag>" and "</tag>" and stores the
// markup in result. Occurrences do not overlap; one that touches the previous one is marked too. An
// empty search text leaves the markup unchanged.
void HilightHTML(std::string_view markup, std::string_view search, std::string_view tag, std::string& result,
                 bool caseSensitive);

// Removes every "<tag>" and "</tag>" (any case, no attributes) and stores the markup in result.
void UnHilightHTML(std::string_view markup, std::string_view tag, std::string& result);

// The 0-based offset of the first occurrence of sub in s at or after `from`, ASCII case ignored;
// npos when there is none or sub is empty.
size_t FindText(std::string_view s, std::string_view sub, size_t from = 0);

// s with every occurrence of sub (ASCII case ignored) replaced, left to right.
std::string ReplaceAllText(std::string_view s, std::string_view sub, std::string_view replacement);

// Pos of sub in s, also stored in position.
int VarPos(std::string_view sub, std::string_view s, int& position);
// Pos of sub in s with ASCII case ignored.
int IPos(std::string_view sub, std::string_view s);
// Replaces the first occurrence of entity (ASCII case ignored) by replacement; false when there is none.
bool ReplaceFirst(std::string_view entity, std::string_view replacement, std::string& s);

}  // namespace controls
