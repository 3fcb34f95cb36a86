#include "service/StatusCells.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(StatusCellsTest, OnlyMinusOneIsTheNoAnswerCell) {
  const std::string noAnswer = R"(<Font FACE="Webdings" SIZE=4 Color="#000000"><p align="center">x</p></FONT>)";
  EXPECT_EQ(RoundTripCell(-1), noAnswer);
  EXPECT_EQ(RoundTripCell(0), R"(<Font FACE="Arial" SIZE=2 Color="#000000"><p align="center">0 ms</p></FONT>)");
  EXPECT_EQ(RoundTripCell(4999), R"(<Font FACE="Arial" SIZE=2 Color="#000000"><p align="center">4999 ms</p></FONT>)");
  EXPECT_EQ(RoundTripCell(-2), R"(<Font FACE="Arial" SIZE=2 Color="#000000"><p align="center">-2 ms</p></FONT>)");
}

TEST(StatusCellsTest, StateCellsForUpAndDown) {
  EXPECT_EQ(StateCell(1), R"(<Font FACE="Webdings" SIZE=4 Color="#00FF00"><p align="center">a</p></Font>)");
  EXPECT_EQ(StateCell(0), R"(<Font FACE="Webdings" SIZE=4 Color="#FF0000"><p align="center"><b>x</b></p></Font>)");
}

}  // namespace
}  // namespace velmora
