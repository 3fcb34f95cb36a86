#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Controls.h"

namespace platform {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A graphic button with a glyph and a caption, as on a tool bar; it takes no focus. The glyph bitmap
// holds NumGlyphs images side by side, for the up, disabled, down and stuck-down states (a missing
// disabled image is drawn embossed from the up one, missing others use the up one); its bottom-left
// pixel is the transparent colour. Margin is the space between the edge and the glyph (-1: the glyph
// and caption are centred together), Spacing the space between glyph and caption.
//
// A button with a GroupIndex stays down when pressed and raises the other buttons of its parent with
// the same GroupIndex; a down button comes up when pressed again only with AllowAllUp. A Flat button
// shows its frame only while the mouse is over it (hot tracking) or while it is down.
class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TBitmap& Glyph() { return glyph_; }
  void SetGlyph(const TBitmap& value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  // The state it is drawn in.
  TButtonState State() const { return state_; }
  // True while the mouse is over a flat button.
  bool MouseInControl() const { return mouseInControl_; }

  void Click() override { TGraphicControl::Click(); }

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  // Raises the other buttons of the group (and takes their AllowAllUp) when this one went down.
  void UpdateExclusive();
  void SetState(TButtonState value);
  // Draws the glyph image for the state at (x, y).
  void DrawGlyph(TCanvas& canvas, int x, int y, TButtonState state);
  int GlyphWidth() const;

  TBitmap glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  TButtonState state_ = TButtonState::bsUp;
  bool dragging_ = false;  // the left button went down on it and is still down
  bool mouseInControl_ = false;
};

}  // namespace platform
