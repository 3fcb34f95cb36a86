// print_bench: 2 000 pages of a dense text table printed to a PDF through TPrinter (time, peak memory,
// file size), the same pages rasterised on a bitmap canvas at 150 dpi, and cairo drawing the same page
// content straight onto its PDF surface with its own text layout; the ratios of ours to cairo. Each run
// happens in a child process of its own, so that its peak memory is its own. Pages go out one by one:
// a tenth of the pages shows the same peak memory. Usage: print_bench [pages] (2000 by default).
#include <cairo-pdf.h>
#include <cairo.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"
#include "platform/printing/Printer.h"

namespace {

using platform::TCanvas;

constexpr int kRows = 64;
constexpr int kColumns = 5;
constexpr int kLeft = 150, kTop = -150, kRowHeight = 40;            // 0.1 mm
constexpr int kColumnLefts[kColumns + 1] = {150, 650, 1000, 1300, 1600, 1950};

std::string Cell(int page, int row, int column) {
  switch (column) {
    case 0: return "host-" + std::to_string(page) + "-" + std::to_string(row) + ".example.org";
    case 1: return (row + page) % 7 ? "connected" : "disconnected";
    case 2: return std::to_string((row * 37 + page * 11) % 900) + " ms";
    case 3: return "2026-12-" + std::to_string(1 + row % 28) + " 04:" + std::to_string(10 + row % 50);
    default: return "ping " + std::to_string(row * page % 1000);
  }
}

// One page of the table through our canvas, in the metric mapping as the grid prints.
void DrawPage(TCanvas& c, int page) {
  platform::SetMapMode(c.Handle(), platform::MM_LOMETRIC);
  c.Font().SetName("Arial");
  c.Font().SetHeight(-30);
  c.Brush().SetStyle(platform::TBrushStyle::bsClear);
  c.Pen().SetWidth(2);
  for (int row = 0; row < kRows; ++row) {
    const int top = kTop - row * kRowHeight;
    if (row % 2 == 0) {
      c.Brush().SetStyle(platform::TBrushStyle::bsSolid);
      c.Brush().SetColor(0xF0F0F0);
      c.FillRect(platform::Rect(kLeft, top, kColumnLefts[kColumns], top - kRowHeight));
      c.Brush().SetStyle(platform::TBrushStyle::bsClear);
    }
    for (int column = 0; column < kColumns; ++column) c.TextOut(kColumnLefts[column] + 15, top - 5, Cell(page, row, column));
    c.MoveTo(kLeft, top - kRowHeight);
    c.LineTo(kColumnLefts[kColumns], top - kRowHeight);
  }
  platform::SetMapMode(c.Handle(), platform::MM_TEXT);
}

void PrintOurs(int pages, const std::string& file) {
  platform::TPrinter printer([](const platform::SpawnRequest&) {
    platform::SpawnCapture none;
    none.error = ENOENT;
    return none;
  });
  printer.SetPaper({"A4", 210, 297});
  printer.FileName = file;
  printer.Title = "print_bench";
  printer.BeginDoc();
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) printer.NewPage();
    DrawPage(printer.Canvas(), page);
  }
  printer.EndDoc();
}

void RasterOurs(int pages) {
  platform::TBitmap bitmap(1240, 1754);
  TCanvas canvas(bitmap, 150);
  for (int page = 1; page <= pages; ++page) {
    canvas.Brush().SetStyle(platform::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(platform::clWhite);
    canvas.FillRect(platform::Rect(0, 0, 1240, 1754));
    DrawPage(canvas, page);
  }
}

// The same content with cairo's own calls: points, its toy text API (its own layout), one page after another.
void PrintCairo(int pages, const std::string& file) {
  cairo_surface_t* surface = cairo_pdf_surface_create(file.c_str(), 595.2756, 841.8898);
  cairo_t* cr = cairo_create(surface);
  const double mm = 72.0 / 25.4 / 10;  // points per 0.1 mm
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 30 * mm);
  cairo_set_line_width(cr, 2 * mm);
  for (int page = 1; page <= pages; ++page) {
    for (int row = 0; row < kRows; ++row) {
      const double top = (-kTop + row * kRowHeight) * mm;
      if (row % 2 == 0) {
        cairo_set_source_rgb(cr, 0xF0 / 255.0, 0xF0 / 255.0, 0xF0 / 255.0);
        cairo_rectangle(cr, kLeft * mm, top, (kColumnLefts[kColumns] - kLeft) * mm, kRowHeight * mm);
        cairo_fill(cr);
      }
      cairo_set_source_rgb(cr, 0, 0, 0);
      for (int column = 0; column < kColumns; ++column) {
        cairo_move_to(cr, (kColumnLefts[column] + 15) * mm, top + 5 * mm + 27 * mm);
        cairo_show_text(cr, Cell(page, row, column).c_str());
      }
      cairo_move_to(cr, kLeft * mm, top + kRowHeight * mm);
      cairo_line_to(cr, kColumnLefts[kColumns] * mm, top + kRowHeight * mm);
      cairo_stroke(cr);
    }
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

struct Run {
  double seconds = 0;
  long peakKiB = 0;
};

// Runs `work` in a child and reports its wall time and peak resident memory.
Run InChild(const std::function<void()>& work) {
  int fds[2];
  if (::pipe(fds) != 0) std::exit(1);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const auto start = std::chrono::steady_clock::now();
    work();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (::write(fds[1], &seconds, sizeof seconds) != sizeof seconds) ::_exit(1);
    ::_exit(0);
  }
  ::close(fds[1]);
  Run run;
  if (::read(fds[0], &run.seconds, sizeof run.seconds) != sizeof run.seconds) std::fprintf(stderr, "a run failed\n");
  ::close(fds[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  run.peakKiB = usage.ru_maxrss;
  return run;
}

long FileKiB(const std::string& file) {
  struct stat st{};
  return ::stat(file.c_str(), &st) == 0 ? static_cast<long>(st.st_size / 1024) : -1;
}

void Report(const char* what, int pages, const Run& run, const std::string& file = {}) {
  std::printf("%-40s %6d pages %8.2f s %8.2f ms/page  peak %7ld KiB", what, pages, run.seconds,
              1000 * run.seconds / pages, run.peakKiB);
  if (!file.empty()) std::printf("  file %7ld KiB", FileKiB(file));
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int pages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  const std::string ours = "/tmp/print_bench_ours.pdf", cairo = "/tmp/print_bench_cairo.pdf";
  const Run tenth = InChild([&] { PrintOurs(std::max(1, pages / 10), ours); });
  Report("TPrinter to PDF (a tenth)", std::max(1, pages / 10), tenth, ours);
  const Run printed = InChild([&] { PrintOurs(pages, ours); });
  Report("TPrinter to PDF", pages, printed, ours);
  const Run direct = InChild([&] { PrintCairo(pages, cairo); });
  Report("cairo directly to PDF", pages, direct, cairo);
  const Run raster = InChild([&] { RasterOurs(pages); });
  Report("canvas on a 150 dpi bitmap", pages, raster);
  std::printf("ratio TPrinter / cairo: time %.2f, peak memory %.2f; peak memory of all pages / a tenth: %.2f\n",
              printed.seconds / direct.seconds, static_cast<double>(printed.peakKiB) / direct.peakKiB,
              static_cast<double>(printed.peakKiB) / tenth.peakKiB);
  std::remove(ours.c_str());
  std::remove(cairo.c_str());
  return 0;
}
