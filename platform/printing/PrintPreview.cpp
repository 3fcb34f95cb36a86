#include "platform/printing/PrintPreview.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/Gdi.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kMargin = 8;  // around the page, and its shadow's offset is half of it
constexpr int kScreenPixelsPerInch = 96;

}  // namespace

TPrintPreview::TPrintPreview(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetColor(clBtnShadow);
  SetBounds(0, 0, 300, 400);
}

void TPrintPreview::SetPaper(const TPaperSize& paper, TPrinterOrientation orientation) {
  paper_ = paper;
  orientation_ = orientation;
  Invalidate();
}

void TPrintPreview::SetZoom(int percent) {
  zoom_ = percent <= 0 ? 0 : std::clamp(percent, 10, 800);
  Invalidate();
}

void TPrintPreview::SetPageCount(int value) {
  pageCount_ = std::max(1, value);
  // OnPageChange may free the preview: it runs last.
  Invalidate();
  if (pageNumber_ > pageCount_) SetPageNumber(pageCount_);
}

void TPrintPreview::SetPageNumber(int value) {
  value = std::clamp(value, 1, pageCount_);
  if (value == pageNumber_) return;
  pageNumber_ = value;
  Invalidate();
  if (OnPageChange) OnPageChange(this);
}

TSize TPrintPreview::PageSize(int pixelsPerInch) const {
  const bool landscape = orientation_ == TPrinterOrientation::poLandscape;
  const double w = landscape ? paper_.HeightMm : paper_.WidthMm, h = landscape ? paper_.WidthMm : paper_.HeightMm;
  return {static_cast<int>(std::lround(w / 25.4 * pixelsPerInch)), static_cast<int>(std::lround(h / 25.4 * pixelsPerInch))};
}

int TPrintPreview::PagePixelsPerInch() {
  if (zoom_ > 0) return std::max(1, kScreenPixelsPerInch * zoom_ / 100);
  // The largest resolution whose page fits the client area within the margins.
  const TRect client = ClientRect();
  const TSize at96 = PageSize(kScreenPixelsPerInch);
  const double fitX = static_cast<double>(client.Width() - 2 * kMargin) / std::max(1, at96.cx);
  const double fitY = static_cast<double>(client.Height() - 2 * kMargin) / std::max(1, at96.cy);
  return std::max(1, static_cast<int>(std::floor(kScreenPixelsPerInch * std::min(fitX, fitY))));
}

TRect TPrintPreview::PageRect() {
  const TSize size = PageSize(PagePixelsPerInch());
  const TRect client = ClientRect();
  const int left = std::max(kMargin, (client.Width() - size.cx) / 2);
  const int top = std::max(kMargin, (client.Height() - size.cy) / 2);
  return Bounds(left, top, size.cx, size.cy);
}

void TPrintPreview::RenderPage() {
  const int ppi = PagePixelsPerInch();
  const TSize size = PageSize(ppi);
  page_.SetSize(0, 0);
  page_.SetSize(size.cx, size.cy);  // white
  if (OnDrawPage && !page_.Empty()) {
    TCanvas canvas(page_, ppi);
    OnDrawPage(this, canvas, pageNumber_);
  }
}

void TPrintPreview::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(ClientRect());
  RenderPage();
  const TRect page = PageRect();
  TRect shadow = page;
  OffsetRect(shadow, kMargin / 2, kMargin / 2);
  c.Brush().SetColor(cl3DDkShadow);
  c.FillRect(shadow);
  c.Draw(page.Left, page.Top, page_);
  c.Brush().SetColor(clBlack);
  c.FrameRect(Rect(page.Left - 1, page.Top - 1, page.Right + 1, page.Bottom + 1));
}

void TPrintPreview::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_NEXT: NextPage(); Key = 0; break;
    case VK_PRIOR: PriorPage(); Key = 0; break;
    case VK_HOME: SetPageNumber(1); Key = 0; break;
    case VK_END: SetPageNumber(pageCount_); Key = 0; break;
    default: break;
  }
}

void TPrintPreview::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  const int shown = zoom_ > 0 ? zoom_ : PagePixelsPerInch() * 100 / kScreenPixelsPerInch;
  if (Key == U'+') SetZoom(shown + 25);
  if (Key == U'-') SetZoom(std::max(10, shown - 25));
}

}  // namespace platform
