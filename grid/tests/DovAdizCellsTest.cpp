#include <optional>
#include <string>

#include "grid/tests/DovAdizFixture.h"
#include "platform/core/Exception.h"
#include "platform/edits/RichEdit.h"
#include "platform/ui/VirtualKeys.h"

namespace velmora::testing {
namespace {

using platform::FormatSettings;

// The value a typed view reads, or none where it raises EDovAdizError with its text.
template <typename T, typename Read>
std::optional<T> ReadOrNone(Read read, const std::string& error) {
  try {
    return read();
  } catch (const EDovAdizError& e) {
    EXPECT_EQ(e.Message(), error);
    return std::nullopt;
  }
}

struct TypedCase {
  std::string text;
  std::optional<int> ints;
  std::optional<double> floatsEnglish;
  std::optional<double> floatsGerman;
};

TEST_F(DovAdizTest, TypedViewsUnderEnglishAndGermanSeparators) {
  const TypedCase cases[] = {
      {"", 0, 0.0, 0.0},
      {"12", 12, 12.0, 12.0},
      {" 12", 12, 12.0, 12.0},
      {"12 ", std::nullopt, 12.0, 12.0},
      {"12a", std::nullopt, 12.0, 12.0},
      {"2147483648", std::nullopt, 2147483648.0, 2147483648.0},
      {"-2147483648", -2147483648, -2147483648.0, -2147483648.0},
      {"1.234,50", std::nullopt, 1.2345, 1234.5},
      {"(12)", std::nullopt, -12.0, -12.0},
      {"abc", std::nullopt, std::nullopt, std::nullopt},
  };
  for (const bool german : {false, true}) {
    FormatSettings().DecimalSeparator = german ? ',' : '.';
    FormatSettings().ThousandSeparator = german ? '.' : ',';
    for (const TypedCase& c : cases) {
      SCOPED_TRACE((german ? "German: \"" : "English: \"") + c.text + "\"");
      grid_->SetCells(1, 1, c.text);
      EXPECT_EQ(ReadOrNone<int>([&] { return grid_->Ints(1, 1); }, "Cell does not contain integer value"), c.ints);
      const auto floats =
          ReadOrNone<double>([&] { return grid_->Floats(1, 1); }, "Cell does not contain a float value");
      const auto expected = german ? c.floatsGerman : c.floatsEnglish;
      ASSERT_EQ(floats.has_value(), expected.has_value());
      if (expected) {
        EXPECT_DOUBLE_EQ(*floats, *expected);
      }
    }
  }
}

TEST_F(DovAdizTest, TypedWritesReadBackUnderTheLocale) {
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = '.';
  FormatSettings().DateSeparator = '.';
  FormatSettings().ShortDateFormat = "dd.mm.yyyy";
  grid_->SetFloats(1, 1, 1234.5);
  EXPECT_EQ(grid_->Cells(1, 1), "1234,50");
  EXPECT_DOUBLE_EQ(grid_->Floats(1, 1), 1234.5);
  grid_->SetInts(2, 1, -7);
  EXPECT_EQ(grid_->Ints(2, 1), -7);
  const platform::TDateTime date = platform::EncodeDate(2026, 12, 11);
  grid_->SetDates(3, 1, date);
  EXPECT_EQ(grid_->Cells(3, 1), "11.12.2026");
  EXPECT_EQ(grid_->Dates(3, 1), date);
  grid_->SetCells(3, 2, "abc");
  EXPECT_THROW(grid_->Dates(3, 2), platform::EConvertError);
  const platform::TDateTime time = platform::EncodeTime(13, 45, 30, 0);
  grid_->SetTimes(4, 1, time);
  EXPECT_NEAR(grid_->Times(4, 1), time, 1e-9);
}

TEST_F(DovAdizTest, AccessorsOfTheCurrentCellColoursAndMarkup) {
  grid_->SetCol(2);
  grid_->SetRow(3);
  grid_->SetCurrentCell("current");
  EXPECT_EQ(grid_->Cells(2, 3), "current");
  EXPECT_EQ(grid_->CurrentCell(), "current");
  grid_->SetCellsEx(1, 4, "by real row");
  EXPECT_EQ(grid_->GetCellsEx(1, 4), "by real row");
  platform::TComponent object(nullptr);
  grid_->SetObjectsEx(1, 4, &object);
  EXPECT_EQ(grid_->GetObjectsEx(1, 4), &object);

  EXPECT_EQ(grid_->GetColors(1, 1), platform::clNone);
  EXPECT_FALSE(grid_->HasCellProperties(1, 1));
  grid_->SetColors(1, 1, platform::clRed);
  EXPECT_EQ(grid_->GetColors(1, 1), platform::clRed);

  grid_->SetCells(1, 2, "<b>bold</b> and <i>plain</i>");
  EXPECT_EQ(grid_->GetStrippedCell(1, 2), "bold and plain");
}

// The editor shows a markup cell without its tags unless EditWithTags; Escape after typing gives the
// cell back its markup, byte for byte.
TEST_F(DovAdizTest, EscapeRestoresTheRawTextOfAMarkupCell) {
  const std::string raw = "<font color=\"red\">down</font> since 10:00";
  grid_->SetCells(2, 2, raw);
  EXPECT_EQ(grid_->GetEditText(2, 2), "down since 10:00");
  grid_->EditWithTags = true;
  EXPECT_EQ(grid_->GetEditText(2, 2), raw);
  grid_->EditWithTags = false;

  grid_->SetOptions(grid_->Options() + platform::TGridOption::goEditing);
  grid_->SetFocus();
  grid_->SetCol(2);
  grid_->SetRow(2);
  grid_->ShowEditor();
  Settle();
  ASSERT_NE(grid_->InplaceEditor(), nullptr);
  EXPECT_EQ(grid_->InplaceEditor()->Text(), "down since 10:00");
  grid_->InplaceEditor()->SetText("up");
  EXPECT_EQ(grid_->Cells(2, 2), "up");
  platform::WORD escape = platform::VK_ESCAPE;
  grid_->InplaceEditor()->Perform(platform::WM_KEYDOWN, escape, 0);
  Settle();
  EXPECT_EQ(grid_->Cells(2, 2), raw);
}

// A rich-text cell goes into the rich edit as formatted text and comes back as rich text that reads
// the same; an empty cell empties the rich edit.
TEST_F(DovAdizTest, CellsAndRichTextBothWays) {
  auto* rich = new platform::TRichEdit(form_.get());
  rich->SetParent(form_.get());
  grid_->SetCells(1, 1, R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\fs20 plain {\b bold}\par second})");
  grid_->CellToRich(1, 1, *rich);
  EXPECT_EQ(rich->Text(), "plain bold\r\nsecond");
  grid_->RichToCell(2, 1, *rich);
  EXPECT_TRUE(grid_->Cells(2, 1).starts_with("{\\rtf"));
  auto* other = new platform::TRichEdit(form_.get());
  other->SetParent(form_.get());
  grid_->CellToRich(2, 1, *other);
  EXPECT_EQ(other->RichText(), rich->RichText());
  grid_->CellToRich(3, 1, *rich);
  EXPECT_EQ(rich->Text(), "");
}

TEST_F(DovAdizTest, FillHelpers) {
  grid_->TextFill(false, "x");
  EXPECT_EQ(grid_->Cells(0, 0), "");
  EXPECT_EQ(grid_->Cells(0, 3), "");
  EXPECT_EQ(grid_->Cells(4, 5), "x");
  grid_->TextFill(true, "y");
  EXPECT_EQ(grid_->Cells(0, 0), "y");

  for (const int max : {0, -3}) {
    grid_->RandomFill(true, max);
    for (int r = 0; r < grid_->RowCount(); ++r)
      for (int c = 0; c < grid_->ColCount(); ++c) ASSERT_EQ(grid_->Cells(c, r), "0") << max;
  }
  grid_->RandomFill(false, 3);
  for (int r = 1; r < grid_->RowCount(); ++r)
    for (int c = 1; c < grid_->ColCount(); ++c) {
      const int v = grid_->Ints(c, r);
      ASSERT_TRUE(v >= 0 && v < 3) << v;
    }
}

TEST_F(DovAdizTest, AlignmentOfNumbersFormulasAndTheEvent) {
  struct Case {
    const char* text;
    platform::TAlignment expected;
  };
  const Case cases[] = {{"12", platform::TAlignment::taRightJustify},
                        {"-1,234.5", platform::TAlignment::taRightJustify},
                        {"12a", platform::TAlignment::taLeftJustify},
                        {"", platform::TAlignment::taLeftJustify}};
  grid_->SetVAlignment(TVAlignment::vtaBottom);
  EXPECT_EQ(grid_->VAlignmentFlag(), 8u);
  platform::TAlignment h;
  TVAlignment v;
  for (const Case& c : cases) {
    grid_->SetCells(1, 1, c.text);
    grid_->AutoNumAlign = false;
    grid_->GetCellAlignment(1, 1, h, v);
    EXPECT_EQ(h, platform::TAlignment::taLeftJustify) << c.text;
    EXPECT_EQ(v, TVAlignment::vtaBottom);
    grid_->AutoNumAlign = true;
    grid_->GetCellAlignment(1, 1, h, v);
    EXPECT_EQ(h, c.expected) << c.text;
  }
  // A formula is aligned by its calculated value, which here is the text itself.
  grid_->SetCells(1, 1, "=A1");
  grid_->GetCellAlignment(1, 1, h, v);
  EXPECT_EQ(h, platform::TAlignment::taLeftJustify);
  grid_->OnGetAlignment = [](platform::TObject*, int, int, platform::TAlignment& HAlign, TVAlignment& VAlign) {
    HAlign = platform::TAlignment::taCenter;
    VAlign = TVAlignment::vtaCenter;
  };
  grid_->GetCellAlignment(1, 1, h, v);
  EXPECT_EQ(h, platform::TAlignment::taCenter);
  EXPECT_EQ(v, TVAlignment::vtaCenter);
}

// The sort's cross-reference maps rows inside it only; a row at or past its end maps to itself.
TEST_F(DovAdizTest, UnsortedCellsThroughTheCrossReference) {
  for (int r = 0; r < 6; ++r) grid_->SetCells(1, r, "row " + std::to_string(r));
  EXPECT_EQ(grid_->GetUnSortedCell(1, 3), "row 3");
  for (const int row : {0, 1, 3, 2}) grid_->sortXRef_.Add(row);
  EXPECT_EQ(grid_->UnSortedRowIndex(2), 3);
  EXPECT_EQ(grid_->SortedRowIndex(3), 2);
  EXPECT_EQ(grid_->GetUnSortedCell(1, 2), "row 3");
  EXPECT_EQ(grid_->GetUnSortedCell(1, 4), "row 4");
  EXPECT_EQ(grid_->UnSortedRowIndex(4), 4);
  EXPECT_EQ(grid_->SortedRowIndex(4), 4);
  EXPECT_EQ(grid_->UnSortedRowIndex(-1), -1);
  grid_->SetUnSortedCell(1, 3, "moved");
  EXPECT_EQ(grid_->Cells(1, 2), "moved");
}

}  // namespace
}  // namespace velmora::testing
