#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/DovAdiz.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora {

// The grid with its sort, auto-size, clipboard and drag steps and the cells it paints recorded.
class TInputGrid : public VUraRazuduVova {
public:
  using VUraRazuduVova::VUraRazuduVova;
  std::vector<std::string> calls;
  std::vector<platform::TPoint> painted;

protected:
  void DrawCell(int ACol, int ARow, const platform::TRect& ARect, platform::TGridDrawState AState) override {
    painted.push_back({ACol, ARow});
    VUraRazuduVova::DrawCell(ACol, ARow, ARect, AState);
  }
  void HeaderClickSort(int ACol) override { calls.push_back("sort " + std::to_string(ACol)); }
  void AutoSizeColumn(int ACol) override { calls.push_back("autosize " + std::to_string(ACol)); }
  void ClipboardShortcut(TClipboardKey Operation) override {
    calls.push_back(Operation == TClipboardKey::Cut ? "cut" : Operation == TClipboardKey::Copy ? "copy" : "paste");
  }
  void OleDrag(bool Column) override { calls.push_back(Column ? "drag column" : "drag cells"); }
};

// A grid of 5 columns (64 pixels each) and 8 rows (24 pixels each), one fixed row and column, on a
// shown form; cell (c, r) starts at x 64c, y 24r (its grid line inside that pitch).
class DovAdizInputTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form_ = ShowForm(400, 300);
    grid_ = new TInputGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->Font().SetName(platform::kTestFontName);
    grid_->SetBounds(0, 0, 400, 300);
    grid_->SetColCount(5);
    grid_->SetRowCount(8);
    grid_->SetDefaultColWidth(64);
    grid_->SetDefaultRowHeight(24);
    for (int r = 1; r < 8; ++r) grid_->SetCells(1, r, "r" + std::to_string(r));
    grid_->SetFocus();
    Settle();
  }
  platform::TPoint CellPoint(int c, int r, int dx = 32, int dy = 12) const { return At(*grid_, 64 * c + dx, 24 * r + dy); }
  void ClickAt(platform::TPoint p, unsigned shift = 0) {
    Input().Click(p, platform::TMouseButtonKind::Left, shift);
    Settle();
  }
  void Press(int key, unsigned shift = 0) {
    Input().PressKey(key, shift);
    Settle();
  }

  std::unique_ptr<platform::TForm> form_;
  TInputGrid* grid_ = nullptr;
};

}  // namespace velmora
