#include <random>
#include <string>
#include <vector>

#include "grid/tests/GridFileFixture.h"

namespace velmora::testing {
namespace {

class GridCsvTest : public GridFileTest {};

// The grid's line break is CR LF; a lone LF in a cell reads back as one.
std::string AsRead(const std::string& cell) {
  std::string out;
  for (size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] == '\n' && (i == 0 || cell[i - 1] != '\r')) out += '\r';
    out += cell[i];
  }
  return out;
}

TEST_F(GridCsvTest, WritesEachFieldAsTheRulesSay) {
  struct Case {
    const char* cell;
    char delimiter;
    bool quoteEmpty, quoteAll, java, multiline;
    const char* line;
  };
  const Case cases[] = {
      {"a,b", '\0', true, false, false, false, "\"a,b\",z\r\n"},
      {"A\r\nB", '\0', true, false, false, true, "\"A\nB\",z\r\n"},
      {"A\r\nB", '\0', true, false, false, false, "\"A\nB\",z\r\n"},  // quoted without Multilinecells too
      {"A\nB", ';', true, false, false, false, "\"A\nB\";z\r\n"},
      {"", '\0', true, false, false, false, "\"\",z\r\n"},
      {"", '\0', false, false, false, false, ",z\r\n"},
      {"", '\0', true, false, true, false, "^,z\r\n"},
      {"x,y", '\0', true, true, false, false, "\"x,y\",\"z\"\r\n"},  // quoted once
      {"say \"hi\";x", ';', true, false, false, false, "\"say \"\"hi\"\";x\";z\r\n"},
      {"\"q", ';', true, false, false, false, "\"\"\"q\";z\r\n"},
      {"in \"q\"", ';', true, false, false, false, "in \"q\";z\r\n"},
      {"A\r\nB", ';', true, false, true, true, "A~B;z\r\n"},
      {"0042", ';', true, false, false, false, "0042;z\r\n"},
  };
  for (const Case& c : cases) {
    Fill({{c.cell, "z"}});
    grid_->FieldDelimiter = c.delimiter;
    grid_->QuoteEmptyFields = c.quoteEmpty;
    grid_->QuoteAllFields = c.quoteAll;
    grid_->JavaStyleCSV = c.java;
    grid_->Multilinecells = c.multiline;
    grid_->SaveToCSV(File("w.csv"));
    EXPECT_EQ(Bytes("w.csv"), c.line) << c.cell;
  }
}

TEST_F(GridCsvTest, ReadsLiteralFiles) {
  struct Case {
    const char* name;
    std::string bytes;
    char delimiter;
    bool java;
    Table cells;
  };
  const Case cases[] = {
      {"detects ;", "a;b;c\r\n1;2;3\r\n", '\0', false, {{"a", "b", "c"}, {"1", "2", "3"}}},
      {"a tie goes to ,", "a,b;c\r\n1;2,3\r\n", '\0', false, {{"a", "b;c"}, {"1;2", "3"}}},
      {"one line has no delimiter", "a;b;c", '\0', false, {{"a;b;c"}}},
      {"empty file", "", '\0', false, {}},
      {"quoted delimiters do not count", "\"a;b\",c\r\nd,e\r\n", '\0', false, {{"a;b", "c"}, {"d", "e"}}},
      {"LF only", "a;b\n1;2\n", ';', false, {{"a", "b"}, {"1", "2"}}},
      {"byte order mark", "\xEF\xBB\xBF" "a;b\r\nc;d", '\0', false, {{"a", "b"}, {"c", "d"}}},
      {"CR LF at the end adds no row", "x;y\r\n", ';', false, {{"x", "y"}}},
      {"empty line in between", "x\r\n\r\ny\r\n", ';', false, {{"x"}, {""}, {"y"}}},
      {"missing closing quote", "a;\"bc;d\r\ne;f\r\n", ';', false, {{"a", "bc;d"}, {"e", "f"}}},
      {"surplus fields widen", "a;b\r\n1;2;3;4\r\n", ';', false, {{"a", "b", "", ""}, {"1", "2", "3", "4"}}},
      {"empty trailing fields", "a;;\r\n", ';', false, {{"a", "", ""}}},
      {"line break in quotes", "\"A\nB\";\"C\r\nD\"\r\n", ';', false, {{"A\r\nB", "C\r\nD"}}},
      {"doubled quotes", "\"say \"\"hi\"\"\";x", ';', false, {{"say \"hi\"", "x"}}},
      {"text after the closing quote", "\"ab\"cd;e", ';', false, {{"ab", "e"}}},
      {"Windows-1252", "caf\xE9;x\r\n", ';', false, {{"caf\xC3\xA9", "x"}}},
      {"invalid UTF-8 read whole", "\xFC\xFF;y", ';', false, {{"\xC3\xBC\xC3\xBF", "y"}}},
      {"Java style", "^;a~b;\"^\"", ';', true, {{"", "a\r\nb", "^"}}},
      {"leading zeros and blanks", " 007 ;0042", ';', false, {{" 007 ", "0042"}}},
  };
  for (const Case& c : cases) {
    Fill({{"old"}});
    Write("r.csv", c.bytes);
    grid_->FieldDelimiter = c.delimiter;
    grid_->JavaStyleCSV = c.java;
    grid_->LoadFromCSV(File("r.csv"));
    EXPECT_EQ(Cells(), c.cells) << c.name;
    EXPECT_EQ(grid_->FieldDelimiter, c.delimiter) << c.name;
  }
}

// Random grids over the characters that CSV treats specially come back cell for cell, for every
// quoting setting, with and without Multilinecells and fixed cells, with ";" and with the delimiter
// detected, and with a hidden column exported.
TEST_F(GridCsvTest, RoundTripsRandomGrids) {
  const std::vector<std::string> alphabet = {";", ",", "\"", "\r\n", "\n", "^", "~", " ", "\xC3\xBC", "a", "0", ""};
  const std::vector<std::string> plain = {"\"", "\r\n", "\n", "^", "~", " ", "\xC3\xBC", "a", "0", ","};
  std::mt19937 random(35);
  const auto text = [&](const std::vector<std::string>& letters) {
    std::string s;
    for (int n = static_cast<int>(random() % 6); n > 0; --n) s += letters[random() % letters.size()];
    return s;
  };
  int rounds = 0;
  for (int mask = 0; mask < 64; ++mask) {
    const bool quoteEmpty = mask & 1, quoteAll = mask & 2, multiline = mask & 4, detected = mask & 8,
               fixedCells = mask & 16, hidden = mask & 32;
    for (int trial = 0; trial < 4; ++trial, ++rounds) {
      Table table(6, std::vector<std::string>(5));
      for (size_t r = 0; r < table.size(); ++r)
        for (auto& cell : table[r]) cell = text(detected && r < 2 ? plain : alphabet);
      Fill(table);
      grid_->SetFixedRows(1);
      grid_->SetFixedCols(1);
      grid_->QuoteEmptyFields = quoteEmpty;
      grid_->QuoteAllFields = quoteAll;
      grid_->Multilinecells = multiline;
      grid_->ExportFixedCells = fixedCells;
      grid_->FieldDelimiter = detected ? '\0' : ';';
      grid_->ExportHiddenCols = hidden;
      if (hidden) grid_->HideColumn(2);
      grid_->SaveToCSV(File("t.csv"));

      Fill({{""}});
      grid_->SetRowCount(1);
      grid_->SetColCount(1);
      if (!fixedCells) {
        grid_->SetRowCount(2);
        grid_->SetColCount(2);
        grid_->SetFixedRows(1);
        grid_->SetFixedCols(1);
      }
      grid_->LoadFromCSV(File("t.csv"));
      Table loaded = Cells();
      Table expected = table;
      if (!fixedCells) {  // the fixed row and column stayed out of the file
        expected.erase(expected.begin());
        for (auto& row : expected) row.erase(row.begin());
        loaded.erase(loaded.begin());
        for (auto& row : loaded) row.erase(row.begin());
      }
      for (auto& row : expected)
        for (auto& cell : row) cell = AsRead(cell);
      ASSERT_EQ(loaded, expected) << "settings " << mask << "\n" << Bytes("t.csv");
    }
  }
  EXPECT_EQ(rounds, 256);
}

TEST_F(GridCsvTest, InsertAddsRowsAfterTheLast) {
  Fill({{"a", "b"}, {"c", "d"}});
  Write("i.csv", "1;2;3\r\n4;5;6\r\n");
  grid_->InsertFromCSV(File("i.csv"));
  EXPECT_EQ(Cells(), (Table{{"a", "b", ""}, {"c", "d", ""}, {"1", "2", "3"}, {"4", "5", "6"}}));
}

TEST_F(GridCsvTest, ReportsProgressAndEndsLoadsWithChangedAndLoaded) {
  std::vector<int> progress;
  grid_->OnFileProgress = [&](platform::TObject*, int16_t percent) { progress.push_back(percent); };
  Fill({{"only"}});
  grid_->SaveToCSV(File("p.csv"));
  EXPECT_EQ(progress, std::vector<int>{100});  // one row: no division by zero
  progress.clear();
  Fill({{"a"}, {"b"}, {"c"}});
  grid_->SaveToCSV(File("p.csv"));
  EXPECT_EQ(progress, (std::vector<int>{0, 50, 100}));
  progress.clear();
  std::vector<platform::TRect> changed;
  grid_->OnCellsChanged = [&](platform::TObject*, const platform::TRect& r) { changed.push_back(r); };
  grid_->LoadFromCSV(File("p.csv"));
  EXPECT_EQ(progress, (std::vector<int>{33, 67, 100}));
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].Right, grid_->ColCount());
  EXPECT_EQ(changed[0].Bottom, grid_->RowCount());
}

TEST_F(GridCsvTest, AppendsAndCreates) {
  Fill({{"a", "b"}});
  grid_->AppendToCSV(File("a.csv"));
  grid_->AppendToCSV(File("a.csv"));
  EXPECT_EQ(Bytes("a.csv"), "a,b\r\na,b\r\n");
}

TEST_F(GridCsvTest, FileErrorsRaiseWithTheirTexts) {
  Fill({{"a"}});
  const std::string missing = File("none/x.csv");
  for (auto save : {&VUraRazuduVova::SaveToCSV, &VUraRazuduVova::AppendToCSV}) {
    try {
      (grid_->*save)(missing);
      ADD_FAILURE() << "no error";
    } catch (const EDovAdizError& e) {
      EXPECT_EQ(e.Message(), "Cannot Create file " + missing);
    }
  }
  try {
    grid_->LoadFromCSV(missing);
    ADD_FAILURE() << "no error";
  } catch (const EDovAdizError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + missing);
  }
  EXPECT_EQ(Cells(), (Table{{"a"}}));
}

// A replaced file is written whole or not at all: a failing save leaves the old one as it was.
TEST_F(GridCsvTest, AFailedSaveKeepsTheOldFile) {
  Write("keep.csv", "old\r\n");
  Fill({{"new"}});
  grid_->OnFileProgress = [](platform::TObject*, int16_t) { throw platform::Exception("stopped"); };
  EXPECT_THROW(grid_->SaveToCSV(File("keep.csv")), platform::Exception);
  EXPECT_EQ(Bytes("keep.csv"), "old\r\n");
}

}  // namespace
}  // namespace velmora::testing
