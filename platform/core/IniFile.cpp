#include "platform/core/IniFile.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/KeyIndex.h"
#include "platform/core/SectionValues.h"
#include "platform/core/StrUtils.h"
#include "platform/core/StringList.h"

namespace platform {

namespace {

// Trim's notion of a blank: a byte up to ' '.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// One line of a text: its content is [begin, end), its line break [end, next).
struct Line {
  size_t begin;
  size_t end;
  size_t next;
};

// The line that starts at `begin` (< text.size()); it ends at CR LF, a lone CR, a lone LF or the text's end.
Line LineAt(std::string_view text, size_t begin) {
  size_t end = begin;
  while (end < text.size() && !IsLineBreak(text[end])) ++end;
  size_t next = end;
  if (next < text.size() && text[next++] == '\r' && next < text.size() && text[next] == '\n') ++next;
  return {begin, end, next};
}

// A UTF-8 byte order mark, which some editors put at the start of a file. It stays in the file, and the
// line behind it counts as the file's first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Whether a line starts at `at`: at the start of the text, behind a line break, or behind a byte order mark
// that starts the text.
bool StartsLine(std::string_view text, size_t at) {
  return at == 0 || IsLineBreak(text[at - 1]) || (at == kByteOrderMark.size() && text.starts_with(kByteOrderMark));
}

size_t FirstNonBlank(std::string_view line) {
  size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  return first;
}

// The trimmed name of a section header line "[name]" (text after "]" is ignored); nullopt for any other line.
std::optional<std::string> HeaderName(std::string_view line) {
  size_t first = FirstNonBlank(line);
  if (first == line.size() || line[first] != '[') return std::nullopt;
  size_t close = line.find(']', first + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(first + 1, close - first - 1));
}

// A line "key=value", or a key alone.
struct Entry {
  std::string_view key;    // without the blanks around it
  std::string_view value;  // the text after the first "=", untrimmed
  size_t keyEnd;           // offset in the line just past the key
};

// The entry on a line that is not a section header; nullopt for a blank line, a comment (";"), a line
// starting with "[" and a line with nothing before its "=".
std::optional<Entry> EntryOf(std::string_view line) {
  size_t first = FirstNonBlank(line);
  if (first == line.size() || line[first] == ';' || line[first] == '[') return std::nullopt;
  size_t equals = line.find('=');
  size_t keyEnd = std::min(equals, line.size());
  while (keyEnd > first && IsBlank(line[keyEnd - 1])) --keyEnd;
  if (keyEnd == first) return std::nullopt;
  std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
  return Entry{line.substr(first, keyEnd - first), value, keyEnd};
}

// A value as read: trimmed, then without one pair of matching surrounding quotes.
std::string ValueAsRead(std::string_view raw) {
  std::string value = Trim(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// `what` makes the reason only for a refusal: a section of many keys is checked key by key.
template <typename What>
void RefuseUnless(bool valid, const std::string& fileName, const What& what) {
  if (!valid) throw EIniFileException("Cannot write to the INI file \"" + fileName + "\": " + what());
}

// Whether text holds one of the bytes; one vectorised search per byte, as a section of many keys has
// every key checked.
bool HoldsAnyOf(std::string_view text, std::string_view bytes) {
  for (char byte : bytes) {
    if (text.find(byte) != std::string_view::npos) return true;
  }
  return false;
}

// Refuse what would change the file's structure when written.
void CheckWritableSection(const std::string& fileName, const std::string& section) {
  RefuseUnless(!TrimmedView(section).empty() && !HoldsAnyOf(section, "]\r\n"), fileName,
               [&] { return "the section name \"" + section + "\" is empty or holds \"]\" or a line break"; });
}

void CheckWritableEntry(const std::string& fileName, const std::string& key, const std::string& value) {
  const std::string_view ident = TrimmedView(key);
  RefuseUnless(!ident.empty() && !HoldsAnyOf(key, "=\r\n") && ident.front() != '[' && ident.front() != ';',
               fileName, [&] {
                 return "the key \"" + key + "\" is empty, holds \"=\" or a line break, or begins with \"[\" or \";\"";
               });
  RefuseUnless(!HoldsAnyOf(value, "\r\n"), fileName,
               [&] { return "the value of the key \"" + key + "\" holds a line break"; });
}

void CheckWritable(const std::string& fileName, const std::string& section, const std::string& key,
                   const std::string& value) {
  CheckWritableSection(fileName, section);
  CheckWritableEntry(fileName, key, value);
}

// A missing file reads as empty; a file that cannot be opened, or is no regular file (a FIFO would block
// its reader for ever), raises EFOpenError naming it. The file is read with one allocation of its size:
// the service reads HostList.ini several times at every check.
std::string ReadIniText(const std::string& fileName) { return ReadRegularFile(fileName, kUnlimitedFileBytes, MissingFile::ReadsEmpty); }

// Calls visit(name, lines) for each section of a text in file order, until it returns false; `lines` runs
// from the section's header line to the next header or the end of the text. Header lines are found by
// their "[", so the lines between them cost no more than a search for that byte.
template <typename Visit>
void ForEachSection(std::string_view text, Visit visit) {
  std::optional<std::string> name;
  size_t begin = 0;
  for (size_t bracket = text.find('['); bracket != std::string_view::npos; bracket = text.find('[', bracket + 1)) {
    size_t lineBegin = bracket;
    while (lineBegin > 0 && IsBlank(text[lineBegin - 1]) && !IsLineBreak(text[lineBegin - 1])) --lineBegin;
    if (!StartsLine(text, lineBegin)) continue;  // not the line's first non-blank
    Line line = LineAt(text, lineBegin);
    std::optional<std::string> header = HeaderName(text.substr(line.begin, line.end - line.begin));
    if (header) {
      if (name && !visit(*name, text.substr(begin, line.begin - begin))) return;
      name = std::move(header);
      begin = line.begin;
    }
    bracket = line.end;
  }
  if (name) visit(*name, text.substr(begin));
}

// The lines of the first section of the name; later sections of the same name are never seen.
std::optional<std::string_view> FirstSection(std::string_view text, const std::string& name) {
  std::optional<std::string_view> found;
  ForEachSection(text, [&](const std::string& sectionName, std::string_view lines) {
    if (SameText(sectionName, name)) found = lines;
    return !found;
  });
  return found;
}

// Calls visit(line, entry) for each entry of a section's lines until it returns false.
template <typename Visit>
void ForEachEntry(std::string_view lines, Visit visit) {
  for (size_t pos = LineAt(lines, 0).next; pos < lines.size();) {
    Line line = LineAt(lines, pos);
    std::optional<Entry> entry = EntryOf(lines.substr(line.begin, line.end - line.begin));
    if (entry && !visit(line, *entry)) return;
    pos = line.next;
  }
}

// The value of the first entry of the key in a section's lines.
std::optional<std::string> ValueIn(std::optional<std::string_view> lines, const std::string& key) {
  std::optional<std::string> found;
  if (!lines) return found;
  ForEachEntry(*lines, [&](const Line&, const Entry& entry) {
    if (SameText(entry.key, key)) found = ValueAsRead(entry.value);
    return !found;
  });
  return found;
}

// Replaces the contents of strings with the keys of a section, or its key=value lines, each key once.
void ListSection(std::optional<std::string_view> lines, TStringList& strings, bool withValues) {
  StringListUpdateGuard guard(strings);
  strings.Clear();
  if (!lines) return;
  std::vector<std::string_view> keys;  // the keys listed so far
  TKeyIndex listed;
  const auto keyAt = [&](uint32_t position) { return keys[position]; };
  ForEachEntry(*lines, [&](const Line&, const Entry& entry) {
    if (listed.Add(entry.key, keys.size(), keyAt)) {
      keys.push_back(entry.key);
      std::string key(entry.key);
      strings.Add(withValues ? key + "=" + ValueAsRead(entry.value) : key);
    }
    return true;
  });
}

// Collects section names, each once.
class SectionNames {
public:
  explicit SectionNames(TStringList& strings) : guard_(strings), strings_(strings) { strings_.Clear(); }
  void Add(const std::string& name) {
    if (seen_.insert(UpperCase(name)).second) strings_.Add(name);
  }

private:
  StringListUpdateGuard guard_;
  TStringList& strings_;
  std::unordered_set<std::string> seen_;
};

}  // namespace

// The lines of an INI file grouped by section, each group holding the exact bytes of its lines, so that
// a change touches only the lines it concerns and costs no more than the section it changes.
// The first group holds the lines before the first section header and never matches a name.
class IniDocument {
public:
  explicit IniDocument(std::string_view text) {
    size_t preambleEnd = text.size();
    ForEachSection(text, [&](const std::string& name, std::string_view lines) {
      if (groups_.empty()) preambleEnd = static_cast<size_t>(lines.data() - text.data());
      groups_.push_back({name, true, std::string(lines), std::nullopt});
      return true;
    });
    groups_.insert(groups_.begin(), Group{{}, false, std::string(text.substr(0, preambleEnd)), std::nullopt});
    for (size_t pos = 0; pos < text.size() && lineBreak_.empty();) {
      Line line = LineAt(text, pos);
      lineBreak_ = text.substr(line.end, line.next - line.end);
      pos = line.next;
    }
    if (lineBreak_.empty()) lineBreak_ = "\r\n";
  }

  std::string Text() const {
    size_t size = 0;
    for (const Group& group : groups_) size += group.lines.size();
    std::string text;
    text.reserve(size);
    for (const Group& group : groups_) text += group.lines;
    return text;
  }

  // Looks the key up in the section's index, which the first lookup after a change of the section
  // builds in one pass over its lines.
  std::optional<std::string> Value(const std::string& section, const std::string& key) const {
    const Group* group = Find(TrimmedView(section));
    if (!group) return std::nullopt;
    if (!group->index) {
      group->index.emplace();
      ForEachEntry(group->lines, [&](const Line&, const Entry& entry) {
        group->index->Add(entry.key, ValueAsRead(entry.value));
        return true;
      });
    }
    return group->index->Find(key);
  }

  void ReadSection(const std::string& section, TStringList& strings, bool withValues) const {
    ListSection(Lines(Trim(section)), strings, withValues);
  }

  void ReadSections(TStringList& strings) const {
    SectionNames names(strings);
    for (const Group& group : groups_) {
      if (group.hasHeader) names.Add(group.name);
    }
  }

  // The changes return whether the text changed.
  bool SetValue(const std::string& section, const std::string& key, const std::string& value) {
    std::string name = Trim(section);
    std::string ident = Trim(key);
    Group* group = Find(name);
    if (!group) {
      std::string& last = groups_.back().lines;
      if (!last.empty() && !IsLineBreak(last.back())) last += lineBreak_;
      groups_.push_back({name, true, "[" + name + "]" + lineBreak_ + ident + "=" + value + lineBreak_, std::nullopt});
      return true;
    }
    group->index.reset();
    std::string& lines = group->lines;
    size_t insertAt = LineAt(lines, 0).next;  // after the header, unless the section has keys
    std::optional<bool> changed;
    ForEachEntry(lines, [&](const Line& line, const Entry& entry) {
      if (!SameText(entry.key, ident)) {
        insertAt = line.next;
        return true;
      }
      // The key keeps its place, its spelling and its line end.
      std::string updated = lines.substr(line.begin, entry.keyEnd) + "=" + value;
      changed = lines.compare(line.begin, line.end - line.begin, updated) != 0;
      if (*changed) lines.replace(line.begin, line.end - line.begin, updated);
      return false;
    });
    if (changed) return *changed;
    std::string added = ident + "=" + value + lineBreak_;
    if (!IsLineBreak(lines[insertAt - 1])) added.insert(0, lineBreak_);
    lines.insert(insertAt, added);
    return true;
  }

  bool DeleteKey(const std::string& section, const std::string& key) {
    Group* group = Find(Trim(section));
    if (!group) return false;
    group->index.reset();
    std::string ident = Trim(key);
    std::vector<Line> doomed;
    ForEachEntry(group->lines, [&](const Line& line, const Entry& entry) {
      if (SameText(entry.key, ident)) doomed.push_back(line);
      return true;
    });
    for (auto line = doomed.rbegin(); line != doomed.rend(); ++line) {
      group->lines.erase(line->begin, line->next - line->begin);
    }
    return !doomed.empty();
  }

  // The section's lines become its header and the entries, built in one pass; a name given twice
  // keeps its first place and takes its last value, as writing the values one by one would do.
  void WriteSection(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string name = Trim(section);
    std::vector<std::pair<std::string, std::string>> entries;
    TKeyIndex places;
    const auto keyAt = [&](uint32_t position) { return std::string_view(entries[position].first); };
    for (const auto& [key, value] : values) {
      const std::string_view ident = TrimmedView(key);
      if (places.Add(ident, entries.size(), keyAt)) entries.emplace_back(std::string(ident), value);
      else entries[*places.Find(ident, keyAt)].second = value;
    }
    std::string lines = "[" + name + "]" + lineBreak_;
    size_t size = lines.size();
    for (const auto& [key, value] : entries) size += key.size() + 1 + value.size() + lineBreak_.size();
    lines.reserve(size);
    for (const auto& [key, value] : entries) lines.append(key).append(1, '=').append(value).append(lineBreak_);
    if (Group* group = Find(name)) {
      group->lines = std::move(lines);
      group->index.reset();
      return;
    }
    std::string& last = groups_.back().lines;
    if (!last.empty() && !IsLineBreak(last.back())) last += lineBreak_;
    groups_.push_back({name, true, std::move(lines), std::nullopt});
  }

  bool EraseSection(const std::string& section) {
    std::string name = Trim(section);
    return std::erase_if(groups_, [&](const Group& g) { return g.hasHeader && SameText(g.name, name); }) > 0;
  }

private:
  struct Group {
    std::string name;
    bool hasHeader = false;
    std::string lines;
    mutable std::optional<TSectionValues> index;  // none until a lookup needs it
  };

  // The first section of the name: later ones of the same name are never seen.
  const Group* Find(std::string_view name) const {
    for (const Group& group : groups_) {
      if (group.hasHeader && SameText(group.name, name)) return &group;
    }
    return nullptr;
  }
  Group* Find(std::string_view name) { return const_cast<Group*>(std::as_const(*this).Find(name)); }

  std::optional<std::string_view> Lines(const std::string& name) const {
    const Group* group = Find(name);
    if (!group) return std::nullopt;
    return std::string_view(group->lines);
  }

  std::vector<Group> groups_;
  std::string lineBreak_;  // the file's own, for the lines that writes add
};

bool TCustomIniFile::SectionExists(const std::string& Section) const {
  TStringList sections;
  ReadSections(sections);
  return sections.IndexOf(Trim(Section)) >= 0;
}

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident) const {
  TStringList keys;
  ReadSection(Section, keys);
  return keys.IndexOf(Trim(Ident)) >= 0;
}

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& Section, const std::string& Ident, double Default) const {
  return StrToFloatDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteFloat(const std::string& Section, const std::string& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

IniDocument TIniFile::Load() const { return IniDocument(ReadIniText(FileName())); }

void TIniFile::Store(const IniDocument& document) { WriteFileAtomic(FileName(), document.Text()); }

// Reads look at the file's text directly, without copying its sections.
std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const {
  std::string text = ReadIniText(FileName());
  return ValueIn(FirstSection(text, Trim(Section)), Trim(Ident)).value_or(Default);
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  CheckWritable(FileName(), Section, Ident, Value);
  IniDocument document = Load();
  if (document.SetValue(Section, Ident, Value)) Store(document);
}

void TIniFile::ReadSection(const std::string& Section, TStringList& Strings) const {
  std::string text = ReadIniText(FileName());
  ListSection(FirstSection(text, Trim(Section)), Strings, false);
}

void TIniFile::ReadSections(TStringList& Strings) const {
  std::string text = ReadIniText(FileName());
  SectionNames names(Strings);
  ForEachSection(text, [&](const std::string& name, std::string_view) {
    names.Add(name);
    return true;
  });
}

void TIniFile::ReadSectionValues(const std::string& Section, TStringList& Strings) const {
  std::string text = ReadIniText(FileName());
  ListSection(FirstSection(text, Trim(Section)), Strings, true);
}

void TIniFile::EraseSection(const std::string& Section) {
  IniDocument document = Load();
  if (document.EraseSection(Section)) Store(document);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  IniDocument document = Load();
  if (document.DeleteKey(Section, Ident)) Store(document);
}

TMemIniFile::TMemIniFile(std::string FileName)
    : TCustomIniFile(std::move(FileName)), document_(std::make_unique<IniDocument>(ReadIniText(this->FileName()))) {}

TMemIniFile::~TMemIniFile() = default;

std::string TMemIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                    const std::string& Default) const {
  return document_->Value(Section, Ident).value_or(Default);
}

void TMemIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  CheckWritable(FileName(), Section, Ident, Value);
  modified_ = document_->SetValue(Section, Ident, Value) || modified_;
}

void TMemIniFile::ReadSection(const std::string& Section, TStringList& Strings) const {
  document_->ReadSection(Section, Strings, false);
}

void TMemIniFile::ReadSections(TStringList& Strings) const { document_->ReadSections(Strings); }

void TMemIniFile::ReadSectionValues(const std::string& Section, TStringList& Strings) const {
  document_->ReadSection(Section, Strings, true);
}

void TMemIniFile::WriteSection(const std::string& Section,
                               const std::vector<std::pair<std::string, std::string>>& Values) {
  CheckWritableSection(FileName(), Section);
  for (const auto& [key, value] : Values) CheckWritableEntry(FileName(), key, value);
  document_->WriteSection(Section, Values);
  modified_ = true;
}

void TMemIniFile::EraseSection(const std::string& Section) {
  modified_ = document_->EraseSection(Section) || modified_;
}

void TMemIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  modified_ = document_->DeleteKey(Section, Ident) || modified_;
}

void TMemIniFile::UpdateFile() {
  if (!modified_) return;
  WriteFileAtomic(FileName(), document_->Text());
  modified_ = false;
}

}  // namespace platform
