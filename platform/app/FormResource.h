#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exception.h"

namespace platform {

// The text format of form resources: one component tree per form and language.
//
//   # A comment runs to the end of the line.
//   Form1: TForm1 {
//     Caption = "Velmora - Konfigurator"      a string; escapes \" \\ \n \r \t and \u{XXXX} (any code point)
//     Width = 800                              a number: integer (also 0x1F) or decimal (1.5, 2e3)
//     Align = alTop                            an identifier: enumeration value, True/False, named constant,
//                                              or the name of another component of the form
//     Font.Style = set(fsBold, fsItalic)       a set; "Font.Style" sets a property of the object Font
//     Items = list("hide", "normal")           a list of strings
//     OnClick = @btnSaveClick                  an event handler, bound by name to a method of the form
//     Glyph = bytes(424D 3E00 ...)             binary data in hexadecimal, blanks and line breaks ignored
//     Panels = items { { Width = 50 } { Width = 80 Text = "x" } }   a collection, one { } per item
//     Panel1: TPanel {                         a nested component: name, class, then its body
//       Align = alTop
//     }
//     Spin1: zgspin.TExMaskSpinEdit { }        a class named with its unit (PublishedClasses.h)
//   }
//
// Blanks and line breaks only separate. In a body the properties come first, in the order in which the
// loader sets them, then the nested components.

// A form resource that cannot be read or applied. The message names the resource, the line and the
// name at fault.
class EFormResourceError : public Exception {
public:
  EFormResourceError(std::string resource, int line, std::string name, const std::string& problem);

  const std::string& Resource() const { return resource_; }
  int Line() const { return line_; }
  const std::string& Name() const { return name_; }

private:
  std::string resource_;
  int line_;
  std::string name_;
};

enum class TResourceValueKind { Integer, Float, String, Identifier, Handler, Set, StringList, Binary, Collection };

struct TResourceProperty;

// One item of a collection value.
struct TResourceItem {
  int line = 0;
  std::vector<TResourceProperty> properties;
};

struct TResourceValue {
  TResourceValueKind kind = TResourceValueKind::Integer;
  int64_t integer = 0;
  double real = 0;
  std::string text;                 // a string, an identifier, a handler's name or the binary bytes
  std::vector<std::string> names;   // the elements of a set or the strings of a list
  std::vector<TResourceItem> items; // the items of a collection
};

struct TResourceProperty {
  int line = 0;
  std::string path;  // "Caption", "Font.Name"
  TResourceValue value;
};

struct TResourceComponent {
  int line = 0;
  std::string name;
  std::string className;
  std::vector<TResourceProperty> properties;
  std::vector<TResourceComponent> children;
};

// Parses the text of the resource called `resourceName` (which only names it in errors). Raises
// EFormResourceError at the first fault.
TResourceComponent ParseFormResource(std::string_view text, const std::string& resourceName);

// The name of a value's kind as errors use it ("a string", "a set").
std::string_view ResourceValueKindName(TResourceValueKind kind);

}  // namespace platform
