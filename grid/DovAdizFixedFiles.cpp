#include <string>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/GridTextFiles.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/ui/Forms.h"

// The padded text table for people (ASCII) and the fixed-width columns that other programs read and
// write. Widths, cutting and padding count characters (code points), never bytes.

using namespace platform;

namespace velmora {

namespace {

// The first `count` characters of the text (all of it when it is shorter).
std::string_view FirstChars(std::string_view text, int count) {
  size_t end = 0;
  for (int i = 0; i < count && end < text.size(); ++i) end = NextCodePoint(text, end);
  return text.substr(0, end);
}

// Characters [first, last) of the text, 0-based.
std::string_view CharRange(std::string_view text, int first, int last) {
  const std::string_view head = FirstChars(text, first);
  return FirstChars(text.substr(head.size()), last - first);
}

int Chars(std::string_view text) { return static_cast<int>(CodePointCount(text)); }

void PadTo(std::string& text, int chars) {
  const int have = Chars(text);
  if (have < chars) text.append(static_cast<size_t>(chars - have), ' ');
}

std::string_view FirstLine(std::string_view text) {
  const std::vector<std::string_view> lines = TextLines(text);
  return lines.empty() ? std::string_view() : lines.front();
}

// The ASCII table's text of one cell line: aligned in width characters, then padded to width + 1.
std::string AlignedPart(std::string_view part, TAlignment alignment, int width) {
  std::string text(part);
  if (alignment == TAlignment::taRightJustify) {
    text.insert(0, static_cast<size_t>(std::max(0, width - Chars(text))), ' ');
  } else if (alignment == TAlignment::taCenter) {
    while (Chars(text) < width) text = " " + text + " ";
  }
  PadTo(text, width + 1);
  return text;
}

class HourGlass {
public:
  HourGlass() { Screen().SetCursor(crHourGlass); }
  ~HourGlass() { Screen().SetCursor(crDefault); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;
};

}  // namespace

int VUraRazuduVova::MaxCharsInCol(int ACol) const {
  int widest = 0;
  for (int r = 0; r < RowCount(); ++r) {
    const std::string text = Cells(ACol, r);
    for (std::string_view line : TextLines(text)) widest = std::max(widest, Chars(line));
  }
  return widest;
}

void VUraRazuduVova::SaveToASCII(const std::string& FileName) {
  const HourGlass busy;
  std::vector<int> widths(static_cast<size_t>(ColCount()));
  for (int c = 0; c < ColCount(); ++c) widths[c] = MaxCharsInCol(RealColIndex(c));
  std::string text;
  for (int r = 0; r < RowCount(); ++r) {
    std::string line;
    std::vector<std::string> continuations;  // the further lines of multi-line cells
    int left = 0;                            // the characters of the columns left of c
    for (int c = 0; c < ColCount(); ++c) {
      const int col = RealColIndex(c);
      const std::string cell = SaveCell(col, r);
      TAlignment hAlign;
      TVAlignment vAlign;
      GetCellAlignment(col, r, hAlign, vAlign);
      const std::vector<std::string_view> parts = TextLines(cell);
      line += AlignedPart(parts.empty() ? std::string_view() : parts.front(), hAlign, widths[c]);
      for (size_t k = 1; Multilinecells && k < parts.size(); ++k) {
        if (continuations.size() < k) continuations.resize(k);
        PadTo(continuations[k - 1], left);
        continuations[k - 1] += AlignedPart(parts[k], hAlign, widths[c]);
      }
      left += widths[c] + 1;
    }
    text += line + "\r\n";
    for (const std::string& continuation : continuations) text += continuation + "\r\n";
  }
  WriteGridFile(FileName, text, TGridFileWrite::Replace);
}

void VUraRazuduVova::SaveToFixed(const std::string& FileName, TIntList& Widths) {
  for (int c = GetSaveStartCol() + Widths.Count(); c <= GetSaveEndCol(); ++c) {
    Widths.Add(MaxCharsInCol(RealColIndex(c)) + 1);
  }
  std::string text;
  for (int r = GetSaveStartRow(); r <= GetSaveEndRow(); ++r) {
    for (int c = GetSaveStartCol(); c <= GetSaveEndCol(); ++c) {
      const int width = std::max(0, Widths.GetInteger(c - GetSaveStartCol()));
      std::string field(FirstChars(FirstLine(SaveCell(RealColIndex(c), r)), width));
      PadTo(field, width);
      text += field;
    }
    text += "\r\n";
  }
  WriteGridFile(FileName, text, TGridFileWrite::Replace);
}

void VUraRazuduVova::LoadFromFixed(const std::string& FileName, const TIntList& Positions) {
  const int n = Positions.Count();
  bool ascending = n >= 2 && Positions.GetInteger(0) >= 1;
  for (int i = 1; ascending && i < n; ++i) ascending = Positions.GetInteger(i) > Positions.GetInteger(i - 1);
  if (!ascending) throw EDovAdizError("Fixed-width positions must be at least two ascending character positions");
  const std::string text = ReadGridTextFile(FileName, "File " + FileName + " not found");
  const std::vector<std::string_view> lines = TextLines(text);
  {
    const UpdateGuard lock(*this);
    SetColCount(FixedCols() + n - 1);
    const int firstRow = GetSaveStartRow();
    const int firstCol = GetSaveStartCol();
    if (RowCount() < firstRow + static_cast<int>(lines.size())) SetRowCount(firstRow + static_cast<int>(lines.size()));
    for (size_t j = 0; j < lines.size(); ++j) {
      for (int i = 0; i + 1 < n; ++i) {
        const std::string_view field = CharRange(lines[j], Positions.GetInteger(i) - 1, Positions.GetInteger(i + 1) - 1);
        SetCells(firstCol + i, firstRow + static_cast<int>(j), Trim(field));
      }
    }
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
  CellsLoaded();
}

}  // namespace velmora
