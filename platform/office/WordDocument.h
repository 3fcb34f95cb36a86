#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The word-processor facade of the grid's document export: a new DOCX document holding one table, in
// the order Add, SetPageSetup, AddTable, then for each cell Cell(row, column).InsertAfter(text) and
// SetAlignment, and SaveAs. Every failure raises EOleException naming the file.

// The values of the paragraph alignment that the export sets.
enum class ParagraphAlignment { Left = 0, Center = 1, Right = 2 };

// The printer's page: paper size and margins in tenths of a millimetre, as the printer canvas measures.
// A paper wider than high is landscape.
struct DocumentPageSetup {
  int paperWidth = 2100, paperHeight = 2970;
  int marginLeft = 200, marginTop = 200, marginRight = 200, marginBottom = 200;
};

class WordTableCell {
public:
  // Appends text; each line (split at CR LF, LF or CR) becomes a paragraph of the cell.
  void InsertAfter(std::string_view text) { text_ += text; }
  void SetAlignment(ParagraphAlignment alignment) { alignment_ = alignment; }
  const std::string& Text() const { return text_; }
  ParagraphAlignment Alignment() const { return alignment_; }

private:
  std::string text_;
  ParagraphAlignment alignment_ = ParagraphAlignment::Left;
};

class WordTable {
public:
  WordTable(int rows, int columns);
  int RowCount() const { return rows_; }
  int ColumnCount() const { return columns_; }
  // From 1; EOleException outside the table.
  WordTableCell& Cell(int row, int column);
  // The width of a column in screen pixels (96 per inch), as the grid measures; 64 unless set.
  void SetColumnWidth(int column, int pixels);
  int ColumnWidth(int column) const;

private:
  int rows_, columns_;
  std::vector<WordTableCell> cells_;
  std::vector<int> widths_;
};

class WordDocument {
public:
  static std::unique_ptr<WordDocument> Add();
  void SetPageSetup(const DocumentPageSetup& setup) { page_ = setup; }
  const DocumentPageSetup& PageSetup() const { return page_; }
  // The table at the start of the document; a second call replaces it.
  WordTable& AddTable(int rows, int columns);
  // Writes the document; the columns are scaled down together when the table is wider than the text
  // width of the page. The file is replaced atomically.
  void SaveAs(const std::string& fileName);

  // The column widths in twentieths of a point as SaveAs writes them.
  std::vector<int> ColumnWidthsTwips() const;

private:
  WordDocument() = default;
  std::string DocumentXml() const;

  DocumentPageSetup page_;
  std::unique_ptr<WordTable> table_;
};

}  // namespace platform
