#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/DovAdizEditors.h"
#include "grid/tests/LocaleFixture.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace velmora::testing {

// The grid object with its editor controls in reach.
class TEditingGrid : public VUraRazuduVova {
public:
  using VUraRazuduVova::VUraRazuduVova;
  using VUraRazuduVova::ButtonEditor;
  using VUraRazuduVova::CheckBoxEditor;
  using VUraRazuduVova::ComboEditor;
  using VUraRazuduVova::EditBtnEditor;
  using VUraRazuduVova::RichEditor;
  using VUraRazuduVova::SpinEditor;
  using VUraRazuduVova::UnitEditBtnEditor;
};

// A shown form on the headless backend with an editing grid of 5 columns and 6 rows (one fixed row and
// column) in the test font, fixed separators and date formats, and the editor kind of every cell taken
// from Kind (or the table KindAt), as OnGetEditorType reports it.
class DovAdizEditingTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    savedSettings_ = platform::FormatSettings();
    UseFixedSeparators();
    platform::FormatSettings().LongTimeFormat = "hh:nn:ss";
    form_ = ShowForm(420, 260);
    form_->Font().SetName(platform::kTestFontName);
    grid_ = new TEditingGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->Font().SetName(platform::kTestFontName);
    grid_->Font().SetHeight(-12);
    grid_->SetBounds(0, 0, 420, 260);
    grid_->SetColCount(5);
    grid_->SetRowCount(6);
    grid_->SetOptions(grid_->Options() + platform::TGridOption::goEditing);
    grid_->OnGetEditorType = [this](platform::TObject*, int ACol, int ARow, TEditorType& AEditor) {
      const auto it = KindAt.find({ACol, ARow});
      AEditor = it != KindAt.end() ? it->second : Kind;
    };
    grid_->SetFocus();
    Settle();
  }
  void TearDown() override {
    FormTest::TearDown();
    platform::FormatSettings() = savedSettings_;
  }

  // Makes (c, r) current and presses F2 there, as a person starts an edit.
  void Edit(int c, int r) {
    if (!grid_->Focused()) grid_->SetFocus();
    grid_->SetCol(c);
    grid_->SetRow(r);
    Settle();
    Press(platform::VK_F2);
  }
  // Types each character as a key press (down, character, up) of a plausible key code.
  void Type(const std::string& utf8) {
    for (size_t i = 0; i < utf8.size(); i = platform::NextCodePoint(utf8, i)) {
      const std::string c = utf8.substr(i, platform::NextCodePoint(utf8, i) - i);
      const char a = c.size() == 1 ? c[0] : 0;
      const int key = a >= 'a' && a <= 'z' ? a - 'a' + 'A' : (a >= 'A' && a <= 'Z') || (a >= '0' && a <= '9') ? a : 0xBA;
      Input().PressKey(key, 0, c);
      Settle();
    }
  }
  // The editor control shown now, the text editor included; null when none is.
  platform::TWinControl* Shown() const {
    platform::TWinControl* found = nullptr;
    for (platform::TWinControl* control : Editors())
      if (control && control->Visible()) {
        EXPECT_EQ(found, nullptr) << "two editors shown";
        found = control;
      }
    return found;
  }
  std::vector<platform::TWinControl*> Editors() const {
    return {grid_->ComboEditor(),   grid_->SpinEditor(),        grid_->GetDateTimePicker(), grid_->CheckBoxEditor(),
            grid_->EditBtnEditor(), grid_->UnitEditBtnEditor(), grid_->ButtonEditor(),      grid_->RichEditor(),
            grid_->GetInplaceEditor()};
  }

  std::unique_ptr<platform::TForm> form_;
  TEditingGrid* grid_ = nullptr;
  TEditorType Kind = TEditorType::edNormal;
  std::map<std::pair<int, int>, TEditorType> KindAt;

private:
  platform::TFormatSettings savedSettings_;
};

}  // namespace velmora::testing
