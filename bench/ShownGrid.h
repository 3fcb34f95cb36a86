#pragma once

#include <memory>
#include <string>

#include "platform/app/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"

// A grid of cols x rows filling a shown 800 x 600 form on a fresh headless backend, painted once, with
// each row's number as the text of its first `filledCols` cells, so that row operations move data.
template <class Grid>
struct ShownGridOf {
  ShownGridOf(int cols, int rows, int filledCols = 0) : form(nullptr) {
    platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
    form.SetBounds(0, 0, 800, 600);
    grid = new Grid(&form);
    grid->SetParent(&form);
    grid->SetAlign(platform::TAlign::alClient);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < filledCols; ++c) grid->SetCells(c, r, std::to_string(r));
    form.Show();
    platform::Application().ProcessMessages();
  }

  platform::TForm form;
  Grid* grid = nullptr;  // owned by the form
};
