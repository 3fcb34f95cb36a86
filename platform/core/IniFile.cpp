#include "platform/core/IniFile.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/core/Files.h"
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
  const char* base = text.data();
  const char* lf = static_cast<const char*>(std::memchr(base + begin, '\n', text.size() - begin));
  size_t lfPos = lf ? static_cast<size_t>(lf - base) : text.size();
  const char* cr = static_cast<const char*>(std::memchr(base + begin, '\r', lfPos - begin));
  if (cr) {
    size_t crPos = static_cast<size_t>(cr - base);
    return {begin, crPos, lf && crPos + 1 == lfPos ? lfPos + 1 : crPos + 1};
  }
  return {begin, lfPos, lf ? lfPos + 1 : lfPos};
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
  std::string key;         // trimmed
  std::string_view value;  // the text after the first "=", untrimmed
  size_t keyEnd;           // offset just past the key as written
};

// The entry on a line that is not a section header; nullopt for a blank line, a comment (";"), a line
// starting with "[" and a line with nothing before its "=".
std::optional<Entry> EntryOf(std::string_view line) {
  size_t first = FirstNonBlank(line);
  if (first == line.size() || line[first] == ';' || line[first] == '[') return std::nullopt;
  size_t equals = line.find('=');
  std::string_view key = line.substr(0, equals);
  Entry entry{Trim(key), {}, key.size()};
  if (entry.key.empty()) return std::nullopt;
  while (IsBlank(line[entry.keyEnd - 1])) --entry.keyEnd;
  if (equals != std::string_view::npos) entry.value = line.substr(equals + 1);
  return entry;
}

// A value as read: trimmed, then without one pair of matching surrounding quotes.
std::string ValueAsRead(std::string_view raw) {
  std::string value = Trim(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

void RefuseUnless(bool valid, const std::string& fileName, const std::string& what) {
  if (!valid) throw EIniFileException("Cannot write to the INI file \"" + fileName + "\": " + what);
}

// Refuses what would change the file's structure when written.
void CheckWritable(const std::string& fileName, const std::string& section, const std::string& key,
                   const std::string& value) {
  std::string name = Trim(section);
  RefuseUnless(!name.empty() && section.find_first_of("]\r\n") == std::string::npos, fileName,
               "the section name \"" + section + "\" is empty or holds \"]\" or a line break");
  std::string ident = Trim(key);
  RefuseUnless(!ident.empty() && key.find_first_of("=\r\n") == std::string::npos && ident.front() != '[' &&
                   ident.front() != ';',
               fileName,
               "the key \"" + key + "\" is empty, holds \"=\" or a line break, or begins with \"[\" or \";\"");
  RefuseUnless(value.find_first_of("\r\n") == std::string::npos, fileName,
               "the value of the key \"" + key + "\" holds a line break");
}

// A missing file reads as empty; any other failure to read raises EFOpenError.
std::string ReadIniText(const std::string& fileName) {
  try {
    return ReadFileBytes(fileName);
  } catch (const EFOpenError&) {
    if (!FileExists(fileName) && !DirectoryExists(fileName)) return {};
    throw;
  }
}

}  // namespace

// The lines of an INI file grouped by section, each group holding the exact bytes of its lines, so that
// a change touches only the lines it concerns and a section's lines can be searched without the rest.
// The first group holds the lines before the first section header and never matches a name.
class IniDocument {
public:
  explicit IniDocument(std::string_view text) {
    groups_.push_back({});
    size_t groupBegin = 0;
    for (size_t pos = 0; pos < text.size();) {
      Line line = LineAt(text, pos);
      if (lineBreak_.empty() && line.next > line.end) lineBreak_ = text.substr(line.end, line.next - line.end);
      std::optional<std::string> header = HeaderName(text.substr(line.begin, line.end - line.begin));
      if (header) {
        groups_.back().lines = text.substr(groupBegin, line.begin - groupBegin);
        groups_.push_back({std::move(*header), true, {}});
        groupBegin = line.begin;
      }
      pos = line.next;
    }
    groups_.back().lines = text.substr(groupBegin);
    if (lineBreak_.empty()) lineBreak_ = "\r\n";
  }

  std::string Text() const {
    std::string text;
    for (const Group& group : groups_) text += group.lines;
    return text;
  }

  std::optional<std::string> Value(const std::string& section, const std::string& key) const {
    const Group* group = FindGroup(Trim(section));
    if (!group) return std::nullopt;
    std::string ident = Trim(key);
    std::optional<std::string> found;
    ForEachEntry(*group, [&](const Line&, const Entry& entry) {
      if (!SameText(entry.key, ident)) return true;
      found = ValueAsRead(entry.value);
      return false;
    });
    return found;
  }

  // The keys of a section, or its key=value lines, each key once, in file order.
  void ListSection(const std::string& section, TStringList& strings, bool withValues) const {
    StringListUpdateGuard guard(strings);
    strings.Clear();
    const Group* group = FindGroup(Trim(section));
    if (!group) return;
    std::unordered_set<std::string> seen;
    ForEachEntry(*group, [&](const Line&, const Entry& entry) {
      if (seen.insert(UpperCase(entry.key)).second) {
        strings.Add(withValues ? entry.key + "=" + ValueAsRead(entry.value) : entry.key);
      }
      return true;
    });
  }

  void ListSections(TStringList& strings) const {
    StringListUpdateGuard guard(strings);
    strings.Clear();
    std::unordered_set<std::string> seen;
    for (const Group& group : groups_) {
      if (group.hasHeader && seen.insert(UpperCase(group.name)).second) strings.Add(group.name);
    }
  }

  // The changes return whether the text changed.
  bool SetValue(const std::string& section, const std::string& key, const std::string& value) {
    std::string name = Trim(section);
    std::string ident = Trim(key);
    Group* group = FindGroup(name);
    if (!group) {
      std::string& last = groups_.back().lines;
      if (!last.empty() && !IsLineBreak(last.back())) last += lineBreak_;
      groups_.push_back({name, true, "[" + name + "]" + lineBreak_ + ident + "=" + value + lineBreak_});
      return true;
    }
    std::string& lines = group->lines;
    size_t insertAt = LineAt(lines, 0).next;  // after the header, unless the section has keys
    bool changed = false;
    bool replaced = false;
    ForEachEntry(*group, [&](const Line& line, const Entry& entry) {
      if (!SameText(entry.key, ident)) {
        insertAt = line.next;
        return true;
      }
      std::string updated = lines.substr(line.begin, entry.keyEnd) + "=" + value;
      changed = lines.compare(line.begin, line.end - line.begin, updated) != 0;
      if (changed) lines.replace(line.begin, line.end - line.begin, updated);
      replaced = true;
      return false;
    });
    if (replaced) return changed;
    std::string added = ident + "=" + value + lineBreak_;
    if (insertAt > 0 && !IsLineBreak(lines[insertAt - 1])) added.insert(0, lineBreak_);
    lines.insert(insertAt, added);
    return true;
  }

  bool DeleteKey(const std::string& section, const std::string& key) {
    Group* group = FindGroup(Trim(section));
    if (!group) return false;
    std::string ident = Trim(key);
    std::vector<Line> doomed;
    ForEachEntry(*group, [&](const Line& line, const Entry& entry) {
      if (SameText(entry.key, ident)) doomed.push_back(line);
      return true;
    });
    for (auto line = doomed.rbegin(); line != doomed.rend(); ++line) {
      group->lines.erase(line->begin, line->next - line->begin);
    }
    return !doomed.empty();
  }

  bool EraseSection(const std::string& section) {
    std::string name = Trim(section);
    return std::erase_if(groups_, [&](const Group& group) { return group.hasHeader && SameText(group.name, name); }) > 0;
  }

private:
  struct Group {
    std::string name;
    bool hasHeader = false;
    std::string lines;
  };

  // The first section of the name: later ones of the same name are never seen.
  const Group* FindGroup(const std::string& name) const {
    for (const Group& group : groups_) {
      if (group.hasHeader && SameText(group.name, name)) return &group;
    }
    return nullptr;
  }
  Group* FindGroup(const std::string& name) {
    return const_cast<Group*>(static_cast<const IniDocument*>(this)->FindGroup(name));
  }

  // Calls visit(line, entry) for each entry of a group until it returns false.
  template <typename Visit>
  static void ForEachEntry(const Group& group, Visit visit) {
    std::string_view lines = group.lines;
    for (size_t pos = LineAt(lines, 0).next; pos < lines.size();) {
      Line line = LineAt(lines, pos);
      std::optional<Entry> entry = EntryOf(lines.substr(line.begin, line.end - line.begin));
      if (entry && !visit(line, *entry)) return;
      pos = line.next;
    }
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

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const {
  return Load().Value(Section, Ident).value_or(Default);
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  CheckWritable(FileName(), Section, Ident, Value);
  IniDocument document = Load();
  if (document.SetValue(Section, Ident, Value)) Store(document);
}

void TIniFile::ReadSection(const std::string& Section, TStringList& Strings) const {
  Load().ListSection(Section, Strings, false);
}

void TIniFile::ReadSections(TStringList& Strings) const { Load().ListSections(Strings); }

void TIniFile::ReadSectionValues(const std::string& Section, TStringList& Strings) const {
  Load().ListSection(Section, Strings, true);
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
  document_->ListSection(Section, Strings, false);
}

void TMemIniFile::ReadSections(TStringList& Strings) const { document_->ListSections(Strings); }

void TMemIniFile::ReadSectionValues(const std::string& Section, TStringList& Strings) const {
  document_->ListSection(Section, Strings, true);
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
