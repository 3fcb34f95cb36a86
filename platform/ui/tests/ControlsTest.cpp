#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/app/Timer.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A windowed control that takes the focus and logs what it hears.
class Box : public TCustomControl {
public:
  Box(TComponent* owner, TWinControl* parent, const std::string& name, std::vector<std::string>* log = nullptr)
      : TCustomControl(owner), log_(log) {
    SetName(name);
    SetTabStop(true);
    SetParent(parent);
  }
  ~Box() override { Note("destroyed"); }
  int paints = 0;

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case CM_ENTER: Note("enter"); break;
      case CM_EXIT: Note("exit"); break;
      case WM_SETFOCUS: Note("setfocus"); break;
      case WM_KILLFOCUS: Note("killfocus"); break;
      case CM_MOUSEENTER: Note("mouseenter"); break;
      case CM_MOUSELEAVE: Note("mouseleave"); break;
      default: break;
    }
    TCustomControl::Dispatch(Message);
  }

protected:
  void Paint() override { ++paints; }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    Note("move " + std::to_string(X) + "," + std::to_string(Y));
    TCustomControl::MouseMove(Shift, X, Y);
  }

private:
  void Note(const std::string& what) {
    if (log_) log_->push_back(Name() + " " + what);
  }
  std::vector<std::string>* log_;
};

using ControlsTest = FormTest;

TEST_F(ControlsTest, AlignPlacesChildrenInAlignOrderAndAnchorsFollowAResize) {
  struct Case {
    const char* name;
    std::vector<std::pair<TAlign, TRect>> children;  // align and designed bounds
    std::vector<TRect> expected;                      // in a 200 x 100 client area
  };
  const std::vector<Case> cases = {
      {"top then bottom then client",
       {{TAlign::alClient, Bounds(0, 0, 10, 10)}, {TAlign::alTop, Bounds(0, 0, 10, 20)},
        {TAlign::alBottom, Bounds(0, 0, 10, 30)}},
       {Rect(0, 20, 200, 70), Rect(0, 0, 200, 20), Rect(0, 70, 200, 100)}},
      {"two tops keep their designed order",
       {{TAlign::alTop, Bounds(0, 50, 10, 10)}, {TAlign::alTop, Bounds(0, 5, 10, 15)}},
       {Rect(0, 15, 200, 25), Rect(0, 0, 200, 15)}},
      {"left and right share the rows between top and bottom",
       {{TAlign::alLeft, Bounds(0, 0, 40, 10)}, {TAlign::alRight, Bounds(0, 0, 30, 10)},
        {TAlign::alTop, Bounds(0, 0, 10, 10)}},
       {Rect(0, 10, 40, 100), Rect(170, 10, 200, 100), Rect(0, 0, 200, 10)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = ShowForm(200, 100);
    std::vector<TControl*> children;
    form->DisableAlign();
    for (auto& [align, bounds] : c.children) {
      auto* child = new TCustomControl(form.get());
      child->SetBoundsRect(bounds);
      child->SetParent(form.get());
      child->SetAlign(align);
      children.push_back(child);
    }
    form->EnableAlign();
    for (size_t i = 0; i < children.size(); ++i) EXPECT_EQ(children[i]->BoundsRect(), c.expected[i]) << i;
  }

  auto form = ShowForm(200, 100);
  struct Anchored {
    TAnchors anchors;
    TRect after;  // after the form grows by 40 x 20
  };
  const std::vector<Anchored> anchored = {
      {{TAnchorKind::akLeft, TAnchorKind::akTop}, Bounds(10, 10, 50, 20)},
      {{TAnchorKind::akRight, TAnchorKind::akBottom}, Bounds(50, 30, 50, 20)},
      {{TAnchorKind::akLeft, TAnchorKind::akRight, TAnchorKind::akTop}, Bounds(10, 10, 90, 20)},
      {{TAnchorKind::akLeft, TAnchorKind::akTop, TAnchorKind::akBottom}, Bounds(10, 10, 50, 40)},
      {{}, Bounds(30, 20, 50, 20)},
  };
  std::vector<TControl*> controls;
  for (auto& a : anchored) {
    auto* child = new TCustomControl(form.get());
    child->SetBounds(10, 10, 50, 20);
    child->SetParent(form.get());
    child->SetAnchors(a.anchors);
    controls.push_back(child);
  }
  form->SetBounds(100, 100, 240, 120);
  for (size_t i = 0; i < anchored.size(); ++i) EXPECT_EQ(controls[i]->BoundsRect(), anchored[i].after) << i;
  // Constraints hold for aligned controls too.
  auto* limited = new TCustomControl(form.get());
  limited->Constraints().SetMaxHeight(15);
  limited->SetParent(form.get());
  limited->SetAlign(TAlign::alClient);
  EXPECT_EQ(limited->Height(), 15);
}


// Controls of one side are ordered by the edge they face it with. A control of the bottom or the right
// that is only resized keeps that edge and so its place (a log panel that grows stays above the status
// bar, a side panel left of the right one); one that is moved is ordered by where it went.
TEST_F(ControlsTest, AResizedBottomOrRightControlKeepsItsPlaceAndAMovedOneIsReordered) {
  auto form = ShowForm(200, 100);
  auto place = [&](TAlign align, TRect bounds) {
    auto* child = new TCustomControl(form.get());
    child->SetBoundsRect(bounds);
    child->SetParent(form.get());
    child->SetAlign(align);
    return child;
  };
  TControl* statusBar = place(TAlign::alBottom, Bounds(0, 90, 10, 10));
  TControl* logPanel = place(TAlign::alBottom, Bounds(0, 60, 10, 30));
  TControl* rightBar = place(TAlign::alRight, Bounds(190, 0, 10, 10));
  TControl* sidePanel = place(TAlign::alRight, Bounds(150, 0, 40, 10));
  ASSERT_EQ(logPanel->BoundsRect(), Rect(0, 60, 200, 90));
  logPanel->SetHeight(50);
  sidePanel->SetWidth(60);
  EXPECT_EQ(statusBar->BoundsRect(), Rect(0, 90, 200, 100));
  EXPECT_EQ(logPanel->BoundsRect(), Rect(0, 40, 200, 90));
  EXPECT_EQ(rightBar->BoundsRect(), Rect(190, 0, 200, 40));
  EXPECT_EQ(sidePanel->BoundsRect(), Rect(130, 0, 190, 40));
  logPanel->SetBounds(0, 70, 200, 50);
  EXPECT_EQ(logPanel->BoundsRect(), Rect(0, 50, 200, 100));
  EXPECT_EQ(statusBar->BoundsRect(), Rect(0, 40, 200, 50));
}
TEST_F(ControlsTest, TabAndShiftTabSkipDisabledAndInvisibleControlsAndClicksFocus) {
  std::vector<std::string> log;
  auto form = ShowForm();
  auto* a = new Box(form.get(), form.get(), "A");
  auto* b = new Box(form.get(), form.get(), "B");
  auto* c = new Box(form.get(), form.get(), "C");
  auto* d = new Box(form.get(), form.get(), "D");
  for (auto* box : {a, b, c, d}) box->SetBounds(10 + 40 * box->TabOrder(), 10, 30, 30);
  b->SetEnabled(false);
  c->SetVisible(false);
  a->SetFocus();
  EXPECT_TRUE(a->Focused());

  Input().PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(Screen().FocusedControl(), d);
  Input().PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(Screen().FocusedControl(), a);
  Input().PressKey(VK_TAB, bsShift);
  Settle();
  EXPECT_EQ(Screen().FocusedControl(), d);

  // A wanted Tab stays with the control.
  d->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { log.push_back("key " + std::to_string(key)); };
  Input().PressKey(VK_RETURN);
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"key 13"}));

  b->SetEnabled(true);
  Input().Click(At(*b, 5, 5));
  Settle();
  EXPECT_EQ(Screen().FocusedControl(), b);
  EXPECT_EQ(form->ActiveControl(), b);
}

TEST_F(ControlsTest, FocusMovesThroughExitAndEnterAndClearsWhenTheFocusedControlGoes) {
  std::vector<std::string> log;
  auto form = ShowForm();
  auto* panel = new Box(form.get(), form.get(), "P", &log);
  panel->SetTabStop(false);
  auto* inner = new Box(form.get(), panel, "I", &log);
  auto* other = new Box(form.get(), form.get(), "O", &log);
  inner->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"I setfocus", "P enter", "I enter"}));
  log.clear();
  other->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"I killfocus", "O setfocus", "I exit", "P exit", "O enter"}));

  // A handler that destroys the focused control from its own event.
  log.clear();
  other->OnKeyDown = [&](TObject* sender, WORD&, TShiftState) { delete static_cast<TControl*>(sender); };
  Input().PressKey('X');
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"O destroyed"}));
  EXPECT_EQ(Screen().FocusedControl(), form.get());
  EXPECT_EQ(form->ActiveControl(), nullptr);
  Input().PressKey(VK_TAB);
  Settle();
  EXPECT_EQ(Screen().FocusedControl(), inner);
}

// The keyboard's characters reach the focused control as code points; bytes that are no well-formed
// UTF-8 character type nothing.
TEST_F(ControlsTest, TypedCharactersArriveOnlyAsWellFormedCodePoints) {
  auto form = ShowForm();
  auto* box = new Box(form.get(), form.get(), "B");
  box->SetFocus();
  std::vector<char32_t> typed;
  box->OnKeyPress = [&](TObject*, char32_t& key) { typed.push_back(key); };
  const struct {
    const char* name;
    std::string utf8;
    std::vector<char32_t> typed;
  } cases[] = {
      {"ASCII", "A", {U'A'}},
      {"two bytes", "\xC3\xA9", {0xE9}},
      {"three bytes", "\xE2\x82\xAC", {0x20AC}},
      {"four bytes", "\xF0\x9D\x84\x9E", {0x1D11E}},
      {"overlong A", "\xC1\x81", {}},
      {"overlong slash", "\xE0\x80\xAF", {}},
      {"surrogate", "\xED\xA0\x80", {}},
      {"cut after its lead", "\xC3", {}},
      {"cut after two bytes", "\xE2\x82", {}},
      {"no continuation", "\xC3(", {}},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", {}},
      {"lead byte F5", "\xF5\x80\x80\x80", {}},
      {"byte FF", "\xFF", {}},
      {"stray continuation", "\x80", {}},
  };
  for (const auto& c : cases) {
    typed.clear();
    Input().Char(c.utf8);
    Settle();
    EXPECT_EQ(typed, c.typed) << c.name;
  }
}

TEST_F(ControlsTest, OwnerFreesChildrenInReverseOrderAndAControlMayFreeItselfInItsClick) {
  std::vector<std::string> log;
  {
    auto form = ShowForm();
    auto* first = new Box(form.get(), form.get(), "1", &log);
    new Box(form.get(), first, "2", &log);
    new Box(form.get(), form.get(), "3", &log);
    auto* button = new Box(form.get(), form.get(), "B", &log);
    button->SetBounds(100, 100, 20, 20);
    button->SetTabStop(false);
    button->OnClick = [&](TObject* sender) { delete static_cast<TControl*>(sender); };
    Input().Click(At(*button, 5, 5));
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"B mouseenter", "B move 5,5", "B destroyed"}));
    log.clear();
  }
  // The form frees its children as their parent, the last first, each one after its own destructor.
  EXPECT_EQ(log, (std::vector<std::string>{"3 destroyed", "1 destroyed", "2 destroyed"}));
}

// A mouse-enter handler that the move runs before its message may free the whole form; the move then
// ends there.
TEST_F(ControlsTest, AFormMayBeFreedByTheMouseEnterOfItsControl) {
  TForm* form = ShowForm().release();
  auto* box = new Box(form, form, "A");
  box->SetBounds(10, 10, 40, 40);
  TComponent::TGuard guard(*form);
  box->OnMouseEnter = [form](TObject*) { delete form; };
  Input().MouseMove(At(*box, 5, 5));
  Settle();
  EXPECT_TRUE(guard.Gone());
}

TEST_F(ControlsTest, CaptureKeepsMouseMessagesDuringADragAndEnterLeaveFollowTheMouse) {
  std::vector<std::string> log;
  auto form = ShowForm();
  auto* a = new Box(form.get(), form.get(), "A", &log);
  a->SetBounds(10, 10, 40, 40);
  auto* b = new Box(form.get(), form.get(), "B", &log);
  b->SetBounds(100, 10, 40, 40);
  a->SetTabStop(false);

  Input().MouseMove(At(*a, 5, 5));
  Input().MouseDown(TMouseButtonKind::Left, At(*a, 5, 5));
  Input().MouseMove(At(*b, 5, 5), bsLeft);
  Settle();
  EXPECT_TRUE(a->MouseCapture());
  // The captured control still gets the move, outside its bounds, and hears that the mouse left.
  EXPECT_EQ(log, (std::vector<std::string>{"A mouseenter", "A move 5,5", "A mouseleave", "A move 95,5"}));
  log.clear();
  Input().MouseUp(TMouseButtonKind::Left, At(*b, 5, 5));
  Input().MouseMove(At(*b, 6, 6));
  Settle();
  EXPECT_FALSE(a->MouseCapture());
  EXPECT_EQ(log, (std::vector<std::string>{"B mouseenter", "B move 6,6"}));
  log.clear();
  delete b;  // the hovered control goes: nothing is told to it afterwards
  Input().MouseMove(At(*a, 1, 1));
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"B destroyed", "A mouseenter", "A move 1,1"}));
}

TEST_F(ControlsTest, AModalFormReturnsItsResultFromANestedLoopWhileATimerFires) {
  auto main = ShowForm();
  int ticks = 0;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.OnTimer = [&](TObject*) { ++ticks; };
  TForm dialog(nullptr);
  bool asked = false;
  dialog.OnCloseQuery = [&](TObject*, bool& canClose) {
    canClose = asked;  // refuses the first time
    asked = true;
  };
  Input().Run([&] {
    EXPECT_TRUE(dialog.FormState().Contains(TFormStateFlag::fsModal));
    EXPECT_FALSE(main->Enabled());
    EXPECT_EQ(Screen().ActiveForm(), &dialog);
    dialog.SetModalResult(mrOk);
  });
  Input().Run([&] { dialog.SetModalResult(mrOk); });  // only after a wait on the clock
  TModalResult result = dialog.ShowModal();
  EXPECT_EQ(result, mrOk);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_TRUE(main->Enabled());
  EXPECT_EQ(Screen().ActiveForm(), main.get());

  // Escape is no key of its own here; closing by the close box gives mrCancel after the timer ran.
  ticks = 0;
  Input().Run([&] {
    SetTimer(dialog.Handle(), 7, 1000);  // something to wait for on the clock
  });
  TTimer closer(nullptr);
  closer.SetInterval(550);
  closer.OnTimer = [&](TObject*) {
    closer.SetEnabled(false);
    Input().CloseBox(dialog.BackendWindow());
  };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  EXPECT_EQ(ticks, 5);
}


// Under a modal form (and whenever a program disables its form to wait) the window manager may still
// hand the disabled form keys and its close box: it takes neither.
TEST_F(ControlsTest, ADisabledFormTakesNoKeysAndIgnoresTheCloseRequest) {
  auto main = ShowForm();
  std::vector<std::string> seen;
  main->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seen.push_back("key " + std::to_string(key)); };
  main->OnKeyPress = [&](TObject*, char32_t& key) { seen.push_back("char " + std::to_string(key)); };
  main->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { seen.push_back("wheel"); };
  main->OnCloseQuery = [&](TObject*, bool&) { seen.push_back("close query"); };
  auto typeAndClose = [&] {
    Input().PressKey('A', 0, "a");
    Input().MouseWheel(120, At(*main, 10, 10));
    Input().CloseBox(main->BackendWindow());
  };
  TForm dialog(nullptr);
  Input().Run([&] { Backend().Activate(main->BackendWindow()); });  // as a window manager may focus it
  typeAndClose();
  Input().Run([&] { dialog.SetModalResult(mrOk); });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  main->SetEnabled(false);
  Backend().Activate(main->BackendWindow());
  typeAndClose();
  Settle();
  EXPECT_EQ(seen, std::vector<std::string>{});
  EXPECT_TRUE(main->Visible());
  main->SetEnabled(true);
  typeAndClose();
  Settle();
  EXPECT_EQ(seen, (std::vector<std::string>{"key 65", "char 97", "wheel", "close query"}));
}


// Counts how often its handle is made from its create-params.
class Recreated : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  int created = 0;
  DWORD extraStyle = 0;

protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.ExStyle |= extraStyle;
    ++created;
  }
};

TEST_F(ControlsTest, FontColourAndShowHintFollowTheParentUntilSetAndCreateParamsRecreateTheHandle) {
  auto form = ShowForm();
  auto* child = new Recreated(form.get());
  child->SetParent(form.get());
  form->Font().SetSize(14);
  form->SetColor(clYellow);
  form->SetShowHint(true);
  EXPECT_EQ(child->Font().Size(), 14);
  EXPECT_EQ(child->Color(), clYellow);
  EXPECT_TRUE(child->ShowHint());
  child->Font().SetSize(9);  // its own font from now on
  child->SetColor(clRed);
  form->Font().SetSize(20);
  form->SetColor(clBlue);
  EXPECT_EQ(child->Font().Size(), 9);
  EXPECT_EQ(child->Color(), clRed);
  EXPECT_FALSE(child->ParentFont());
  child->SetParentFont(true);
  EXPECT_EQ(child->Font().Size(), 20);

  HWND before = child->Handle();
  int made = child->created;
  child->extraStyle = WS_EX_CLIENTEDGE;
  child->RecreateWnd();
  EXPECT_NE(child->Handle(), before);
  EXPECT_GT(child->created, made);
  child->SetBounds(0, 0, 50, 40);
  EXPECT_EQ(child->ClientRect(), Rect(0, 0, 46, 36));  // the new frame takes two pixels a side
  EXPECT_EQ(FindControl(child->Handle()), child);
  EXPECT_EQ(FindControl(before), nullptr);
}

TEST_F(ControlsTest, KeyStateComesFromTheInputAndTheLocksFromTheBackend) {
  auto form = ShowForm();
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
  Input().SetKeyToggled(VK_CAPITAL, true);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  TShiftState seen;
  form->OnKeyDown = [&](TObject*, WORD&, TShiftState shift) {
    seen = shift;
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_LT(GetKeyState('A'), 0);
  };
  Input().KeyDown('A', bsCtrl);
  Settle();
  EXPECT_EQ(seen, TShiftState{TShiftStateFlag::ssCtrl});
  Input().KeyUp('A');
  Settle();
  EXPECT_GE(GetKeyState('A'), 0);
}


TEST_F(ControlsTest, WindowStateKeepsTheNormalPlacementAndCloseActionsHideOrFreeTheForm) {
  auto form = ShowForm(200, 150);
  form->SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(form->BoundsRect(), Screen().WorkAreaRect());
  EXPECT_EQ(form->NormalBounds(), Bounds(100, 100, 200, 150));
  form->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 200, 150));
  Input().UserSetBounds(form->BackendWindow(), Bounds(0, 0, 1024, 728), TBackendWindowState::Maximized);
  Settle();
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(form->NormalBounds(), Bounds(100, 100, 200, 150));

  std::vector<std::string> log;
  form->OnClose = [&](TObject*, TCloseAction& action) { log.push_back("close"); };
  form->OnHide = [&](TObject*) { log.push_back("hide"); };
  Input().CloseBox(form->BackendWindow());
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"close", "hide"}));
  EXPECT_FALSE(form->Visible());

  auto* freed = new TForm(nullptr);
  freed->Show();
  bool destroyed = false;
  freed->OnDestroy = [&](TObject*) { destroyed = true; };
  freed->OnClose = [&](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
  freed->AfterConstruction();
  freed->Close();
  EXPECT_FALSE(destroyed);  // released by the loop, after the handler has returned
  Settle();
  EXPECT_TRUE(destroyed);

  TForm centred(nullptr);
  centred.SetBounds(0, 0, 100, 50);
  centred.SetPosition(TPosition::poScreenCenter);
  centred.Show();
  EXPECT_EQ(centred.BoundsRect(), Bounds(462, 339, 100, 50));
}

}  // namespace
}  // namespace platform
