#pragma once

#include <string>

#include "controls/html/RenderHTML.h"

namespace controls {

// The status bar's older, smaller dialect of the mini-markup, laid out line by line as RenderHTML does:
// only tags break lines (CR and LF are dropped), lines always wrap at blanks, every "<#...>" shows as
// plain text, only "&lt;", "&gt;", "&amp;" and "&quot;" are decoded and "&" is drawn as itself, any H
// tag ends the line with a rule, FONT SIZE is in points and there is no E tag. Anchors take the value
// after "href" as their target and are drawn in URLColor.
//
// Draws Text into Rect on the canvas; with CheckHotSpot it draws nothing and tests the point (X, Y)
// instead. Blink false draws BLINK text in its off phase. Returns true when the point lies on an
// anchor, and then sets AnchorVal to the anchor's target.
bool RenderPanelHTML(TCanvas& Canvas, const std::string& Text, const TRect& Rect, TCustomImageList* Images, int X,
                     int Y, bool CheckHotSpot, bool Blink, TColor URLColor, std::string& AnchorVal);

}  // namespace controls
