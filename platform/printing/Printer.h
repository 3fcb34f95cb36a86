#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Spawn.h"
#include "platform/gfx/Canvas.h"
#include "platform/printing/Paper.h"

namespace platform {

class PdfDocument;

class EPrinter : public Exception {
public:
  using Exception::Exception;
};

enum class TPrinterOrientation { poPortrait, poLandscape };

// How the printer runs lpstat, lpoptions and lp: the spawner's capturing call with a time-out by
// default; tests install a recorder, so that nothing ever reaches a real queue.
using TPrintSpawner = std::function<SpawnCapture(const SpawnRequest&)>;

// The printer object: a page device of 720 dpi whose pages become a PDF written through cairo.
// Printers lists "PDF file" first, then the CUPS queues that lpstat reports (asked once, when first
// needed); PrinterIndex starts at the default queue when there is one, else at the PDF entry.
//
// A job runs BeginDoc, drawing on Canvas, NewPage between pages, EndDoc (or Abort). With a queue the
// document is a temporary PDF handed to `lp -d QUEUE -t TITLE FILE` at EndDoc and removed once lp
// ended; a failing lp raises EPrinter with lp's message. With the PDF entry the document is FileName,
// or, when that is empty, the file the save dialog of the dialog service names; cancelling that dialog
// aborts the job without an error (Printing false, Aborted true, and NewPage and EndDoc do nothing).
// Abort removes the job's file. The canvas's mapping mode, clip, origin and saved states start afresh
// with every job and after an abort.
class TPrinter {
public:
  static constexpr int kPixelsPerInch = 720;
  static constexpr const char* kPdfFileEntry = "PDF file";

  TPrinter();
  explicit TPrinter(TPrintSpawner spawner);
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  const std::vector<std::string>& Printers();
  // Asks lpstat again.
  void Refresh();
  int PrinterIndex();
  // -1 selects the default; raises EPrinter outside the list or while printing.
  void SetPrinterIndex(int value);
  // The queue of the selected entry; empty for the PDF entry.
  std::string QueueName();

  TPrinterOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPrinterOrientation value);  // raises while printing
  // The sheet, portrait: the queue's default media, else the locale's, else /etc/papersize's, else A4,
  // until set.
  TPaperSize Paper();
  void SetPaper(const TPaperSize& value);  // raises while printing
  // The page in device pixels: the paper turned by the orientation.
  int PageWidth();
  int PageHeight();

  std::string Title;
  std::string FileName;

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();
  // The page device: between jobs it measures (its extent is the page as set up) and draws nowhere.
  TCanvas& Canvas();
  bool Printing() const { return printing_; }
  bool Aborted() const { return aborted_; }
  int PageNumber() const { return pageNumber_; }

private:
  struct Forwarder;
  void Discover();
  void ResetCanvas();
  void UpdateExtent();
  void StartPage();
  void RemoveJobFile();

  TPrintSpawner spawner_;
  bool discovered_ = false;
  std::vector<std::string> printers_;
  std::vector<std::string> media_;  // per entry: the queue's default media, "" unknown
  int defaultIndex_ = 0;
  int printerIndex_ = -1;  // -1: the default
  TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
  std::optional<TPaperSize> paper_;
  std::unique_ptr<Forwarder> forwarder_;
  std::unique_ptr<TCanvas> canvas_;
  std::unique_ptr<PdfDocument> pdf_;
  std::string jobFile_;
  std::string jobQueue_;
  TPaperSize jobPaper_;
  bool printing_ = false;
  bool aborted_ = false;
  int pageNumber_ = 0;
};

// The process's printer, created on first use.
TPrinter& Printer();
// Installs `printer` (kept alive by the caller) as the process's printer; null returns to the own one.
// Returns the one installed before (null for the own one).
TPrinter* SetPrinter(TPrinter* printer);

// A print job that ends on every path: BeginDoc at construction, EndDoc by EndDoc(); a scope left
// otherwise (an exception from a drawing handler) aborts the job, which restores the canvas's device
// state and removes the job's file, and lets the exception go on.
class TPrintJob {
public:
  explicit TPrintJob(TPrinter& printer);
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;
  void EndDoc();

private:
  TPrinter& printer_;
};

}  // namespace platform
