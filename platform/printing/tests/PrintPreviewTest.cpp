#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/printing/PrintPreview.h"
#include "platform/printing/tests/SampleDocument.h"
#include "platform/ui/Forms.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

class PrintPreviewTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(460, 640);
    preview = new TPrintPreview(form.get());
    preview->SetParent(form.get());
    preview->SetAlign(TAlign::alClient);
    preview->SetPageCount(3);
    preview->OnDrawPage = [this](TObject*, TCanvas& canvas, int page) {
      drawn.push_back(page);
      test::SamplePage sample;
      sample.Draw(canvas, page);
    };
    preview->SetFocus();
    Settle();
  }

  std::unique_ptr<TForm> form;
  TPrintPreview* preview = nullptr;
  std::vector<int> drawn;
};

TEST_F(PrintPreviewTest, ThePageFitsTheControlAndIsDrawnByTheSameCodeAtThatResolution) {
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back(), 1);
  // 640 - 16 pixels for 297 mm: 53 dpi, so the page is 438 x 620 at most.
  const int ppi = preview->PagePixelsPerInch();
  EXPECT_EQ(ppi, 53);
  const TRect page = preview->PageRect();
  EXPECT_EQ(page.Width(), 438);
  EXPECT_EQ(page.Height(), 620);
  EXPECT_LE(page.Right, preview->ClientWidth());
  // The header's first cell (0.1 mm: 200..750, -300..-380) in its colour beside its caption, as on paper.
  const int x = page.Left + 700 * ppi / 254, y = page.Top + 370 * ppi / 254;
  EXPECT_EQ(ShownColor(Input(), *preview, x, y), TColor(0xE0C0A0));
  EXPECT_EQ(preview->PageImage().Width(), 438);
  SaveArtefact(Input(), form->BackendWindow(), "print_preview");
}

TEST_F(PrintPreviewTest, PagesTurnWithTheKeysWithinTheCountAndZoomChangesTheResolution) {
  int changes = 0;
  preview->OnPageChange = [&](TObject*) { ++changes; };
  Input().PressKey(VK_NEXT);
  Settle();
  EXPECT_EQ(preview->PageNumber(), 2);
  EXPECT_EQ(drawn.back(), 2);
  Input().PressKey(VK_NEXT);
  Input().PressKey(VK_NEXT);
  Settle();
  EXPECT_EQ(preview->PageNumber(), 3);
  Input().PressKey(VK_PRIOR);
  Settle();
  EXPECT_EQ(preview->PageNumber(), 2);
  EXPECT_EQ(changes, 3);
  preview->SetZoom(100);
  Settle();
  EXPECT_EQ(preview->PagePixelsPerInch(), 96);
  EXPECT_EQ(preview->PageImage().Width(), 794);  // 210 mm at 96 dpi
  Input().PressKey(VK_OEM_MINUS, 0, "-");
  Settle();
  EXPECT_EQ(preview->Zoom(), 75);
  preview->SetPaper({"A4", 210, 297}, TPrinterOrientation::poLandscape);
  preview->SetZoom(0);
  Settle();
  EXPECT_GT(preview->PageRect().Width(), preview->PageRect().Height());
  SaveArtefact(Input(), form->BackendWindow(), "print_preview_landscape");
}

TEST_F(PrintPreviewTest, APageChangeHandlerMayFreeThePreviewWhenTheCountShrinks) {
  preview->SetPageNumber(3);
  int changes = 0;
  preview->OnPageChange = [&](TObject*) {
    ++changes;
    delete std::exchange(preview, nullptr);  // the handler's captures go with the preview: touched before
  };
  TPrintPreview* shrinking = preview;
  shrinking->SetPageCount(2);  // turns to page 2: the handler runs, and nothing touches the preview after it
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(preview, nullptr);
  Settle();
}

}  // namespace
}  // namespace platform
