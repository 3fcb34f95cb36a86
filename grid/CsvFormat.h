#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Delimited text as the grid writes and reads it. Records end at CR LF or at a lone LF outside a
// quoted field; a final line break adds no record. Inside a quoted field a quote is doubled, and line
// breaks and delimiters are text. The grid's line break inside a cell is CR LF: the writer stores it
// as a lone LF (as spreadsheets do) and the reader turns every LF that has no CR before it into CR LF,
// so a cell's lone LF reads back as CR LF. Every other byte of a cell reads back as written.

// How the fields of a file are written.
struct TCsvWriteStyle {
  char Delimiter = ',';
  // Line breaks become "~", an empty field "^", and nothing is quoted (so a field holding the
  // delimiter cannot be read back whole).
  bool JavaStyle = false;
  bool QuoteEmptyFields = true;
  bool QuoteAllFields = false;
};

// Appends the field that holds `text`. A field is quoted when QuoteAllFields asks, when it is empty and
// QuoteEmptyFields asks, and whenever it holds the delimiter, a CR or an LF or begins with a quote.
void AppendCsvField(std::string& out, std::string_view text, const TCsvWriteStyle& style);

// The delimiter that the first two records agree on: of ",", ";", "#", TAB and "|" in this order, the
// one that separates as many fields in both records, and more than every candidate before it did;
// '\0' when none does (a one-record file has an empty second record). Delimiters inside quoted fields
// do not count.
char DetectCsvDelimiter(std::string_view text);

// The records of a text, each a list of decoded fields: '\0' as delimiter makes every line one field.
// A field is quoted when it begins with a quote; text between its closing quote and the next
// delimiter is dropped, and a field whose closing quote is missing holds the rest of its line. In Java
// style a field "^" reads as empty and "~" as CR LF.
std::vector<std::vector<std::string>> ReadCsvRecords(std::string_view text, char delimiter, bool javaStyle);

}  // namespace velmora
