#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "grid/DovAdiz.h"
#include "platform/core/FormatSettings.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora::testing {

// The grid object with the hooks a test reaches: the current cell's move, the editor's text and its
// cancelling, the rich editor, and the sort's cross-reference.
class TTestDovAdiz : public VUraRazuduVova {
public:
  using VUraRazuduVova::VUraRazuduVova;
  using VUraRazuduVova::EditCanceled;
  using VUraRazuduVova::FocusCell;
  using VUraRazuduVova::GetEditText;
  using VUraRazuduVova::RichEditor;
  using VUraRazuduVova::SelectCell;
  using VUraRazuduVova::SetEditText;
  using VUraRazuduVova::sortXRef_;
};

// A shown form on the headless backend with the grid object of 5 columns and 6 rows on it (one fixed
// row and column), in the test font, with fixed separators (point decimal, comma thousands) that the
// test may change and the process's settings given back afterwards.
class DovAdizTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    savedSettings_ = platform::FormatSettings();
    platform::FormatSettings().DecimalSeparator = '.';
    platform::FormatSettings().ThousandSeparator = ',';
    form_ = ShowForm(400, 240);
    form_->Font().SetName(platform::kTestFontName);
    form_->Font().SetHeight(-12);
    grid_ = new TTestDovAdiz(form_.get());
    grid_->SetParent(form_.get());
    grid_->Font().SetName(platform::kTestFontName);
    grid_->SetBounds(0, 0, 400, 240);
    grid_->SetColCount(5);
    grid_->SetRowCount(6);
    Settle();
  }
  void TearDown() override {
    FormTest::TearDown();
    platform::FormatSettings() = savedSettings_;
  }

  std::unique_ptr<platform::TForm> form_;
  TTestDovAdiz* grid_ = nullptr;

private:
  platform::TFormatSettings savedSettings_;
};

}  // namespace velmora::testing
