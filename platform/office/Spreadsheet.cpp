#include "platform/office/Spreadsheet.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "platform/core/Ascii.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/office/OfficeError.h"
#include "platform/office/XlsxParts.h"
#include "platform/office/Xml.h"
#include "platform/office/ZipArchive.h"

namespace platform {

namespace {

constexpr std::string_view kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kContentTypesNs = "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr std::string_view kWorksheetType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr std::string_view kWorksheetContent =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
// The most cells that one range access reads or writes (the grid's largest sheets are far below it).
constexpr int64_t kMaxRangeCells = 16ll << 20;

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

Attributes CopyAttributes(const XmlAttributes& attributes) {
  Attributes copy;
  for (const char** p = attributes.Pairs(); *p; p += 2) copy.emplace_back(p[0], p[1]);
  return copy;
}

void AppendAttributes(std::string& out, const Attributes& attributes) {
  for (const auto& [name, value] : attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscaped(out, value, true);
    out += '"';
  }
}

// The part that a relationship's target names, from the folder of the part that holds the relationship.
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
  std::string path = target;
  if (!path.empty() && path[0] == '/') {
    path.erase(0, 1);
  } else {
    const size_t slash = sourcePart.rfind('/');
    path = (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1)) + path;
  }
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string piece = path.substr(start, end - start);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    start = end + 1;
  }
  std::string joined;
  for (const std::string& piece : parts) joined += (joined.empty() ? "" : "/") + piece;
  return joined;
}

std::string RelsPartOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  return folder + "_rels/" + part.substr(slash == std::string::npos ? 0 : slash + 1) + ".rels";
}

struct Relationship {
  std::string id, type, target, targetMode;
};

class RelationshipsHandler : public XmlHandler {
public:
  std::vector<Relationship> relationships;
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (LocalName(name) != "Relationship") return;
    relationships.push_back({std::string(attributes.Value("Id")), std::string(attributes.Value("Type")),
                             std::string(attributes.Value("Target")), std::string(attributes.Value("TargetMode"))});
  }
};

struct ContentType {
  bool isDefault = false;
  std::string key, type;  // extension or part name
};

class ContentTypesHandler : public XmlHandler {
public:
  std::vector<ContentType> types;
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    const std::string_view local = LocalName(name);
    if (local == "Default")
      types.push_back({true, std::string(attributes.Value("Extension")), std::string(attributes.Value("ContentType"))});
    else if (local == "Override")
      types.push_back({false, std::string(attributes.Value("PartName")), std::string(attributes.Value("ContentType"))});
  }
};

struct SheetEntry {
  Attributes attributes;
  std::string name, relationshipId;
};

class WorkbookHandler : public XmlHandler {
public:
  explicit WorkbookHandler(XmlReader*& reader) : reader_(reader) {}

  Attributes root;
  bool date1904 = false;
  int activeTab = 0;
  std::vector<SheetEntry> sheets;
  bool hasSheets = false, sheetsEmpty = false;
  uint64_t sheetsContent = 0, sheetsClose = 0;
  std::string sheetsName;

  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    const std::string_view local = LocalName(name);
    if (depth_++ == 0) root = CopyAttributes(attributes);
    if (local == "workbookPr") {
      const std::string_view value = attributes.Value("date1904");
      date1904 = value == "1" || value == "true";
    } else if (local == "workbookView" && !seenView_) {
      seenView_ = true;
      activeTab = std::max(0, static_cast<int>(StrToIntDef(std::string(attributes.Value("activeTab")), 0)));
    } else if (local == "sheets" && !hasSheets) {
      hasSheets = true;
      sheetsName = std::string(name);
      sheetsContent = reader_->EventOffset() + static_cast<uint64_t>(reader_->EventLength());
      inSheets_ = true;
    } else if (local == "sheet" && inSheets_) {
      sheets.push_back(
          {CopyAttributes(attributes), std::string(attributes.Value("name")), std::string(attributes.Value("id"))});
    }
  }
  void EndElement(std::string_view name) override {
    --depth_;
    if (LocalName(name) == "sheets" && inSheets_) {
      inSheets_ = false;
      sheetsEmpty = reader_->EventLength() == 0;
      sheetsClose = sheetsEmpty ? sheetsContent : reader_->EventOffset();
    }
  }

private:
  XmlReader*& reader_;
  int depth_ = 0;
  bool seenView_ = false, inSheets_ = false;
};

}  // namespace

std::string CellValue::Text() const { return Text(FormatSettings()); }

std::string CellValue::Text(const TFormatSettings& settings) const {
  switch (kind) {
    case CellKind::Number:
      return FloatToStr(number, settings);
    case CellKind::Text:
      return text;
    case CellKind::Boolean:
      return number != 0 ? "True" : "False";
    case CellKind::Date:
      return DateTimeToStr(number, settings);
    case CellKind::Error:
    case CellKind::Empty:
      break;
  }
  return {};
}

std::string ColumnLetters(int column) {
  std::string letters;
  while (column > 0) {
    const int digit = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  return letters;
}

bool ParseCellReference(std::string_view reference, int& column, int& row) {
  size_t i = 0;
  if (i < reference.size() && reference[i] == '$') ++i;
  int64_t c = 0;
  size_t letters = 0;
  for (; i < reference.size() && IsAsciiLetter(reference[i]); ++i, ++letters) {
    c = c * 26 + ((reference[i] & ~0x20) - 'A' + 1);
    if (letters >= 3) return false;
  }
  if (letters == 0 || c > kMaxSheetColumns) return false;
  if (i < reference.size() && reference[i] == '$') ++i;
  int64_t r = 0;
  size_t digits = 0;
  for (; i < reference.size() && reference[i] >= '0' && reference[i] <= '9'; ++i, ++digits) {
    r = r * 10 + (reference[i] - '0');
    if (r > kMaxSheetRows) return false;
  }
  if (digits == 0 || r < 1 || i != reference.size()) return false;
  column = static_cast<int>(c);
  row = static_cast<int>(r);
  return true;
}

bool ParseRangeAddress(std::string_view address, CellRange& range) {
  const size_t colon = address.find(':');
  if (colon == std::string_view::npos) {
    if (!ParseCellReference(address, range.left, range.top)) return false;
    range.right = range.left;
    range.bottom = range.top;
    return true;
  }
  if (!ParseCellReference(address.substr(0, colon), range.left, range.top) ||
      !ParseCellReference(address.substr(colon + 1), range.right, range.bottom))
    return false;
  if (range.right < range.left) std::swap(range.left, range.right);
  if (range.bottom < range.top) std::swap(range.top, range.bottom);
  return true;
}

struct Workbook::Package {
  std::unique_ptr<ZipReader> zip;
  std::string workbookPart, workbookRelsPart, workbookXml;
  std::vector<Relationship> relationships;
  std::vector<ContentType> contentTypes;
  std::vector<std::string> sharedStrings;
  uint64_t sharedTextLeft = kMaxWorkbookSharedText;  // what the sheets loaded so far left of the bound
  SheetStyles styles;
  std::string calcChainPart;
  WorkbookHandler* unusedHandler = nullptr;
  Attributes root;
  bool hasSheets = false, sheetsEmpty = false;
  uint64_t sheetsContent = 0, sheetsClose = 0;
  std::string sheetsName;
  std::string relationshipNs = std::string(kRelNs), worksheetType = std::string(kWorksheetType);
};

struct Worksheet::Data {
  std::string partName;        // "" for a sheet that the package does not hold yet
  std::string relationshipId;  // "" likewise
  Attributes attributes;       // of its element in the workbook part, as read
  bool loaded = false, modified = false;
  std::string xml;  // the original part
  SheetPart part;
};

Worksheet::Worksheet(Workbook& workbook, std::string name)
    : workbook_(workbook), name_(std::move(name)), data_(std::make_unique<Data>()) {}

Worksheet::~Worksheet() = default;

void Worksheet::SetName(const std::string& name) {
  if (name.empty() || CodePointCount(name) > 31 || name.find_first_of("[]:*?/\\") != std::string::npos ||
      name.front() == '\'' || name.back() == '\'')
    workbook_.Fail("a sheet cannot be named \"" + name + "\"");
  for (const auto& other : workbook_.sheets_)
    if (other.get() != this && SameText(other->name_, name))
      workbook_.Fail("the workbook has a sheet named \"" + other->name_ + "\" already");
  if (name != name_) {
    name_ = name;
    workbook_.sheetsChanged_ = true;
  }
}

void Worksheet::Load() {
  Data& data = *data_;
  if (data.loaded) return;
  if (data.partName.empty()) {
    data.loaded = true;
    return;
  }
  Workbook::Package& package = *workbook_.package_;
  const int index = package.zip->Find(data.partName);
  if (index < 0) workbook_.Fail("the sheet " + name_ + " has no part " + data.partName);
  data.xml = package.zip->Read(index);
  data.part = ReadSheetPart(data.xml, package.sharedStrings, package.styles, workbook_.fileName_, data.partName,
                            package.sharedTextLeft);
  package.sharedTextLeft -= data.part.sharedText;
  // Only a sheet read whole counts as loaded: one that failed fails again, never reads as empty.
  data.loaded = true;
}

bool Worksheet::IsEmpty() {
  Load();
  return std::none_of(data_->part.cells.begin(), data_->part.cells.end(),
                      [](const SheetCell& cell) { return cell.value.kind != CellKind::Empty; });
}

CellRange Worksheet::UsedRange() {
  Load();
  CellRange range{INT_MAX, INT_MAX, 0, 0};
  for (const SheetCell& cell : data_->part.cells) {
    if (cell.value.kind == CellKind::Empty) continue;
    range.left = std::min(range.left, static_cast<int>(cell.column));
    range.right = std::max(range.right, static_cast<int>(cell.column));
    range.top = std::min(range.top, static_cast<int>(cell.row));
    range.bottom = std::max(range.bottom, static_cast<int>(cell.row));
  }
  if (range.right == 0) return CellRange{};
  return range;
}

std::string Worksheet::UsedRangeAddress() {
  const CellRange range = UsedRange();
  const std::string first = "$" + ColumnLetters(range.left) + "$" + IntToStr(range.top);
  if (range.left == range.right && range.top == range.bottom) return first;
  return first + ":$" + ColumnLetters(range.right) + "$" + IntToStr(range.bottom);
}

std::vector<std::vector<CellValue>> Worksheet::RangeValue(std::string_view address) {
  CellRange range;
  if (!ParseRangeAddress(address, range))
    workbook_.Fail("the range " + std::string(address) + " is no range of a sheet");
  return RangeValue(range);
}

std::vector<std::vector<CellValue>> Worksheet::RangeValue(const CellRange& range) {
  Load();
  if (static_cast<int64_t>(range.RowCount()) * range.ColumnCount() > kMaxRangeCells)
    workbook_.Fail("the range is too large to read at once");
  std::vector<std::vector<CellValue>> values(static_cast<size_t>(range.RowCount()),
                                             std::vector<CellValue>(static_cast<size_t>(range.ColumnCount())));
  const auto& cells = data_->part.cells;
  auto it = std::lower_bound(cells.begin(), cells.end(), range.top,
                             [](const SheetCell& cell, int row) { return cell.row < row; });
  for (; it != cells.end() && it->row <= range.bottom; ++it)
    if (it->column >= range.left && it->column <= range.right)
      values[static_cast<size_t>(it->row - range.top)][static_cast<size_t>(it->column - range.left)] = it->value;
  return values;
}

void Worksheet::SetRangeValue(std::string_view address, const std::vector<std::vector<std::string>>& values) {
  CellRange range;
  if (!ParseRangeAddress(address, range))
    workbook_.Fail("the range " + std::string(address) + " is no range of a sheet");
  SetRangeValue(range, values);
}

void Worksheet::SetRangeValue(const CellRange& range, const std::vector<std::vector<std::string>>& values) {
  SetRangeValue(range, values, FormatSettings());
}

void Worksheet::SetRangeValue(const CellRange& range, const std::vector<std::vector<std::string>>& values,
                              const TFormatSettings& settings) {
  Load();
  if (range.left < 1 || range.top < 1 || range.right > kMaxSheetColumns || range.bottom > kMaxSheetRows ||
      range.right < range.left || range.bottom < range.top)
    workbook_.Fail("the range is beyond XFD1048576");
  if (static_cast<int64_t>(range.RowCount()) * range.ColumnCount() > kMaxRangeCells)
    workbook_.Fail("the range is too large to write at once");
  const auto inside = [&](const SheetCell& cell) {
    return cell.row >= range.top && cell.row <= range.bottom && cell.column >= range.left && cell.column <= range.right;
  };
  std::vector<SheetCell>& cells = data_->part.cells;
  std::unordered_map<int64_t, int32_t> styles;
  std::vector<SheetCell> kept;
  kept.reserve(cells.size());
  for (SheetCell& cell : cells) {
    if (!inside(cell))
      kept.push_back(std::move(cell));
    else if (cell.style >= 0)
      styles[int64_t(cell.row) * kMaxSheetColumns + cell.column] = cell.style;
  }
  std::vector<SheetCell> written;
  for (int row = range.top; row <= range.bottom; ++row) {
    const size_t r = static_cast<size_t>(row - range.top);
    for (int column = range.left; column <= range.right; ++column) {
      const size_t c = static_cast<size_t>(column - range.left);
      SheetCell cell;
      cell.row = row;
      cell.column = column;
      if (r < values.size() && c < values[r].size()) cell.value = WrittenValue(values[r][c], settings);
      if (!styles.empty()) {
        const auto style = styles.find(int64_t(row) * kMaxSheetColumns + column);
        if (style != styles.end()) cell.style = style->second;
      }
      if (cell.value.kind != CellKind::Empty || cell.style >= 0) written.push_back(std::move(cell));
    }
  }
  cells.clear();
  cells.reserve(kept.size() + written.size());
  std::merge(
      std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()),
      std::make_move_iterator(written.begin()), std::make_move_iterator(written.end()), std::back_inserter(cells),
      [](const SheetCell& a, const SheetCell& b) { return a.row != b.row ? a.row < b.row : a.column < b.column; });
  data_->modified = true;
}

Workbook::Workbook() = default;
Workbook::~Workbook() = default;

void Workbook::Fail(const std::string& reason) const { throw EOleException(fileName_, reason); }

std::unique_ptr<Workbook> Workbook::Add() { return std::unique_ptr<Workbook>(new Workbook()); }

std::unique_ptr<Workbook> Workbook::OpenIfExists(const std::string& fileName) {
  if (!PathExists(fileName)) return nullptr;
  return Open(fileName);
}

std::unique_ptr<Workbook> Workbook::Open(const std::string& fileName) {
  std::unique_ptr<Workbook> workbook(new Workbook());
  workbook->fileName_ = fileName;
  if (!PathExists(fileName)) workbook->Fail("the file does not exist");
  std::string bytes;
  try {
    bytes = ReadFileBytes(fileName);
  } catch (const Exception& error) {
    workbook->Fail("cannot be read (" + error.Message() + ")");
  }
  if (bytes.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") == 0)
    workbook->Fail("a legacy binary workbook (.xls) cannot be read: save it as .xlsx");
  if (bytes.compare(0, 2, "PK") != 0) workbook->Fail("not an XLSX workbook (no zip archive)");
  auto package = std::make_unique<Package>();
  package->zip = std::make_unique<ZipReader>(std::move(bytes), fileName);
  ZipReader& zip = *package->zip;
  const auto readPart = [&](const std::string& part) -> std::string {
    const int index = zip.Find(part);
    return index < 0 ? std::string() : zip.Read(index);
  };

  package->workbookPart = "xl/workbook.xml";
  if (const std::string rels = readPart("_rels/.rels"); !rels.empty()) {
    RelationshipsHandler handler;
    ParseXml(rels, handler, fileName, "_rels/.rels");
    for (const Relationship& relationship : handler.relationships)
      if (EndsWith(relationship.type, "/officeDocument"))
        package->workbookPart = ResolveTarget("", relationship.target);
  }
  package->workbookXml = readPart(package->workbookPart);
  if (package->workbookXml.empty()) workbook->Fail("no workbook in the package");
  XmlReader* readerPointer = nullptr;
  WorkbookHandler handler(readerPointer);
  {
    XmlReader reader(handler, fileName, package->workbookPart);
    readerPointer = &reader;
    reader.Feed(package->workbookXml, true);
  }
  package->root = handler.root;
  package->hasSheets = handler.hasSheets;
  package->sheetsEmpty = handler.sheetsEmpty;
  package->sheetsContent = handler.sheetsContent;
  package->sheetsClose = handler.sheetsClose;
  package->sheetsName = handler.sheetsName;
  package->styles.date1904 = handler.date1904;

  package->workbookRelsPart = RelsPartOf(package->workbookPart);
  {
    RelationshipsHandler relsHandler;
    ParseXml(readPart(package->workbookRelsPart), relsHandler, fileName, package->workbookRelsPart);
    package->relationships = std::move(relsHandler.relationships);
  }
  if (const std::string types = readPart("[Content_Types].xml"); !types.empty()) {
    ContentTypesHandler typesHandler;
    ParseXml(types, typesHandler, fileName, "[Content_Types].xml");
    package->contentTypes = std::move(typesHandler.types);
  }
  for (const Relationship& relationship : package->relationships) {
    const std::string part = ResolveTarget(package->workbookPart, relationship.target);
    if (EndsWith(relationship.type, "/sharedStrings")) {
      package->sharedStrings = ReadSharedStrings(readPart(part), fileName);
    } else if (EndsWith(relationship.type, "/styles")) {
      const bool date1904 = package->styles.date1904;
      if (const std::string xml = readPart(part); !xml.empty()) package->styles = ReadStyles(xml, fileName);
      package->styles.date1904 = date1904;
    } else if (EndsWith(relationship.type, "/calcChain")) {
      package->calcChainPart = part;
    } else if (EndsWith(relationship.type, "/worksheet")) {
      package->worksheetType = relationship.type;
    }
  }
  for (const auto& [name, value] : package->root)
    if (EndsWith(value, "relationships") && name.compare(0, 6, "xmlns:") == 0) package->relationshipNs = value;

  for (SheetEntry& entry : handler.sheets) {
    auto sheet = std::unique_ptr<Worksheet>(new Worksheet(*workbook, entry.name));
    sheet->data_->attributes = std::move(entry.attributes);
    sheet->data_->relationshipId = entry.relationshipId;
    for (const Relationship& relationship : package->relationships)
      if (relationship.id == entry.relationshipId)
        sheet->data_->partName = ResolveTarget(package->workbookPart, relationship.target);
    if (sheet->data_->partName.empty()) workbook->Fail("the sheet " + entry.name + " has no part");
    workbook->sheets_.push_back(std::move(sheet));
  }
  workbook->active_ = handler.activeTab < workbook->SheetCount() ? handler.activeTab : 0;
  workbook->package_ = std::move(package);
  return workbook;
}

bool Workbook::IsNew() const { return package_ == nullptr; }

Worksheet& Workbook::Sheet(int index) {
  if (index < 1 || index > SheetCount()) Fail("there is no sheet " + IntToStr(index));
  return *sheets_[static_cast<size_t>(index - 1)];
}

Worksheet* Workbook::SheetByName(std::string_view name) {
  for (const auto& sheet : sheets_)
    if (sheet->Name() == name) return sheet.get();
  return nullptr;
}

Worksheet& Workbook::ActiveSheet() {
  if (sheets_.empty()) Fail("the workbook has no sheet");
  return *sheets_[static_cast<size_t>(active_)];
}

Worksheet& Workbook::AddWorksheet() {
  int number = SheetCount() + 1;
  const auto taken = [&](const std::string& name) {
    return std::any_of(sheets_.begin(), sheets_.end(),
                       [&](const auto& sheet) { return SameText(sheet->Name(), name); });
  };
  while (taken("Sheet" + IntToStr(number))) ++number;
  sheets_.push_back(std::unique_ptr<Worksheet>(new Worksheet(*this, "Sheet" + IntToStr(number))));
  sheets_.back()->data_->loaded = true;
  sheets_.back()->data_->modified = true;
  active_ = SheetCount() - 1;
  sheetsChanged_ = true;
  return *sheets_.back();
}

namespace {

std::string RelationshipsXml(const std::vector<Relationship>& relationships) {
  XmlWriter xml;
  xml.Open("Relationships");
  xml.Attribute("xmlns", kPackageRelNs);
  for (const Relationship& relationship : relationships) {
    xml.Open("Relationship");
    xml.Attribute("Id", relationship.id);
    xml.Attribute("Type", relationship.type);
    xml.Attribute("Target", relationship.target);
    if (!relationship.targetMode.empty()) xml.Attribute("TargetMode", relationship.targetMode);
    xml.Close();
  }
  xml.Close();
  return std::move(xml.Bytes());
}

std::string ContentTypesXml(const std::vector<ContentType>& types) {
  XmlWriter xml;
  xml.Open("Types");
  xml.Attribute("xmlns", kContentTypesNs);
  for (const ContentType& type : types) {
    xml.Open(type.isDefault ? "Default" : "Override");
    xml.Attribute(type.isDefault ? "Extension" : "PartName", type.key);
    xml.Attribute("ContentType", type.type);
    xml.Close();
  }
  xml.Close();
  return std::move(xml.Bytes());
}

constexpr std::string_view kStylesXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
    "patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

}  // namespace

std::string Workbook::Build() {
  // Only written and new sheets are written anew (both are loaded by then); the others are copied.
  if (sheets_.empty()) AddWorksheet();
  ZipWriter zip(fileName_);
  if (!package_) {
    std::vector<ContentType> types{
        {true, "rels", "application/vnd.openxmlformats-package.relationships+xml"},
        {true, "xml", "application/xml"},
        {false, "/xl/workbook.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"},
        {false, "/xl/styles.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"}};
    std::vector<Relationship> relationships;
    XmlWriter workbook;
    workbook.Open("workbook");
    workbook.Attribute("xmlns", kMainNs);
    workbook.Attribute("xmlns:r", kRelNs);
    workbook.Open("bookViews");
    workbook.Empty("workbookView", {{"activeTab", IntToStr(active_)}});
    workbook.Close();
    workbook.Open("sheets");
    for (int i = 1; i <= SheetCount(); ++i) {
      const std::string id = "rId" + IntToStr(i);
      const std::string target = "worksheets/sheet" + IntToStr(i) + ".xml";
      workbook.Empty("sheet",
                     {{"name", sheets_[static_cast<size_t>(i - 1)]->Name()}, {"sheetId", IntToStr(i)}, {"r:id", id}});
      relationships.push_back({id, std::string(kWorksheetType), target, ""});
      types.push_back({false, "/xl/" + target, std::string(kWorksheetContent)});
    }
    workbook.Close();
    workbook.Close();
    relationships.push_back({"rId" + IntToStr(SheetCount() + 1),
                             "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles", "styles.xml",
                             ""});
    zip.Add("[Content_Types].xml", ContentTypesXml(types));
    zip.Add(
        "_rels/.rels",
        RelationshipsXml({{"rId1", "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument",
                           "xl/workbook.xml", ""}}));
    zip.Add("xl/workbook.xml", std::move(workbook.Bytes()));
    zip.Add("xl/_rels/workbook.xml.rels", RelationshipsXml(relationships));
    zip.Add("xl/styles.xml", std::string(kStylesXml));
    for (int i = 1; i <= SheetCount(); ++i)
      zip.Add("xl/worksheets/sheet" + IntToStr(i) + ".xml",
              WriteSheetPart(sheets_[static_cast<size_t>(i - 1)]->data_->part, ""));
    return zip.Finish();
  }

  Package& package = *package_;
  ZipReader& reader = *package.zip;
  std::vector<Relationship> relationships = package.relationships;
  std::vector<ContentType> types = package.contentTypes;
  const bool dropCalcChain = !package.calcChainPart.empty();
  if (dropCalcChain) {
    std::erase_if(relationships, [](const Relationship& r) { return EndsWith(r.type, "/calcChain"); });
    std::erase_if(types, [&](const ContentType& t) { return !t.isDefault && t.key == "/" + package.calcChainPart; });
  }
  // New sheets get a part and a relationship of their own.
  std::vector<Worksheet*> added;
  int nextSheetId = 1;
  for (auto& sheet : sheets_)
    for (const auto& [name, value] : sheet->data_->attributes)
      if (LocalName(name) == "sheetId")
        nextSheetId = std::max(nextSheetId, static_cast<int>(StrToIntDef(value, 0)) + 1);
  for (auto& sheet : sheets_) {
    Worksheet::Data& data = *sheet->data_;
    // A sheet that an earlier save of this workbook added has its part, but not in the package read.
    if (!data.partName.empty() && reader.Find(data.partName) >= 0) continue;
    if (data.partName.empty()) {
      int number = 1;
      const auto partTaken = [&](const std::string& part) {
        return reader.Find(part) >= 0 || std::any_of(added.begin(), added.end(), [&](Worksheet* other) {
                 return other->data_->partName == part;
               });
      };
      while (partTaken("xl/worksheets/sheet" + IntToStr(number) + ".xml")) ++number;
      data.partName = "xl/worksheets/sheet" + IntToStr(number) + ".xml";
      int idNumber = 1;
      const auto idTaken = [&](const std::string& id) {
        return std::any_of(relationships.begin(), relationships.end(),
                           [&](const Relationship& r) { return r.id == id; });
      };
      while (idTaken("rId" + IntToStr(idNumber))) ++idNumber;
      data.relationshipId = "rId" + IntToStr(idNumber);
      data.attributes = {{"xmlns:r", package.relationshipNs},
                         {"name", sheet->Name()},
                         {"sheetId", IntToStr(nextSheetId++)},
                         {"r:id", data.relationshipId}};
    }
    // The target relative to the workbook part's folder (the default layout keeps both in xl/).
    std::string target = data.partName;
    const size_t slash = package.workbookPart.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : package.workbookPart.substr(0, slash + 1);
    target = target.compare(0, folder.size(), folder) == 0 ? target.substr(folder.size()) : "/" + target;
    relationships.push_back({data.relationshipId, package.worksheetType, target, ""});
    types.push_back({false, "/" + data.partName, std::string(kWorksheetContent)});
    added.push_back(sheet.get());
  }
  const bool relationshipsChanged = dropCalcChain || !added.empty();

  std::string workbookXml;
  if (sheetsChanged_) {
    const std::string& original = package.workbookXml;
    const std::string sheetsName = package.sheetsName.empty() ? "sheets" : package.sheetsName;
    const std::string sheetName = sheetsName.substr(0, sheetsName.size() - LocalName(sheetsName).size()) + "sheet";
    std::string sheetsXml;
    for (auto& sheet : sheets_) {
      Attributes attributes = sheet->data_->attributes;
      for (auto& [name, value] : attributes)
        if (LocalName(name) == "name") value = sheet->Name();
      sheetsXml += "<" + sheetName;
      AppendAttributes(sheetsXml, attributes);
      sheetsXml += "/>";
    }
    if (!package.hasSheets) Fail("the workbook part has no list of sheets");
    if (package.sheetsEmpty) {
      // "<sheets/>": its start tag ends in "/>"; write the element anew with its attributes.
      const size_t begin = original.rfind('<', package.sheetsContent - 1);
      workbookXml = original.substr(0, begin) + "<" + sheetsName + ">" + sheetsXml + "</" + sheetsName + ">" +
                    original.substr(package.sheetsContent);
    } else {
      workbookXml = original.substr(0, package.sheetsContent) + sheetsXml + original.substr(package.sheetsClose);
    }
  }

  for (size_t index = 0; index < reader.Entries().size(); ++index) {
    const std::string& name = reader.Entries()[index].name;
    if (dropCalcChain && name == package.calcChainPart) continue;
    if (sheetsChanged_ && name == package.workbookPart) {
      zip.Add(name, std::move(workbookXml));
      continue;
    }
    if (relationshipsChanged && name == package.workbookRelsPart) {
      zip.Add(name, RelationshipsXml(relationships));
      continue;
    }
    if (relationshipsChanged && name == "[Content_Types].xml") {
      zip.Add(name, ContentTypesXml(types));
      continue;
    }
    const auto written = std::find_if(sheets_.begin(), sheets_.end(), [&](const auto& sheet) {
      return sheet->data_->modified && sheet->data_->partName == name;
    });
    if (written != sheets_.end()) {
      zip.Add(name, WriteSheetPart((*written)->data_->part, (*written)->data_->xml));
      continue;
    }
    zip.CopyRaw(reader, static_cast<int>(index));
  }
  for (Worksheet* sheet : added) zip.Add(sheet->data_->partName, WriteSheetPart(sheet->data_->part, ""));
  return zip.Finish();
}

void Workbook::Save() {
  if (fileName_.empty()) Fail("a new workbook is saved with SaveAs");
  SaveAs(fileName_);
}

void Workbook::SaveAs(const std::string& fileName) {
  const std::string previous = fileName_;
  fileName_ = fileName;
  try {
    WriteFileAtomic(fileName_, Build());
  } catch (const EOleException&) {
    fileName_ = previous;
    throw;
  } catch (const Exception& error) {
    fileName_ = previous;
    throw EOleException(fileName, "cannot be written (" + error.Message() + ")");
  }
}

void Workbook::Close() {
  sheets_.clear();
  package_.reset();
  active_ = 0;
}

}  // namespace platform
