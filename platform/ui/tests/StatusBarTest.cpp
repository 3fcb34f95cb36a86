#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/TestFont.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

class StatusBarTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(300, 120);
    form->Font().SetName(kTestFontName);
    form->Font().SetHeight(-16);
    bar = new TStatusBar(form.get());
    bar->SetParent(form.get());
    Settle();
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }
  TRect PartRect(int part) {
    TRect r;
    EXPECT_NE(bar->Perform(SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r)), 0) << part;
    return r;
  }
  void AddPanels(const std::vector<int>& widths) {
    for (int width : widths) bar->Panels().Add()->SetWidth(width);
  }
  TColor PixelAt(TControl& control, int x, int y) { return ShownColor(Input(), control, x, y); }

  std::unique_ptr<TForm> form;
  TStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, LiesAlongTheBottomOfItsForm) {
  EXPECT_EQ(bar->Align(), TAlign::alBottom);
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_EQ(bar->BoundsRect(), Rect(0, form->ClientHeight() - 19, form->ClientWidth(), form->ClientHeight()));
}

// The parts run from the edge of the part before to their own; the panels' widths add up to the
// edges, and the last panel takes the rest of the bar (up to the grip on a sizeable form).
TEST_F(StatusBarTest, PartRectanglesFollowTheRightEdges) {
  struct Case {
    const char* name;
    std::vector<int> edges;
    bool grip;
    std::vector<TRect> rects;
  };
  const int w = 300;
  const Case cases[] = {
      {"one part to the end", {-1}, false, {Rect(0, 2, w, 19)}},
      {"three parts", {50, 130, -1}, false, {Rect(0, 2, 50, 19), Rect(50, 2, 130, 19), Rect(130, 2, w, 19)}},
      {"an edge past the bar ends at its side", {100, 400, 500}, false,
       {Rect(0, 2, 100, 19), Rect(100, 2, w, 19), Rect(w, 2, w, 19)}},
      {"the grip takes the corner", {100, -1}, true, {Rect(0, 2, 100, 19), Rect(100, 2, w - 16, 19)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->SetSizeGrip(c.grip);
    ASSERT_EQ(bar->Perform(SB_SETPARTS, c.edges.size(), reinterpret_cast<LPARAM>(c.edges.data())), 1);
    for (size_t i = 0; i < c.rects.size(); ++i) EXPECT_EQ(PartRect(static_cast<int>(i)), c.rects[i]) << i;
    TRect r;
    EXPECT_EQ(bar->Perform(SB_GETRECT, c.edges.size(), reinterpret_cast<LPARAM>(&r)), 0) << "no such part";
  }
  const std::vector<int> none;
  EXPECT_EQ(bar->Perform(SB_SETPARTS, 0, reinterpret_cast<LPARAM>(none.data())), 0) << "a bar keeps a part";
}

TEST_F(StatusBarTest, PanelWidthsBecomeTheParts) {
  bar->SetSizeGrip(false);
  AddPanels({60, 90, 40});
  int edges[4] = {};
  ASSERT_EQ(bar->Perform(SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
  EXPECT_EQ(edges[0], 60);
  EXPECT_EQ(edges[1], 150);
  EXPECT_EQ(edges[2], -1) << "the last panel reaches the end";
  bar->Panels().Items(0)->SetWidth(10);
  EXPECT_EQ(PartRect(1), Rect(10, 2, 100, 19));
  bar->Panels().Delete(2);
  EXPECT_EQ(PartRect(1), Rect(10, 2, 300, 19));
  bar->Panels().Clear();
  ASSERT_EQ(bar->Perform(SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 1) << "no panel: one empty part";
}

// Owner-drawn panels, and only they, reach OnDrawPanel, with the bar's canvas, the panel and its
// rectangle inside the frame; what the handler draws shows.
TEST_F(StatusBarTest, OwnerDrawnPanelsAreDrawnByTheHandler) {
  struct Case {
    std::vector<TStatusPanelStyle> styles;
    bool simple;
    std::vector<int> drawn;
  };
  using enum TStatusPanelStyle;
  const Case cases[] = {
      {{psText, psOwnerDraw, psText, psOwnerDraw}, false, {1, 3}},
      {{psOwnerDraw}, false, {0}},
      {{psText, psText}, false, {}},
      {{psOwnerDraw, psOwnerDraw}, true, {}},
  };
  bar->SetSizeGrip(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "panels " << c.styles.size() << (c.simple ? ", simple" : ""));
    bar->Panels().Clear();
    for (TStatusPanelStyle style : c.styles) {
      TStatusPanel* panel = bar->Panels().Add();
      panel->SetWidth(70);
      panel->SetStyle(style);
    }
    bar->SetSimplePanel(c.simple);
    std::vector<int> drawn;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const TRect& rect) {
      EXPECT_EQ(sender, bar);
      drawn.push_back(panel->Index());
      TRect frame = PartRect(panel->Index());
      EXPECT_EQ(rect, Rect(frame.Left + 1, frame.Top + 1, frame.Right - 3, frame.Bottom - 1));
      EXPECT_EQ(sender->Canvas().Brush().Color(), clBtnFace);
      sender->Canvas().Brush().SetColor(clRed);
      sender->Canvas().FillRect(rect);
    };
    bar->Invalidate();
    Settle();
    EXPECT_EQ(drawn, c.drawn);
    for (int index : c.drawn) {
      const TRect r = PartRect(index);
      EXPECT_EQ(PixelAt(*bar, r.Left + 5, r.Top + 5), clRed) << index;
    }
    bar->OnDrawPanel = nullptr;
  }
}

TEST_F(StatusBarTest, TextsAlignAtTabsAndTheSimplePartCoversTheBar) {
  bar->SetSizeGrip(false);
  bar->Font().SetColor(clBlack);
  bar->SetColor(clWhite);
  AddPanels({100, 100, 100});
  const TAlignment alignments[] = {TAlignment::taLeftJustify, TAlignment::taCenter, TAlignment::taRightJustify};
  for (int i = 0; i < 3; ++i) {
    bar->Panels().Items(i)->SetText("MM");
    bar->Panels().Items(i)->SetAlignment(alignments[i]);
    bar->Panels().Items(i)->SetBevel(TStatusPanelBevel::pbNone);
  }
  auto inkAt = [&](int x) {
    int ink = 0;
    for (int y = 3; y < 18; ++y) ink += PixelAt(*bar, x, y) == clBlack ? 1 : 0;
    return ink > 0;
  };
  // "MM" in the test font is 16 pixels wide, 2 pixels in from the frame's inner side.
  EXPECT_TRUE(inkAt(4) && !inkAt(30)) << "left";
  EXPECT_TRUE(inkAt(145) && !inkAt(104) && !inkAt(190)) << "centred";
  EXPECT_TRUE(inkAt(292) && !inkAt(204)) << "right";
  bar->SetSimpleText("MM");
  bar->SetSimplePanel(true);
  EXPECT_TRUE(inkAt(4) && !inkAt(145) && !inkAt(292)) << "the simple part alone";
  EXPECT_EQ(bar->Perform(SB_ISSIMPLE), 1);
}

TEST_F(StatusBarTest, BackgroundColourComesFromTheMessageOrTheControl) {
  bar->SetSizeGrip(false);
  bar->Panels().Add()->SetBevel(TStatusPanelBevel::pbNone);
  EXPECT_EQ(PixelAt(*bar, 100, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(static_cast<TColor>(bar->Perform(SB_SETBKCOLOR, 0, clYellow)), CLR_DEFAULT);
  EXPECT_EQ(PixelAt(*bar, 100, 10), clYellow);
  bar->Perform(SB_SETBKCOLOR, 0, CLR_DEFAULT);
  EXPECT_EQ(PixelAt(*bar, 100, 10), ColorToRGB(clBtnFace));
}

TEST_F(StatusBarTest, SizeGripOnlyOnASizeableFormAndDraggingItResizes) {
  struct Case {
    TFormBorderStyle border;
    bool sizeGrip;
    bool shown;
  };
  const Case cases[] = {
      {TFormBorderStyle::bsSizeable, true, true},
      {TFormBorderStyle::bsSizeToolWin, true, true},
      {TFormBorderStyle::bsSingle, true, false},
      {TFormBorderStyle::bsDialog, true, false},
      {TFormBorderStyle::bsSizeable, false, false},
  };
  AddPanels({-1});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.border) << " " << c.sizeGrip);
    form->SetBorderStyle(c.border);
    bar->SetSizeGrip(c.sizeGrip);
    EXPECT_EQ(PartRect(0).Right, bar->ClientWidth() - (c.shown ? 16 : 0));
  }
  form->SetBorderStyle(TFormBorderStyle::bsSizeable);
  bar->SetSizeGrip(true);
  form->SetWindowState(TWindowState::wsMaximized);
  Settle();
  EXPECT_EQ(PartRect(0).Right, bar->ClientWidth()) << "no grip on a maximised form";
  form->SetWindowState(TWindowState::wsNormal);
  Settle();
  const int width = form->Width();
  const int height = form->Height();
  const TPoint grip = At(*bar, bar->ClientWidth() - 4, bar->ClientHeight() - 4);
  Input().MouseMove(grip);
  Input().MouseDown(TMouseButtonKind::Left, grip);
  Input().MouseMove({grip.X + 40, grip.Y + 25});
  Input().MouseUp(TMouseButtonKind::Left, {grip.X + 40, grip.Y + 25});
  Settle();
  EXPECT_EQ(form->Width(), width + 40);
  EXPECT_EQ(form->Height(), height + 25);
  EXPECT_EQ(bar->Top(), form->ClientHeight() - bar->Height()) << "the bar follows the bottom";
  EXPECT_EQ(Input().Info(form->BackendWindow()).bounds.Width(), form->Width());
}

TEST_F(StatusBarTest, LoadsFromAFormResource) {
  TForm loaded(nullptr);
  ReadFormText(loaded, R"(
Form1: TForm {
  ClientWidth = 320  ClientHeight = 200
  Status: TStatusBar {
    SimpleText = "Bereit"
    Panels = items { { Width = 80  Text = "Dienst" } { Width = 60  Style = psOwnerDraw  Bevel = pbRaised } { Alignment = taRightJustify } }
  }
}
)",
               "TFORM1.DE", TFormMethods{});
  auto& status = dynamic_cast<TStatusBar&>(*loaded.FindComponent("Status"));
  ASSERT_EQ(status.Panels().Count(), 3);
  EXPECT_EQ(status.Panels().Items(0)->Text(), "Dienst");
  EXPECT_EQ(status.Panels().Items(1)->Style(), TStatusPanelStyle::psOwnerDraw);
  EXPECT_EQ(status.Panels().Items(1)->Bevel(), TStatusPanelBevel::pbRaised);
  EXPECT_EQ(status.Panels().Items(2)->Alignment(), TAlignment::taRightJustify);
  EXPECT_EQ(status.SimpleText(), "Bereit");
  int edges[3] = {};
  status.Perform(SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  EXPECT_EQ(edges[1], 140);
}

TEST_F(StatusBarTest, Screenshot) {
  form->SetBounds(100, 100, 360, 90);
  form->SetColor(clBtnFace);
  form->Font().SetName("Tahoma");  // a real face for people to look at; nothing here is measured
  form->Font().SetSize(8);
  AddPanels({120, 90, 60});
  bar->Panels().Items(0)->SetText("Service running");
  bar->Panels().Items(1)->SetStyle(TStatusPanelStyle::psOwnerDraw);
  bar->Panels().Items(2)->SetText("NUM");
  bar->Panels().Items(2)->SetAlignment(TAlignment::taCenter);
  bar->OnDrawPanel = [](TStatusBar* sender, TStatusPanel*, const TRect& rect) {
    TCanvas& canvas = sender->Canvas();
    TRect filled = rect;
    filled.Right = filled.Left + filled.Width() * 2 / 3;
    canvas.Brush().SetColor(clHighlight);
    canvas.FillRect(filled);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(clHighlightText);
    canvas.TextOut(filled.Left + 4, rect.Top, "66%");
  };
  SaveArtefact(Input(), form->BackendWindow(), "statusbar");
}

}  // namespace
}  // namespace platform
