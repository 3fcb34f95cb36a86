#pragma once

#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"

namespace platform::test {

// A page of a printed table as the grid prints it, drawn in the metric mapping (0.1 mm, y upward):
// a title, a header row of filled cells, rules, body text in several fonts and sizes, and a picture.
// TextBoxes collects the logical rectangles of the texts, so that comparisons can leave their glyph
// edges out.
struct SamplePage {
  std::vector<TRect> TextBoxes;

  static void Picture(TBitmap& b) {
    b.SetSize(32, 24);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 32; ++x) b.ScanLine(y)[x] = 0xFF000000u | ((x * 8) << 16) | ((y * 10) << 8) | 0x60;
  }

  void Text(TCanvas& c, int x, int y, const std::string& text) {
    c.TextOut(x, y, text);
    const TSize size = c.TextExtent(text);
    TextBoxes.push_back(Rect(x, y, x + size.cx, y - size.cy));
  }

  void Draw(TCanvas& c, int page) {
    HDC dc = c.Handle();
    SetMapMode(dc, MM_LOMETRIC);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Font().SetName("Arial");
    c.Font().SetHeight(-60);  // 6 mm
    c.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
    c.Font().SetColor(clBlack);
    Text(c, 200, -150, "Host report, page " + std::to_string(page));
    // The header row: filled cells with their captions.
    const char* captions[] = {"Host", "State", "Round trip"};
    for (int col = 0; col < 3; ++col) {
      c.Brush().SetStyle(TBrushStyle::bsSolid);
      c.Brush().SetColor(col == 1 ? clSilver : TColor(0xE0C0A0));
      c.FillRect(Rect(200 + col * 550, -300, 200 + (col + 1) * 550, -380));
      c.Brush().SetStyle(TBrushStyle::bsClear);
      c.Font().SetName("Times New Roman");
      c.Font().SetHeight(-42);
      c.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
      Text(c, 220 + col * 550, -318, captions[col]);
    }
    // Rows of body text, ruled below.
    c.Pen().SetColor(clBlack);
    c.Pen().SetWidth(3);
    for (int row = 0; row < 12; ++row) {
      const int top = -380 - row * 90;
      c.Font().SetName(row % 3 == 2 ? "Courier New" : "Arial");
      c.Font().SetHeight(row % 2 ? -35 : -40);
      c.Font().SetStyle(TFontStyles{});
      c.Font().SetColor(row % 4 == 3 ? clMaroon : clBlack);
      Text(c, 220, top - 20, "host-" + std::to_string(page) + "-" + std::to_string(row) + ".example");
      Text(c, 770, top - 20, row % 5 == 1 ? "disconnected" : "connected");
      Text(c, 1320, top - 20, std::to_string(row * 7 + page) + " ms");
      c.MoveTo(200, top - 90);
      c.LineTo(1850, top - 90);
    }
    c.Pen().SetWidth(6);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Rectangle(200, -300, 1850, -1460);
    TBitmap picture;
    Picture(picture);
    StretchDIBits(dc, 200, -1600, 640, -480, 0, 0, 32, 24, picture);
    c.Font().SetName("Arial");
    c.Font().SetHeight(-30);
    c.Font().SetStyle(TFontStyles{TFontStyle::fsItalic});
    Text(c, 900, -1650, "Latency map of the hosts above");
    SetMapMode(dc, MM_TEXT);
  }
};

}  // namespace platform::test
