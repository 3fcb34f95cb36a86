#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "grid/BaseGrid.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora::testing {

// A base grid whose protected hooks a test may reach.
class TTestGrid : public TBaseGrid {
public:
  using TBaseGrid::TBaseGrid;
  using TBaseGrid::FocusCell;
  void PressKey(platform::WORD key) { KeyDown(key, {}); }
};

// Checks the merge encoding of every cell of the grid: a cell outside a block has spans -1 and is its own
// base; the base of a block sees the whole block inside the grid and every cell of it points back to
// the base with its offset; every property object knows its place.
inline void ExpectMergeEncodingValid(const TBaseGrid& grid, const std::string& after) {
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColCount(); ++c) {
      const TCellProperties* props = grid.GetGridObject(c, r);
      if (!props) continue;
      ASSERT_EQ(props->Col, c) << after;
      ASSERT_EQ(props->Row, r) << after;
      if (props->SpanX == -1 && props->SpanY == -1) {
        ASSERT_TRUE(props->IsBase) << "(" << c << ", " << r << ") " << after;
        continue;
      }
      ASSERT_GE(props->SpanX, 0) << after;
      ASSERT_GE(props->SpanY, 0) << after;
      if (!props->IsBase) {
        const TCellProperties* base = grid.GetGridObject(c - props->SpanX, r - props->SpanY);
        ASSERT_TRUE(base && base->IsBase) << "(" << c << ", " << r << ") has no base; " << after;
        ASSERT_LE(props->SpanX, base->SpanX) << after;
        ASSERT_LE(props->SpanY, base->SpanY) << after;
        continue;
      }
      ASSERT_LT(c + props->SpanX, grid.ColCount()) << after;
      ASSERT_LT(r + props->SpanY, grid.RowCount()) << after;
      for (int y = 0; y <= props->SpanY; ++y) {
        for (int x = 0; x <= props->SpanX; ++x) {
          if (x == 0 && y == 0) continue;
          const TCellProperties* cell = grid.GetGridObject(c + x, r + y);
          ASSERT_TRUE(cell && !cell->IsBase && cell->SpanX == x && cell->SpanY == y)
              << "(" << c + x << ", " << r + y << ") in the block of (" << c << ", " << r << ") " << after;
        }
      }
    }
  }
}

// A shown form on the headless backend with a base grid on it, in the test font.
class BaseGridTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form_ = ShowForm(320, 200);
    form_->Font().SetName(platform::kTestFontName);
    form_->Font().SetHeight(-12);
    grid_ = new TTestGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetBounds(0, 0, 320, 200);
    Settle();
  }

  // The presented colour at a client point of the grid.
  platform::TColor Pixel(int x, int y) {
    Settle();
    const platform::TPoint at = grid_->ClientToScreen({x, y});
    const platform::TPoint origin = form_->ClientToScreen({0, 0});
    const uint32_t pixel = Input().Info(form_->BackendWindow()).shown.ScanLine(at.Y - origin.Y)[at.X - origin.X];
    return platform::RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }

  std::unique_ptr<platform::TForm> form_;
  TTestGrid* grid_ = nullptr;
};

}  // namespace velmora::testing
