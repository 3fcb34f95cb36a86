#pragma once

#include "platform/grids/Grids.h"
#include "platform/ui/Forms.h"

namespace platform {

// Places the grid the tests share on a shown form: 6 x 20 cells with one fixed column and row,
// columns 64 wide, rows 24 high, lines 1 wide, in a client area of 261 x 121 without scroll bars (the
// fixed items, three whole columns and four whole rows).
template <typename Grid>
Grid* PlaceTestGrid(TForm& form) {
  auto* grid = new Grid(&form);
  grid->SetParent(&form);
  grid->SetScrollBars(TScrollStyle::ssNone);
  grid->SetBounds(0, 0, 261, 121);
  grid->SetColCount(6);
  grid->SetRowCount(20);
  return grid;
}

}  // namespace platform
