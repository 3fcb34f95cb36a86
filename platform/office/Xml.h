#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The local part of a qualified XML name ("x:sheetData" -> "sheetData"). Office files use the
// transitional and the strict namespaces under varying prefixes; their readers match local names only.
std::string_view LocalName(std::string_view qualifiedName);

// The attributes of a start tag as expat hands them: qualified names and decoded values.
class XmlAttributes {
public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
  // The value of the first attribute with that local name, or nullptr.
  const char* Find(std::string_view localName) const;
  std::string_view Value(std::string_view localName) const {
    const char* value = Find(localName);
    return value ? std::string_view(value) : std::string_view();
  }
  const char** Pairs() const { return pairs_; }

private:
  const char** pairs_;
};

// Receives the events of XmlReader. Names are qualified as written; compare LocalName(name).
class XmlHandler {
public:
  virtual ~XmlHandler() = default;
  virtual void StartElement(std::string_view name, const XmlAttributes& attributes) {}
  virtual void EndElement(std::string_view name) {}
  virtual void Text(std::string_view text) {}
};

// A streaming XML reader over expat. Documents may declare no entities and load nothing external, so
// neither expansion bombs nor outside files get in: only the five predefined entities and character
// references expand, each to one character.
// Errors raise EOleException naming the file, the part and the line.
class XmlReader {
public:
  XmlReader(XmlHandler& handler, std::string fileName, std::string partName);
  ~XmlReader();
  XmlReader(const XmlReader&) = delete;
  XmlReader& operator=(const XmlReader&) = delete;

  // Parses the next piece of the document; `last` ends it.
  void Feed(std::string_view bytes, bool last);
  // The byte offset of the current event within the document and its length (0 for the end of an empty
  // element), valid inside a handler's call.
  uint64_t EventOffset() const;
  int EventLength() const;
  // Ends parsing from inside a handler with the reason, which Feed then raises.
  void Abort(std::string reason);

  struct State;  // the parser and its handler, for expat's callbacks

private:
  std::unique_ptr<State> state_;
};

// Parses a whole document held in memory.
void ParseXml(std::string_view xml, XmlHandler& handler, const std::string& fileName, const std::string& partName);

// The text with each invalid UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
bool IsValidUtf8(std::string_view text);

// Appends the text escaped for XML content or an attribute value, with the replacements of XmlWriter.
void AppendEscaped(std::string& out, std::string_view text, bool inAttribute);

// Builds an XML document in memory. Texts and attribute values are escaped; a character that XML 1.0
// cannot hold (a control character other than tab, line feed and carriage return, or invalid UTF-8)
// becomes U+FFFD, so the output is always well-formed.
class XmlWriter {
public:
  XmlWriter();
  void Open(std::string_view name);
  void Attribute(std::string_view name, std::string_view value);
  void Text(std::string_view text);
  // Bytes taken as they are (a fragment copied from another document).
  void Raw(std::string_view bytes);
  void Close();
  // One element with attributes given as name, value pairs and no content.
  void Empty(std::string_view name, std::initializer_list<std::pair<std::string_view, std::string_view>> attributes);
  std::string& Bytes() { return out_; }

private:
  void EndStartTag();

  std::string out_;
  std::vector<std::string> open_;
  bool inStartTag_ = false;
};

}  // namespace platform
