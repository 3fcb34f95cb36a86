#pragma once

namespace platform {

// The built-in test font: selecting this face name (in any case) gives a font whose metrics depend
// only on its em height, so layout tests assert exact numbers on any machine.
//
// For an em height of p pixels (p = -Height for a negative Height, p = Height for a positive one,
// 12 for Height 0; so Size 8 at 96 dpi is p = 11, Size 12 is p = 16):
//   tmHeight = p, tmAscent = p - p / 4, tmDescent = p / 4 (integer division),
//   tmInternalLeading = 0, tmExternalLeading = p / 8,
//   advance = max(1, p / 2) for every character from U+0020 up, 0 for the control characters below it;
//   tmAveCharWidth = tmMaxCharWidth = advance.
// Ink: every character from U+0021 up except U+00A0 is a solid box from the cell's top to the
// baseline (tmAscent rows) and max(1, advance - 1) columns wide from the character's left edge; the
// blank and the control characters have no ink. Underline is one row at baseline + tmDescent / 2,
// strike-out one row at baseline - tmAscent / 2. Bold and italic change neither metrics nor ink.
// Rotated text turns the boxes exactly; the font reports itself as TrueType.
//
// Example, p = 16: height 16, ascent 12, descent 4, external leading 2, advance 8; "AB" drawn at
// (0, 0) inks the pixels x 0..6 and 8..14, y 0..11.
inline constexpr const char* kTestFontName = "Velmora Test";

}  // namespace platform
