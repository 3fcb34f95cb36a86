#pragma once

#include <functional>
#include <memory>

#include "platform/gfx/Bitmap.h"
#include "platform/printing/Paper.h"
#include "platform/printing/Printer.h"
#include "platform/ui/Controls.h"

namespace platform {

// Draws one page of a preview: the canvas is a white page of the paper's size at the preview's
// resolution, in MM_TEXT; the drawing code switches it to the metric mapping as it does on the printer.
using TDrawPageEvent = std::function<void(TObject* Sender, TCanvas& Canvas, int PageNumber)>;

// Pages drawn through the same code as the printed ones, at screen resolution: a page in the
// control's face colour with a shadow, at Zoom percent of its size at 96 dpi (0: as large as fits the
// control). PgDn and PgUp (and NextPage, PriorPage) turn the pages within 1..PageCount; "+" and "-"
// zoom in steps of 25 percent. The page is drawn afresh every time the control paints; a page larger
// than the control shows its top-left part (FIXME: no scrolling yet).
class TPrintPreview : public TCustomControl {
public:
  explicit TPrintPreview(TComponent* AOwner);

  const TPaperSize& Paper() const { return paper_; }
  TPrinterOrientation Orientation() const { return orientation_; }
  void SetPaper(const TPaperSize& paper, TPrinterOrientation orientation);
  // The paper and orientation of a printer.
  void SetPaperOf(TPrinter& printer) { SetPaper(printer.Paper(), printer.Orientation()); }
  int Zoom() const { return zoom_; }
  void SetZoom(int percent);  // 0 fits the page; else 10..800
  int PageCount() const { return pageCount_; }
  void SetPageCount(int value);
  int PageNumber() const { return pageNumber_; }
  void SetPageNumber(int value);
  void NextPage() { SetPageNumber(pageNumber_ + 1); }
  void PriorPage() { SetPageNumber(pageNumber_ - 1); }
  // The page's pixels per inch as it is shown, and its place in the control.
  int PagePixelsPerInch();
  TRect PageRect();
  // The page as last painted.
  const TBitmap& PageImage() const { return page_; }

  TDrawPageEvent OnDrawPage;
  TNotifyEvent OnPageChange;

protected:
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

private:
  TSize PageSize(int pixelsPerInch) const;
  void RenderPage();

  TPaperSize paper_{"A4", 210, 297};
  TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
  int zoom_ = 0;
  int pageCount_ = 1;
  int pageNumber_ = 1;
  TBitmap page_;
};

}  // namespace platform
