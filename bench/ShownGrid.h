#pragma once

#include <memory>

#include "platform/app/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"

// A grid of cols x rows filling a shown 800 x 600 form on a fresh headless backend, painted once.
template <class Grid>
struct ShownGridOf {
  ShownGridOf(int cols, int rows) : form(nullptr) {
    platform::SetBackend(std::make_unique<platform::THeadlessBackend>());
    form.SetBounds(0, 0, 800, 600);
    grid = new Grid(&form);
    grid->SetParent(&form);
    grid->SetAlign(platform::TAlign::alClient);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    form.Show();
    platform::Application().ProcessMessages();
  }
  platform::TForm form;
  Grid* grid = nullptr;
};
