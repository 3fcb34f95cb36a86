#include "controls/html/RenderPanelHTML.h"

#include "controls/html/MarkupRenderer.h"

namespace controls {

bool RenderPanelHTML(TCanvas& Canvas, const std::string& Text, const TRect& Rect, TCustomImageList* Images, int X,
                     int Y, bool CheckHotSpot, bool Blink, TColor URLColor, std::string& AnchorVal) {
  std::string strip, focusAnchor;
  int xSize = 0, ySize = 0, hyperLinks = 0, mouseLink = -1;
  TRect hoverRect;
  markup::RenderArgs args{Canvas,       Rect,        Images,     X,         Y,          -1,
                          -1,           1,           CheckHotSpot, false,   false,      false,
                          Blink,        false,       true,       1.0,       URLColor,   platform::clNone,
                          platform::clNone, platform::clGray, AnchorVal, strip, focusAnchor, xSize,
                          ySize,        hyperLinks,  mouseLink,  hoverRect, nullptr,    nullptr,
                          true};
  return markup::RenderMarkup(args, Text);
}

}  // namespace controls
