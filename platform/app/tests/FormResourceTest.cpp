#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app/FormResource.h"

namespace platform {
namespace {

TResourceValue ValueOf(const std::string& text) {
  const TResourceComponent form = ParseFormResource("F: TForm {\n  P = " + text + "\n}\n", "TEST");
  EXPECT_EQ(form.properties.size(), 1u);
  return form.properties.at(0).value;
}

TEST(FormResourceTest, ReadsEveryKindOfValue) {
  using K = TResourceValueKind;
  EXPECT_EQ(ValueOf("-42").integer, -42);
  EXPECT_EQ(ValueOf("0x1F").integer, 31);
  EXPECT_EQ(ValueOf("-0x10").integer, -16);
  EXPECT_DOUBLE_EQ(ValueOf("1.5").real, 1.5);
  EXPECT_DOUBLE_EQ(ValueOf("2e3").real, 2000);
  EXPECT_EQ(ValueOf("2e3").kind, K::Float);

  const TResourceValue text = ValueOf(R"("a\"b\\c\n\r\t \u{E4}\u{20AC}\u{1F600} ä")");
  EXPECT_EQ(text.kind, K::String);
  EXPECT_EQ(text.text, "a\"b\\c\n\r\t \xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80 \xC3\xA4");

  EXPECT_EQ(ValueOf("alTop").kind, K::Identifier);
  EXPECT_EQ(ValueOf("alTop").text, "alTop");
  EXPECT_EQ(ValueOf("@FormCreate").kind, K::Handler);
  EXPECT_EQ(ValueOf("@FormCreate").text, "FormCreate");
  EXPECT_EQ(ValueOf("set(fsBold, fsItalic)").names, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_EQ(ValueOf("set()").kind, K::Set);
  EXPECT_TRUE(ValueOf("set( )").names.empty());
  EXPECT_EQ(ValueOf(R"(list("hide", "", "normal"))").names, (std::vector<std::string>{"hide", "", "normal"}));
  EXPECT_EQ(ValueOf("bytes(424D 00ff\n  0A)").text, std::string("BM\0\xFF\n", 5));
  EXPECT_EQ(ValueOf("bytes()").kind, K::Binary);
  // "set" and "list" without a parenthesis are plain identifiers.
  EXPECT_EQ(ValueOf("set").kind, K::Identifier);
}

TEST(FormResourceTest, ReadsComponentsCollectionsAndLines) {
  const TResourceComponent form = ParseFormResource(
      "# the main form\n"
      "Form1: TForm1 {\n"
      "  Caption = \"x\"  Font.Name = \"Tahoma\"\n"
      "  Panels = items {\n"
      "    { Width = 50 Text = \"a\" }\n"
      "    {\n"
      "      Width = 80\n"
      "    }\n"
      "  }\n"
      "  Panel1: TPanel {\n"
      "    Align = alTop\n"
      "    Button1: TButton { }\n"
      "  }\n"
      "  Timer1: TTimer {}\n"
      "}\n",
      "TEST");
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.className, "TForm1");
  EXPECT_EQ(form.line, 2);
  ASSERT_EQ(form.properties.size(), 3u);
  EXPECT_EQ(form.properties[1].path, "Font.Name");
  EXPECT_EQ(form.properties[1].line, 3);
  const TResourceValue& panels = form.properties[2].value;
  ASSERT_EQ(panels.items.size(), 2u);
  EXPECT_EQ(panels.items[0].properties.size(), 2u);
  EXPECT_EQ(panels.items[1].line, 6);
  EXPECT_EQ(panels.items[1].properties[0].line, 7);
  ASSERT_EQ(form.children.size(), 2u);
  EXPECT_EQ(form.children[0].line, 10);
  EXPECT_EQ(form.children[0].children.at(0).name, "Button1");
  EXPECT_EQ(form.children[1].className, "TTimer");
}

TEST(FormResourceTest, SyntaxErrorsNameTheResourceAndLine) {
  struct Case {
    const char* text;
    int line;
    const char* problem;
  };
  const Case cases[] = {
      {"F: T {\n  A = \"open\n}", 2, "unterminated string"},
      {"F: T {\n  A = 1\n", 3, "missing '}'"},
      {"F: T {\n\n  A = \"\\q\"\n}", 3, "unknown escape"},
      {"F: T {\n  A = \"\\u{D800}\"\n}", 2, "Unicode code point"},
      {"F: T {\n  A = \"\\u{110000}\"\n}", 2, "Unicode code point"},
      {"F: T {\n  A = bytes(ABC)\n}", 2, "odd number"},
      {"F: T {\n  A = bytes(AZ)\n}", 2, "not hexadecimal"},
      {"F: T {\n  A = 12px\n}", 2, "malformed number"},
      {"F: T {\n  A = 99999999999999999999\n}", 2, "out of range"},
      {"F: T {\n  C: TX {}\n  A = 1\n}", 3, "after a nested component"},
      {"F: T {\n  A 1\n}", 2, "expected '='"},
      {"F: T {\n  A = \n}", 3, "expected a value"},
      {"F: T {\n  A = list(\"a\" \"b\")\n}", 2, "',' or ')'"},
      {"F: T {}\nG: T {}", 2, "after the form's closing brace"},
      {"F T {}", 1, "expected ':'"},
  };
  for (const Case& c : cases) {
    try {
      ParseFormResource(c.text, "TFORM1.DE");
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const EFormResourceError& e) {
      EXPECT_EQ(e.Resource(), "TFORM1.DE");
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_NE(e.Message().find(c.problem), std::string::npos) << e.Message();
      EXPECT_EQ(e.Message().rfind("Form resource TFORM1.DE, line " + std::to_string(c.line) + ": ", 0), 0u)
          << e.Message();
    }
  }
}

}  // namespace
}  // namespace platform
