#include "platform/office/WordDocument.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/StrUtils.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Xml.h"
#include "platform/office/ZipArchive.h"

namespace platform {

namespace {

constexpr int kDefaultColumnPixels = 64;
constexpr int kTwipsPerPixel = 15;             // 1440 per inch over 96 pixels per inch
constexpr double kTwipsPerTenthMm = 5.669291;  // 1440 per inch over 254 tenths of a millimetre
constexpr int kMaxCells = 16 << 20;

int Twips(int tenthsMm) { return static_cast<int>(std::lround(tenthsMm * kTwipsPerTenthMm)); }

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

constexpr std::string_view kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";

constexpr std::string_view kPackageRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

}  // namespace

WordTable::WordTable(int rows, int columns)
    : rows_(rows),
      columns_(columns),
      cells_(static_cast<size_t>(rows) * static_cast<size_t>(columns)),
      widths_(static_cast<size_t>(columns), kDefaultColumnPixels) {}

WordTableCell& WordTable::Cell(int row, int column) {
  if (row < 1 || row > rows_ || column < 1 || column > columns_)
    throw EOleException("", "the table has no cell " + IntToStr(row) + ", " + IntToStr(column));
  return cells_[static_cast<size_t>(row - 1) * static_cast<size_t>(columns_) + static_cast<size_t>(column - 1)];
}

void WordTable::SetColumnWidth(int column, int pixels) {
  if (column < 1 || column > columns_) throw EOleException("", "the table has no column " + IntToStr(column));
  widths_[static_cast<size_t>(column - 1)] = std::max(1, pixels);
}

int WordTable::ColumnWidth(int column) const { return widths_.at(static_cast<size_t>(column - 1)); }

std::unique_ptr<WordDocument> WordDocument::Add() { return std::unique_ptr<WordDocument>(new WordDocument()); }

WordTable& WordDocument::AddTable(int rows, int columns) {
  if (rows < 1 || columns < 1 || static_cast<int64_t>(rows) * columns > kMaxCells)
    throw EOleException("", "a table cannot have " + IntToStr(rows) + " rows and " + IntToStr(columns) + " columns");
  table_ = std::make_unique<WordTable>(rows, columns);
  return *table_;
}

std::vector<int> WordDocument::ColumnWidthsTwips() const {
  std::vector<int> widths;
  if (!table_) return widths;
  int64_t total = 0;
  for (int c = 1; c <= table_->ColumnCount(); ++c) {
    widths.push_back(table_->ColumnWidth(c) * kTwipsPerPixel);
    total += widths.back();
  }
  const int textWidth = std::max(1, Twips(page_.paperWidth - page_.marginLeft - page_.marginRight));
  if (total > textWidth)
    for (int& width : widths) width = std::max(1, static_cast<int>(static_cast<int64_t>(width) * textWidth / total));
  return widths;
}

std::string WordDocument::DocumentXml() const {
  XmlWriter xml;
  xml.Open("w:document");
  xml.Attribute("xmlns:w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main");
  xml.Open("w:body");
  if (table_) {
    const std::vector<int> widths = ColumnWidthsTwips();
    int total = 0;
    for (const int width : widths) total += width;
    xml.Open("w:tbl");
    xml.Open("w:tblPr");
    xml.Empty("w:tblW", {{"w:w", IntToStr(total)}, {"w:type", "dxa"}});
    xml.Open("w:tblBorders");
    for (const char* edge : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
      xml.Empty(edge, {{"w:val", "single"}, {"w:sz", "4"}, {"w:space", "0"}, {"w:color", "000000"}});
    xml.Close();
    xml.Empty("w:tblLayout", {{"w:type", "fixed"}});
    xml.Close();
    xml.Open("w:tblGrid");
    for (const int width : widths) xml.Empty("w:gridCol", {{"w:w", IntToStr(width)}});
    xml.Close();
    std::string text;
    for (int r = 1; r <= table_->RowCount(); ++r) {
      xml.Open("w:tr");
      for (int c = 1; c <= table_->ColumnCount(); ++c) {
        const WordTableCell& cell = table_->Cell(r, c);
        xml.Open("w:tc");
        xml.Open("w:tcPr");
        xml.Empty("w:tcW", {{"w:w", IntToStr(widths[static_cast<size_t>(c - 1)])}, {"w:type", "dxa"}});
        xml.Close();
        for (const std::string_view line : Lines(cell.Text())) {
          xml.Open("w:p");
          if (cell.Alignment() != ParagraphAlignment::Left) {
            xml.Open("w:pPr");
            xml.Empty("w:jc", {{"w:val", cell.Alignment() == ParagraphAlignment::Right ? "right" : "center"}});
            xml.Close();
          }
          if (!line.empty()) {
            xml.Open("w:r");
            // A tab is an element of its own in a run.
            size_t start = 0;
            for (size_t tab = line.find('\t');; tab = line.find('\t', start)) {
              const std::string_view piece =
                  line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
              if (!piece.empty()) {
                xml.Open("w:t");
                xml.Attribute("xml:space", "preserve");
                xml.Text(piece);
                xml.Close();
              }
              if (tab == std::string_view::npos) break;
              xml.Empty("w:tab", {});
              start = tab + 1;
            }
            xml.Close();
          }
          xml.Close();
        }
        xml.Close();
      }
      xml.Close();
    }
    xml.Close();
  }
  xml.Empty("w:p", {});
  xml.Open("w:sectPr");
  const bool landscape = page_.paperWidth > page_.paperHeight;
  if (landscape)
    xml.Empty("w:pgSz", {{"w:w", IntToStr(Twips(page_.paperWidth))},
                         {"w:h", IntToStr(Twips(page_.paperHeight))},
                         {"w:orient", "landscape"}});
  else
    xml.Empty("w:pgSz", {{"w:w", IntToStr(Twips(page_.paperWidth))}, {"w:h", IntToStr(Twips(page_.paperHeight))}});
  xml.Empty("w:pgMar", {{"w:top", IntToStr(Twips(page_.marginTop))},
                        {"w:right", IntToStr(Twips(page_.marginRight))},
                        {"w:bottom", IntToStr(Twips(page_.marginBottom))},
                        {"w:left", IntToStr(Twips(page_.marginLeft))},
                        {"w:header", "708"},
                        {"w:footer", "708"},
                        {"w:gutter", "0"}});
  xml.Close();
  xml.Close();
  xml.Close();
  return std::move(xml.Bytes());
}

void WordDocument::SaveAs(const std::string& fileName) {
  try {
    ZipWriter zip(fileName);
    zip.Add("[Content_Types].xml", std::string(kContentTypes));
    zip.Add("_rels/.rels", std::string(kPackageRelationships));
    zip.Add("word/document.xml", DocumentXml());
    WriteFileAtomic(fileName, zip.Finish());
  } catch (const EOleException&) {
    throw;
  } catch (const Exception& error) {
    throw EOleException(fileName, "cannot be written (" + error.Message() + ")");
  }
}

}  // namespace platform
