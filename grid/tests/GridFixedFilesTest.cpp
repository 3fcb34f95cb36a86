#include <string>

#include "grid/tests/GridFileFixture.h"

namespace velmora::testing {
namespace {

class GridFixedFilesTest : public GridFileTest {};

TEST_F(GridFixedFilesTest, AsciiPadsAndAlignsByCharacters) {
  Fill({{"K\xC3\xBC", "x", "mid"}, {"a", "12345", "m"}, {"L1\r\nL2", "7\r\n8", ""}});
  grid_->Multilinecells = true;
  grid_->OnGetAlignment = [](platform::TObject*, int, int ACol, platform::TAlignment& h, TVAlignment&) {
    h = ACol == 1 ? platform::TAlignment::taRightJustify : ACol == 2 ? platform::TAlignment::taCenter : h;
  };
  grid_->SaveToASCII(File("a.txt"));
  EXPECT_EQ(Bytes("a.txt"),
            "K\xC3\xBC     x mid \r\n"
            "a  12345  m  \r\n"
            "L1     7     \r\n"
            "L2     8 \r\n");  // a continuation line ends with its last part
}

TEST_F(GridFixedFilesTest, FixedWidthCutsPadsAndFillsMissingWidths) {
  Fill({{"\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC", "ab"}, {"x", "line\r\nnext"}});
  TIntList widths;
  widths.Add(3);
  grid_->SaveToFixed(File("f.txt"), widths);
  ASSERT_EQ(widths.Count(), 2);
  EXPECT_EQ(widths.GetInteger(1), 5);  // the widest line, 4, and one blank
  EXPECT_EQ(Bytes("f.txt"), "\xC3\xBC\xC3\xBC\xC3\xBC" "ab   \r\nx  line \r\n");
}

TEST_F(GridFixedFilesTest, LoadsFieldsAtCharacterPositions) {
  Fill({{""}});
  Write("l.txt", "ab  \xC3\xBC" "cde rest\r\n  1    2\n");
  TIntList positions;
  for (int p : {1, 5, 9}) positions.Add(p);
  grid_->LoadFromFixed(File("l.txt"), positions);
  EXPECT_EQ(Cells(), (Table{{"ab", "\xC3\xBC" "cde"}, {"1", "2"}}));

  TIntList bad;
  bad.Add(5);
  bad.Add(5);
  EXPECT_THROW(grid_->LoadFromFixed(File("l.txt"), bad), EDovAdizError);
  try {
    grid_->LoadFromFixed(File("none.txt"), positions);
    ADD_FAILURE();
  } catch (const EDovAdizError& e) {
    EXPECT_EQ(e.Message(), "File " + File("none.txt") + " not found");
  }
}

}  // namespace
}  // namespace velmora::testing
