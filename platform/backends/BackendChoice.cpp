#include "platform/backends/BackendChoice.h"

#include <cstdio>
#include <cstdlib>

#include "platform/backends/X11Backend.h"
#include "platform/core/Paths.h"

namespace platform {

namespace {

void SayToUser(const std::string& message) {
  std::string program = ExeFileName();
  program = program.substr(program.find_last_of('/') + 1);
  std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
  std::fflush(stderr);
}

// Nothing can be shown any more, and the program's state lives with its windows: it ends at once,
// without running exit handlers that would talk to the dead connection.
[[noreturn]] void EndProgram(const std::string& message) {
  SayToUser(message);
  std::_Exit(1);
}

}  // namespace

std::unique_ptr<TBackend> OpenDisplayBackend() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return nullptr;
  std::string error;
  TX11Refusal refusal = TX11Refusal::NoServer;
  std::unique_ptr<TBackend> backend = OpenX11Backend(display, error, EndProgram, &refusal);
  if (backend == nullptr && refusal != TX11Refusal::NoServer) SayToUser(error + "; no window is shown");
  return backend;
}

bool ChooseBackend() {
  std::unique_ptr<TBackend> backend = OpenDisplayBackend();
  if (backend == nullptr) return false;
  SetBackend(std::move(backend));
  return true;
}

}  // namespace platform
