#pragma once

#include <memory>
#include <string>

#include "platform/core/Exception.h"
#include "platform/gfx/PageSink.h"

namespace platform {

// A PDF document written through cairo's PDF surface, page by page (internal to platform/printing).
// Each page is a page sink in device pixels of the document's resolution: regions become filled
// rectangles, images stay images, and glyph runs are shown at the canvas's own glyph positions in a
// cairo font made from the same font file and pixel size (the test font through a user font), so
// cairo subsets and embeds the fonts and writes the maps that make the text searchable and copyable.
//
// Order: construct (the file is created), then BeginPage, drawing into Sink(), EndPage for each page
// (each page is written out when it ends), then Finish. Destroying an unfinished document closes it
// as it stands; the caller removes a file it no longer wants. Every failure of cairo raises EPdfError.
class EPdfError : public Exception {
public:
  using Exception::Exception;
};

// The document's information entries; the dates are Unix milliseconds (from the platform clock).
struct PdfInfo {
  std::string title;
  std::string creator = "Velmora";
  int64_t createdUnixMs = 0;
};

class PdfDocument {
public:
  PdfDocument(const std::string& fileName, const PdfInfo& info, int pixelsPerInch);
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // Starts a page of the given size in points (1/72 inch).
  void BeginPage(double widthPoints, double heightPoints);
  PageSink& Sink();
  void EndPage();
  void Finish();
  int PageCount() const;

private:
  struct Writer;
  std::unique_ptr<Writer> writer_;
};

}  // namespace platform
