#include <sstream>
#include <thread>

#include "platform/app/Application.h"
#include "platform/app/Timer.h"
#include "platform/ui/Forms.h"
#include "X11Fixture.h"

namespace platform {
static void PrintTo(const TRect& r, std::ostream* os) {
  *os << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height();
}
}  // namespace platform

namespace platform::test {
namespace {

// The same backend under a window manager (openbox): it decorates the forms, hands out the focus and
// closes windows through WM_DELETE_WINDOW.
class X11WindowManagerTest : public X11Test {
protected:
  void SetUp() override {
    X11Test::SetUp();
    manager_ = StartOpenbox(Display());
    ASSERT_FALSE(HasFailure());
  }

  std::unique_ptr<PeerProcess> manager_;
};

TEST_F(X11WindowManagerTest, TheManagerFramesFocusesMaximisesAndClosesForms) {
  const TBackendWindow form = ShowForm("Verwaltet");
  // The frame goes around the client area where it was placed: no bounds other than those change.
  PumpFor(300);
  for (const std::string& e : sink_.Starting("bounds")) EXPECT_EQ(e, "bounds 100,100 400,300 0");

  RecordingSink secondSink;
  TBackendWindowParams params;
  params.caption = "Zweites";
  params.bounds = Bounds(500, 300, 200, 100);
  const TBackendWindow second = backend_->CreateWindow(params, secondSink);
  backend_->ShowWindow(second, true);
  backend_->Activate(second);
  ASSERT_TRUE(PumpUntil([&] { return secondSink.Has("activate") && sink_.Has("deactivate"); }));
  backend_->Activate(form);
  ASSERT_TRUE(PumpUntil([&] { return secondSink.Has("deactivate") && sink_.Starting("activate").size() == 2; }));

  backend_->SetWindowState(form, TBackendWindowState::Maximized);
  ASSERT_TRUE(PumpUntil([&] { return sink_.events.back().rfind("bounds", 0) == 0 && sink_.events.back().back() == '2'; }));
  backend_->SetWindowState(form, TBackendWindowState::Normal);
  ASSERT_TRUE(PumpUntil([&] { return sink_.events.back().rfind("bounds", 0) == 0 && sink_.events.back().back() == '0'; }));

  PeerProcess close({"wmctrl", "-c", "Verwaltet"}, Display());
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("close"); }));
  close.Wait();
}

// The area of the named window's client in screen coordinates, as the X server has it.
TRect ClientOnServer(const std::string& name, const std::string& display) {
  std::istringstream info(RunPeer({"xwininfo", "-name", name}, display));
  int left = 0, top = 0, width = 0, height = 0;
  for (std::string line; std::getline(info, line);) {
    std::sscanf(line.c_str(), " Absolute upper-left X: %d", &left);
    std::sscanf(line.c_str(), " Absolute upper-left Y: %d", &top);
    std::sscanf(line.c_str(), " Width: %d", &width);
    std::sscanf(line.c_str(), " Height: %d", &height);
  }
  return Bounds(left, top, width, height);
}

// A form's bounds are its client area on the screen, with or without a window manager's frame around
// it: showing, a move and a resize by someone else keep the form and the X window in agreement, and
// nothing grows or wanders by the frame's size.
class X11FormPlacementTest : public X11Test, public ::testing::WithParamInterface<bool> {};

TEST_P(X11FormPlacementTest, AFormKeepsItsClientAreaThroughShowMoveAndResize) {
  std::unique_ptr<PeerProcess> manager;
  if (GetParam()) manager = StartOpenbox(Display());
  SetBackend(std::move(backend_));
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 320, 200);
  form->SetCaption("Platz");
  form->Show();
  // The manager frames and places the window at its own pace: wait until both sides agree.
  PumpUntil([&] { return ClientOnServer("Platz", Display()) == Bounds(100, 100, 320, 200); });
  EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 320, 200));
  EXPECT_EQ(ClientOnServer("Platz", Display()), form->BoundsRect());

  const std::string id = RunPeer({"xdotool", "search", "--name", "^Platz$"}, Display());
  const std::string window = id.substr(0, id.find('\n'));
  RunPeer({"xdotool", "windowmove", window, "200", "150"}, Display());
  PumpUntil([&] { return form->Left() != 100; });
  PumpFor(300);
  EXPECT_EQ(form->Width(), 320);
  EXPECT_EQ(form->Height(), 200);
  EXPECT_EQ(ClientOnServer("Platz", Display()), form->BoundsRect());

  RunPeer({"xdotool", "windowsize", window, "400", "260"}, Display());
  PumpUntil([&] { return form->Width() != 320; });
  PumpFor(300);
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(form->Height(), 260);
  EXPECT_EQ(ClientOnServer("Platz", Display()), form->BoundsRect());

  // Maximised and back: the form follows the window and returns to its normal place.
  const TRect normal = form->BoundsRect();
  form->SetWindowState(TWindowState::wsMaximized);
  PumpUntil([&] { return form->Width() > 400 && ClientOnServer("Platz", Display()) == form->BoundsRect(); });
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  EXPECT_GT(form->Width(), 400);
  EXPECT_EQ(ClientOnServer("Platz", Display()), form->BoundsRect());
  form->SetWindowState(TWindowState::wsNormal);
  PumpUntil([&] { return form->BoundsRect() == normal && ClientOnServer("Platz", Display()) == normal; });
  EXPECT_EQ(form->BoundsRect(), normal);
  EXPECT_EQ(ClientOnServer("Platz", Display()), normal);

  form.reset();
  SetBackend(nullptr);
}

// A form placed after its window was made and before it is shown (as a form's Position places it)
// appears there: the framing that a manager does before the window is mapped moves nothing back.
TEST_P(X11FormPlacementTest, AFormPlacedBeforeItIsShownAppearsThere) {
  std::unique_ptr<PeerProcess> manager;
  if (GetParam()) manager = StartOpenbox(Display());
  SetBackend(std::move(backend_));
  for (int round = 0; round < 3; ++round) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetCaption("Platz");
    form->HandleNeeded();
    form->SetBounds(150 + round, 120, 300, 100);
    form->Show();
    // The manager frames and places the window at its own pace: wait until both sides agree.
    const TRect wanted = Bounds(150 + round, 120, 300, 100);
    PumpUntil([&] { return form->BoundsRect() == wanted && ClientOnServer("Platz", Display()) == wanted; });
    EXPECT_EQ(form->BoundsRect(), wanted);
    EXPECT_EQ(ClientOnServer("Platz", Display()), form->BoundsRect());
  }
  SetBackend(nullptr);
}

// The manager's stacking order of its clients, bottom to top.
std::vector<std::string> Stacking(const std::string& display) {
  const std::string list = RunPeer({"xprop", "-root", "_NET_CLIENT_LIST_STACKING"}, display);
  std::vector<std::string> windows;
  for (size_t at = list.find("0x"); at != std::string::npos; at = list.find("0x", at + 2))
    windows.push_back(std::to_string(std::stoul(list.substr(at), nullptr, 16)));
  return windows;
}

bool Above(const std::vector<std::string>& stacking, TBackendWindow upper, TBackendWindow lower) {
  const auto find = [&](TBackendWindow w) {
    return std::find(stacking.begin(), stacking.end(), std::to_string(static_cast<unsigned long long>(w)));
  };
  return find(upper) != stacking.end() && find(lower) != stacking.end() && find(upper) > find(lower);
}

// A form shown modally over the active one: the manager hears that it is modal and whose, and keeps it
// above its owner, also when the owner is clicked.
TEST_F(X11WindowManagerTest, AModalFormStaysAboveItsOwnerAndIsAnnouncedAsModal) {
  SetBackend(std::move(backend_));
  {
    TForm owner(nullptr);
    owner.SetBounds(100, 100, 400, 300);
    owner.SetCaption("Besitzer");
    owner.Show();
    ASSERT_TRUE(PumpUntil([&] { return Screen().ActiveForm() == &owner; }));

    TForm dialog(nullptr);
    dialog.SetBorderStyle(TFormBorderStyle::bsDialog);
    dialog.SetBounds(150, 150, 200, 100);
    dialog.SetCaption("Modal");
    TTimer timer(nullptr);
    timer.SetInterval(20);
    std::string state, transient;
    bool aboveWhenShown = false, aboveAfterClick = false;
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      const TBackendWindow shown = dialog.BackendWindow();
      aboveWhenShown = PumpUntil([&] { return Above(Stacking(Display()), shown, owner.BackendWindow()); });
      PumpUntil([&] { return (state = RunPeer({"xprop", "-id", Id(shown), "_NET_WM_STATE"}, Display()))
                                 .find("_NET_WM_STATE_MODAL") != std::string::npos; });
      transient = RunPeer({"xprop", "-id", Id(shown), "WM_TRANSIENT_FOR"}, Display());
      PeerProcess click({"xdotool", "mousemove", "--window", Id(owner.BackendWindow()), "380", "280", "click", "1"},
                        Display());
      PumpUntil([&] { return click.Ended(); });
      PumpFor(300);
      aboveAfterClick = Above(Stacking(Display()), shown, owner.BackendWindow());
      dialog.SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(aboveWhenShown) << "the modal form did not come above its owner";
    EXPECT_THAT(state, ::testing::HasSubstr("_NET_WM_STATE_MODAL"));
    std::ostringstream owner16;
    owner16 << "window id # 0x" << std::hex << static_cast<unsigned long long>(owner.BackendWindow()) << "\n";
    EXPECT_THAT(transient, ::testing::HasSubstr(owner16.str()));
    EXPECT_TRUE(aboveAfterClick) << "a click on the owner raised it above its modal form";
  }
  SetBackend(nullptr);
}

// The manager keeps a form within its constraints when someone asks it for a smaller size.
TEST_F(X11WindowManagerTest, AFormKeepsItsMinimumSizeWhenTheManagerIsAskedForLess) {
  SetBackend(std::move(backend_));
  {
    TForm form(nullptr);
    form.Constraints().SetMinWidth(300);
    form.Constraints().SetMinHeight(200);
    form.SetBounds(100, 100, 400, 300);
    form.SetCaption("Mindestens");
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return ClientOnServer("Mindestens", Display()) == Bounds(100, 100, 400, 300); }));
    PeerProcess resize({"xdotool", "windowsize", Id(form.BackendWindow()), "120", "80"}, Display());
    PumpUntil([&] { return resize.Ended(); });
    PumpUntil([&] { return form.Width() != 400 && form.BoundsRect() == ClientOnServer("Mindestens", Display()); });
    const TRect onServer = ClientOnServer("Mindestens", Display());
    EXPECT_EQ(onServer.Width(), 300);
    EXPECT_EQ(onServer.Height(), 200);
    EXPECT_EQ(form.BoundsRect(), onServer);

    // Constraints changed on a shown form reach the manager too.
    form.Constraints().SetMinWidth(350);
    EXPECT_THAT(RunPeer({"xprop", "-id", Id(form.BackendWindow()), "WM_NORMAL_HINTS"}, Display()),
                ::testing::HasSubstr("program specified minimum size: 350 by 200\n"));
  }
  SetBackend(nullptr);
}

// A manager that dies takes its frames with it, but the forms stay where they were, and the backend
// gives the focus itself until a new manager frames them again, around the same client areas.
TEST_F(X11WindowManagerTest, LosingAndRestartingTheManagerLeavesTheFormsWhereTheyWere) {
  SetBackend(std::move(backend_));
  {
    TForm first(nullptr), second(nullptr);
    first.SetBounds(100, 100, 320, 200);
    first.SetCaption("Erstes");
    second.SetBounds(500, 350, 240, 160);
    second.SetCaption("Zweites");
    first.Show();
    second.Show();
    const auto inPlace = [&] {
      return ClientOnServer("Erstes", Display()) == Bounds(100, 100, 320, 200) &&
             ClientOnServer("Zweites", Display()) == Bounds(500, 350, 240, 160);
    };
    ASSERT_TRUE(PumpUntil(inPlace));

    manager_->Kill(SIGKILL);
    PumpFor(500);
    EXPECT_TRUE(inPlace()) << "without the manager";
    EXPECT_EQ(first.BoundsRect(), Bounds(100, 100, 320, 200));
    EXPECT_EQ(second.BoundsRect(), Bounds(500, 350, 240, 160));
    first.Show();
    EXPECT_TRUE(PumpUntil([&] { return Screen().ActiveForm() == &first; })) << "no focus without the manager";

    manager_ = StartOpenbox(Display());
    PumpFor(500);
    EXPECT_TRUE(inPlace()) << "framed again";
    EXPECT_EQ(first.BoundsRect(), Bounds(100, 100, 320, 200));
    EXPECT_EQ(second.BoundsRect(), Bounds(500, 350, 240, 160));
  }
  SetBackend(nullptr);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutManager, X11FormPlacementTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Openbox" : "NoManager"; });

// The owner of a modal form is disabled: keys that reach it while the manager has given it the focus
// and the manager's close request (wmctrl asks the manager, which sends WM_DELETE_WINDOW) do nothing.
// Enabled again, it takes both.
TEST_F(X11WindowManagerTest, AFormDisabledUnderAModalOneTakesNoKeysAndIgnoresTheClose) {
  SetBackend(std::move(backend_));
  {
    TForm owner(nullptr);
    owner.SetBounds(100, 100, 400, 300);
    owner.SetCaption("Besitzer");
    std::vector<std::string> seen;
    owner.OnKeyPress = [&](TObject*, char32_t& key) { seen.push_back("char " + std::to_string(key)); };
    owner.OnCloseQuery = [&](TObject*, bool& canClose) {
      seen.push_back("close query");
      canClose = false;
    };
    owner.Show();
    ASSERT_TRUE(PumpUntil([&] { return Screen().ActiveForm() == &owner; }));
    auto typeAndClose = [&](const char* key) {
      RunPeer({"xdotool", "windowfocus", "--sync", Id(owner.BackendWindow()), "key", key}, Display());
      RunPeer({"wmctrl", "-c", "Besitzer"}, Display());
      PumpFor(500);
    };

    TForm dialog(nullptr);
    dialog.SetBounds(150, 150, 200, 100);
    dialog.SetCaption("Modal");
    TTimer timer(nullptr);
    timer.SetInterval(20);
    timer.OnTimer = [&](TObject*) {
      timer.SetEnabled(false);
      typeAndClose("a");
      dialog.SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(seen, std::vector<std::string>{});
    EXPECT_TRUE(owner.Visible());
    typeAndClose("b");
    EXPECT_EQ(seen, (std::vector<std::string>{"char 98", "close query"}));
  }
  SetBackend(nullptr);
}

}  // namespace
}  // namespace platform::test
