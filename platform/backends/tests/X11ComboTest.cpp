#include "platform/app/Application.h"
#include "platform/edits/ComboBox.h"
#include "platform/ui/Forms.h"
#include "X11TestSupport.h"

namespace platform::test {
namespace {

std::string Text(int value) { return std::to_string(value); }

// A drop-down list on a real X server, driven by xdotool as a person would: the button drops the
// list as a pop-up window while the combo keeps the focus, a click on a row chooses it, and the keys
// open, move and take.
TEST(X11ComboTest, TheListDropsAsAPopUpAndTakesClicksAndKeys) {
  XvfbServer server;
  std::string error;
  std::unique_ptr<TBackend> x11 = OpenX11Backend(server.Display(), error, nullptr);
  ASSERT_NE(x11, nullptr) << error;
  SetBackend(std::move(x11));
  {
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    form.SetCaption("Kombi");
    form.Font().SetName("Tahoma");
    form.Font().SetSize(8);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->SetItems({"hide", "maximize", "minimize", "normal"});
    combo->SetBounds(10, 10, 150, 21);
    form.Show();
    PumpFor(300);
    const TPoint button = combo->ClientToScreen({combo->ButtonRect().Left + 4, 6});
    RunPeer({"xdotool", "mousemove", Text(button.X), Text(button.Y), "click", "1"}, server.Display());
    PumpFor(300);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(combo->Focused());
    const TRect list = combo->DropDownRect();
    const int row = list.Top + 1 + 2 * combo->ItemHeight() + combo->ItemHeight() / 2;
    RunPeer({"xdotool", "mousemove", Text(list.Left + 20), Text(row), "click", "1"}, server.Display());
    PumpFor(300);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "minimize");
    RunPeer({"xdotool", "key", "F4", "Down", "Return"}, server.Display());
    PumpFor(300);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "normal");
  }
  SetBackend(nullptr);
}

}  // namespace
}  // namespace platform::test
