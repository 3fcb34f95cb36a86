#include "platform/printing/Printer.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/app/DialogService.h"
#include "platform/core/Clock.h"
#include "platform/gfx/CanvasDevice.h"
#include "platform/printing/PdfDocument.h"

namespace platform {

namespace {

constexpr std::chrono::seconds kQueryTimeout{20};
constexpr std::chrono::seconds kLpTimeout{120};

SpawnCapture RunCaptured(const SpawnRequest& request) {
  const bool lp = request.program == "lp";
  return SpawnAndCapture(request, lp ? std::chrono::milliseconds(kLpTimeout) : std::chrono::milliseconds(kQueryTimeout));
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

int Pixels(double mm) { return static_cast<int>(std::lround(mm / 25.4 * TPrinter::kPixelsPerInch)); }
double Points(double mm) { return mm / 25.4 * 72.0; }

// A temporary file of our own for a queue's job.
std::string TemporaryPdf() {
  const char* folder = std::getenv("TMPDIR");
  std::string name = std::string(folder && *folder ? folder : "/tmp") + "/velmora-print-XXXXXX.pdf";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) throw EPrinter(std::string("The print job's temporary file could not be created: ") + std::strerror(errno));
  ::close(fd);
  return name;
}

TPrinter* installed = nullptr;

}  // namespace

// The printer canvas's sink: the page of the running job, or nothing between jobs.
struct TPrinter::Forwarder : PageSink {
  PageSink* target = nullptr;
  void FillRegion(const Region& region, TColor color) override {
    if (target) target->FillRegion(region, color);
  }
  void GlyphRun(const PageGlyphRun& run) override {
    if (target) target->GlyphRun(run);
  }
  void Image(const TRect& dest, const TBitmap& source, const TRect& src, PageImageMode mode, TColor transparent,
             const Region* clip) override {
    if (target) target->Image(dest, source, src, mode, transparent, clip);
  }
};

TPrinter::TPrinter() : TPrinter(RunCaptured) {}

TPrinter::TPrinter(TPrintSpawner spawner) : spawner_(std::move(spawner)), forwarder_(std::make_unique<Forwarder>()) {
  canvas_ = std::make_unique<TCanvas>(*forwarder_, TSize{Pixels(210), Pixels(297)}, kPixelsPerInch);
}

TPrinter::~TPrinter() {
  if (printing_) Abort();
}

void TPrinter::Discover() {
  if (discovered_) return;
  discovered_ = true;
  printers_ = {kPdfFileEntry};
  media_ = {""};
  defaultIndex_ = 0;
  const SpawnCapture list = spawner_({"lpstat", {"-e"}, "", {}});
  if (list.error != 0 || list.exitCode != 0) return;  // no printing system: the PDF entry alone
  std::istringstream lines(list.standardOutput);
  std::string line;
  while (std::getline(lines, line)) {
    line = Trimmed(line);
    if (!line.empty() && line.find(' ') == std::string::npos) printers_.push_back(line);
  }
  const SpawnCapture def = spawner_({"lpstat", {"-d"}, "", {}});
  const std::string marker = "system default destination: ";
  if (const size_t at = def.standardOutput.find(marker); def.exitCode == 0 && at != std::string::npos) {
    const std::string name = Trimmed(def.standardOutput.substr(at + marker.size()));
    for (size_t i = 1; i < printers_.size(); ++i)
      if (printers_[i] == name) defaultIndex_ = static_cast<int>(i);
  }
  for (size_t i = 1; i < printers_.size(); ++i) {
    std::string media;
    const SpawnCapture options = spawner_({"lpoptions", {"-p", printers_[i]}, "", {}});
    if (options.exitCode == 0) {
      std::istringstream words(options.standardOutput);
      std::string word;
      while (words >> word)
        if (word.rfind("media=", 0) == 0) media = word.substr(6);
    }
    media_.push_back(media);
  }
}

const std::vector<std::string>& TPrinter::Printers() {
  Discover();
  return printers_;
}

void TPrinter::Refresh() {
  if (printing_) throw EPrinter("Printing in progress");
  discovered_ = false;
  Discover();
  if (printerIndex_ >= static_cast<int>(printers_.size())) printerIndex_ = -1;
}

int TPrinter::PrinterIndex() {
  Discover();
  return printerIndex_ < 0 ? defaultIndex_ : printerIndex_;
}

void TPrinter::SetPrinterIndex(int value) {
  Discover();
  if (printing_) throw EPrinter("Printing in progress");
  if (value < -1 || value >= static_cast<int>(printers_.size())) throw EPrinter("Printer selected is not valid");
  printerIndex_ = value;
  paper_.reset();
  UpdateExtent();
}

std::string TPrinter::QueueName() {
  const int index = PrinterIndex();
  return index == 0 ? std::string() : printers_[static_cast<size_t>(index)];
}

void TPrinter::SetOrientation(TPrinterOrientation value) {
  if (printing_) throw EPrinter("Printing in progress");
  orientation_ = value;
  UpdateExtent();
}

TPaperSize TPrinter::Paper() {
  if (!paper_) {
    Discover();
    paper_ = DefaultPaper(media_[static_cast<size_t>(PrinterIndex())]);
  }
  return *paper_;
}

void TPrinter::SetPaper(const TPaperSize& value) {
  if (printing_) throw EPrinter("Printing in progress");
  paper_ = value;
  UpdateExtent();
}

int TPrinter::PageWidth() {
  const TPaperSize p = Paper();
  return Pixels(orientation_ == TPrinterOrientation::poPortrait ? p.WidthMm : p.HeightMm);
}

int TPrinter::PageHeight() {
  const TPaperSize p = Paper();
  return Pixels(orientation_ == TPrinterOrientation::poPortrait ? p.HeightMm : p.WidthMm);
}

TCanvas& TPrinter::Canvas() {
  if (!printing_) UpdateExtent();
  return *canvas_;
}

void TPrinter::UpdateExtent() { CanvasAccess::Of(*canvas_).sinkExtent = {PageWidth(), PageHeight()}; }

void TPrinter::ResetCanvas() {
  TCanvas::Device& d = CanvasAccess::Of(*canvas_);
  d.saved.clear();
  d.state.mapMode = MM_TEXT;
  d.state.clip.reset();
  d.state.viewportOrg = {0, 0};
  d.state.penPos = {0, 0};
  d.face.reset();
  d.pathState = TCanvas::Device::PathState::None;
  d.path.clear();
}

void TPrinter::StartPage() {
  const bool landscape = orientation_ == TPrinterOrientation::poLandscape;
  pdf_->BeginPage(Points(landscape ? jobPaper_.HeightMm : jobPaper_.WidthMm),
                  Points(landscape ? jobPaper_.WidthMm : jobPaper_.HeightMm));
  forwarder_->target = &pdf_->Sink();
  ++pageNumber_;
}

void TPrinter::BeginDoc() {
  if (printing_) throw EPrinter("Printing in progress");
  Discover();
  aborted_ = false;
  pageNumber_ = 0;
  jobQueue_ = QueueName();
  jobPaper_ = Paper();
  UpdateExtent();
  ResetCanvas();
  if (jobQueue_.empty()) {
    jobFile_ = FileName;
    if (jobFile_.empty()) {
      TFileDialogRequest request;
      request.Kind = TFileDialogKind::Save;
      request.Title = Title;
      request.Filter = "PDF files (*.pdf)|*.pdf|All files (*.*)|*.*";
      request.DefaultExt = "pdf";
      const std::optional<TFileDialogAnswer> answer = DialogService().ExecuteFileDialog(request);
      if (!answer) {
        aborted_ = true;
        return;
      }
      jobFile_ = answer->FileName;
      if (answer->FilterIndex == 1 && jobFile_.find('.', jobFile_.rfind('/') + 1) == std::string::npos)
        jobFile_ += ".pdf";
    }
  } else {
    jobFile_ = TemporaryPdf();
  }
  try {
    pdf_ = std::make_unique<PdfDocument>(jobFile_, PdfInfo{Title, "Velmora", UnixTimeMs()}, kPixelsPerInch);
    printing_ = true;
    StartPage();
  } catch (...) {
    // A named file that could not be opened is left as it was; one we made or began writing goes.
    const bool written = pdf_ != nullptr || !jobQueue_.empty();
    pdf_.reset();
    forwarder_->target = nullptr;
    printing_ = false;
    if (written)
      RemoveJobFile();
    else
      jobFile_.clear();
    throw;
  }
}

void TPrinter::NewPage() {
  if (!printing_) {
    if (aborted_) return;
    throw EPrinter("Printing not in progress");
  }
  forwarder_->target = nullptr;
  pdf_->EndPage();
  StartPage();
}

void TPrinter::EndDoc() {
  if (!printing_) {
    if (aborted_) return;
    throw EPrinter("Printing not in progress");
  }
  forwarder_->target = nullptr;
  try {
    pdf_->Finish();
  } catch (...) {
    Abort();
    throw;
  }
  pdf_.reset();
  printing_ = false;
  ResetCanvas();
  if (jobQueue_.empty()) return;
  std::vector<std::string> arguments{"-d", jobQueue_};
  if (!Title.empty()) arguments.insert(arguments.end(), {"-t", Title});
  arguments.push_back(jobFile_);
  const SpawnCapture lp = spawner_({"lp", arguments, "", {}});
  RemoveJobFile();
  if (lp.error != 0) throw EPrinter(std::string("lp could not be started: ") + std::strerror(lp.error));
  if (lp.timedOut) throw EPrinter("lp did not finish in time");
  if (lp.exitCode != 0) {
    const std::string message = Trimmed(lp.standardError);
    throw EPrinter(message.empty() ? "lp failed with exit code " + std::to_string(lp.exitCode) : message);
  }
}

void TPrinter::Abort() {
  if (!printing_) return;
  forwarder_->target = nullptr;
  pdf_.reset();
  printing_ = false;
  aborted_ = true;
  RemoveJobFile();
  ResetCanvas();
}

void TPrinter::RemoveJobFile() {
  if (!jobFile_.empty()) ::unlink(jobFile_.c_str());
  jobFile_.clear();
}

TPrinter& Printer() {
  if (installed) return *installed;
  static TPrinter own;
  return own;
}

TPrinter* SetPrinter(TPrinter* printer) {
  TPrinter* previous = installed;
  installed = printer;
  return previous;
}

TPrintJob::TPrintJob(TPrinter& printer) : printer_(printer) { printer_.BeginDoc(); }

TPrintJob::~TPrintJob() {
  if (printer_.Printing()) printer_.Abort();
}

void TPrintJob::EndDoc() { printer_.EndDoc(); }

}  // namespace platform
