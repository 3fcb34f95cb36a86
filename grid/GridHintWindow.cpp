#include "grid/GridHintWindow.h"

#include "controls/html/RenderHTML.h"

using namespace platform;

namespace velmora::Dovadiz {

namespace {

constexpr int kMeasureWidth = 1008;  // the box an activated hint's text is laid out in
constexpr int kScreenMargin = 2;

// Renders (or, with Measure, only lays out) Text into Rect; returns the laid-out size.
TSize Render(TCanvas& Canvas, const std::string& Text, const TRect& Rect, bool Measure) {
  std::string anchor, stripped, focusAnchor;
  int xSize = 0, ySize = 0, links = 0, mouseLink = -1;
  TRect hover;
  controls::RenderHTML(Canvas, Text, Rect, nullptr, 0, 0, -1, -1, 1, Measure, false, false, false, true, false, false,
                       1.0, clBlue, clNone, clNone, clGray, anchor, stripped, focusAnchor, xSize, ySize, links,
                       mouseLink, hover, nullptr, nullptr);
  return {xSize, ySize};
}

}  // namespace

void TMarkupHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~WS_BORDER;
}

TSize TMarkupHintWindow::MeasureText(int MaxWidth, const std::string& AHint) {
  Canvas().Font().Assign(Font());
  return Render(Canvas(), AHint, Rect(0, 0, MaxWidth, 4096), true);
}

TRect TMarkupHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) {
  const TSize size = MeasureText(MaxWidth, AHint);
  return Rect(0, 0, size.cx, size.cy);
}

void TMarkupHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetCaption(AHint);
  textSize_ = MeasureText(kMeasureWidth, AHint);
  const int width = textSize_.cx + 16, height = textSize_.cy + 4;
  SetBoundsRect(KeptOnScreen(platform::Rect(Rect.Left, Rect.Top, Rect.Left + width, Rect.Top + height), kScreenMargin));
  SetVisible(true);
  Invalidate();
}

void TMarkupHintWindow::Paint() {
  TCanvas& canvas = Canvas();
  const TRect client = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(client);
  canvas.Pen().SetColor(cl3DLight);
  canvas.MoveTo(client.Left, client.Bottom - 1);
  canvas.LineTo(client.Left, client.Top);
  canvas.LineTo(client.Right - 1, client.Top);
  canvas.Pen().SetColor(cl3DDkShadow);
  canvas.LineTo(client.Right - 1, client.Bottom - 1);
  canvas.LineTo(client.Left, client.Bottom - 1);
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  const int top = (client.Height() - textSize_.cy) / 2;
  Render(canvas, Caption(), Rect(client.Left + 4, top, client.Right - 4, top + textSize_.cy), false);
}

}  // namespace velmora::Dovadiz
