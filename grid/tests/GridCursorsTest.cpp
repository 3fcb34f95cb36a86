// The grid's own cursors as the program's CURSOR resources hold them: each registered under its number,
// pointing where its number says. The sheet of all of them is kept in artefacts/grid/cursors.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "grid/GridCursors.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ProgramCursors.h"

namespace velmora {
namespace {

using namespace platform;

struct Expected {
  TCursor number;
  TPoint hotSpot;
  int dx, dy;  // the way the pan cursor's ink lies from its middle
};

constexpr Expected kCursors[] = {
    {crPanNeutral, {15, 15}, 0, 0},    {crPanDown, {15, 15}, 0, 1},       {crPanLeft, {15, 15}, -1, 0},
    {crPanRight, {15, 15}, 1, 0},      {crPanUp, {15, 15}, 0, -1},        {crPanUpRight, {15, 15}, 1, -1},
    {crPanUpLeft, {15, 15}, -1, -1},   {crPanDownRight, {15, 15}, 1, 1},  {crPanDownLeft, {15, 15}, -1, 1},
    {crSelectRow, {28, 15}, 0, 0},     {crSelectColumn, {15, 28}, 0, 0},  {crSelectAll, {26, 26}, 0, 0},
};

int Sign(int v) { return (v > 0) - (v < 0); }

// Each cursor is 32 x 32, registered under its number, black at its hot spot and clear in its corners;
// a pan cursor's ink beyond its middle dot lies the way it pans.
TEST(GridCursorsTest, EachCursorPointsTheWayItsNumberSays) {
  RegisterGridCursors();
  for (const Expected& e : kCursors) {
    const HCURSOR cursor = LoadCursor(std::to_string(e.number));
    ASSERT_NE(cursor, nullptr) << e.number;
    EXPECT_EQ(Screen().Cursors(e.number), cursor) << e.number;
    ASSERT_EQ(cursor->rows.size(), 32u) << e.number;
    EXPECT_EQ(cursor->rows.front().size(), 32u) << e.number;
    EXPECT_EQ((TPoint{cursor->hotX, cursor->hotY}), e.hotSpot) << e.number;
    EXPECT_EQ(cursor->rows[e.hotSpot.Y][e.hotSpot.X], '#') << e.number;
    EXPECT_EQ(cursor->rows[0][0], ' ') << e.number;
    if (e.number > crPanDownLeft) continue;
    int sumX = 0, sumY = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (cursor->rows[y][x] == '#' && (x - 15) * (x - 15) + (y - 15) * (y - 15) > 16) {
          sumX += x - 15;
          sumY += y - 15;
        }
    EXPECT_EQ(Sign(sumX), e.dx) << e.number;
    EXPECT_EQ(Sign(sumY), e.dy) << e.number;
  }
  EXPECT_EQ(LoadCursor("8009"), nullptr);
}

// The sheet: every cursor four times enlarged on a grey ground, its hot spot red, in the order above.
TEST(GridCursorsTest, SheetOfTheCursors) {
  constexpr int kScale = 4, kTile = 32 * kScale + 8, kPerRow = 6;
  TBitmap sheet(kTile * kPerRow, kTile * 2);
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) sheet.ScanLine(y)[x] = 0xFF808080;
  for (size_t i = 0; i < std::size(kCursors); ++i) {
    const HCURSOR cursor = LoadCursor(std::to_string(kCursors[i].number));
    ASSERT_NE(cursor, nullptr);
    const int left = static_cast<int>(i % kPerRow) * kTile + 4, top = static_cast<int>(i / kPerRow) * kTile + 4;
    for (int y = 0; y < 32 * kScale; ++y)
      for (int x = 0; x < 32 * kScale; ++x) {
        const int px = x / kScale, py = y / kScale;
        const char c = cursor->rows[py][px];
        uint32_t& out = sheet.ScanLine(top + y)[left + x];
        if (px == cursor->hotX && py == cursor->hotY) out = 0xFFFF0000;
        else if (c == '#') out = 0xFF000000;
        else if (c == '.') out = 0xFFFFFFFF;
      }
  }
  std::filesystem::create_directories(GRID_ARTEFACTS);
  SavePngFile(sheet, std::string(GRID_ARTEFACTS) + "/cursors.png");
}

}  // namespace
}  // namespace velmora
