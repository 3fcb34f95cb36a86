#pragma once

#include <string>
#include <string_view>

#include "configurator/tests/ConfFormFixture.h"
#include "platform/core/Utf8.h"
#include "platform/ui/VirtualKeys.h"

namespace configurator::testing {

// The configurator's forms driven as a person does: keys, typing and clicks on the host grid.
class ConfTypingTest : public ConfFormTest {
protected:
  // Types the text one character at a time.
  void Type(std::string_view utf8) {
    for (size_t pos = 0; pos < utf8.size(); pos = platform::NextCodePoint(utf8, pos))
      Input().Char(utf8.substr(pos, platform::NextCodePoint(utf8, pos) - pos));
    Settle();
  }
  // The screen point a few pixels inside a cell.
  platform::TPoint AtCell(int col, int row) {
    const platform::TRect cell = Grid().CellRect(col, row);
    return At(Grid(), cell.Left + 4, cell.Top + 4);
  }
  void ClickCell(int col, int row, platform::TMouseButtonKind button = platform::TMouseButtonKind::Left) {
    Input().Click(AtCell(col, row), button);
    Settle();
  }
  // Makes (col, row) current and presses F2 there, as a person starts an edit.
  void EditCell(int col, int row) {
    Grid().SetFocus();
    Grid().SetCol(col);
    Grid().SetRow(row);
    Settle();
    Press(platform::VK_F2);
  }
  // The focused control as T, or null.
  template <class T>
  T* Focused() {
    return dynamic_cast<T*>(form_->ActiveControl());
  }
  bool SaveMarked() { return form_->btnSave->Enabled() && form_->Speichern1->Enabled(); }
};

}  // namespace configurator::testing
