#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/Exception.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/gfx/Gdi.h"
#include "platform/printing/Paper.h"
#include "platform/printing/Printer.h"

namespace platform {
namespace {

// A printing system of two queues that records every program the printer runs; lp checks the file
// it is given while it is there, and answers as told.
struct RecordingCups {
  std::vector<SpawnRequest> calls;
  std::string media = "media=iso_a4_210x297mm sides=one-sided";
  int lpExit = 0;
  std::string lpError;
  std::string fileSeen;  // the first bytes of the file lp was handed, read while lp runs
  int qpdfCheck = -1;    // qpdf --check on that file while lp runs (-1 without qpdf)

  TPrintSpawner Spawner() {
    return [this](const SpawnRequest& r) {
      calls.push_back(r);
      SpawnCapture c;
      c.exitCode = 0;
      if (r.program == "lpstat" && r.arguments == std::vector<std::string>{"-e"}) {
        c.standardOutput = "Office\nLabels\n";
      } else if (r.program == "lpstat") {
        c.standardOutput = "system default destination: Labels\n";
      } else if (r.program == "lpoptions") {
        c.standardOutput = r.arguments.back() == "Labels" ? "media=na_letter_8.5x11in" : media;
      } else if (r.program == "lp") {
        std::ifstream in(r.arguments.back(), std::ios::binary);
        fileSeen.assign(8, '\0');
        in.read(fileSeen.data(), 8);
        fileSeen.resize(static_cast<size_t>(in.gcount()));
        const SpawnCapture check = SpawnAndCapture({"qpdf", {"--check", r.arguments.back()}, "", {}}, std::chrono::seconds(30));
        if (check.error == 0) qpdfCheck = check.exitCode;
        c.exitCode = lpExit;
        c.standardError = lpError;
      }
      return c;
    };
  }
};

TEST(PrinterTest, QueuesComeFromLpstatAndTheDefaultIsSelected) {
  RecordingCups cups;
  TPrinter printer(cups.Spawner());
  EXPECT_EQ(printer.Printers(), (std::vector<std::string>{"PDF file", "Office", "Labels"}));
  EXPECT_EQ(printer.PrinterIndex(), 2);
  EXPECT_EQ(printer.QueueName(), "Labels");
  // The queue's default media gives the paper: letter here, 8.5 x 11 in at 720 dpi.
  EXPECT_EQ(printer.PageWidth(), 6120);
  EXPECT_EQ(printer.PageHeight(), 7920);
  printer.SetPrinterIndex(1);
  EXPECT_EQ(printer.Paper().Name, "A4");
  EXPECT_EQ(printer.PageWidth(), 5953);
  EXPECT_EQ(printer.PageHeight(), 8419);
  printer.SetOrientation(TPrinterOrientation::poLandscape);
  EXPECT_EQ(printer.PageWidth(), 8419);
  EXPECT_EQ(printer.PageHeight(), 5953);
  EXPECT_EQ(GetDeviceCaps(printer.Canvas().Handle(), HORZRES), 8419);
  EXPECT_EQ(GetDeviceCaps(printer.Canvas().Handle(), LOGPIXELSY), 720);
  EXPECT_THROW(printer.SetPrinterIndex(3), EPrinter);
}

TEST(PrinterTest, AJobForAQueueGoesToLpWithExactlyItsArgumentsAndItsFileIsRemoved) {
  RecordingCups cups;
  TPrinter printer(cups.Spawner());
  printer.SetPrinterIndex(1);
  printer.Title = "Hosts -- report";
  printer.BeginDoc();
  EXPECT_TRUE(printer.Printing());
  printer.Canvas().TextOut(100, 100, "Office copy");
  printer.NewPage();
  EXPECT_EQ(printer.PageNumber(), 2);
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());
  const SpawnRequest& lp = cups.calls.back();
  ASSERT_EQ(lp.program, "lp");
  ASSERT_EQ(lp.arguments.size(), 5u);
  EXPECT_EQ(lp.arguments[0], "-d");
  EXPECT_EQ(lp.arguments[1], "Office");
  EXPECT_EQ(lp.arguments[2], "-t");
  EXPECT_EQ(lp.arguments[3], "Hosts -- report");
  EXPECT_EQ(cups.fileSeen.substr(0, 5), "%PDF-");  // a valid PDF while lp had it
  EXPECT_TRUE(cups.qpdfCheck == -1 || cups.qpdfCheck == 0) << "qpdf --check exit code " << cups.qpdfCheck;
  EXPECT_FALSE(std::filesystem::exists(lp.arguments[4]));
}

TEST(PrinterTest, AFailingLpRaisesItsMessageFromEndDoc) {
  RecordingCups cups;
  cups.lpExit = 1;
  cups.lpError = "lp: The printer or class does not exist.\n";
  TPrinter printer(cups.Spawner());
  printer.BeginDoc();
  try {
    printer.EndDoc();
    FAIL() << "no exception";
  } catch (const EPrinter& e) {
    EXPECT_STREQ(e.what(), "lp: The printer or class does not exist.");
  }
  EXPECT_FALSE(printer.Printing());
  EXPECT_FALSE(std::filesystem::exists(cups.calls.back().arguments.back()));
}

TEST(PrinterTest, AnExceptionInMidPageAbortsTheJobRestoresTheCanvasAndRemovesTheFile) {
  RecordingCups cups;
  TPrinter printer(cups.Spawner());
  printer.SetPrinterIndex(0);
  printer.FileName = (std::filesystem::temp_directory_path() / ("velmora-abort-" + std::to_string(getpid()) + ".pdf")).string();
  EXPECT_THROW(
      {
        TPrintJob job(printer);
        SetMapMode(printer.Canvas().Handle(), MM_LOMETRIC);
        IntersectClipRect(printer.Canvas().Handle(), 0, 0, 100, -100);
        EXPECT_TRUE(std::filesystem::exists(printer.FileName));
        throw Exception("a handler failed");
      },
      Exception);
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(printer.Aborted());
  EXPECT_EQ(GetMapMode(printer.Canvas().Handle()), MM_TEXT);
  EXPECT_EQ(printer.Canvas().ClipRect(), Rect(0, 0, printer.PageWidth(), printer.PageHeight()));
  EXPECT_FALSE(std::filesystem::exists(printer.FileName));
  for (const SpawnRequest& r : cups.calls) EXPECT_NE(r.program, "lp");
}

TEST(PrinterTest, AFileThatCannotBeOpenedIsLeftAsItWas) {
  // A running program's file cannot be opened for writing, by root either, but can be unlinked.
  const std::filesystem::path busy =
      std::filesystem::temp_directory_path() / ("velmora-busy-" + std::to_string(getpid()) + ".pdf");
  std::filesystem::copy_file("/bin/cat", busy, std::filesystem::copy_options::overwrite_existing);
  int input[2], execed[2];
  ASSERT_EQ(pipe(input), 0);
  ASSERT_EQ(pipe2(execed, O_CLOEXEC), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(input[0], 0);
    close(input[1]);
    execl(busy.c_str(), busy.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input[0]);
  close(execed[1]);
  char byte;
  ASSERT_EQ(read(execed[0], &byte, 1), 0);  // the end closes at the exec
  close(execed[0]);

  RecordingCups cups;
  TPrinter printer(cups.Spawner());
  printer.SetPrinterIndex(0);
  printer.FileName = busy.string();
  EXPECT_THROW(printer.BeginDoc(), Exception);
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(std::filesystem::exists(busy));

  close(input[1]);
  waitpid(child, nullptr, 0);
  std::filesystem::remove(busy);
}

TEST(PrinterTest, WithoutAFileNameTheSaveDialogAsksAndCancelAbortsQuietly) {
  RecordingCups cups;
  TPrinter printer(cups.Spawner());
  printer.SetPrinterIndex(0);
  TScriptedDialogService dialogs;
  IDialogService* before = SetDialogService(&dialogs);
  dialogs.AnswerCancel();
  printer.BeginDoc();
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(printer.Aborted());
  printer.Canvas().TextOut(0, 0, "goes nowhere");
  printer.NewPage();
  printer.EndDoc();
  const std::string chosen = (std::filesystem::temp_directory_path() / ("velmora-chosen-" + std::to_string(getpid()))).string();
  dialogs.AnswerFile(chosen);
  printer.BeginDoc();
  EXPECT_TRUE(printer.Printing());
  printer.EndDoc();
  EXPECT_TRUE(std::filesystem::exists(chosen + ".pdf"));
  std::filesystem::remove(chosen + ".pdf");
  SetDialogService(before);
}

TEST(PrinterTest, PaperNamesAndTheFallbacks) {
  struct Case {
    const char* name;
    double width, height;
  };
  const Case cases[] = {{"A4", 210, 297}, {"letter", 215.9, 279.4}, {"iso_a5_148x210mm", 148, 210},
                        {"na_letter_8.5x11in", 215.9, 279.4}, {"om_small-photo_100x150mm", 100, 150},
                        {"Custom.200x100mm", 200, 100}};
  for (const Case& k : cases) {
    const std::optional<TPaperSize> p = PaperFromName(k.name);
    ASSERT_TRUE(p) << k.name;
    EXPECT_NEAR(p->WidthMm, k.width, 1e-9) << k.name;
    EXPECT_NEAR(p->HeightMm, k.height, 1e-9) << k.name;
  }
  EXPECT_FALSE(PaperFromName("unknown"));
  EXPECT_FALSE(PaperFromName(""));
  const std::string file = (std::filesystem::temp_directory_path() / ("papersize-" + std::to_string(getpid()))).string();
  std::ofstream(file) << "# comment\nletter\n";
  const char* lcAll = std::getenv("LC_ALL");
  const std::string savedLcAll = lcAll ? lcAll : "";
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(DefaultPaper("", file).Name, "Letter");
  EXPECT_EQ(DefaultPaper("iso_a3_297x420mm", file).Name, "A3");
  EXPECT_EQ(DefaultPaper("", "/nonexistent").Name, "A4");
  if (lcAll) ::setenv("LC_ALL", savedLcAll.c_str(), 1); else ::unsetenv("LC_ALL");
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace platform
