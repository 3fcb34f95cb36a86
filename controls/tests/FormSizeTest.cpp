#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/FormComponentClasses.h"
#include "controls/FormSize.h"
#include "controls/WinXP.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/UserName.h"
#include "platform/net/HostLookup.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/tests/FormFixture.h"

namespace controls {
namespace {

using platform::Rect;
using platform::TForm;
using platform::TRect;
using platform::TWindowState;

// A 1280 x 1024 screen whose work area leaves a 40-pixel task bar at the bottom.
const TRect kScreen = Rect(0, 0, 1280, 1024);
const TRect kWorkArea = Rect(0, 0, 1280, 984);

class FormSizeTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    Input().SetScreen(kScreen, kWorkArea);
    PublishFormComponentClasses();
  }

  // The form "Main" at (100, 100) 300 x 200 with a TFormSize of the given settings, made by the loader.
  std::unique_ptr<TForm> Load(const std::string& settings = "") {
    auto form = std::make_unique<TForm>(nullptr);
    platform::ReadFormText(*form,
                           "Main: TForm { Left = 100 Top = 100 Width = 300 Height = 200\n"
                           "  FormSize1: TFormSize { " + settings + " }\n}\n",
                           "main", {});
    return form;
  }
  std::string IniFile() const { return folder_ + "/FORM.INI"; }
  void WriteIni(const std::string& text) const { platform::WriteFileAtomic(IniFile(), text); }
};

TEST_F(FormSizeTest, ThePlacementGoesToFormIniWhenTheWindowGoesAndComesBackWithTheNextForm) {
  auto form = Load();
  auto& formSize = dynamic_cast<TFormSize&>(*form->FindComponent("FormSize1"));
  EXPECT_EQ(formSize.SaveKey, "Main");
  form->Show();
  form->SetBounds(210, 120, 640, 480);
  form->SetWindowState(TWindowState::wsMaximized);
  Settle();
  form.reset();

  platform::TMemIniFile ini(IniFile());
  EXPECT_EQ(ini.ReadString("Main", "Left", ""), "210");
  EXPECT_EQ(ini.ReadString("Main", "Top", ""), "120");
  EXPECT_EQ(ini.ReadString("Main", "Right", ""), "850");
  EXPECT_EQ(ini.ReadString("Main", "Bottom", ""), "600");
  EXPECT_EQ(ini.ReadString("Main", "Maximized", ""), "1");

  form = Load();
  EXPECT_EQ(form->NormalBounds(), Rect(210, 120, 850, 600));
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
}

TEST_F(FormSizeTest, ARestoredFormIsBroughtInsideTheWorkArea) {
  struct Case {
    const char* what;
    const char* saved;  // the keys of section Main
    const char* settings;
    TRect expected;
  };
  const Case cases[] = {
      {"inside: as saved", "Left=40\nTop=50\nRight=440\nBottom=350", "", Rect(40, 50, 440, 350)},
      {"past the right edge: moved left", "Left=1500\nTop=50\nRight=1900\nBottom=350", "", Rect(880, 50, 1280, 350)},
      {"below the task bar: moved up", "Left=40\nTop=900\nRight=440\nBottom=1200", "", Rect(40, 684, 440, 984)},
      {"left of the screen: moved right", "Left=-900\nTop=-30\nRight=-500\nBottom=270", "", Rect(0, 0, 400, 300)},
      {"larger than the work area: cut to it", "Left=-10\nTop=0\nRight=1910\nBottom=1200", "",
       Rect(0, 0, 1280, 984)},
      {"without SaveSize: the form's own size", "Left=1500\nTop=50\nRight=1900\nBottom=350", "SaveSize = False",
       Rect(980, 50, 1280, 250)},
      {"no section: the form as designed", "", "", Rect(100, 100, 400, 300)},
      {"not numbers: the form as designed", "Left=x\nTop=\nRight=4oo\nBottom=-", "", Rect(100, 100, 400, 300)},
      {"SavePosition off: the form as designed", "Left=40\nTop=50\nRight=440\nBottom=350", "SavePosition = False",
       Rect(100, 100, 400, 300)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni(std::string("[Other]\nLeft=7\n[Main]\n") + c.saved + "\n");
    auto form = Load(c.settings);
    EXPECT_EQ(form->BoundsRect(), c.expected);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
  }
}

TEST_F(FormSizeTest, TheSectionNamesTheUserAndTheComputerWhenAskedTo) {
  WriteIni("[Main-" + platform::UserName() + "]\nLeft=11\nTop=12\n");
  auto form = Load("SaveUser = True");
  EXPECT_EQ(form->Left(), 11);
  auto& formSize = dynamic_cast<TFormSize&>(*form->FindComponent("FormSize1"));
  formSize.SaveMachine = true;
  EXPECT_EQ(formSize.CreateKey(), "Main-" + platform::UserName() + "-" + platform::LocalHostName());
  formSize.SaveUser = false;
  EXPECT_EQ(formSize.CreateKey(), "Main-" + platform::LocalHostName());
}

TEST_F(FormSizeTest, WithMagnetAFormNearAWorkAreaEdgeSnapsToIt) {
  auto form = Load("Magnet = True");
  form->Show();
  struct Case {
    TRect asked;
    TRect placed;
  };
  const Case cases[] = {
      {Rect(20, 300, 320, 500), Rect(0, 300, 300, 500)},        // 20 from the left
      {Rect(400, -15, 700, 185), Rect(400, 0, 700, 200)},       // above the top
      {Rect(960, 300, 1260, 500), Rect(980, 300, 1280, 500)},   // right edge 20 inside
      {Rect(400, 800, 700, 1000), Rect(400, 784, 700, 984)},    // bottom 16 past the task bar's edge
      {Rect(400, 300, 700, 500), Rect(400, 300, 700, 500)},     // far from every edge
  };
  for (const Case& c : cases) {
    form->SetBoundsRect(c.asked);
    EXPECT_EQ(form->BoundsRect(), c.placed);
  }
}

TEST_F(FormSizeTest, WithDragAlwaysAPressOnTheFormsClientAreaDragsIt) {
  auto form = Load("DragAlways = True SavePosition = False");
  form->Show();
  Settle();
  Input().MouseMove({150, 150});
  Input().MouseDown(platform::TMouseButtonKind::Left, {150, 150});
  Input().MouseMove({190, 130});
  Input().MouseMove({230, 160});
  Input().MouseUp(platform::TMouseButtonKind::Left, {230, 160});
  Input().MouseMove({260, 170});
  Settle();
  EXPECT_EQ(form->BoundsRect(), Rect(180, 110, 480, 310));
}

TEST_F(FormSizeTest, DestroyingTheComponentGivesTheFormItsWindowProcedureBack) {
  auto form = Load("Magnet = True");
  form->Show();
  delete form->FindComponent("FormSize1");
  form->SetBounds(20, 300, 300, 200);
  EXPECT_EQ(form->Left(), 20);  // no snap
  form.reset();
  EXPECT_FALSE(platform::FileExists(IniFile()));  // nothing saved
}

// Another hooker of the form's window procedure, hooked after it, keeps its hook when the component goes.
TEST_F(FormSizeTest, DestroyingTheComponentLeavesALaterHookOfTheForm) {
  auto form = Load("Magnet = True");
  form->Show();
  int heard = 0;
  const int hook = form->AddWindowHook([&](platform::TMessage& Message, const platform::TControl::TWndMethod& Next) {
    if (Message.Msg == platform::WM_WINDOWPOSCHANGING) ++heard;
    Next(Message);
  });
  delete form->FindComponent("FormSize1");
  form->SetBounds(20, 300, 300, 200);
  EXPECT_EQ(form->Left(), 20);  // no snap
  EXPECT_GT(heard, 0);
  form->RemoveWindowHook(hook);
}

TEST_F(FormSizeTest, TheFormComponentsRefuseAnOwnerThatIsNoFormAndASecondOneOnTheForm) {
  platform::TComponent notAForm(nullptr);
  TForm form(nullptr);
  auto message = [](auto make) {
    try {
      make();
    } catch (const platform::Exception& e) {
      return std::string(e.Message());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { new TWinXP(&notAForm); }), "Control parent must be a form!");
  EXPECT_EQ(message([&] { new TFormSize(&notAForm); }), "Control parent must be a form!");
  EXPECT_EQ(message([&] { new TFormSize(nullptr); }), "Control parent must be a form!");
  new TWinXP(&form);
  new TFormSize(&form);
  EXPECT_EQ(message([&] { new TWinXP(&form); }), "Only one instance of TWinXP allowed on form");
  EXPECT_EQ(message([&] { new TFormSize(&form); }), "The form already contains a TFormSize component");
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(notAForm.ComponentCount(), 0);

  TForm twice(nullptr);
  EXPECT_THROW(platform::ReadFormText(twice, "F: TForm { A: TFormSize { } B: TFormSize { } }", "twice", {}),
               platform::EFormResourceError);
}

}  // namespace
}  // namespace controls
