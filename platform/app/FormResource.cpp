#include "platform/app/FormResource.h"

#include <cerrno>
#include <cstdlib>

#include "platform/core/Ascii.h"
#include "platform/core/Utf8.h"

namespace platform {

EFormResourceError::EFormResourceError(std::string resource, int line, std::string name, const std::string& problem)
    : Exception("Form resource " + resource + ", line " + std::to_string(line) + ": " + problem),
      resource_(std::move(resource)),
      line_(line),
      name_(std::move(name)) {}

std::string_view ResourceValueKindName(TResourceValueKind kind) {
  switch (kind) {
    case TResourceValueKind::Integer: return "an integer";
    case TResourceValueKind::Float: return "a decimal number";
    case TResourceValueKind::String: return "a string";
    case TResourceValueKind::Identifier: return "an identifier";
    case TResourceValueKind::Handler: return "an event handler";
    case TResourceValueKind::Set: return "a set";
    case TResourceValueKind::StringList: return "a list of strings";
    case TResourceValueKind::Binary: return "binary data";
    case TResourceValueKind::Collection: return "a collection";
  }
  return "a value";
}

namespace {

bool IsIdentStart(char c) { return IsAsciiLetter(c) || c == '_'; }
bool IsIdentChar(char c) { return IsAsciiAlnum(c) || c == '_'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A recursive-descent reader over the text; `line_` follows every line break it passes.
class Parser {
public:
  Parser(std::string_view text, const std::string& resource) : text_(text), resource_(resource) {}

  TResourceComponent Resource() {
    SkipBlanks();
    const int line = line_;
    std::string name = Identifier("a component name");
    TResourceComponent root = Component(std::move(name), line);
    SkipBlanks();
    if (!AtEnd()) Fail("text after the form's closing brace", "");
    return root;
  }

private:
  [[noreturn]] void Fail(const std::string& problem, const std::string& name) const {
    throw EFormResourceError(resource_, line_, name, problem);
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
      } else if (c == '#') {
        while (!AtEnd() && text_[pos_] != '\n') ++pos_;
        continue;
      } else if (c != ' ' && c != '\t' && c != '\r') {
        return;
      }
      ++pos_;
    }
  }

  void Expect(char c, const std::string& what) {
    SkipBlanks();
    if (Peek() != c) Fail("expected " + what, "");
    ++pos_;
  }

  bool Accept(char c) {
    SkipBlanks();
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }

  std::string Identifier(const char* what) {
    SkipBlanks();
    if (!IsIdentStart(Peek())) Fail(std::string("expected ") + what, "");
    const size_t start = pos_;
    while (!AtEnd() && IsIdentChar(text_[pos_])) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  // After "name:" — the class, then the body.
  TResourceComponent Component(std::string name, int line) {
    Expect(':', "':' and the class of the component");
    TResourceComponent component;
    component.line = line;
    component.name = std::move(name);
    component.className = Identifier("a class name");
    if (Accept('.')) component.className += "." + Identifier("a class name after the unit's '.'");
    Expect('{', "'{' to open the component's body");
    for (;;) {
      if (Accept('}')) return component;
      if (AtEnd()) Fail("missing '}' at the end of component " + component.name, component.name);
      const int memberLine = line_;
      std::string first = Identifier("a property or component name");
      SkipBlanks();
      if (Peek() == ':') {
        component.children.push_back(Component(std::move(first), memberLine));
      } else {
        if (!component.children.empty())
          Fail("property " + first + " after a nested component; properties come first", first);
        component.properties.push_back(Property(std::move(first), memberLine));
      }
    }
  }

  // After the first name of a property path.
  TResourceProperty Property(std::string path, int line) {
    while (Accept('.')) path += "." + Identifier("a property name after '.'");
    Expect('=', "'=' after property " + path);
    TResourceProperty property;
    property.line = line;
    property.path = std::move(path);
    property.value = Value(property.path);
    return property;
  }

  TResourceValue Value(const std::string& property) {
    SkipBlanks();
    TResourceValue value;
    const char c = Peek();
    if (c == '"') {
      value.kind = TResourceValueKind::String;
      value.text = String();
    } else if (c == '@') {
      ++pos_;
      value.kind = TResourceValueKind::Handler;
      value.text = Identifier("a handler name after '@'");
    } else if (c == '-' || c == '+' || IsAsciiDigit(c)) {
      Number(value, property);
    } else if (IsIdentStart(c)) {
      std::string word = Identifier("a value");
      if (word == "set" && Accept('(')) {
        value.kind = TResourceValueKind::Set;
        value.names = Elements(')', [this] { return Identifier("a set element"); });
      } else if (word == "list" && Accept('(')) {
        value.kind = TResourceValueKind::StringList;
        value.names = Elements(')', [this] {
          SkipBlanks();
          if (Peek() != '"') Fail("expected a string in the list", "");
          return String();
        });
      } else if (word == "bytes" && Accept('(')) {
        value.kind = TResourceValueKind::Binary;
        value.text = Bytes(property);
      } else if (word == "items" && Accept('{')) {
        value.kind = TResourceValueKind::Collection;
        value.items = Items();
      } else {
        value.kind = TResourceValueKind::Identifier;
        value.text = std::move(word);
      }
    } else {
      Fail("expected a value for property " + property, property);
    }
    return value;
  }

  template <class ReadElement>
  std::vector<std::string> Elements(char close, ReadElement read) {
    std::vector<std::string> elements;
    if (Accept(close)) return elements;
    do {
      elements.push_back(read());
    } while (Accept(','));
    Expect(close, "',' or ')'");
    return elements;
  }

  std::string String() {
    ++pos_;  // the opening quote
    std::string out;
    for (;;) {
      if (AtEnd() || Peek() == '\n') Fail("unterminated string", "");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = AtEnd() ? '\0' : text_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': out += CodePoint(); break;
        default: Fail(std::string("unknown escape \\") + e + " in a string", "");
      }
    }
  }

  // After "\u": "{" hex digits "}" naming a Unicode scalar value, as UTF-8.
  std::string CodePoint() {
    if (Peek() != '{') Fail("expected '{' after \\u", "");
    ++pos_;
    char32_t c = 0;
    int digits = 0;
    while (HexValue(Peek()) >= 0 && digits < 7) {
      c = c * 16 + static_cast<char32_t>(HexValue(text_[pos_++]));
      ++digits;
    }
    if (Peek() != '}' || digits == 0 || digits > 6 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
      Fail("\\u{...} must hold a Unicode code point in hexadecimal", "");
    ++pos_;
    std::string out;
    AppendCodePoint(out, c);
    return out;
  }

  void Number(TResourceValue& value, const std::string& property) {
    const size_t start = pos_;
    if (Peek() == '-' || Peek() == '+') ++pos_;
    bool real = false;
    int base = 10;
    if (Peek() == '0' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
      pos_ += 2;
      base = 16;
      while (HexValue(Peek()) >= 0) ++pos_;
    } else {
      while (IsAsciiDigit(Peek())) ++pos_;
      if (Peek() == '.') {
        real = true;
        ++pos_;
        while (IsAsciiDigit(Peek())) ++pos_;
      }
      if (Peek() == 'e' || Peek() == 'E') {
        real = true;
        ++pos_;
        if (Peek() == '-' || Peek() == '+') ++pos_;
        while (IsAsciiDigit(Peek())) ++pos_;
      }
    }
    if (IsIdentChar(Peek()) || Peek() == '.') Fail("malformed number for property " + property, property);
    std::string digits(text_.substr(start, pos_ - start));
    std::string sign;
    if (digits[0] == '-' || digits[0] == '+') {
      sign = digits.substr(0, 1);
      digits.erase(0, 1);
    }
    if (base == 16) digits.erase(0, 2);
    if (digits.empty() || digits == ".") Fail("malformed number for property " + property, property);
    errno = 0;
    char* end = nullptr;
    const std::string text = sign + digits;
    if (real) {
      value.kind = TResourceValueKind::Float;
      value.real = std::strtod(text.c_str(), &end);
    } else {
      value.kind = TResourceValueKind::Integer;
      value.integer = std::strtoll(text.c_str(), &end, base);
    }
    if (errno == ERANGE) Fail("number out of range for property " + property, property);
    if (end != text.c_str() + text.size()) Fail("malformed number for property " + property, property);
  }

  // After "bytes(": pairs of hexadecimal digits up to ")".
  std::string Bytes(const std::string& property) {
    std::string out;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("missing ')' after the bytes of property " + property, property);
      const char c = text_[pos_++];
      if (c == ')') break;
      const int v = HexValue(c);
      if (v < 0) Fail("binary data of property " + property + " holds a character that is not hexadecimal", property);
      if (high < 0) {
        high = v;
      } else {
        out += static_cast<char>(high * 16 + v);
        high = -1;
      }
    }
    if (high >= 0) Fail("binary data of property " + property + " has an odd number of digits", property);
    return out;
  }

  // After "items {": "{" properties "}" per item, then "}".
  std::vector<TResourceItem> Items() {
    std::vector<TResourceItem> items;
    while (!Accept('}')) {
      const int line = line_;
      Expect('{', "'{' to open a collection item or '}' to end the collection");
      TResourceItem item;
      item.line = line;
      while (!Accept('}')) {
        if (AtEnd()) Fail("missing '}' at the end of a collection item", "");
        const int propertyLine = line_;
        std::string name = Identifier("a property name");
        item.properties.push_back(Property(std::move(name), propertyLine));
      }
      items.push_back(std::move(item));
    }
    return items;
  }

  std::string_view text_;
  const std::string& resource_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

TResourceComponent ParseFormResource(std::string_view text, const std::string& resourceName) {
  return Parser(text, resourceName).Resource();
}

}  // namespace platform
