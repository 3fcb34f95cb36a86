// TMlSMTP and Python's smtplib side by side, in one run: against hostile SMTP servers (hostile_server.py:
// 20 MB of continuation lines, a 10 MB line, a silent server, a server dripping a byte a second), each
// client with a time-out of 5 s, and sending a 40 MB attachment to aiosmtpd. For each: how the client
// ended, its processor time and its peak memory (each client is a child process of its own, measured
// by wait4). A table of figures rather than a Google Benchmark program; bench/run.sh runs it with the rest.
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mailer/net/Mlsmtp.h"
#include "mailer/net/tests/SmtpSink.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/Streams.h"

namespace {

constexpr int kTimeOutSeconds = 5;
constexpr int kPatienceSeconds = 30;  // a client still waiting then is ended and reported so

struct Run {
  std::string result;
  double cpuSeconds = 0;
  double peakMegabytes = 0;
};

// Runs argv as a child with its standard output on a pipe: its output, and its usage. A child that has not
// ended after kPatienceSeconds is killed.
Run Measure(const std::vector<std::string>& argv) {
  mailnet::test::ChildProcess child(argv);
  if (!child.Started()) return {"not started"};
  Run run;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kPatienceSeconds);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd entry{child.OutputDescriptor(), POLLIN, 0};
    if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
      child.Kill();
      run.result = "still waiting after " + std::to_string(kPatienceSeconds) + " s, killed";
      break;
    }
    char buffer[256];
    ssize_t n = ::read(child.OutputDescriptor(), buffer, sizeof buffer);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] != '\n') run.result += buffer[i];
    }
  }
  rusage usage{};
  child.Wait(&usage);
  run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peakMegabytes = usage.ru_maxrss / 1024.0;
  return run;
}

// The engine as a client: connects with the time-out and, given a file, sends it as an attachment.
int Client(int port, const std::string& file) {
  char folder[] = "/tmp/velmora-mail-hostile-XXXXXX";
  platform::OverrideExeFileName(std::string(::mkdtemp(folder)) + "/program");
  {
    mailnet::TMlSMTP smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = port;
    smtp.UserID = "bench.local";
    smtp.TimeOut = kTimeOutSeconds * 1000;
    mailnet::TPostMessage& m = smtp.PostMessage();
    m.FromAddress = "q@example.org";
    m.ToAddress().Add("x@a.org");
    m.Subject = "Anhang";
    m.Body().Add("Anbei die Datei.");
    if (!file.empty()) m.Attachments().Add(file);
    try {
      smtp.Connect();
      if (!file.empty()) smtp.SendMail();
      smtp.Disconnect();
      std::printf("sent\n");
    } catch (const platform::Exception& e) {
      std::string text = e.Message().substr(0, 60);
      for (char& c : text) c = c == '\r' || c == '\n' ? ' ' : c;
      std::printf("%s\n", text.c_str());
    }
  }
  std::filesystem::remove_all(folder);
  return 0;
}

void Row(const std::string& what, const std::string& client, const Run& run) {
  std::printf("%-32s %-8s %8.2f %9.1f  %s\n", what.c_str(), client.c_str(), run.cpuSeconds, run.peakMegabytes,
              run.result.c_str());
  std::fflush(stdout);
}

void Compare(const std::string& what, int port, const std::string& file, const std::string& self) {
  std::vector<std::string> ours{self, "--client", std::to_string(port)};
  std::vector<std::string> python{mailnet::test::kPython, std::string(MAIL_BENCH_DIR) + "smtplib_hostile.py",
                                  std::to_string(port), std::to_string(kTimeOutSeconds)};
  if (!file.empty()) {
    ours.push_back(file);
    python.push_back(file);
  }
  Row(what, "TMlSMTP", Measure(ours));
  Row(what, "smtplib", Measure(python));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--client") return Client(std::stoi(argv[2]), argc > 3 ? argv[3] : "");
  const std::string self = platform::ExeFileName();
  std::printf("%-32s %-8s %8s %9s  %s\n", "case", "client", "CPU s", "peak MB", "how it ended");
  for (const char* kind : {"continuation", "longline", "silent", "drip"}) {
    mailnet::test::ChildProcess server({mailnet::test::kPython, std::string(MAIL_BENCH_DIR) + "hostile_server.py", kind});
    std::string line = server.ReadLine();
    if (!line.starts_with("PORT ")) {
      std::printf("%s: the server did not start\n", kind);
      continue;
    }
    Compare(kind, std::stoi(line.substr(5)), "", self);
  }
  char folder[] = "/tmp/velmora-mail-attachment-XXXXXX";
  std::string file = std::string(::mkdtemp(folder)) + "/big.bin";
  {
    // Written in pieces: a child started now would count this process's peak memory as its own.
    platform::TFileStream out(file, platform::fmCreate);
    std::string piece(1 << 20, 'a');
    for (int i = 0; i < 40; ++i) out.WriteBuffer(piece.data(), static_cast<int64_t>(piece.size()));
  }
  {
    mailnet::test::SmtpSink sink("/tmp", false);
    if (sink.Port() != 0) Compare("40 MB attachment to aiosmtpd", sink.Port(), file, self);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
