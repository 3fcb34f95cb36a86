// Column widths fitted to their contents.
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"

namespace velmora {

using platform::TFontStyle;

int VUraRazuduVova::WidestInColumn(int ACol, std::unordered_map<std::string, int>& widths) {
  const int col = RealColIndex(ACol);
  int widest = 0;
  for (int r = 0; r < RowCount(); ++r) {
    if (IsMergedCell(col, r)) continue;
    const std::string text = Cells(col, r);
    // A formula shows what CalcCell makes of its cell, so only other texts share measurements.
    if (TextType(text, EnableHTML) == 3) {
      widest = std::max(widest, GetCellTextSize(ACol, r).cx + GetCellGraphicSize(col, r).X);
      continue;
    }
    platform::TFont font;
    platform::TBrush brush;
    platform::TGridDrawState state;
    platform::TAlignment hAlign = platform::TAlignment::taLeftJustify;
    TVAlignment vAlign = TVAlignment::vtaTop;
    bool wordWrap = false, password = false;
    GetVisualProperties(ACol, r, state, false, false, brush, font, hAlign, vAlign, wordWrap);
    GetCellPassword(col, r, password);
    std::string key = text;
    key += '\0';
    key += font.Name();
    key += '\0';
    key += std::to_string(font.Height());
    for (TFontStyle s : {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline, TFontStyle::fsStrikeOut})
      key += font.Style().Contains(s) ? '1' : '0';
    key += password ? 'P' : '-';
    const auto [entry, added] = widths.try_emplace(std::move(key), 0);
    if (added) entry->second = GetCellTextSize(ACol, r).cx;
    widest = std::max(widest, entry->second + GetCellGraphicSize(col, r).X);
  }
  return 2 * GridLineWidth() + widest + 4;
}

void VUraRazuduVova::AutoSizeColumns(bool DoFixedCols, int Padding) {
  const UpdateGuard lock(*this);
  std::unordered_map<std::string, int> widths;
  for (int c = DoFixedCols ? 0 : FixedCols(); c < ColCount(); ++c) SetColWidths(c, WidestInColumn(c, widths) + Padding);
}

void VUraRazuduVova::SizeToWidth(int ACol, bool OnlyGrow) {
  std::unordered_map<std::string, int> widths;
  const int width = WidestInColumn(ACol, widths);
  if (!OnlyGrow || ColWidths(ACol) < width) SetColWidths(ACol, width);
}

}  // namespace velmora
