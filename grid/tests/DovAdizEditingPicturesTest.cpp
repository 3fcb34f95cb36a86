#include <algorithm>
#include <filesystem>
#include <string>

#include "grid/tests/DovAdizEditingFixture.h"
#include "platform/gfx/Png.h"

namespace velmora::testing {
namespace {

using namespace platform;

// Saves what the screen shows of the form and the pop-ups over it (an open list, a calendar, a menu), from
// the form's top-left corner, as one picture.
void SaveScreenOverForm(THeadlessBackend& backend, const TForm& form, const std::string& fileName) {
  const std::vector<TBackendWindow> windows = backend.Windows();
  const TBackendWindow formWindow = form.BackendWindow();
  const TRect area = backend.Info(formWindow).bounds;
  TBitmap picture(area.Width() + 160, area.Height() + 160);
  for (int y = 0; y < picture.Height(); ++y) std::fill_n(picture.ScanLine(y), picture.Width(), 0xFF808080u);
  const auto from = std::find(windows.begin(), windows.end(), formWindow);
  for (auto it = from; it != windows.end(); ++it) {
    const THeadlessBackend::WindowInfo& info = backend.Info(*it);
    if (!info.visible) continue;
    for (int y = 0; y < info.shown.Height(); ++y)
      for (int x = 0; x < info.shown.Width(); ++x) {
        const int px = info.bounds.Left - area.Left + x, py = info.bounds.Top - area.Top + y;
        if (px >= 0 && py >= 0 && px < picture.Width() && py < picture.Height())
          picture.ScanLine(py)[px] = info.shown.ScanLine(y)[x];
      }
  }
  SavePngFile(picture, fileName);
}

// Each editor kind open over a cell, with its pop-up where it has one, saved for a person to look at
// (artefacts/grid/editor_<name>.png): the combo's open list, the calendar, the spin buttons, the edit
// with its button and the unit edit's menu.
TEST_F(DovAdizEditingTest, PicturesOfTheOpenEditors) {
  // A real face, for the eye only: nothing here compares pixels.
  grid_->Font().SetName("Tahoma");
  grid_->Font().SetSize(8);
  for (TWinControl* editor : Editors())
    if (editor) editor->Font().Assign(grid_->Font());
  for (const char* item : {"hide", "maximize", "minimize", "normal"}) grid_->AddComboString(item);
  grid_->SetColWidths(1, 120);
  grid_->UnitEditBtnEditor()->Units().SetText("mm\r\ncm\r\nkg\r\n");
  struct Case {
    const char* name;
    TEditorType kind;
    std::string cell;
    std::function<void()> open;
  } cases[] = {
      {"combo", TEditorType::edComboList, "normal", [&] { grid_->ComboEditor()->SetDroppedDown(true); }},
      {"date", TEditorType::edDateEdit, "24.12.2026", [&] { grid_->GetDateTimePicker()->SetDroppedDown(true); }},
      {"spin", TEditorType::edSpinEdit, "42", [] {}},
      {"editbtn", TEditorType::edEditBtn, "host.example", [] {}},
      {"unit", TEditorType::edUnitEditBtn, "12 kg", [&] { Press(VK_F4); }},
      {"check", TEditorType::edCheckBox, "Enabled", [] {}},
      {"text", TEditorType::edNormal, "typed text", [] {}},
  };
  std::filesystem::create_directories(GRID_ARTEFACTS);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kind = c.kind;
    for (int r = 1; r < 6; ++r) grid_->SetCells(1, r, r == 2 ? c.cell : "row " + std::to_string(r));
    Edit(1, 2);
    ASSERT_NE(Shown(), nullptr);
    c.open();
    Settle();
    SaveScreenOverForm(Input(), *form_, std::string(GRID_ARTEFACTS) + "/editor_" + c.name + ".png");
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    grid_->HideInplaceEdit();
    Settle();
    EXPECT_EQ(grid_->Cells(1, 2), c.cell);
  }
}

}  // namespace
}  // namespace velmora::testing
