#include "controls/fxLabel.h"

#include <gtest/gtest.h>

#include "controls/tests/LabelFixture.h"

namespace controls {
namespace {

using platform::RGB;
using platform::TColor;

// "AB" in the test font of 16 pixels (each letter a box of 7 x 12 pixels, 8 apart) on a 60 x 40 label
// with a white background: centred, the face of "A" covers x 22..28 and y 12..23, "B" x 30..36.
class FxLabelTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    Show(60, 40);
    label_ = new TFxLabel(form_.get());
    label_->SetParent(form_.get());
    label_->SetBounds(0, 0, 60, 40);
    label_->Font().SetName(platform::kTestFontName);
    label_->Font().SetHeight(-16);
    label_->Font().SetColor(platform::clBlack);
    label_->SetColor(platform::clWhite);
    label_->SetCaption("AB");
  }

  TFxLabel* label_ = nullptr;
};

TEST_F(FxLabelTest, DepthZeroDrawsTheFaceAloneCentred) {
  label_->Effect3D().SetShadowedColor(platform::clRed);
  EXPECT_EQ(Pixel(22, 12), Pixel(36, 23));
  const TColor face = Pixel(22, 12);
  const TColor background = Pixel(21, 12);
  EXPECT_NE(face, background);
  for (auto [x, y] : {std::pair{21, 12}, {29, 12}, {37, 12}, {22, 11}, {22, 24}}) {
    EXPECT_EQ(Pixel(x, y), background) << x << "," << y;
  }
}

TEST_F(FxLabelTest, EffectsPutTheirCopiesBehindTheFace) {
  const TColor white = Pixel(5, 5);
  const TColor black = Pixel(22, 12);
  const TColor red = [&] {
    label_->Effect3D().SetStyle(fxCool);
    label_->Effect3D().SetOrientation(fxRightBottom);
    label_->Effect3D().SetDepth(2);
    label_->Effect3D().SetShadowedColor(RGB(255, 0, 0));
    return Pixel(38, 25);  // the shadow's corner beyond "B"
  }();
  EXPECT_NE(red, white);
  EXPECT_EQ(Pixel(37, 25), red);
  EXPECT_EQ(Pixel(22, 12), black);
  EXPECT_EQ(Pixel(23, 13), black);  // the face is drawn over the shadow

  // Extruded to the left by 3: copies at x - 3, x - 2 and x - 1, all in the shadow colour.
  label_->Effect3D().SetStyle(fxExtrude);
  label_->Effect3D().SetOrientation(fxLeft);
  label_->Effect3D().SetDepth(3);
  EXPECT_EQ(Pixel(18, 12), white);
  EXPECT_EQ(Pixel(19, 12), red);
  EXPECT_EQ(Pixel(21, 12), red);
  EXPECT_EQ(Pixel(22, 12), black);

  // Graded: the farthest copy lies two thirds of the way towards the background, the nearest is red.
  label_->Effect3D().SetStyle(fxFun);
  const TColor farthest = Pixel(19, 12);
  EXPECT_EQ(platform::GetGValue(farthest), 170);
  EXPECT_EQ(platform::GetRValue(farthest), platform::GetRValue(red));
  EXPECT_EQ(Pixel(21, 12), red);
}

TEST_F(FxLabelTest, LoweredFaceOnAFixedColourIsTwoThirdsOfIt) {
  // The face keeps the fixed colour: painting never switches the label to its parent's colour.
  label_->SetColor(RGB(150, 90, 30));
  label_->SetStyle(fxLowered);
  const TColor face = Pixel(23, 13);
  EXPECT_EQ(Pixel(5, 5), Pixel(59, 0));
  EXPECT_EQ(platform::GetRValue(face), 100);
  EXPECT_EQ(platform::GetGValue(face), 60);
  EXPECT_EQ(platform::GetBValue(face), 20);
  EXPECT_EQ(Pixel(30, 25), Pixel(38, 25));  // the highlight 2 pixels lower right shows past the face
  EXPECT_NE(Pixel(30, 25), Pixel(5, 5));
  EXPECT_FALSE(label_->ParentColor());

  // On a system colour the face is the button shadow.
  label_->SetColor(platform::clBtnFace);
  const TColor shadowFace = Pixel(23, 13);
  EXPECT_EQ(platform::GetRValue(shadowFace), platform::GetRValue(platform::ColorToRGB(platform::clBtnShadow)));
  EXPECT_EQ(Pixel(5, 5), RGB(192, 192, 192));  // a system colour as background is drawn light gray
}

TEST_F(FxLabelTest, AngleNinetyRunsTheTextUpwardsAroundTheMiddle) {
  const TColor background = Pixel(5, 5);
  label_->SetAngle(90);
  Screenshot("fxlabel-angle-90");
  // "A" now covers y 21..27 and "B" y 13..19, both x 22..33.
  EXPECT_NE(Pixel(27, 25), background);
  EXPECT_EQ(Pixel(27, 20), background);
  EXPECT_NE(Pixel(27, 17), background);
  EXPECT_EQ(Pixel(36, 25), background);
  label_->SetAngle(400);  // out of range: ignored
  EXPECT_EQ(label_->Angle(), 90);
}

TEST(FxColorStepTest, StepsRoundEachChannel) {
  EXPECT_EQ(ColorStep(RGB(150, 90, 30), platform::clBlack, 3, 1), RGB(100, 60, 20));
  EXPECT_EQ(ColorStep(RGB(255, 0, 0), RGB(255, 255, 255), 3, 2), RGB(255, 170, 170));
  EXPECT_EQ(ColorStep(RGB(10, 20, 30), RGB(200, 100, 0), 4, 0), RGB(10, 20, 30));
}

}  // namespace
}  // namespace controls
