// A service program for the service host's tests. Each handler appends "<event> <thread>" to the file
// named by TEST_SERVICE_LOG, where <thread> is "main" or "service". TEST_SERVICE_MODE picks the ending:
//   (empty)       execute serves requests every 20 ms until a stop is accepted;
//   stop-inside   execute stops the service itself, on the service thread;
//   stop-main     execute arms a timer on the main thread, whose tick stops the service there;
//   refuse-start  the start handler refuses.

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/core/Clock.h"
#include "platform/service/ServiceApplication.h"
#include "platform/app/Window.h"

namespace {

using namespace platform;

std::string Mode() {
  const char* mode = std::getenv("TEST_SERVICE_MODE");
  return mode ? mode : "";
}

void Record(const std::string& event) {
  const char* path = std::getenv("TEST_SERVICE_LOG");
  if (!path) return;
  std::string line = event + (::syscall(SYS_gettid) == ::getpid() ? " main\n" : " service\n");
  int fd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  ssize_t ignored = ::write(fd, line.data(), line.size());
  (void)ignored;
  ::close(fd);
}

class TTestService : public TService {
public:
  explicit TTestService(TComponent* AOwner) : TService(AOwner) {
    SetName("VelmoraTest");
    DisplayName = "Velmora Test";
    Dependencies = {"lanmanworkstation"};
    OnStart = [](TService*, bool& started) {
      Record("start");
      started = Mode() != "refuse-start";
    };
    OnExecute = [this](TService* sender) { Execute(sender); };
    OnStop = [](TService*, bool&) { Record("stop"); };
    OnPause = [](TService*, bool&) { Record("pause"); };
    OnContinue = [](TService*, bool&) { Record("continue"); };
  }

private:
  void Execute(TService* sender) {
    Record("execute");
    if (Mode() == "stop-inside") DoStop();
    if (Mode() == "stop-main") SetTimer(timerWindow_.Handle(), 1, 20);
    while (!sender->Terminated()) {
      Sleep(20);
      sender->ServiceThread()->ProcessRequests(false);
    }
    Record("execute-end");
  }

  // Made on the main thread with the service, so its timer ticks there.
  WindowHandle timerWindow_{"TTestServiceTimer", "", WindowKind::Hidden, [this](TMessage& message) {
                              if (message.Msg != WM_TIMER) return;
                              KillTimer(timerWindow_.Handle(), 1);
                              DoStop();
                            }};
};

TTestService* TestService = nullptr;

}  // namespace

int main(int argc, char** argv) {
  ServiceApplication()->Initialize(argc, argv);
  ServiceApplication()->CreateForm(TestService);
  return ServiceApplication()->Run();
}
