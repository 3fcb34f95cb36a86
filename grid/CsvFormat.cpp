#include "grid/CsvFormat.h"

#include <algorithm>
#include <utility>

#include "grid/ExUtil.h"

namespace velmora {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char Quote = '"';

bool NeedsQuotes(std::string_view text, const TCsvWriteStyle& style) {
  if (style.QuoteAllFields || (text.empty() && style.QuoteEmptyFields)) return true;
  if (!text.empty() && text.front() == Quote) return true;
  return std::any_of(text.begin(), text.end(), [&](char c) { return c == style.Delimiter || c == CR || c == LF; });
}

// Splits the text into records, scanning each byte once (a quoted field that never closes is scanned
// to the end once: any quote that could open a later such field closes this one).
class CsvScanner {
public:
  CsvScanner(std::string_view text, char delimiter, bool javaStyle)
      : text_(text), delimiter_(delimiter), javaStyle_(javaStyle) {}

  // The first `limit` records (all of them when 0).
  std::vector<std::vector<std::string>> Records(size_t limit = 0) {
    std::vector<std::vector<std::string>> records;
    while (pos_ < text_.size() && (limit == 0 || records.size() < limit)) {
      std::vector<std::string>& fields = records.emplace_back();
      bool more = true;
      while (more) more = ReadField(fields);
    }
    return records;
  }

private:
  bool AtLineEnd() const {
    return pos_ >= text_.size() || text_[pos_] == LF || (text_[pos_] == CR && pos_ + 1 < text_.size() && text_[pos_ + 1] == LF);
  }
  // Moves past the line break at pos_ (or stays at the end).
  void SkipLineBreak() {
    if (pos_ < text_.size() && text_[pos_] == CR) ++pos_;
    if (pos_ < text_.size()) ++pos_;
  }
  bool AtDelimiter() const { return delimiter_ != '\0' && pos_ < text_.size() && text_[pos_] == delimiter_; }

  // Reads one field into fields; true when another field of the same record follows.
  bool ReadField(std::vector<std::string>& fields) {
    std::string field;
    bool quoted = pos_ < text_.size() && text_[pos_] == Quote;
    if (quoted) {
      ReadQuoted(field);
      while (!AtLineEnd() && !AtDelimiter()) ++pos_;
    } else {
      const size_t begin = pos_;
      while (!AtLineEnd() && !AtDelimiter()) ++pos_;
      field.assign(text_.substr(begin, pos_ - begin));
    }
    fields.push_back(Decode(field, quoted));
    if (AtDelimiter()) {
      ++pos_;
      return true;
    }
    SkipLineBreak();
    return false;
  }

  // The content of the quoted field at pos_; pos_ ends behind its closing quote, or at the end of the
  // line it began on when it has none.
  void ReadQuoted(std::string& field) {
    const size_t begin = ++pos_;
    for (size_t i = begin; i < text_.size(); ++i) {
      if (text_[i] != Quote) continue;
      if (i + 1 < text_.size() && text_[i + 1] == Quote) {
        ++i;
        continue;
      }
      AppendUnquoted(field, text_.substr(begin, i - begin));
      pos_ = i + 1;
      return;
    }
    while (!AtLineEnd()) ++pos_;
    AppendUnquoted(field, text_.substr(begin, pos_ - begin));
  }

  static void AppendUnquoted(std::string& field, std::string_view content) {
    field.reserve(content.size());
    for (size_t i = 0; i < content.size(); ++i) {
      field += content[i];
      if (content[i] == Quote && i + 1 < content.size() && content[i + 1] == Quote) ++i;
    }
  }

  std::string Decode(const std::string& field, bool quoted) const {
    if (javaStyle_) return !quoted && field.size() == 1 && field[0] == '^' ? std::string() : JavaToLineFeeds(field);
    return field.find(LF) == std::string::npos ? field : CSVToLineFeeds(field);
  }

  std::string_view text_;
  char delimiter_;
  bool javaStyle_;
  size_t pos_ = 0;
};

}  // namespace

void AppendCsvField(std::string& out, std::string_view text, const TCsvWriteStyle& style) {
  if (style.JavaStyle) {
    out += text.empty() ? std::string("^") : LineFeedsToJava(text);
    return;
  }
  if (!NeedsQuotes(text, style)) {
    out += text;
    return;
  }
  out += Quote;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == CR && i + 1 < text.size() && text[i + 1] == LF) continue;  // CR LF is written as LF
    if (c == Quote) out += Quote;
    out += c;
  }
  out += Quote;
}

char DetectCsvDelimiter(std::string_view text) {
  char found = '\0';
  size_t best = 0;
  for (char candidate : {',', ';', '#', '\t', '|'}) {
    // The fields of the first two records, read with the candidate, less one for each record.
    std::vector<std::vector<std::string>> records = CsvScanner(text, candidate, false).Records(2);
    records.resize(2);
    const size_t count = records[0].empty() ? 0 : records[0].size() - 1;
    if (count == (records[1].empty() ? 0 : records[1].size() - 1) && count > best) {
      best = count;
      found = candidate;
    }
  }
  return found;
}

std::vector<std::vector<std::string>> ReadCsvRecords(std::string_view text, char delimiter, bool javaStyle) {
  return CsvScanner(text, delimiter, javaStyle).Records();
}

}  // namespace velmora
