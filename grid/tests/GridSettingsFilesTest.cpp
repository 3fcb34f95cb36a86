#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "grid/tests/GridFileFixture.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/shell/Registry.h"

namespace velmora::testing {
namespace {

// Counts the files renamed into a folder (each atomic replace is one) while it lives.
class ReplaceCounter {
public:
  explicit ReplaceCounter(const std::string& folder) : fd_(::inotify_init1(IN_NONBLOCK)) {
    ::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO);
  }
  ~ReplaceCounter() { ::close(fd_); }
  int Count() {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* p = buffer; p < buffer + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
        ++count_;
    }
    return count_;
  }

private:
  int fd_;
  int count_ = 0;
};

class GridSettingsFilesTest : public GridFileTest {
protected:
  void SetUp() override {
    GridFileTest::SetUp();
    platform::OverrideExeFileName(File("program"));
  }
  void TearDown() override {
    platform::OverrideExeFileName("");
    GridFileTest::TearDown();
  }
};

TEST_F(GridSettingsFilesTest, StoredWidthsOutsideTheGeometryLeaveTheColumn) {
  grid_->ColumnSize().Key = "Widths.ini";  // relative: in the executable's folder
  grid_->ColumnSize().Section = "GridSize";
  grid_->ColumnSize().Location = TColumnSizeLocation::clIniFile;
  struct Case {
    const char* stored;
    int width;
  };
  const Case cases[] = {{"-1", 50}, {"0", 0},     {"-5", 50},      {"40000", 50}, {"2147483647", 50},
                        {"abc", 50}, {"32767", 32767}, {nullptr, 50}};
  for (const Case& c : cases) {
    Write("Widths.ini", c.stored ? std::string("[GridSize]\r\nCol1=") + c.stored + "\r\nCol9=7\r\n" : "");
    for (int col = 0; col < grid_->ColCount(); ++col) grid_->SetColWidths(col, 50);
    grid_->LoadColSizes();
    EXPECT_EQ(grid_->ColWidths(1), c.width) << (c.stored ? c.stored : "missing");
    EXPECT_EQ(grid_->ColWidths(0), 50);
  }
}

TEST_F(GridSettingsFilesTest, SavesEveryColumnWithOneReplace) {
  Write("Host.ini", "[Hosts]\r\nalpha=\r\n");
  TColumnSize& size = grid_->ColumnSize();
  size.Key = File("Host.ini");
  size.Section = "GridSize";
  size.Location = TColumnSizeLocation::clIniFile;
  grid_->SetColCount(8);
  for (int c = 0; c < 8; ++c) grid_->SetColWidths(c, 10 + c);
  ReplaceCounter replaces(File(""));
  grid_->SaveColSizes();
  EXPECT_EQ(replaces.Count(), 1);
  platform::TStringList keys;
  platform::TMemIniFile(File("Host.ini")).ReadSection("GridSize", keys);
  EXPECT_EQ(keys.Count(), 8);
  EXPECT_EQ(keys.Strings(7), "Col7");
  EXPECT_NE(Bytes("Host.ini").find("[Hosts]\r\nalpha=\r\n"), std::string::npos);
  for (int c = 0; c < 8; ++c) grid_->SetColWidths(c, 1);
  grid_->LoadColSizes();
  EXPECT_EQ(grid_->ColWidths(7), 17);

  size.Section.clear();  // nothing is kept without a section
  grid_->SaveColSizes();
  EXPECT_EQ(replaces.Count(), 1);
}

TEST_F(GridSettingsFilesTest, KeepsWidthsInTheRegistry) {
  ::setenv("XDG_CONFIG_HOME", File("").c_str(), 1);
  TColumnSize& size = grid_->ColumnSize();
  size.Key = "Software\\Velmora\\Grid";
  size.Section = "Sizes";
  size.Location = TColumnSizeLocation::clRegistry;
  grid_->SetColWidths(2, 77);
  grid_->SaveColSizes();
  platform::TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\Software\\Velmora\\Grid\\Sizes", false));
  EXPECT_EQ(registry.ReadString("Col2"), "77");
  registry.WriteString("Col2", "33");
  grid_->LoadColSizes();
  EXPECT_EQ(grid_->ColWidths(2), 33);
  ::unsetenv("XDG_CONFIG_HOME");
}

// Every key written and read: a grid's non-default settings saved, loaded into another grid and saved
// again give the same file, and a few values are checked on the way.
TEST_F(GridSettingsFilesTest, PrintSettingsRoundTrip) {
  TPrintSettings& p = grid_->PrintSettings();
  p.ColumnSpacing = 3, p.RowSpacing = 4, p.TitleSpacing = 5, p.FixedHeight = 6, p.FixedWidth = 7;
  p.Centered = true, p.NoAutoSize = true, p.UseFixedHeight = true, p.UseFixedWidth = true;
  p.RepeatFixedRows = true, p.RepeatFixedCols = true;
  p.Borders = TPrintBorders::pbAroundHorizontal, p.BorderStyle = platform::TPenStyle::psDashDot;
  p.Date = TPrintPosition::ppBottomCenter, p.PageNr = TPrintPosition::ppTopRight;
  p.Title = TPrintPosition::ppTopCenter, p.Time = TPrintPosition::ppBottomLeft;
  p.DateFormat = "yyyy-mm-dd", p.TitleText = "Hosts \xC3\xBC", p.FooterSize = 11, p.HeaderSize = 12;
  p.LeftSize = 13, p.RightSize = 14, p.FitToPage = TFitToPage::fpShrink;
  p.Font().SetName("Courier New"), p.Font().SetSize(12), p.Font().SetStyle({platform::TFontStyle::fsItalic});
  p.Font().SetColor(platform::clRed);
  p.HeaderFont().SetStyle({platform::TFontStyle::fsBold, platform::TFontStyle::fsStrikeOut});
  p.FooterFont().SetColor(platform::clBtnFace);  // a system colour: negative as a signed integer
  p.PageNumSep = " of ", p.PageSuffix = ")", p.PagePrefix = "(";
  p.Orientation = platform::TPrinterOrientation::poLandscape;
  p.TitleLines().SetText("C:\\new\r\n\\\\server\r\nline \\n three\r\n");
  ReplaceCounter replaces(File(""));
  grid_->SavePrintSettings("print.ini", "PRINTSETTINGS");
  EXPECT_EQ(replaces.Count(), 1);

  TTestDovAdiz other(form_.get());
  other.LoadPrintSettings(File("print.ini"), "printsettings");
  const TPrintSettings& q = other.PrintSettings();
  EXPECT_EQ(q.TitleLines().Text(), p.TitleLines().Text());
  EXPECT_EQ(q.Font().Style(), p.Font().Style());
  EXPECT_EQ(q.HeaderFont().Style(), p.HeaderFont().Style());
  EXPECT_EQ(q.FooterFont().Color(), platform::clBtnFace);
  EXPECT_EQ(q.Orientation, platform::TPrinterOrientation::poLandscape);
  EXPECT_EQ(q.BorderStyle, platform::TPenStyle::psDashDot);
  EXPECT_EQ(q.TitleText, p.TitleText);
  other.SavePrintSettings(File("again.ini"), "PRINTSETTINGS");
  EXPECT_EQ(Bytes("again.ini"), Bytes("print.ini"));
}

TEST_F(GridSettingsFilesTest, PrintSettingsLoadRules) {
  TPrintSettings& p = grid_->PrintSettings();
  p.Borders = TPrintBorders::pbDouble;
  p.FitToPage = TFitToPage::fpGrow;
  p.Orientation = platform::TPrinterOrientation::poLandscape;
  p.Font().SetStyle({platform::TFontStyle::fsBold});
  p.HeaderFont().SetStyle({platform::TFontStyle::fsBold});
  Write("p.ini", "[P]\r\nNoAutoSize=y\r\nBorders=9\r\nFitToPage=7\r\nDate=9\r\nPageNr=6\r\nOrientation=2\r\n"
                 "FontStyle=0\r\nTitleLines=A\\nB\r\n");
  grid_->LoadPrintSettings(File("p.ini"), "P");
  EXPECT_TRUE(p.Centered);      // missing: "Y"
  EXPECT_FALSE(p.NoAutoSize);   // only "Y" is true
  EXPECT_EQ(p.Borders, TPrintBorders::pbDouble);
  EXPECT_EQ(p.FitToPage, TFitToPage::fpGrow);
  EXPECT_EQ(p.Orientation, platform::TPrinterOrientation::poLandscape);
  EXPECT_EQ(p.Date, TPrintPosition::ppNone);
  EXPECT_EQ(p.PageNr, TPrintPosition::ppBottomCenter);
  EXPECT_EQ(p.ColumnSpacing, 20);
  EXPECT_EQ(p.FooterSize, 100);
  EXPECT_EQ(p.Font().Name(), "Arial");
  EXPECT_TRUE(p.Font().Style().Empty());                                  // stored 0: exactly that
  EXPECT_TRUE(p.HeaderFont().Style().Contains(platform::TFontStyle::fsBold));  // missing: kept
  ASSERT_EQ(p.TitleLines().Count(), 2);
  EXPECT_EQ(p.TitleLines().Strings(1), "B");
}

}  // namespace
}  // namespace velmora::testing
