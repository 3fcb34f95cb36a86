#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/Clock.h"
#include "platform/core/Spawn.h"
#include "platform/gfx/Png.h"
#include "platform/printing/Printer.h"
#include "platform/printing/tests/SampleDocument.h"

namespace platform {
namespace {

std::string Artefacts() {
  const std::string folder = PRINTING_ARTEFACTS;
  std::filesystem::create_directories(folder);
  return folder;
}

// A spawner that knows no printing system: lpstat fails as on a machine without CUPS.
SpawnCapture NoCups(const SpawnRequest&) {
  SpawnCapture r;
  r.error = ENOENT;
  return r;
}

std::string RunTool(const std::string& program, std::vector<std::string> arguments, int* exitCode = nullptr) {
  const SpawnCapture r = SpawnAndCapture({program, std::move(arguments), "", {}}, std::chrono::seconds(60));
  if (exitCode) *exitCode = r.error ? -1 : r.exitCode;
  return r.standardOutput + r.standardError;
}

bool HavePoppler() { return RunTool("sh", {"-c", "command -v pdfinfo && command -v pdftoppm && command -v qpdf"}).size() > 0; }

// Prints the three sample pages to `file` on a printer of its own and returns the text boxes of page 1.
std::vector<TRect> PrintSample(const std::string& file, TPrinterOrientation orientation, int pages) {
  TPrinter printer(NoCups);
  EXPECT_EQ(printer.Printers(), std::vector<std::string>{"PDF file"});
  EXPECT_EQ(printer.PrinterIndex(), 0);
  printer.SetPaper({"A4", 210, 297});
  printer.SetOrientation(orientation);
  printer.Title = "Velmora host report";
  printer.FileName = file;
  std::vector<TRect> boxes;
  UseVirtualClock(1796947200000);  // 2026-12-11 00:00 UTC: the document's dates are repeatable
  TPrintJob job(printer);
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) printer.NewPage();
    test::SamplePage sample;
    sample.Draw(printer.Canvas(), page);
    if (page == 1) boxes = sample.TextBoxes;
  }
  job.EndDoc();
  UseRealClock();  // the tools that read the file run on real time
  return boxes;
}

class PdfPrintTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils and qpdf are not installed";
  }
  void TearDown() override { UseRealClock(); }
};

TEST_F(PdfPrintTest, AThreePageA4DocumentIsARealPdf) {
  const std::string file = Artefacts() + "/sample.pdf";
  PrintSample(file, TPrinterOrientation::poPortrait, 3);

  const std::string info = RunTool("pdfinfo", {file});
  EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       595.276 x 841.89 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(info.find("Title:           Velmora host report"), std::string::npos) << info;
  EXPECT_NE(info.find("Creator:         Velmora"), std::string::npos) << info;
  EXPECT_NE(info.find("CreationDate:    Fri Dec 11 00:00:00 2026 UTC"), std::string::npos) << info;

  // The texts in reading order: title, header, the rows cell by cell.
  const std::string text = RunTool("pdftotext", {"-layout", "-f", "2", "-l", "2", file, "-"});
  std::vector<std::string> expected = {"Host report, page 2", "Host", "State", "Round trip"};
  for (int row = 0; row < 12; ++row) {
    expected.push_back("host-2-" + std::to_string(row) + ".example");
    expected.push_back(row % 5 == 1 ? "disconnected" : "connected");
    expected.push_back(std::to_string(row * 7 + 2) + " ms");
  }
  expected.push_back("Latency map of the hosts above");
  size_t at = 0;
  for (const std::string& piece : expected) {
    const size_t found = text.find(piece, at);
    ASSERT_NE(found, std::string::npos) << "\"" << piece << "\" after offset " << at << " in\n" << text;
    at = found + piece.size();
  }

  // Every font embedded as a subset: Liberation Sans (regular, bold, italic), Serif bold and Mono.
  const std::string fonts = RunTool("pdffonts", {file});
  std::istringstream lines(fonts);
  std::string line;
  int listed = 0;
  std::vector<std::string> names;
  while (std::getline(lines, line)) {
    if (line.find('+') == std::string::npos) continue;
    ++listed;
    names.push_back(line.substr(0, line.find(' ')));
    EXPECT_NE(line.find("yes yes"), std::string::npos) << line;  // embedded, subset
  }
  EXPECT_EQ(listed, 5) << fonts;
  for (const char* family : {"LiberationSans-Bold", "LiberationSans-Italic", "LiberationSerif-Bold", "LiberationMono"}) {
    EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& n) {
      return n.find(family) != std::string::npos;
    })) << family << " in\n" << fonts;
  }

  int check = 0;
  const std::string qpdf = RunTool("qpdf", {"--check", file}, &check);
  EXPECT_EQ(check, 0) << qpdf;
  EXPECT_NE(qpdf.find("No syntax or stream encoding errors found"), std::string::npos) << qpdf;
}

TEST_F(PdfPrintTest, PopplersRenderingMatchesOurRasterPageOutsideGlyphEdges) {
  const std::string file = Artefacts() + "/compare.pdf";
  const std::vector<TRect> boxes = PrintSample(file, TPrinterOrientation::poPortrait, 1);
  int code = 0;
  RunTool("pdftoppm", {"-r", "150", "-png", "-singlefile", file, Artefacts() + "/compare-poppler"}, &code);
  ASSERT_EQ(code, 0);
  std::ifstream in(Artefacts() + "/compare-poppler.png", std::ios::binary);
  const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TBitmap poppler;
  LoadPngBytes(poppler, png);

  // Our raster page: the same drawing on a bitmap of the page at 150 dpi.
  TBitmap ours(1240, 1754);
  TCanvas canvas(ours, 150);
  test::SamplePage sample;
  sample.Draw(canvas, 1);
  SavePngFile(ours, Artefacts() + "/compare-ours.png");
  EXPECT_NEAR(poppler.Width(), ours.Width(), 1);
  EXPECT_NEAR(poppler.Height(), ours.Height(), 1);

  // Texts are left out (with three pixels around them), and so are the edges of other figures.
  std::vector<uint8_t> skip(static_cast<size_t>(ours.Width()) * ours.Height());
  HDC dc = canvas.Handle();
  SetMapMode(dc, MM_LOMETRIC);
  for (const TRect& box : boxes) {
    TPoint corners[] = {box.TopLeft(), box.BottomRight()};
    LPtoDP(dc, corners, 2);
    for (int y = std::max(0, corners[0].Y - 3); y < std::min(ours.Height(), corners[1].Y + 3); ++y)
      for (int x = std::max(0, corners[0].X - 3); x < std::min(ours.Width(), corners[1].X + 3); ++x)
        skip[static_cast<size_t>(y) * ours.Width() + x] = 1;
  }
  auto at = [](const TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFF; };
  auto distance = [](uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift : {0, 8, 16}) d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return d;
  };
  const int w = std::min(ours.Width(), poppler.Width()), h = std::min(ours.Height(), poppler.Height());
  int compared = 0, different = 0, inked = 0;
  TBitmap differences(w, h);  // an artefact: the pixels that differ, red on our page's grey
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (skip[static_cast<size_t>(y) * ours.Width() + x]) continue;
      bool edge = false;  // within two pixels of an edge of our page: resolutions round edges apart
      for (int dy = -2; dy <= 2 && !edge; ++dy)
        for (int dx = -2; dx <= 2 && !edge; ++dx) {
          const int nx = std::clamp(x + dx, 0, w - 1), ny = std::clamp(y + dy, 0, h - 1);
          edge = at(ours, nx, ny) != at(ours, x, y);
        }
      if (edge) continue;
      ++compared;
      inked += at(ours, x, y) != 0xFFFFFF;
      if (distance(at(ours, x, y), at(poppler, x, y)) > 40) {
        ++different;
        differences.ScanLine(y)[x] = 0xFFFF0000u;
      }
    }
  }
  SavePngFile(differences, Artefacts() + "/compare-differences.png");
  EXPECT_GT(inked, 50000);  // the cells, rules and picture are there
  EXPECT_LT(different, compared / 1000) << different << " of " << compared;
}

TEST_F(PdfPrintTest, ALandscapePageIsTurned) {
  const std::string file = Artefacts() + "/landscape.pdf";
  PrintSample(file, TPrinterOrientation::poLandscape, 1);
  const std::string info = RunTool("pdfinfo", {file});
  EXPECT_NE(info.find("Page size:       841.89 x 595.276 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(RunTool("pdftotext", {file, "-"}).find("Host report, page 1"), std::string::npos);
}

}  // namespace
}  // namespace platform
