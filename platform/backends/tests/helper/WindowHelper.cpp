// One window on the backend that the program chooses, for the tests that watch a whole process: it
// prints "ready <window>" once the window is shown and then only runs the message loop; without a display
// it prints "headless" and exits with 2.
#include <cstdio>

#include "platform/backends/BackendChoice.h"
#include "platform/gfx/Bitmap.h"
#include "platform/app/MessageQueue.h"

namespace {

class QuietSink : public platform::IBackendWindowSink {
public:
  void BackendKeyDown(int, unsigned, bool) override {}
  void BackendKeyUp(int, unsigned) override {}
  void BackendChar(std::string_view, unsigned) override {}
  void BackendMouseDown(platform::TMouseButtonKind, platform::TPoint, unsigned) override {}
  void BackendMouseUp(platform::TMouseButtonKind, platform::TPoint, unsigned) override {}
  void BackendMouseMove(platform::TPoint, unsigned) override {}
  void BackendMouseWheel(int, platform::TPoint, unsigned) override {}
  void BackendMouseLeave() override {}
  void BackendBoundsChanged(const platform::TRect&, platform::TBackendWindowState) override {}
  void BackendExpose(const platform::TRect&) override {}
  void BackendActivate(bool) override {}
  void BackendCloseRequest() override {}
};

}  // namespace

int main() {
  using namespace platform;
  std::unique_ptr<TBackend> backend = OpenDisplayBackend();
  if (backend == nullptr) {
    std::puts("headless");
    return 2;
  }
  QuietSink sink;
  TBackendWindowParams params;
  params.caption = "Helper";
  params.className = "THelper";
  params.bounds = Bounds(50, 50, 200, 100);
  const TBackendWindow window = backend->CreateWindow(params, sink);
  backend->ShowWindow(window, true);
  TBitmap backBuffer(200, 100);
  backend->Present(window, backBuffer, Rect(0, 0, 200, 100));
  std::printf("ready %llu\n", static_cast<unsigned long long>(window));
  std::fflush(stdout);
  MessageQueue& queue = MessageQueue::Current();
  for (;;) {
    queue.DispatchReadyHandles();
    queue.Wait();
  }
}
