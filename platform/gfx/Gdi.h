#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/TextMetric.h"

namespace platform {

// The device-context level of drawing, for a canvas's Handle(). These functions use and change the
// device context's state only; see TCanvas for how it relates to the canvas's Pen, Brush and Font.

// Background modes: whether text and the gaps of dashed pens are backed by the background colour.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);  // returns the previous mode
int GetBkMode(HDC dc);
TColor SetBkColor(HDC dc, TColor color);  // returns the previous colour
TColor SetTextColor(HDC dc, TColor color);
TColor GetTextColor(HDC dc);

// Selects a logical font for the text functions and returns the one it replaces.
TLogFont SelectFont(HDC dc, const TLogFont& font);
bool GetTextMetrics(HDC dc, TTextMetric& metrics);
// The family name of the face that draws the selected font ("Liberation Sans" for "Arial").
std::string GetTextFace(HDC dc);

// Device capabilities.
constexpr int HORZRES = 8;      // width in pixels
constexpr int VERTRES = 10;     // height in pixels
constexpr int BITSPIXEL = 12;   // 32
constexpr int LOGPIXELSX = 88;  // pixels per logical inch: 96 on screen, other values on a printer canvas
constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);  // 0 for other indexes

// Clip region. Results: NULLREGION (nothing left), SIMPLEREGION (a rectangle), COMPLEXREGION; 0 on
// error. The clip only narrows; SaveDC and RestoreDC bring a wider one back.
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, TRect& box);  // logical coordinates

// SaveDC returns the new depth of the save stack (1 for the first save); RestoreDC pops to that level,
// or with a negative value that many levels back.
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int savedDC);

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous = nullptr);  // device pixels

// Mapping modes: how logical coordinates become device pixels. MM_TEXT (the default): one unit is one
// pixel, y grows downward. MM_LOMETRIC: one unit is 0.1 mm at the device's resolution, y grows upward,
// so a page's points have negative y. Coordinates, rectangles (normalised on the device), pen widths,
// font heights, clip rectangles, text extents and text metrics are all logical; the viewport origin
// stays in device pixels. SaveDC and RestoreDC keep the mode with the rest of the state. SetMapMode
// returns the previous mode (0 for an unknown one).
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
bool LPtoDP(HDC dc, TPoint* points, int count);
bool DPtoLP(HDC dc, TPoint* points, int count);
bool GetViewportOrgEx(HDC dc, TPoint& origin);

// Paths of text: between BeginPath and EndPath, text functions add the outlines of their characters
// to the path instead of drawing them (FIXME: lines and figures still draw while a path is open).
// StrokePath draws the outlines with the selected pen; SelectClipPath intersects the clip region with
// the inside of the characters. Both consume the path.
bool BeginPath(HDC dc);
bool EndPath(HDC dc);
bool AbortPath(HDC dc);
bool StrokePath(HDC dc);
bool SelectClipPath(HDC dc);

// DrawText formats. Horizontal: DT_LEFT, DT_CENTER, DT_RIGHT per line. Vertical (single line only):
// DT_TOP, DT_VCENTER, DT_BOTTOM. DT_SINGLELINE: CR and LF do not break. DT_WORDBREAK: lines break at
// blanks when the next word would pass the right edge; a word wider than the rectangle stays whole on
// its line unless DT_EDITCONTROL is given, which breaks it after the last character that fits and
// leaves out a last line that would show only partly. DT_EXPANDTABS: tabs go to the next multiple of
// eight average character widths from the line's start. DT_EXTERNALLEADING adds the font's external
// leading to the line height. DT_NOPREFIX: "&" is an ordinary character; without it "&&" shows one
// "&", "&x" shows an underlined x and a lone "&" at the end shows nothing. DT_END_ELLIPSIS: a line
// wider than the rectangle is cut and ends in "...". DT_NOCLIP: not clipped to the rectangle.
// DT_CALCRECT: nothing is drawn; right becomes left + the widest line (the whole text, ellipsis or
// not) and bottom becomes top + the height of all lines.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_EXTERNALLEADING = 0x200;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
// Draws (or measures) text in the rectangle with the selected font, text colour and background mode.
// Returns the text's height; with DT_VCENTER or DT_BOTTOM on a single line, the distance from
// rect.Top to the bottom of the text. An empty text is one empty line.
int DrawText(HDC dc, std::string_view text, TRect& rect, unsigned format);

// Edges in the classic look: an outer and an inner one-pixel ring, each raised (light top-left,
// dark bottom-right) or sunken. The bottom and right lines own the bottom-left and top-right corners.
constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x800;  // fill the inside with the button face colour
constexpr unsigned BF_SOFT = 0x1000;   // raised outer ring in highlight, inner in light (and the like)
constexpr unsigned BF_ADJUST = 0x2000; // shrink rect by the drawn rings
constexpr unsigned BF_FLAT = 0x4000;   // outer ring in the shadow colour, inner in the face colour
constexpr unsigned BF_MONO = 0x8000;   // outer ring in the window frame colour, inner in the window colour
bool DrawEdge(HDC dc, TRect& rect, unsigned edge, unsigned flags);

// Frame controls in the classic look.
constexpr unsigned DFC_SCROLL = 3;
constexpr unsigned DFC_BUTTON = 4;
constexpr unsigned DFCS_BUTTONCHECK = 0x0;
constexpr unsigned DFCS_BUTTONRADIO = 0x4;
constexpr unsigned DFCS_BUTTONPUSH = 0x10;
constexpr unsigned DFCS_SCROLLUP = 0x0;
constexpr unsigned DFCS_SCROLLDOWN = 0x1;
constexpr unsigned DFCS_SCROLLLEFT = 0x2;
constexpr unsigned DFCS_SCROLLRIGHT = 0x3;
constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x5;
constexpr unsigned DFCS_INACTIVE = 0x100;
constexpr unsigned DFCS_PUSHED = 0x200;
constexpr unsigned DFCS_CHECKED = 0x400;
constexpr unsigned DFCS_ADJUSTRECT = 0x2000;
constexpr unsigned DFCS_FLAT = 0x4000;
constexpr unsigned DFCS_MONO = 0x8000;
// Check boxes and radio buttons are drawn in the largest square centred in rect; push buttons and
// scroll buttons fill rect. DFCS_ADJUSTRECT shrinks a push button's rect to its content area.
bool DrawFrameControl(HDC dc, TRect& rect, unsigned type, unsigned state);

// Pixel copies between canvases, in logical coordinates of each. StretchBlt copies; TransparentBlt
// leaves out the source pixels of colour `transparent` (none for clNone); AlphaBlend blends by the source pixels' own
// alpha. Different sizes stretch by nearest pixel. The source may be the destination itself.
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh);
bool TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                    TColor transparent);
// A bitmap's rectangle stretched into the destination rectangle with a plain copy (the only raster
// operation taken); source rows are the bitmap's, top-down. Returns the number of source rows, 0 on error.
constexpr unsigned SRCCOPY = 0x00CC0020;
int StretchDIBits(HDC dest, int x, int y, int width, int height, int sx, int sy, int sw, int sh, const TBitmap& bits,
                  unsigned rop = SRCCOPY);
bool AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh);

}  // namespace platform
