#pragma once

#include <string>

#include "controls/html/MarkupColors.h"
#include "controls/html/PictureContainer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/ui/ImgList.h"

namespace controls {

using platform::TCustomImageList;

// Draws, measures and hit-tests one string of the mini-markup inside Rect. The canvas's font, brush
// and pen are the starting state; the call leaves the canvas with its font, brush and pen as they
// were at entry and a transparent background mode. The lines that the measuring passes lay out are
// kept for the thread's next calls with the same text, arguments, canvas font, resolution, mapping
// mode and origin, while the pictures they sized keep their sizes; a call that finds them draws
// without measuring again. A call that finds the point on an anchor or image keeps nothing.
//
// The text is laid out line by line; each line goes through a measuring pass, which decides what fits
// and how tall the line is, and then through a second pass at the line's aligned place, which draws
// it, or with CheckHotSpot only measures and hit-tests it. CheckHeight runs the measuring passes
// alone, for the whole text; otherwise lines below Rect are not laid out.
//
// The point (X, Y) is hit-tested against anchors and images. FocusLink (0-based, -1 none) names the
// anchor that gets a focus rectangle; with HoverStyle only anchor number HoverLink (1-based) is
// underlined and takes HoverColor and HoverFontColor (clNone: unchanged). Selected ignores the
// markup's text colours. Blink false draws BLINK text in the entry brush colour. Without WordWrap a
// line ends only at a line break and ends in an ellipsis where it is cut. Print draws images as
// bitmaps scaled by ResizeFactor.
//
// Out: AnchorVal the target of the anchor at the point (left as given when there is none); StripVal
// the text of the runs and a CR per BR as the passes meet them; FocusAnchor the target of anchor
// FocusLink; XSize the widest line; YSize the height of the laid-out lines (at least one line);
// HyperLinks the anchors met; MouseLink the 1-based number of the anchor under the point (-1 none)
// and HoverRect its rectangle. Returns true when the point lies on an anchor or on an image inside
// one.
bool RenderHTML(TCanvas& Canvas, const std::string& Text, const TRect& Rect, TCustomImageList* Images, int X, int Y,
                int FocusLink, int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CheckHeight, bool Print,
                bool Selected, bool Blink, bool HoverStyle, bool WordWrap, double ResizeFactor, TColor URLColor,
                TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, std::string& AnchorVal,
                std::string& StripVal, std::string& FocusAnchor, int& XSize, int& YSize, int& HyperLinks,
                int& MouseLink, TRect& HoverRect, TMarkupPictureCache* PictureCache,
                TPictureContainer* PictureContainer);

// Copies the whole bitmap into a rectangle of the canvas, stretched, ignoring transparency: how images
// reach a printer canvas.
void PrintBitmap(TCanvas& Canvas, const TRect& Dest, platform::TBitmap& Bitmap);

}  // namespace controls
