// libFuzzer target: random bytes as a worksheet part. The reader must refuse what it cannot read with
// EOleException; what it reads, written back (the cells kept raw) and written into (a range overwritten),
// must read again with the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/office/OfficeError.h"
#include "platform/office/XlsxParts.h"

namespace {

bool SameValues(const platform::SheetPart& a, const platform::SheetPart& b) {
  if (a.cells.size() != b.cells.size()) return false;
  for (size_t i = 0; i < a.cells.size(); ++i) {
    const auto &x = a.cells[i], &y = b.cells[i];
    if (x.row != y.row || x.column != y.column || x.value.kind != y.value.kind || x.value.text != y.value.text ||
        (x.value.number != y.value.number && x.value.number == x.value.number))
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform;
  const std::string xml(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> shared{"zero", "one\ntwo", ""};
  SheetStyles styles;
  styles.dateFormat = {false, true, false, true};
  SheetPart part;
  try {
    part = ReadSheetPart(xml, shared, styles, "fuzz.xlsx", "sheet");
  } catch (const EOleException&) {
    return 0;
  }
  const std::string again = WriteSheetPart(part, xml);
  SheetPart reread;
  try {
    reread = ReadSheetPart(again, shared, styles, "fuzz.xlsx", "sheet");
  } catch (const EOleException&) {
    std::abort();  // what we write must always read
  }
  if (!SameValues(part, reread)) std::abort();
  // Overwrite the first cell with a text and a number, as SetRangeValue does.
  if (!part.cells.empty()) {
    part.cells[0].rawBegin = part.cells[0].rawEnd = 0;
    part.cells[0].value = WrittenValue(xml.substr(0, 16), TFormatSettings());
    try {
      ReadSheetPart(WriteSheetPart(part, xml), shared, styles, "fuzz.xlsx", "sheet");
    } catch (const EOleException&) {
      std::abort();
    }
  }
  return 0;
}
