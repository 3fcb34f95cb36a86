#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

class ExtControlsTest : public FormTest {
protected:
  TSpeedButton* SpeedButton(TWinControl* parent, int left, int group) {
    auto* button = new TSpeedButton(parent);
    button->SetParent(parent);
    button->SetBounds(left, 10, 23, 22);
    button->SetGroupIndex(group);
    return button;
  }
  void ClickOn(TControl& control) {
    Input().Click(At(control, 5, 5));
    Settle();
  }
};

TEST_F(ExtControlsTest, SpeedButtonGroupsKeepOneButtonDown) {
  auto form = ShowForm(300, 100);
  auto* a = SpeedButton(form.get(), 10, 1);
  auto* b = SpeedButton(form.get(), 40, 1);
  auto* other = SpeedButton(form.get(), 70, 2);
  auto* plain = SpeedButton(form.get(), 100, 0);
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  other->SetDown(true);

  ClickOn(*a);
  EXPECT_TRUE(a->Down());
  ClickOn(*b);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(other->Down());  // another group is left alone
  // The down button stays down when pressed again, and raises its click all the same.
  ClickOn(*b);
  EXPECT_TRUE(b->Down());
  ClickOn(*a);
  EXPECT_EQ(clicks, 2);
  // Code cannot raise the only down button either, nor put down a button without a group.
  a->SetDown(false);
  EXPECT_TRUE(a->Down());
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
  ClickOn(*plain);
  EXPECT_FALSE(plain->Down());
  EXPECT_EQ(plain->State(), TButtonState::bsUp);

  // AllowAllUp, set on one button, holds for its group: a second press raises it.
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());
  ClickOn(*a);
  EXPECT_FALSE(a->Down());
  EXPECT_FALSE(b->Down());
}

TEST_F(ExtControlsTest, SpeedButtonPressedOutsideReleasesWithoutClick) {
  auto form = ShowForm(300, 100);
  auto* button = SpeedButton(form.get(), 10, 0);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  Input().MouseDown(TMouseButtonKind::Left, At(*button, 5, 5));
  Settle();
  EXPECT_EQ(button->State(), TButtonState::bsDown);
  Input().MouseMove(At(*button, 100, 5));
  Settle();
  EXPECT_EQ(button->State(), TButtonState::bsUp);
  Input().MouseUp(TMouseButtonKind::Left, At(*button, 100, 5));
  Settle();
  EXPECT_EQ(clicks, 0);
}

TEST_F(ExtControlsTest, FlatSpeedButtonTracksTheMouse) {
  auto form = ShowForm(300, 100);
  auto* button = SpeedButton(form.get(), 10, 0);
  button->SetFlat(true);
  Input().MouseMove(At(*button, 5, 5));
  Settle();
  EXPECT_TRUE(button->MouseInControl());
  Input().MouseMove(At(*form, 250, 80));
  Settle();
  EXPECT_FALSE(button->MouseInControl());
}

// A form of client width 400 with a left panel, a splitter beside it and a client panel.
class SplitterTest : public ExtControlsTest {
protected:
  void SetUp() override {
    ExtControlsTest::SetUp();
    form = ShowForm(400, 100);
    left = new TPanel(form.get());
    left->SetParent(form.get());
    left->SetBounds(0, 0, 100, 100);
    left->SetAlign(TAlign::alLeft);
    splitter = new TSplitter(form.get());
    splitter->SetParent(form.get());
    splitter->SetBounds(100, 0, 3, 100);
    client = new TPanel(form.get());
    client->SetParent(form.get());
    client->SetAlign(TAlign::alClient);
    splitter->SetMinSize(50);
    splitter->SetResizeStyle(TResizeStyle::rsUpdate);
    Settle();
  }
  void Drag(int dx) {
    Input().MouseDown(TMouseButtonKind::Left, At(*splitter, 1, 50));
    Input().MouseMove(At(*splitter, 1 + dx, 50));
    Input().MouseUp(TMouseButtonKind::Left, At(*splitter, 1 + dx, 50));
    Settle();
  }
  std::unique_ptr<TForm> form;
  TPanel* left = nullptr;
  TSplitter* splitter = nullptr;
  TPanel* client = nullptr;
};

TEST_F(SplitterTest, DragKeepsTheSizeWithinItsLimits) {
  // The client panel keeps MinSize: at most 400 - 3 - 50 = 347.
  struct Case {
    bool autoSnap;
    int dx;
    int width;
  } cases[] = {
      {true, 40, 140}, {true, -45, 55},
      {true, -50, 0},     // at MinSize with AutoSnap: snapped shut
      {false, -50, 50},   {false, -80, 50},  // without it MinSize holds
      {true, 290, 347},   {false, 500, 347},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dx);
    left->SetWidth(100);
    Settle();
    splitter->SetAutoSnap(c.autoSnap);
    Drag(c.dx);
    EXPECT_EQ(left->Width(), c.width);
    EXPECT_EQ(splitter->Left(), c.width);  // the alignment moves the splitter beside the panel
    EXPECT_EQ(client->Width(), 400 - 3 - c.width);
  }
}

TEST_F(SplitterTest, CanResizeMayRefuseOrChangeTheSizeAndMovedFollows) {
  int moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  splitter->OnCanResize = [](TObject*, int& size, bool& accept) {
    if (size > 200) accept = false;
    if (size == 150) size = 160;
  };
  Drag(150);
  EXPECT_EQ(left->Width(), 100);
  EXPECT_EQ(moved, 0);
  Drag(50);
  EXPECT_EQ(left->Width(), 160);
  EXPECT_EQ(moved, 1);
}

TEST_F(SplitterTest, PatternStyleResizesOnReleaseAndShowsABarMeanwhile) {
  splitter->SetResizeStyle(TResizeStyle::rsPattern);
  const size_t windows = Input().Windows().size();
  Input().MouseDown(TMouseButtonKind::Left, At(*splitter, 1, 50));
  Input().MouseMove(At(*splitter, 31, 50));
  Settle();
  EXPECT_EQ(left->Width(), 100);
  ASSERT_EQ(Input().Windows().size(), windows + 1);
  const auto& bar = Input().Info(Input().Windows().back());
  EXPECT_TRUE(bar.visible);
  EXPECT_EQ(bar.bounds.Left, splitter->ClientToScreen({30, 0}).X);
  Input().MouseUp(TMouseButtonKind::Left, At(*splitter, 31, 50));
  Settle();
  EXPECT_EQ(left->Width(), 130);
  EXPECT_FALSE(Input().Info(Input().Windows().back()).visible);
}

TEST_F(SplitterTest, BottomAlignedSplitterResizesTheControlBelowIt) {
  left->SetAlign(TAlign::alNone);
  auto* bottom = new TPanel(form.get());
  bottom->SetParent(form.get());
  bottom->SetBounds(0, 60, 400, 40);
  bottom->SetAlign(TAlign::alBottom);
  splitter->SetAlign(TAlign::alBottom);
  splitter->SetBounds(0, 50, 400, 3);
  splitter->SetMinSize(20);
  Settle();
  ASSERT_EQ(splitter->Top(), 57);
  Input().MouseDown(TMouseButtonKind::Left, At(*splitter, 200, 1));
  Input().MouseMove(At(*splitter, 200, -9));
  Input().MouseUp(TMouseButtonKind::Left, At(*splitter, 200, -9));
  Settle();
  EXPECT_EQ(bottom->Height(), 50);
  EXPECT_EQ(bottom->Top(), 50);
  EXPECT_EQ(splitter->Top(), 47);
}

}  // namespace
}  // namespace platform
