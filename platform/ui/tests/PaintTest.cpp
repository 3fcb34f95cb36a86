#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/gfx/Gdi.h"
#include "platform/gfx/Png.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

// A panel-like control: a raised frame on its colour; counts its paints.
class Panel : public TCustomControl {
public:
  Panel(TWinControl* parent, TRect bounds, TColor color) : TCustomControl(parent) {
    SetParent(parent);
    SetBoundsRect(bounds);
    SetColor(color);
  }
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    TRect r = ClientRect();
    DrawEdge(Canvas().Handle(), r, EDGE_RAISED, BF_RECT);
  }
};

// A graphic control that fills a cross in its colour; counts its paints.
class Cross : public TGraphicControl {
public:
  Cross(TWinControl* parent, TRect bounds) : TGraphicControl(parent) {
    SetParent(parent);
    SetBoundsRect(bounds);
  }
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(Rect(Width() / 2 - 1, 0, Width() / 2 + 1, Height()));
    Canvas().FillRect(Rect(0, Height() / 2 - 1, Width(), Height() / 2 + 1));
  }
};

using PaintTest = FormTest;

TEST_F(PaintTest, InvalidatingOneControlRepaintsOnlyItsRegion) {
  auto form = ShowForm(200, 150);
  int formPaints = 0;
  form->OnPaint = [&](TObject*) { ++formPaints; };
  auto* left = new Panel(form.get(), Bounds(10, 10, 80, 60), clBtnFace);
  auto* right = new Panel(form.get(), Bounds(110, 10, 80, 60), clBtnFace);
  auto* inner = new Cross(right, Bounds(10, 10, 20, 20));
  auto* beside = new Cross(form.get(), Bounds(10, 100, 20, 20));
  Settle();
  EXPECT_EQ(formPaints, 1);
  EXPECT_EQ(left->paints, 1);
  EXPECT_EQ(right->paints, 1);
  EXPECT_EQ(inner->paints, 1);
  EXPECT_EQ(beside->paints, 1);

  // Two invalidations before the loop is idle make one paint.
  right->Invalidate();
  right->Invalidate();
  Settle();
  EXPECT_EQ(right->paints, 2);
  EXPECT_EQ(inner->paints, 2);  // its graphic child lies in the region
  EXPECT_EQ(left->paints, 1);
  EXPECT_EQ(beside->paints, 1);
  EXPECT_EQ(formPaints, 1);  // the windowed child is cut out of its parent's painting

  beside->Invalidate();
  Settle();
  EXPECT_EQ(beside->paints, 2);
  EXPECT_EQ(formPaints, 2);
  EXPECT_EQ(right->paints, 2);
  EXPECT_EQ(left->paints, 1);

  // A control hidden behind nothing paints nothing once hidden; its area is painted by its parent.
  right->Hide();
  Settle();
  EXPECT_EQ(right->paints, 2);
  EXPECT_EQ(formPaints, 3);
}

// A panel whose paint throws while asked to, and which paints its graphic children on request, outside
// any paint of the framework.
class ThrowingPanel : public Panel {
public:
  using Panel::Panel;
  bool throwing = true;
  void PaintChildrenNow() { PaintControls(nullptr); }

protected:
  void Paint() override {
    Panel::Paint();
    if (throwing) throw Exception("paint failed");
  }
};

TEST_F(PaintTest, APaintThatThrowsLeavesNoClipBehindForTheChildren) {
  auto form = ShowForm(200, 150);
  auto* panel = new ThrowingPanel(form.get(), Bounds(10, 10, 80, 60), clBtnFace);
  auto* child = new Cross(panel, Bounds(10, 10, 20, 20));
  std::string shown;
  Application().OnException = [&](const Exception& e) { shown = e.Message(); };
  Settle();
  Application().OnException = nullptr;
  EXPECT_EQ(shown, "paint failed");
  EXPECT_EQ(panel->paints, 1);
  // Outside a paint the panel has no clip to paint its children in, so asking paints none.
  panel->PaintChildrenNow();
  EXPECT_EQ(child->paints, 0);
  panel->throwing = false;
  panel->Invalidate();
  Settle();
  EXPECT_EQ(child->paints, 1);
}

TEST_F(PaintTest, AHugeFormCostsWhatTheScreenCosts) {
  auto form = ShowForm(200, 150);
  form->SetBounds(-500, -500, 23000, 23000);
  Settle();
  const TRect screen = Input().ScreenRect();
  EXPECT_EQ(form->Width(), screen.Width() + 16);
  EXPECT_EQ(form->Height(), screen.Height() + 16);
  const TBitmap& shown = Input().Info(form->BackendWindow()).shown;
  EXPECT_EQ(shown.Width(), form->Width()) << "the back buffer is the form's, bounded with it";
  EXPECT_EQ(shown.Height(), form->Height());
  form->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(form->Width(), 300) << "a size within the bound is taken as asked";
}

// A control that neither erases nor paints its area, as one that paints everything itself may leave
// parts of it.
class Unpainted : public TCustomControl {
public:
  Unpainted(TWinControl* parent, TRect bounds) : TCustomControl(parent) {
    SetParent(parent);
    SetBoundsRect(bounds);
  }

protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND) {
      Message.Result = 1;
      return;
    }
    TCustomControl::Dispatch(Message);
  }
  void Paint() override {}
};

// A form shown anew takes the buffers that a form of its size left, and still starts from white, as on
// fresh buffers: nothing of the form that went shows through where the new one paints nothing.
TEST_F(PaintTest, AFormShownAnewShowsNothingOfTheFormWhoseBuffersItTakes) {
  auto gone = ShowForm(60, 40);
  gone->SetColor(clRed);
  Settle();
  const uint32_t* goneShown = Input().Info(gone->BackendWindow()).shown.ScanLine(0);
  gone.reset();

  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 60, 40);
  form->SetColor(clBlue);
  auto* unpainted = new Unpainted(form.get(), Bounds(10, 10, 20, 20));
  form->Show();
  Settle();
  EXPECT_EQ(Input().Info(form->BackendWindow()).shown.ScanLine(0), goneShown) << "the buffer that went is taken again";
  EXPECT_EQ(ShownColor(Input(), *unpainted, 5, 5), clWhite) << "where nothing paints, the new form is white";
  EXPECT_EQ(ShownColor(Input(), *form, 5, 5), clBlue);
  EXPECT_EQ(ShownColor(Input(), *form, 59, 39), clBlue);
}

TEST_F(PaintTest, ScreenshotOfASmallFormMatchesItsReference) {
  auto form = ShowForm(120, 80);
  form->SetColor(clWhite);
  auto* panel = new Panel(form.get(), Bounds(8, 8, 60, 40), clBtnFace);
  new Cross(panel, Bounds(4, 4, 16, 16));
  auto* image = new TImage(form.get());
  image->SetParent(form.get());
  image->SetBounds(76, 8, 36, 36);
  image->SetCenter(true);
  TBitmap& bitmap = image->Picture().Bitmap();
  bitmap.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) bitmap.Canvas().SetPixels(x, y, (x / 4 + y / 4) % 2 ? clNavy : clYellow);
  image->Picture().OnChange();
  auto* stretched = new TImage(form.get());
  stretched->SetParent(form.get());
  stretched->SetBounds(8, 54, 104, 18);
  stretched->SetStretch(true);
  stretched->Picture().Bitmap().Assign(bitmap);
  stretched->Picture().OnChange();
  Settle();

  std::string actual = PngBytes(Input().Info(form->BackendWindow()).shown);
  std::string reference = std::string(VELMORA_UI_FIXTURES) + "/paint_form.png";
  std::ifstream file(reference, std::ios::binary);
  std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (actual != expected) {
    std::string saved = ::testing::TempDir() + "paint_form.actual.png";
    Input().SaveScreenshot(form->BackendWindow(), saved);
    FAIL() << "the screenshot differs from " << reference << "; it is saved as " << saved;
  }
}

}  // namespace
}  // namespace platform
