#include "platform/gfx/Font.h"

#include "platform/gfx/Geometry.h"

namespace platform {

TFont::TFont() : height_(-MulDiv(8, 96, 72)) {}

void TFont::SetName(const std::string& value) {
  name_ = value;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, pixelsPerInch_, 72)); }

void TFont::SetHeight(int value) {
  height_ = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  style_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  color_ = value;
  Changed();
}

void TFont::SetOrientation(int value) {
  orientation_ = value;
  Changed();
}

void TFont::SetPixelsPerInch(int value) {
  if (value > 0) pixelsPerInch_ = value;
}

void TFont::Assign(const TFont& source) {
  name_ = source.name_;
  style_ = source.style_;
  color_ = source.color_;
  orientation_ = source.orientation_;
  height_ = source.pixelsPerInch_ == pixelsPerInch_ ? source.height_
                                                    : -MulDiv(source.Size(), pixelsPerInch_, 72);
  Changed();
}

TLogFont TFont::LogFont() const {
  TLogFont lf;
  lf.Height = height_;
  lf.Escapement = orientation_;
  lf.Weight = style_.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
  lf.Italic = style_.Contains(TFontStyle::fsItalic);
  lf.Underline = style_.Contains(TFontStyle::fsUnderline);
  lf.StrikeOut = style_.Contains(TFontStyle::fsStrikeOut);
  lf.FaceName = name_;
  return lf;
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

}  // namespace platform
