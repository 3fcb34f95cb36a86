#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/gfx/Colors.h"

namespace platform {

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles: TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic}, style + fsUnderline.
class TFontStyles {
public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) bits_ |= Bit(s);
  }
  constexpr bool Contains(TFontStyle s) const { return (bits_ & Bit(s)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  friend constexpr TFontStyles operator+(TFontStyles a, TFontStyle s) { return FromBits(a.bits_ | Bit(s)); }
  friend constexpr TFontStyles operator-(TFontStyles a, TFontStyle s) {
    return FromBits(a.bits_ & static_cast<uint8_t>(~Bit(s)));
  }
  friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
  static constexpr uint8_t Bit(TFontStyle s) { return static_cast<uint8_t>(1u << static_cast<unsigned>(s)); }
  static constexpr TFontStyles FromBits(uint8_t bits) {
    TFontStyles r;
    r.bits_ = bits;
    return r;
  }
  uint8_t bits_ = 0;
};

// A font as a device context holds it: what text is drawn and measured with. Height in device
// pixels: below 0 the character (em) height, above 0 the cell height (ascent + descent), 0 a default
// of 12 pixels em. Escapement is the angle of the baseline in tenths of a degree, counter-clockwise;
// the glyphs turn with it. Weight 700 and above is bold. FaceName is matched case-insensitively.
struct TLogFont {
  int Height = 0;
  int Escapement = 0;
  int Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  std::string FaceName;
  friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// The font of a canvas or control. Size is in points and Height in pixels at PixelsPerInch
// (Height = -MulDiv(Size, PixelsPerInch, 72)); setting one sets the other. Orientation is the
// rotation in tenths of a degree. OnChange fires after every change.
class TFont {
public:
  TFont();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  int Size() const;
  void SetSize(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Orientation() const { return orientation_; }
  void SetOrientation(int value);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value);  // keeps Height; Size then reads in the new resolution

  // Copies name, style, colour, orientation and size; the pixel height follows the size when the two
  // fonts' resolutions differ. Keeps OnChange and PixelsPerInch; fires OnChange.
  void Assign(const TFont& source);

  TLogFont LogFont() const;

  std::function<void()> OnChange;

private:
  void Changed();

  std::string name_ = "Tahoma";
  int height_ = 0;
  TFontStyles style_;
  TColor color_ = clWindowText;
  int orientation_ = 0;
  int pixelsPerInch_ = 96;
};

// The font families that fontconfig knows (scalable faces), sorted ignoring case, each once: what a font
// dialog offers.
std::vector<std::string> InstalledFontFamilies();

}  // namespace platform
