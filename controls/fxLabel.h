#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Controls.h"

namespace controls {

using platform::TColor;

enum TFxLabelStyle { fxNormal, fxRaised, fxLowered, fxOutLine };
enum TFxEffectStyle { fxFun, fxExtrude, fxCool };
enum TFxOrientation { fxLeft, fxRight, fxTop, fxBottom, fxLeftTop, fxLeftBottom, fxRightTop, fxRightBottom };

// The 3D effect of a TFxLabel, owned by it: copies of the text behind the face, shifted towards
// Orientation by up to Depth pixels (no copies at Depth 0). Every change repaints the label.
class TFx3DEffect {
public:
  explicit TFx3DEffect(platform::TControl& label) : label_(label) {}

  TFxEffectStyle Style() const { return style_; }
  void SetStyle(TFxEffectStyle value) { Change(style_, value); }
  TFxOrientation Orientation() const { return orientation_; }
  void SetOrientation(TFxOrientation value) { Change(orientation_, value); }
  int Depth() const { return depth_; }
  void SetDepth(int value) { Change(depth_, value); }
  TColor ShadowedColor() const { return shadowedColor_; }
  void SetShadowedColor(TColor value) { Change(shadowedColor_, value); }

private:
  template <class T>
  void Change(T& field, T value) {
    field = value;
    label_.Invalidate();
  }

  platform::TControl& label_;
  TFxEffectStyle style_ = fxCool;
  TFxOrientation orientation_ = fxRightBottom;
  int depth_ = 0;
  TColor shadowedColor_ = platform::RGB(128, 128, 128);
};

// A label that draws its caption centred, with a 3D effect (shadow, extrusion or graded extrusion), a
// raised, lowered or outlined face, a rotation and optionally a bitmap texture inside the letters.
// Every font of the platform is scalable, so every angle from 0 to 360 is taken.
//
// The face colours: raised draws the text in the button-highlight colour, then (fonts above 11 points)
// in the button-shadow colour 2 pixels lower right, then in the font colour 1 pixel lower right.
// Lowered draws it in the button-highlight colour 2 pixels lower right, then 1 pixel lower right in the
// button-shadow colour when Color is a system colour, else in Color darkened by a third; painting never
// changes the label's own Color or ParentColor.
class TFxLabel : public platform::TGraphicControl {
public:
  explicit TFxLabel(platform::TComponent* AOwner);

  TFxLabelStyle Style() const { return style_; }
  void SetStyle(TFxLabelStyle value);
  int Angle() const { return angle_; }
  // Takes 0..360 and repaints on a change; other values are ignored.
  void SetAngle(int value);
  TFx3DEffect& Effect3D() { return effect3D_; }
  platform::TBitmap& Glyph() { return glyph_; }
  void SetGlyph(const platform::TBitmap& value);
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

protected:
  void Paint() override;

private:
  TFxLabelStyle style_ = fxNormal;
  int angle_ = 0;
  TFx3DEffect effect3D_{*this};
  platform::TBitmap glyph_;
  int penWidth_ = 1;
  bool transparent_ = false;
};

// Colour step k of n from c1 towards c2: each of red, green and blue at round(k * (c2 - c1) / n + c1).
TColor ColorStep(TColor c1, TColor c2, int n, int k);

}  // namespace controls
