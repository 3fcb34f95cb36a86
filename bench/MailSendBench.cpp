// 100 mails sent one after another to a local SMTP server (Debian's aiosmtpd, keeping nothing), each in
// a session of its own as Quillet sends it: through TMlSMTP, and through Python's smtplib sending the
// same mail to the same server in the same run. Both are reported as the mean time per mail.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "mailer/net/Mlsmtp.h"
#include "mailer/net/tests/SmtpSink.h"
#include "platform/core/Paths.h"

namespace {

constexpr int Mails = 100;

mailnet::test::SmtpSink& Server() {
  static mailnet::test::SmtpSink server("/tmp", false);
  return server;
}

void MlSmtpSendsToAiosmtpd(benchmark::State& state) {
  if (Server().Port() == 0) {
    state.SkipWithError("the SMTP server did not start");
    return;
  }
  // The timers' windows go to a folder of the benchmark's own.
  char folder[] = "/tmp/velmora-mail-bench-XXXXXX";
  platform::OverrideExeFileName(std::string(::mkdtemp(folder)) + "/program");
  auto smtp = std::make_unique<mailnet::TMlSMTP>(nullptr);
  smtp->Host = "127.0.0.1";
  smtp->Port = Server().Port();
  smtp->UserID = "bench.local";
  smtp->ClearParams = false;
  mailnet::TPostMessage& m = smtp->PostMessage();
  m.FromName = "Quillet";
  m.FromAddress = "q@example.org";
  m.ToAddress().Add("x@a.org");
  m.Subject = "Achtung Rechner xy nicht im Netz";
  m.Body().Add("Rechner xy antwortet seit 10:00 Uhr nicht.");
  m.Body().Add("Bitte pruefen.");
  for (auto _ : state) {
    smtp->Connect();
    smtp->SendMail();
    smtp->Disconnect();
  }
  smtp.reset();
  platform::OverrideExeFileName("");
  std::filesystem::remove_all(folder);
}
BENCHMARK(MlSmtpSendsToAiosmtpd)->Name("TMlSMTP to aiosmtpd (per mail)")->Iterations(Mails)->Unit(benchmark::kMillisecond);

// smtplib's time is measured inside Python (without the interpreter's start) and divided by the mails.
void SmtplibSendsToAiosmtpd(benchmark::State& state) {
  if (Server().Port() == 0) {
    state.SkipWithError("the SMTP server did not start");
    return;
  }
  for (auto _ : state) {
    mailnet::test::ChildProcess python({mailnet::test::kPython, std::string(MAIL_BENCH_DIR) + "smtplib_sends.py",
                                        std::to_string(Server().Port()), std::to_string(Mails)});
    std::string seconds = python.ReadLine();
    if (python.Wait() != 0 || seconds.empty()) {
      state.SkipWithError("smtplib_sends.py failed");
      return;
    }
    state.SetIterationTime(std::stod(seconds) / Mails);
  }
}
BENCHMARK(SmtplibSendsToAiosmtpd)
    ->Name("Python smtplib to aiosmtpd (per mail)")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
