#include "platform/office/XlsxParts.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "platform/core/Ascii.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Xml.h"

namespace platform {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of an escape "_xHHHH_" at text[i], or -1.
int EscapeAt(std::string_view text, size_t i) {
  if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') return -1;
  int code = 0;
  for (size_t k = 2; k < 6; ++k) {
    const int digit = HexValue(text[i + k]);
    if (digit < 0) return -1;
    code = code * 16 + digit;
  }
  return code;
}

bool ParseInt(std::string_view text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseDouble(std::string_view text, double& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// "2024-03-01T12:30:00" (strict's t="d" cells) in TDateTime; false when it is none.
bool ParseIsoDateTime(std::string_view text, double& value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  double second = 0;
  if (text.size() < 10 || !ParseInt(text.substr(0, 4), year) || text[4] != '-' || !ParseInt(text.substr(5, 2), month) ||
      text[7] != '-' || !ParseInt(text.substr(8, 2), day))
    return false;
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) return false;
  if (text.size() >= 19 && text[10] == 'T' && ParseInt(text.substr(11, 2), hour) &&
      ParseInt(text.substr(14, 2), minute)) {
    std::string_view seconds = text.substr(17);
    const size_t zone = seconds.find_first_of("Z+-");
    if (zone != std::string_view::npos) seconds = seconds.substr(0, zone);
    if (!ParseDouble(seconds, second)) second = 0;
  }
  value = date + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return true;
}

[[noreturn]] void Fail(const std::string& fileName, const std::string& reason) {
  throw EOleException(fileName, reason);
}

}  // namespace

std::string UnescapeOoxml(std::string_view text) {
  if (text.find("_x") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const int code = EscapeAt(text, i);
    if (code >= 0) {
      AppendCodePoint(out, static_cast<char32_t>(code));
      i += 7;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string EscapeOoxml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F || (c == '_' && EscapeAt(text, i) >= 0)) {
      out += "_x00";
      out += "0123456789ABCDEF"[c >> 4];
      out += "0123456789ABCDEF"[c & 15];
      out += '_';
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool IsBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58) ||
         (id >= 71 && id <= 81);
}

bool IsDateFormatCode(std::string_view code) {
  // Only the first section decides; quoted texts, escaped characters and bracketed colours or conditions
  // are no date parts, while the elapsed-time brackets [h], [m] and [s] are.
  bool date = false;
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == ';') break;
    if (c == '"') {
      const size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      const size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) break;
      const std::string_view inside = code.substr(i + 1, close - i - 1);
      if (!inside.empty() && std::all_of(inside.begin(), inside.end(), [](char k) {
            return k == 'h' || k == 'H' || k == 'm' || k == 'M' || k == 's' || k == 'S';
          }))
        date = true;
      i = close;
    } else {
      const char lower = static_cast<char>(c | 0x20);
      if (c >= 'A' && lower >= 'a' && lower <= 'z') {
        if (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 's')
          date = true;
        else if (lower == 'g' && code.substr(i).size() >= 7 && SameText(code.substr(i, 7), "General"))
          i += 6;
        else if (lower == 'e')
          continue;  // exponent
      }
    }
  }
  return date;
}

double SerialToDateTime(double serial, bool date1904) {
  if (date1904) return serial + 1462;
  // The 1900 system counts a 29 February 1900 that never was: serials before it are one day early.
  return serial < 60 ? serial + 1 : serial;
}

namespace {

class StylesHandler : public XmlHandler {
public:
  std::map<int, bool> customDate;
  std::vector<int> xfFormats;
  bool inCellXfs = false;

  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    const std::string_view local = LocalName(name);
    if (local == "numFmt") {
      int id;
      if (ParseInt(attributes.Value("numFmtId"), id)) customDate[id] = IsDateFormatCode(attributes.Value("formatCode"));
    } else if (local == "cellXfs") {
      inCellXfs = true;
    } else if (local == "xf" && inCellXfs) {
      int id = 0;
      ParseInt(attributes.Value("numFmtId"), id);
      xfFormats.push_back(id);
    }
  }
  void EndElement(std::string_view name) override {
    if (LocalName(name) == "cellXfs") inCellXfs = false;
  }
};

class SharedStringsHandler : public XmlHandler {
public:
  std::vector<std::string> strings;
  std::string current;
  bool inItem = false, inText = false;
  int phonetic = 0;

  void StartElement(std::string_view name, const XmlAttributes&) override {
    const std::string_view local = LocalName(name);
    if (local == "si") {
      inItem = true;
      current.clear();
    } else if (local == "rPh") {
      ++phonetic;
    } else if (local == "t" && inItem && phonetic == 0) {
      inText = true;
    }
  }
  void EndElement(std::string_view name) override {
    const std::string_view local = LocalName(name);
    if (local == "si") {
      strings.push_back(UnescapeOoxml(current));
      inItem = false;
    } else if (local == "rPh") {
      --phonetic;
    } else if (local == "t") {
      inText = false;
    }
  }
  void Text(std::string_view text) override {
    if (inText) current += text;
  }
};

}  // namespace

SheetStyles ReadStyles(std::string_view xml, const std::string& fileName) {
  StylesHandler handler;
  ParseXml(xml, handler, fileName, "styles");
  SheetStyles styles;
  styles.dateFormat.reserve(handler.xfFormats.size());
  for (const int id : handler.xfFormats) {
    const auto custom = handler.customDate.find(id);
    styles.dateFormat.push_back(custom != handler.customDate.end() ? custom->second : IsBuiltInDateFormat(id));
  }
  return styles;
}

std::vector<std::string> ReadSharedStrings(std::string_view xml, const std::string& fileName) {
  SharedStringsHandler handler;
  ParseXml(xml, handler, fileName, "shared strings");
  return std::move(handler.strings);
}

namespace {

class SheetHandler : public XmlHandler {
public:
  SheetHandler(XmlReader*& reader, SheetPart& part, const std::vector<std::string>& sharedStrings,
               const SheetStyles& styles, const std::string& fileName, uint64_t sharedTextLimit)
      : reader_(reader),
        part_(part),
        shared_(sharedStrings),
        styles_(styles),
        fileName_(fileName),
        sharedTextLimit_(sharedTextLimit) {}

  // Only the structure of a worksheet counts: rows as children of the first sheetData, cells as
  // children of those rows, the dimension as a child of the root. Anything else inside sheetData is
  // neither read nor written back.
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    const std::string_view local = LocalName(name);
    const uint64_t offset = reader_->EventOffset();
    const uint64_t end = offset + static_cast<uint64_t>(reader_->EventLength());
    const int depth = ++depth_;
    if (inCell_) {
      ++cellDepth_;
      if (local == "v" || local == "is") {
        (local == "v" ? inValue_ : inInline_) = true;
        text_.clear();
        hasValue_ = true;
      } else if (local == "rPh") {
        ++phonetic_;
      } else if (local == "t" && inInline_ && phonetic_ == 0) {
        inInlineText_ = true;
      }
      return;
    }
    if (local == "sheetData" && !part_.hasSheetData) {
      part_.hasSheetData = true;
      sheetDataDepth_ = depth;
      inSheetData_ = true;
      part_.prefix = std::string(name.substr(0, name.size() - local.size()));
      part_.sheetDataBegin = offset;
      part_.sheetDataContent = end;
      startEnd_ = end;
    } else if (local == "dimension" && depth == 2 && !part_.hasSheetData && !part_.hasDimension) {
      part_.hasDimension = true;
      part_.dimensionBegin = offset;
      dimensionStartEnd_ = end;
    } else if (local == "row" && inSheetData_ && depth == sheetDataDepth_ + 1) {
      inRow_ = true;
      int r = 0;
      if (const char* value = attributes.Find("r")) {
        if (!ParseInt(value, r) || r < 1 || r > kMaxSheetRows)
          Fail(fileName_, "the row number " + std::string(value) + " is beyond the sheet's 1048576 rows");
      } else {
        r = row_ + 1;
        if (r > kMaxSheetRows) Fail(fileName_, "a row beyond the sheet's 1048576 rows");
      }
      row_ = r;
      column_ = 0;
      std::string written;
      for (const char** p = attributes.Pairs(); *p; p += 2) {
        if (LocalName(p[0]) == "r" || LocalName(p[0]) == "spans") continue;
        written += ' ';
        written += p[0];
        written += "=\"";
        AppendEscaped(written, p[1], true);
        written += '"';
      }
      if (!written.empty()) part_.rowAttributes[r] = std::move(written);
    } else if (local == "c" && inRow_ && depth == sheetDataDepth_ + 2) {
      inCell_ = true;
      cellDepth_ = 0;
      inValue_ = inInline_ = inInlineText_ = false;
      phonetic_ = 0;
      hasValue_ = false;
      text_.clear();
      cell_ = SheetCell();
      if (row_ == 0) row_ = 1;
      cell_.row = row_;
      if (const char* reference = attributes.Find("r")) {
        int column, row;
        if (!ParseCellReference(reference, column, row))
          Fail(fileName_, "the cell reference " + std::string(reference).substr(0, 40) + " is beyond XFD1048576");
        cell_.column = column;
        cell_.row = row;
      } else {
        cell_.column = column_ + 1;
        cell_.rawHasReference = false;
        if (cell_.column > kMaxSheetColumns) Fail(fileName_, "a cell beyond the sheet's column XFD");
      }
      column_ = cell_.column;
      type_ = attributes.Value("t");
      int style;
      if (ParseInt(attributes.Value("s"), style) && style >= 0) cell_.style = style;
      cell_.rawBegin = static_cast<uint32_t>(offset);
      cellStartEnd_ = end;
    }
  }

  void EndElement(std::string_view name) override {
    const std::string_view local = LocalName(name);
    const uint64_t offset = reader_->EventOffset();
    const int length = reader_->EventLength();
    const int depth = depth_--;
    // Inside a cell every element closes before the cell does, whatever their names.
    if (inCell_ && cellDepth_ > 0) {
      --cellDepth_;
      if (local == "v")
        inValue_ = false;
      else if (local == "is")
        inInline_ = false;
      else if (local == "rPh")
        --phonetic_;
      else if (local == "t")
        inInlineText_ = false;
      return;
    }
    if (inCell_) {
      inCell_ = false;
      cell_.rawEnd = static_cast<uint32_t>(length == 0 ? cellStartEnd_ : offset + static_cast<uint64_t>(length));
      if (hasValue_) Convert();
      if (cell_.value.kind != CellKind::Empty || cell_.style >= 0) part_.cells.push_back(std::move(cell_));
    } else if (local == "row" && inRow_ && depth == sheetDataDepth_ + 1) {
      inRow_ = false;
    } else if (local == "sheetData" && inSheetData_ && depth == sheetDataDepth_) {
      inSheetData_ = false;
      if (length == 0) {
        part_.sheetDataEmpty = true;
        part_.sheetDataClose = part_.sheetDataEnd = startEnd_;
      } else {
        part_.sheetDataClose = offset;
        part_.sheetDataEnd = offset + static_cast<uint64_t>(length);
      }
    } else if (local == "dimension" && depth == 2 && part_.hasDimension && part_.dimensionEnd == 0) {
      part_.dimensionEnd = length == 0 ? dimensionStartEnd_ : offset + static_cast<uint64_t>(length);
    }
  }

  void Text(std::string_view text) override {
    if (inValue_ || inInlineText_) {
      if (text_.size() + text.size() > (32u << 20)) Fail(fileName_, "a cell value longer than 32 MB");
      text_ += text;
    }
  }

private:
  void Convert() {
    CellValue& value = cell_.value;
    if (type_ == "s") {
      int index;
      if (!ParseInt(text_, index) || index < 0 || static_cast<size_t>(index) >= shared_.size())
        Fail(fileName_, "the cell " + ColumnLetters(cell_.column) + IntToStr(cell_.row) +
                            " refers to a shared string that does not exist");
      const std::string& text = shared_[static_cast<size_t>(index)];
      if (text.size() > sharedTextLimit_ - part_.sharedText)
        Fail(fileName_, "the cells refer to more shared string text than a workbook may hold");
      part_.sharedText += text.size();
      value.kind = CellKind::Text;
      value.text = text;
    } else if (type_ == "inlineStr" || type_ == "str") {
      value.kind = CellKind::Text;
      value.text = UnescapeOoxml(text_);
    } else if (type_ == "b") {
      value.kind = CellKind::Boolean;
      value.number = (text_ == "1" || text_ == "true") ? 1 : 0;
    } else if (type_ == "e") {
      value.kind = CellKind::Error;
      value.text = text_;
    } else if (type_ == "d") {
      double date;
      if (ParseIsoDateTime(text_, date)) {
        value.kind = CellKind::Date;
        value.number = date;
      }
    } else {
      double number;
      if (!ParseDouble(text_, number)) return;  // an empty or malformed value: the cell holds nothing
      const bool date = cell_.style >= 0 && static_cast<size_t>(cell_.style) < styles_.dateFormat.size() &&
                        styles_.dateFormat[static_cast<size_t>(cell_.style)];
      value.kind = date ? CellKind::Date : CellKind::Number;
      value.number = date ? SerialToDateTime(number, styles_.date1904) : number;
    }
  }

  XmlReader*& reader_;
  SheetPart& part_;
  const std::vector<std::string>& shared_;
  const SheetStyles& styles_;
  const std::string& fileName_;
  uint64_t sharedTextLimit_;
  bool inSheetData_ = false, inCell_ = false, inValue_ = false, inInline_ = false, inInlineText_ = false;
  bool hasValue_ = false;
  bool inRow_ = false;
  int phonetic_ = 0, cellDepth_ = 0, depth_ = 0, sheetDataDepth_ = 0;
  int row_ = 0, column_ = 0;
  uint64_t startEnd_ = 0, dimensionStartEnd_ = 0, cellStartEnd_ = 0;
  std::string type_;
  std::string text_;
  SheetCell cell_;
};

}  // namespace

SheetPart ReadSheetPart(std::string_view xml, const std::vector<std::string>& sharedStrings, const SheetStyles& styles,
                        const std::string& fileName, const std::string& partName, uint64_t sharedTextLimit) {
  if (xml.size() > UINT32_MAX) Fail(fileName, partName + " is larger than 4 GB");
  SheetPart part;
  XmlReader* readerPointer = nullptr;
  SheetHandler handler(readerPointer, part, sharedStrings, styles, fileName, sharedTextLimit);
  XmlReader reader(handler, fileName, partName);
  readerPointer = &reader;
  reader.Feed(xml, true);
  // Cells come in order in every file we know; sort only when one does not.
  const auto before = [](const SheetCell& a, const SheetCell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  };
  if (!std::is_sorted(part.cells.begin(), part.cells.end(), before))
    std::stable_sort(part.cells.begin(), part.cells.end(), before);
  // A cell given twice counts once, as its last occurrence.
  auto last = std::unique(part.cells.rbegin(), part.cells.rend(), [](const SheetCell& a, const SheetCell& b) {
    return a.row == b.row && a.column == b.column;
  });
  part.cells.erase(part.cells.begin(), last.base());
  return part;
}

bool IsCanonicalNumber(std::string_view text, const TFormatSettings& settings, double& number) {
  if (text.empty() || text.size() > 32) return false;
  const char first = text.front();
  if (!((first >= '0' && first <= '9') || first == '-' || first == settings.DecimalSeparator)) return false;
  const char last = text.back();
  if (!(last >= '0' && last <= '9')) return false;
  try {
    number = StrToFloat(text, settings);
  } catch (const Exception&) {
    return false;
  }
  return std::isfinite(number) && FloatToStr(number, settings) == text;
}

CellValue WrittenValue(std::string_view text, const TFormatSettings& settings) {
  CellValue value;
  if (text.empty()) return value;
  if (IsCanonicalNumber(text, settings, value.number)) {
    value.kind = CellKind::Number;
  } else {
    value.kind = CellKind::Text;
    value.text = ValidUtf8(text);
  }
  return value;
}

void AppendWrittenCell(std::string& out, std::string_view prefix, int row, int column, int style,
                       const CellValue& value) {
  out += '<';
  out += prefix;
  out += "c r=\"";
  out += ColumnLetters(column);
  char digits[32];
  auto result = std::to_chars(digits, digits + sizeof digits, row);
  out.append(digits, result.ptr);
  out += '"';
  if (style >= 0) {
    out += " s=\"";
    result = std::to_chars(digits, digits + sizeof digits, style);
    out.append(digits, result.ptr);
    out += '"';
  }
  if (value.kind == CellKind::Empty) {
    out += "/>";
    return;
  }
  if (value.kind == CellKind::Number) {
    const double number = value.number;
    out += "><";
    out += prefix;
    out += "v>";
    result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
    out += "</";
    out += prefix;
    out += "v></";
  } else {
    out += " t=\"inlineStr\"><";
    out += prefix;
    out += "is><";
    out += prefix;
    out += "t xml:space=\"preserve\">";
    AppendEscaped(out, EscapeOoxml(value.text), false);
    out += "</";
    out += prefix;
    out += "t></";
    out += prefix;
    out += "is></";
  }
  out += prefix;
  out += "c>";
}

namespace {

std::string Cell(int column, int row) { return ColumnLetters(column) + IntToStr(row); }

constexpr std::string_view kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

}  // namespace

std::string WriteSheetPart(const SheetPart& part, std::string_view original) {
  const std::string& prefix = part.prefix;
  CellRange used{INT_MAX, INT_MAX, 0, 0};
  for (const SheetCell& cell : part.cells) {
    used.left = std::min(used.left, static_cast<int>(cell.column));
    used.right = std::max(used.right, static_cast<int>(cell.column));
    used.top = std::min(used.top, static_cast<int>(cell.row));
    used.bottom = std::max(used.bottom, static_cast<int>(cell.row));
  }
  std::string dimension = used.right == 0 ? "A1"
                          : (used.left == used.right && used.top == used.bottom)
                              ? Cell(used.left, used.top)
                              : Cell(used.left, used.top) + ":" + Cell(used.right, used.bottom);
  std::string out;
  out.reserve(original.size() + part.cells.size() * 48 + 256);
  const bool fresh = !part.hasSheetData;
  if (fresh) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"";
    out += kMainNs;
    out += "\" xmlns:r=\"";
    out += kRelNs;
    out += "\"><dimension ref=\"" + dimension + "\"/><sheetData>";
  } else {
    if (part.hasDimension && part.dimensionBegin < part.dimensionEnd && part.dimensionEnd <= part.sheetDataBegin) {
      out += original.substr(0, part.dimensionBegin);
      out += "<" + prefix + "dimension ref=\"" + dimension + "\"/>";
      out += original.substr(part.dimensionEnd, part.sheetDataBegin - part.dimensionEnd);
    } else {
      out += original.substr(0, part.sheetDataBegin);
    }
    if (part.sheetDataEmpty) {
      out += "<" + prefix + "sheetData>";
    } else {
      out += original.substr(part.sheetDataBegin, part.sheetDataContent - part.sheetDataBegin);
    }
  }
  auto attributes = part.rowAttributes.begin();
  size_t i = 0;
  const auto& cells = part.cells;
  while (i < cells.size() || attributes != part.rowAttributes.end()) {
    const int row = std::min(i < cells.size() ? static_cast<int>(cells[i].row) : INT_MAX,
                             attributes != part.rowAttributes.end() ? attributes->first : INT_MAX);
    out += "<" + prefix + "row r=\"" + IntToStr(row) + "\"";
    if (attributes != part.rowAttributes.end() && attributes->first == row) {
      out += attributes->second;
      ++attributes;
    }
    if (i >= cells.size() || cells[i].row != row) {
      out += "/>";
      continue;
    }
    out += '>';
    for (; i < cells.size() && cells[i].row == row; ++i) {
      const SheetCell& cell = cells[i];
      if (cell.rawEnd > cell.rawBegin) {
        const std::string_view raw(original.data() + cell.rawBegin, cell.rawEnd - cell.rawBegin);
        if (cell.rawHasReference) {
          out += raw;
        } else {
          const size_t nameEnd = raw.find_first_of(" \t\r\n/>", 1);
          out += raw.substr(0, nameEnd);
          out += " r=\"" + Cell(cell.column, cell.row) + "\"";
          out += raw.substr(nameEnd);
        }
      } else {
        AppendWrittenCell(out, prefix, cell.row, cell.column, cell.style, cell.value);
      }
    }
    out += "</" + prefix + "row>";
  }
  if (fresh) {
    out += "</sheetData></worksheet>";
  } else if (part.sheetDataEmpty) {
    out += "</" + prefix + "sheetData>";
    out += original.substr(part.sheetDataEnd);
  } else {
    out += original.substr(part.sheetDataClose);
  }
  return out;
}

}  // namespace platform
