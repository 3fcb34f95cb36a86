// Showing an 800 x 600 back buffer in a real X window: the whole buffer, and a 100 x 20 part (a control
// that changed). Each iteration ends with a round trip, so the server has put the pixels on screen.
// Needs a display: bench/run.sh runs it under Xvfb when DISPLAY is not set.
#include <benchmark/benchmark.h>

#include "platform/backends/BackendChoice.h"
#include "platform/gfx/Bitmap.h"
#include "platform/app/MessageQueue.h"

namespace {

using namespace platform;

class NoSink : public IBackendWindowSink {
public:
  void BackendKeyDown(int, unsigned, bool) override {}
  void BackendKeyUp(int, unsigned) override {}
  void BackendChar(std::string_view, unsigned) override {}
  void BackendMouseDown(TMouseButtonKind, TPoint, unsigned) override {}
  void BackendMouseUp(TMouseButtonKind, TPoint, unsigned) override {}
  void BackendMouseMove(TPoint, unsigned) override {}
  void BackendMouseWheel(int, TPoint, unsigned) override {}
  void BackendMouseLeave() override {}
  void BackendBoundsChanged(const TRect&, TBackendWindowState) override {}
  void BackendExpose(const TRect&) override {}
  void BackendActivate(bool) override {}
  void BackendCloseRequest() override {}
};

void Present(benchmark::State& state, const TRect& dirty) {
  // One connection for every run, kept to the end of the process, as a program has it.
  static TBackend* const backend = OpenDisplayBackend().release();
  if (backend == nullptr) {
    state.SkipWithError("no X display");
    return;
  }
  NoSink sink;
  TBackendWindowParams params;
  params.caption = "Present";
  params.bounds = Bounds(0, 0, 800, 600);
  const TBackendWindow window = backend->CreateWindow(params, sink);
  backend->ShowWindow(window, true);
  TBitmap backBuffer(800, 600);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) backBuffer.ScanLine(y)[x] = 0xFF000000u | static_cast<uint32_t>(x * y);
  for (auto _ : state) {
    backend->Present(window, backBuffer, dirty);
    backend->CursorPos();  // a round trip: the server has drawn by its answer
    MessageQueue::Current().DispatchReadyHandles();
  }
  state.SetItemsProcessed(state.iterations());
  backend->DestroyWindow(window);
}

void BM_PresentWhole800x600(benchmark::State& state) { Present(state, Rect(0, 0, 800, 600)); }
void BM_PresentControl100x20(benchmark::State& state) { Present(state, Bounds(300, 200, 100, 20)); }

BENCHMARK(BM_PresentWhole800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentControl100x20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
