#include "platform/ui/Backend.h"

#include "platform/ui/HeadlessBackend.h"

namespace platform {

namespace {

// Never destroyed: windows and forms may still talk to it while the program's statics go.
TBackend*& Installed() {
  static TBackend* backend = nullptr;
  return backend;
}

}  // namespace

TBackend& Backend() {
  if (!Installed()) Installed() = new THeadlessBackend;
  return *Installed();
}

void SetBackend(std::unique_ptr<TBackend> backend) {
  delete Installed();
  Installed() = backend.release();
}

}  // namespace platform
