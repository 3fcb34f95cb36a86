#pragma once

#include <memory>
#include <string>

#include "platform/app/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"

// A grid of `rows` rows of 10 columns filling a shown 800 x 600 form on the headless backend, with each
// row's number as the text of its first `filledCols` cells, so that row operations move data.
template <typename Grid>
struct ShownGridOf {
  static constexpr int kCols = 10;

  ShownGridOf(int rows, int filledCols) : form(nullptr) {
    platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
    form.SetBounds(0, 0, 800, 600);
    grid = new Grid(&form);
    grid->SetParent(&form);
    grid->SetAlign(platform::TAlign::alClient);
    grid->SetColCount(kCols);
    grid->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < filledCols; ++c) grid->SetCells(c, r, std::to_string(r));
    form.Show();
    platform::Application().ProcessMessages();
  }

  platform::TForm form;
  Grid* grid = nullptr;  // owned by the form
};
