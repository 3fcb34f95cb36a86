#include <string>

#include "grid/tests/GridFileFixture.h"
#include "platform/core/Spawn.h"
#include "platform/office/tests/OfficeTestSupport.h"

namespace velmora::testing {
namespace {

class GridMarkupFilesTest : public GridFileTest {};

// The header and fixed cells' background: the classic active border colour.
constexpr const char* kFixed = " BGCOLOR=\"#C0C0C0\"";

TEST_F(GridMarkupFilesTest, WritesTheTwoByTwoTable) {
  Fill({{"A", "B"}, {"1", "2"}});
  grid_->SetFixedRows(1);
  grid_->SaveToHTML(File("t.htm"));
  EXPECT_EQ(Bytes("t.htm"), std::string("<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" Width=\"100%\">\r\n"
                                        "<tr>\r\n<td nowrap") + kFixed + "><B>A</B></td>\r\n<td nowrap" + kFixed +
                                "><B>B</B></td>\r\n</tr>\r\n<tr>\r\n<td nowrap>1</td>\r\n<td nowrap>2</td>\r\n</tr>\r\n"
                                "</table><p>\r\n");
}

TEST_F(GridMarkupFilesTest, CellsAsHtml) {
  struct Case {
    const char* cell;
    bool urlShow, urlFull;
    const char* html;
  };
  const Case cases[] = {
      {"", false, false, "<br>"},
      {"<b>&", false, false, "&lt;b&gt;&amp;"},
      {"A\r\nB", false, false, "A<br>\nB"},
      {"<B>bold</B>", false, false, "<B>bold</B>"},  // markup stays markup
      {"http://host/a?x=1&y=\"2\"", true, false, "<A HREF=\"http://host/a?x=1&amp;y=&quot;2&quot;\">host/a?x=1&amp;y=\"2\"</A>"},
      {"http://host/", true, true, "<A HREF=\"http://host/\">http://host/</A>"},
      {"mailto:a@b http://c", true, false, "<A HREF=\"mailto:a@b http://c\">a@b http://c</A>"},
      {"http://host/", false, false, "http://host/"},
  };
  for (const Case& c : cases) {
    Fill({{c.cell}});
    grid_->URLShow = c.urlShow;
    grid_->URLFull = c.urlFull;
    grid_->SetWordWrap(true);
    grid_->SaveToHTML(File("c.htm"));
    EXPECT_NE(Bytes("c.htm").find(std::string("<tr>\r\n<td>") + c.html + "</td>\r\n</tr>"), std::string::npos)
        << c.cell << "\n" << Bytes("c.htm");
  }
}

TEST_F(GridMarkupFilesTest, SettingsShapeTheTable) {
  Fill({{"x", "y"}});
  TMarkupSettings& s = grid_->HTMLSettings();
  s.TableStyle = "class=\"hosts\"";
  s.PrefixTag = "<div>";
  s.SuffixTag = "</div>";
  s.HeaderFile = File("head.txt");
  s.FooterFile = File("missing.txt");
  s.ColWidths.Add(40);
  Write("head.txt", "<html>\n<body>");
  grid_->OnGetAlignment = [](platform::TObject*, int, int ACol, platform::TAlignment& h, TVAlignment&) {
    if (ACol == 1) h = platform::TAlignment::taRightJustify;
  };
  grid_->OnGetCellColor = [](platform::TObject*, int, int ACol, platform::TGridDrawState, platform::TBrush& b,
                             platform::TFont& f) {
    if (ACol == 0) b.SetColor(platform::clRed), f.SetStyle({platform::TFontStyle::fsBold, platform::TFontStyle::fsUnderline});
  };
  grid_->AppendToHTML(File("s.htm"));
  EXPECT_EQ(Bytes("s.htm"),
            "<html>\r\n<body>\r\n<div>\r\n"
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" Width=\"100%\" class=\"hosts\">\r\n<tr>\r\n"
            "<td nowrap BGCOLOR=\"#FF0000\" WIDTH=40><B><U>x</U></B></td>\r\n<td nowrap align=\"right\">y</td>\r\n"
            "</tr>\r\n</table><p>\r\n</div>\r\n");
}

// A merged block of two columns and three rows is one cell that spans them; the page parses as a
// table of consistent rows.
TEST_F(GridMarkupFilesTest, MergedBlockIsOneSpanningCell) {
  Fill({{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}, {"j", "k", "l"}});
  grid_->MergeCells(1, 1, 2, 3);
  grid_->SaveToHTML(File("m.htm"));
  const std::string html = Bytes("m.htm");
  EXPECT_NE(html.find("<tr>\r\n<td nowrap>d</td>\r\n<td COLSPAN=2 ROWSPAN=3 nowrap>e</td>\r\n</tr>\r\n"
                      "<tr>\r\n<td nowrap>g</td>\r\n</tr>\r\n<tr>\r\n<td nowrap>j</td>\r\n</tr>"),
            std::string::npos)
      << html;
  office_test::TempFolder folder;
  office_test::WriteFile(folder / "m.htm", html);
  office_test::RunPython(folder, "parse", R"(
from html.parser import HTMLParser
class Cells(HTMLParser):
    rows, spans = [], 0
    def handle_starttag(self, tag, attrs):
        if tag == 'tr': self.rows.append(0)
        if tag == 'td':
            a = dict(attrs)
            self.rows[-1] += 1
            self.spans += int(a.get('colspan', 1)) * int(a.get('rowspan', 1))
p = Cells()
p.feed(open('m.htm', encoding='utf-8').read())
assert p.rows == [3, 2, 1, 1], p.rows
assert p.spans == 12, p.spans
)");
}

TEST_F(GridMarkupFilesTest, XmlIsEscapedAndWellFormed) {
  Fill({{"<b>&", "A\r\nB"}, {"\xC3\xBC", ""}});
  grid_->SaveToXML(File("x.xml"), "hosts", "host", nullptr);
  EXPECT_EQ(Bytes("x.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<hosts>\r\n<host>\r\n<FIELD0>&lt;b&gt;&amp;</FIELD0>\r\n"
            "<FIELD1>A&#13;\nB</FIELD1>\r\n</host>\r\n<host>\r\n<FIELD0>\xC3\xBC</FIELD0>\r\n<FIELD1></FIELD1>\r\n"
            "</host>\r\n</hosts>\r\n");
  const platform::SpawnResult lint =
      platform::SpawnAndWait({"xmllint", {"--noout", File("x.xml")}, File(""), {}});
  ASSERT_EQ(lint.error, 0) << "xmllint could not be started (scripts/setup.sh installs libxml2-utils)";
  EXPECT_EQ(lint.exitCode, 0);

  platform::TStringList tags;
  tags.Add("name");
  grid_->SaveToXML(File("y.xml"), "l", "r", &tags);
  EXPECT_NE(Bytes("y.xml").find("<name>\xC3\xBC</name>\r\n<FIELD1></FIELD1>"), std::string::npos);
  for (const char* bad : {"", "1x", "a b", "a<"}) {
    EXPECT_THROW(grid_->SaveToXML(File("z.xml"), bad, "r", nullptr), EDovAdizError) << bad;
  }
  EXPECT_FALSE(platform::FileExists(File("z.xml")));
}

}  // namespace
}  // namespace velmora::testing
