// The grid's typed views of a cell, the accessors by real row, cell colours and the editor's text.

#include <algorithm>
#include <charconv>
#include <random>

#include "controls/html/MarkupText.h"
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/core/Random.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/edits/RichEdit.h"

using namespace platform;

namespace velmora {

namespace {

bool HasDigit(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return IsAsciiDigit(c); });
}

// The column of the base cell of the block that a hidden row's cell lies in (a hidden row keeps only
// blocks within itself); the cell's own column when it lies in none.
int HiddenBaseCol(const TGridItem& item, int ACol) {
  const auto* props = static_cast<const TCellProperties*>(item.Object(ACol));
  if (!props || props->IsBase || props->SpanX <= 0) return ACol;
  const int baseCol = ACol - props->SpanX;
  const auto* base = static_cast<const TCellProperties*>(item.Object(baseCol));
  return base && base->IsBase && base->SpanX >= props->SpanX ? baseCol : ACol;
}

}  // namespace

int VUraRazuduVova::Ints(int ACol, int ARow) const {
  const std::string text = Cells(ACol, ARow);
  if (text.empty()) return 0;
  // Leading blanks are skipped, as the class library's integer conversion does.
  const char* start = text.data() + std::min(text.find_first_not_of(' '), text.size());
  const char* end = text.data() + text.size();
  int value = 0;
  const auto [stop, error] = std::from_chars(start, end, value);
  if (error != std::errc() || stop != end) throw EDovAdizError("Cell does not contain integer value");
  return value;
}

void VUraRazuduVova::SetInts(int ACol, int ARow, int Value) { SetCells(ACol, ARow, IntToStr(Value)); }

double VUraRazuduVova::Floats(int ACol, int ARow) const { return FloatValue(Cells(ACol, ARow)); }

double VUraRazuduVova::FloatValue(const std::string& text) const {
  if (text.empty()) return 0;
  // RemoveSeps leaves "." as the decimal separator and stops at the first character of no number.
  const std::string number = RemoveSeps(text);
  if (HasDigit(number)) {
    TFormatSettings point = FormatSettings();
    point.DecimalSeparator = '.';
    try {
      return StrToFloat(number, point);
    } catch (const EConvertError&) {
    }
  }
  throw EDovAdizError("Cell does not contain a float value");
}

void VUraRazuduVova::SetFloats(int ACol, int ARow, double Value) { SetCells(ACol, ARow, Format(FloatFormat, Value)); }

TDateTime VUraRazuduVova::Dates(int ACol, int ARow) const { return StrToDate(Cells(ACol, ARow)); }

void VUraRazuduVova::SetDates(int ACol, int ARow, TDateTime Value) { SetCells(ACol, ARow, DateToStr(Value)); }

TDateTime VUraRazuduVova::Times(int ACol, int ARow) const { return StrToTime(Cells(ACol, ARow)); }

void VUraRazuduVova::SetTimes(int ACol, int ARow, TDateTime Value) { SetCells(ACol, ARow, TimeToStr(Value)); }

std::string VUraRazuduVova::CurrentCell() const { return Cells(RealColIndex(Col()), Row()); }

void VUraRazuduVova::SetCurrentCell(const std::string& Value) { SetCells(RealColIndex(Col()), Row(), Value); }

// A hidden row's cells are read and written in its item, a merged cell's at its block's base as Cells does.
std::string VUraRazuduVova::GetCellsEx(int ACol, int ARow) const {
  if (const TGridItem* item = HiddenRow(ARow)) return item->Cell(HiddenBaseCol(*item, ACol));
  return Cells(ACol, DisplRowIndex(ARow));
}

void VUraRazuduVova::SetCellsEx(int ACol, int ARow, const std::string& Value) {
  if (TGridItem* item = HiddenItem(ARow)) {
    if (ACol >= 0 && ACol < StorageColCount())
      TStringGrid::SetTakenText(item->Row, HiddenBaseCol(*item, ACol), Value);
    return;
  }
  SetCells(ACol, DisplRowIndex(ARow), Value);
}

TObject* VUraRazuduVova::GetObjectsEx(int ACol, int ARow) const {
  if (const TGridItem* item = HiddenRow(ARow)) {
    const auto* props = static_cast<const TCellProperties*>(item->Object(ACol));
    return props ? props->ObjectEx : nullptr;
  }
  return Objects(ACol, DisplRowIndex(ARow));
}

void VUraRazuduVova::SetObjectsEx(int ACol, int ARow, TObject* AObject) {
  TGridItem* item = HiddenItem(ARow);
  if (!item) {
    SetObjects(ACol, DisplRowIndex(ARow), AObject);
    return;
  }
  if (ACol < 0 || ACol >= StorageColCount()) return;
  auto* props = static_cast<TCellProperties*>(item->Object(ACol));
  if (!props) {
    props = new TCellProperties(this, ACol, ARow);
    TStringGrid::SetTakenObject(item->Row, ACol, props);
  }
  props->ObjectEx = AObject;
}

TColor VUraRazuduVova::GetColors(int ACol, int ARow) const {
  const TCellProperties* props = GetGridObject(ACol, ARow);
  return props ? props->BrushColor() : clNone;
}

void VUraRazuduVova::SetColors(int ACol, int ARow, TColor AColor) {
  if (TCellProperties* props = GetCellProperties(ACol, ARow)) props->SetBrushColor(AColor);
}

std::string VUraRazuduVova::GetStrippedCell(int ACol, int ARow) const {
  return controls::StripHTML(Cells(ACol, ARow));
}

std::string VUraRazuduVova::GetEditText(int ACol, int ARow) {
  // The editor takes its text from here each time it loads a cell: the raw text is what Escape restores.
  const int realCol = RealColIndex(ACol);
  editOriginalText_ = Cells(realCol, ARow);
  if (auto* editor = dynamic_cast<TExInplaceEdit*>(InplaceEditor())) {
    TAlignment hAlign = TAlignment::taLeftJustify;
    TVAlignment vAlign = TVAlignment::vtaTop;
    GetCellAlignment(realCol, ARow, hAlign, vAlign);
    editor->SetVAlign(hAlign == TAlignment::taRightJustify);
  }
  return CellEditText(realCol, ARow);
}

void VUraRazuduVova::SetEditText(int ACol, int ARow, const std::string& Value) {
  TBaseGrid::SetEditText(RealColIndex(ACol), ARow, Value);
}

void VUraRazuduVova::EditCanceled(int ACol, int ARow, const std::string&) {
  // The editor may have shown the text without its markup: the cell gets its raw text back.
  SetCells(RealColIndex(ACol), ARow, editOriginalText_);
}

void VUraRazuduVova::TextFill(bool AllCells, const std::string& Text) {
  FillCells(AllCells, [&] { return Text; });
}

void VUraRazuduVova::RandomFill(bool AllCells, int Max) {
  std::mt19937 random(UnpredictableNumber());
  std::uniform_int_distribution<int> below(0, std::max(Max - 1, 0));
  FillCells(AllCells, [&] { return IntToStr(below(random)); });
}

void VUraRazuduVova::FillCells(bool AllCells, const std::function<std::string()>& text) {
  for (int r = AllCells ? 0 : FixedRows(); r < RowCount(); ++r)
    for (int c = AllCells ? 0 : FixedCols(); c < ColCount(); ++c) SetCells(c, r, text());
}

void VUraRazuduVova::CellToRich(int ACol, int ARow, TCustomRichEdit& RichEdit) {
  const std::string text = Cells(ACol, ARow);
  if (text.empty()) {
    RichEdit.Clear();
    return;
  }
  TStringStream stream(text);
  RichEdit.Lines().LoadFromStream(stream);
}

void VUraRazuduVova::RichToCell(int ACol, int ARow, TCustomRichEdit& RichEdit) {
  TStringStream stream;
  RichEdit.Lines().SaveToStream(stream);
  SetCells(ACol, ARow, stream.DataString());
}

}  // namespace velmora
