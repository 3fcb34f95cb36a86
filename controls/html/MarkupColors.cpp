#include "controls/html/MarkupColors.h"

#include <utility>

namespace controls {

using namespace platform;

namespace {

// The plain colours are tried before the system colours; a name of either table that maps to 0
// ("clblack") reads the same as an unknown name.
constexpr std::pair<std::string_view, TColor> kPlainColors[] = {
    {"clred", clRed},       {"clblack", clBlack},   {"clblue", clBlue},       {"clgreen", clGreen},
    {"claqua", clAqua},     {"clyellow", clYellow}, {"clfuchsia", clFuchsia}, {"clwhite", clWhite},
    {"cllime", clLime},     {"clsilver", clSilver}, {"clgray", clGray},       {"clolive", clOlive},
    {"clnavy", clNavy},     {"clpurple", clPurple}, {"clteal", clTeal},       {"clmaroon", clMaroon},
};

constexpr std::pair<std::string_view, TColor> kSystemColors[] = {
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
};

template <size_t N>
TColor Lookup(const std::pair<std::string_view, TColor> (&table)[N], std::string_view name) {
  for (const auto& [n, color] : table)
    if (n == name) return color;
  return 0;
}

// A hex digit as the markup reads it: the code minus 48 below "A", minus 55 from "A" on.
int DigitValue(char c) { return static_cast<unsigned char>(c) < 'A' ? c - 48 : static_cast<unsigned char>(c) - 55; }

// The pair of digits at offset `at`; 0 when the text ends before the pair does.
int Pair(std::string_view hex, size_t at) {
  if (at + 2 > hex.size()) return 0;
  return DigitValue(hex[at]) * 16 + DigitValue(hex[at + 1]);
}

}  // namespace

TColor ColorFromName(std::string_view name) {
  const TColor plain = Lookup(kPlainColors, name);
  return plain != 0 ? plain : Lookup(kSystemColors, name);
}

TColor ColorFromHex(std::string_view hex) {
  const int value = Pair(hex, 1) + Pair(hex, 3) * 256 + Pair(hex, 5) * 65536;
  return static_cast<TColor>(value) & 0xFFFFFF;
}

}  // namespace controls
