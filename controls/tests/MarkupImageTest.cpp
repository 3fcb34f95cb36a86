#include "controls/MarkupImage.h"

#include <gtest/gtest.h>

#include "controls/DisplayClasses.h"
#include "controls/MarkupLabel.h"
#include "controls/MarkupStatusBar.h"
#include "controls/fxLabel.h"
#include "controls/html/tests/ImageFixtures.h"
#include "controls/tests/LabelFixture.h"
#include "platform/ui/FormLoader.h"

namespace controls {
namespace {

using platform::Rect;
using platform::TRect;

// A markup image on a white form, at the form's top-left corner.
class MarkupImageTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    Show(60, 40);
    form_->SetColor(platform::clWhite);
    image_ = new TMarkupImage(form_.get());
    image_->SetParent(form_.get());
  }

  TMarkupImage* image_ = nullptr;
};

TEST_F(MarkupImageTest, ThePicturePositionsInTheClientArea) {
  EXPECT_EQ(image_->Width(), 100);
  EXPECT_EQ(image_->Height(), 100);
  image_->SetBounds(0, 0, 10, 6);
  EXPECT_EQ(Count(platform::clRed, Rect(0, 0, 60, 40)), 0);  // nothing while the picture is empty
  image_->HTMLPicture().LoadFromBytes(test::SolidBmp(4, 2, platform::clRed));
  struct Case {
    TPicturePosition position;
    TRect red;
  };
  const Case cases[] = {
      {bpTopLeft, Rect(0, 0, 4, 2)},    {bpTopRight, Rect(6, 0, 10, 2)}, {bpBottomLeft, Rect(0, 4, 4, 6)},
      {bpBottomRight, Rect(6, 4, 10, 6)}, {bpCenter, Rect(3, 2, 7, 4)},  {bpTiled, Rect(0, 0, 10, 6)},
      {bpStretched, Rect(0, 0, 10, 6)},
  };
  for (const Case& c : cases) {
    image_->SetPicturePosition(c.position);
    EXPECT_EQ(Count(platform::clRed, c.red), c.red.Width() * c.red.Height()) << c.position;
    EXPECT_EQ(Count(platform::clRed, Rect(0, 0, 60, 40)), c.red.Width() * c.red.Height()) << c.position;
  }
  // A picture larger than the control keeps its top-left corner in view.
  image_->SetBounds(0, 0, 3, 1);
  image_->SetPicturePosition(bpBottomRight);
  EXPECT_EQ(Count(platform::clRed, Rect(0, 0, 60, 40)), 3);

  image_->SetBounds(10, 10, 40, 20);
  image_->SetPicturePosition(bpCenter);
  image_->HTMLPicture().LoadFromBytes(test::SolidBmp(20, 10, platform::clBlue));
  EXPECT_EQ(Count(platform::clBlue, Rect(20, 15, 40, 25)), 200);
  Screenshot("markup-image-centre");
}

TEST_F(MarkupImageTest, SettingThePictureCopiesItAndRepaints) {
  image_->SetBounds(0, 0, 10, 10);
  TMarkupPicture blue;
  blue.LoadFromBytes(test::SolidBmp(5, 5, platform::clBlue));
  image_->SetHTMLPicture(blue);
  blue.LoadFromBytes(test::SolidBmp(5, 5, platform::clRed));
  EXPECT_EQ(Count(platform::clBlue, Rect(0, 0, 10, 10)), 25);
  image_->HTMLPicture().LoadFromBytes(test::SolidBmp(2, 2, platform::clRed));
  EXPECT_EQ(Count(platform::clRed, Rect(0, 0, 10, 10)), 4);
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (unsigned char c : bytes) hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15];
  return hex;
}

TEST(DisplayClassesTest, FormResourcesMakeTheDisplayControls) {
  PublishDisplayClasses();
  platform::TForm form(nullptr);
  platform::ReadFormText(form,
                         "F: TForm {\n"
                         "  L: TMarkupLabel { HTMLText = list(\"<b>a</b>\", \"b\") URLColor = clRed VAlignment = tvaCenter"
                         "    BevelOuter = bvRaised AutoSizeType = asBoth }\n"
                         "  X: TFxLabel { Caption = \"Quillet\" Style = fxLowered Effect3D.Depth = 3"
                         "    Effect3D.Orientation = fxLeftTop Effect3D.ShadowedColor = clSilver }\n"
                         "  I: TMarkupImage { PicturePosition = bpCenter HTMLPicture = bytes(" +
                             Hex(test::SolidBmp(3, 2, platform::clRed)) + ") }\n"
                         "  S: TMarkupStatusBar { URLColor = clRed AnchorHint = True Panels = items {\n"
                         "    { Style = psHTML Width = 25 Bevel = pbNone Text = \"<IMG src=\\\"idx:9\\\">\" }\n"
                         "    { Style = psProgress Hint = \"busy\" Progress.Max = 10 Progress.Position = 4"
                         "      Progress.Indication = piAbsolute Progress.Color = clLime }\n"
                         "    { Style = psDate DateFormat = \"dd.mm.yyyy\" Alignment = taCenter } } }\n"
                         "}\n",
                         "display", {});
  auto& label = dynamic_cast<TMarkupLabel&>(*form.FindComponent("L"));
  EXPECT_EQ(label.HTMLText().Text(), "<b>a</b>b\r\n");
  EXPECT_EQ(label.URLColor(), platform::clRed);
  EXPECT_EQ(label.VAlignment(), tvaCenter);
  EXPECT_EQ(label.BevelOuter(), bvRaised);
  EXPECT_EQ(label.AutoSizeType(), asBoth);
  EXPECT_EQ(label.Parent(), &form);
  auto& fx = dynamic_cast<TFxLabel&>(*form.FindComponent("X"));
  EXPECT_EQ(fx.Style(), fxLowered);
  EXPECT_EQ(fx.Effect3D().Depth(), 3);
  EXPECT_EQ(fx.Effect3D().Orientation(), fxLeftTop);
  EXPECT_EQ(fx.Effect3D().ShadowedColor(), platform::clSilver);
  auto& image = dynamic_cast<TMarkupImage&>(*form.FindComponent("I"));
  EXPECT_EQ(image.PicturePosition(), bpCenter);
  EXPECT_EQ(image.HTMLPicture().Width(), 3);
  auto& bar = dynamic_cast<TMarkupStatusBar&>(*form.FindComponent("S"));
  EXPECT_EQ(bar.URLColor(), platform::clRed);
  EXPECT_TRUE(bar.AnchorHint());
  ASSERT_EQ(bar.Panels().Count(), 3);
  EXPECT_EQ(bar.Panels().Items(0)->Text(), "<IMG src=\"idx:9\">");
  EXPECT_EQ(bar.Panels().Items(0)->Bevel(), TMarkupStatusPanelBevel::pbNone);
  const TProgressStyle& progress = bar.Panels().Items(1)->Progress();
  EXPECT_EQ(progress.Caption(), "4");
  EXPECT_EQ(progress.Color(), platform::clLime);
  EXPECT_EQ(bar.Panels().Items(1)->Hint(), "busy");
  EXPECT_EQ(bar.Panels().Items(2)->Style(), TMarkupStatusPanelStyle::psDate);
  EXPECT_FALSE(bar.Panels().Items(2)->Text().empty());  // Loaded brought the date panel up to date

  EXPECT_THROW(platform::ReadFormText(form, "F: TForm { I: TMarkupImage { HTMLPicture = bytes(00) } }", "broken", {}),
               platform::EFormResourceError);
}

}  // namespace
}  // namespace controls
