// A full paint of an 800 x 600 form with 200 controls: every windowed control erases and paints its
// area in the back buffer, the graphic ones on their parents, and the whole buffer goes to the
// backend: the headless one, and a real X window (each iteration then ends with a round trip, so the
// server has drawn; skipped without a display: bench/run.sh gives it an Xvfb server). Both as a
// repaint of the shown form and as the first show of a form built anew, which should cost little more.
// Should stay far under a frame (16 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/backends/BackendChoice.h"
#include "platform/gfx/Gdi.h"
#include "platform/app/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"

namespace {

using namespace platform;

// A control painted as the standard ones are: a frame and a fill.
class Boxed : public TCustomControl {
public:
  using TCustomControl::TCustomControl;

protected:
  void Paint() override {
    TRect r = ClientRect();
    DrawEdge(Canvas().Handle(), r, EDGE_RAISED, BF_RECT);
    Canvas().Brush().SetColor(clWindow);
    Canvas().FillRect(Rect(4, 4, Width() - 4, Height() - 4));
  }
};

class Mark : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;

protected:
  void Paint() override {
    Canvas().Pen().SetColor(clNavy);
    Canvas().Rectangle(0, 0, Width(), Height());
  }
};

// An 800 x 600 form with 10 panels across it, each with 19 children alternating windowed and graphic:
// 200 controls.
std::unique_ptr<TForm> BuildForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 800, 600);
  for (int p = 0; p < 10; ++p) {
    auto* panel = new Boxed(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, p * 60, 800, 60);
    for (int c = 0; c < 19; ++c) {
      TControl* child = c % 2 ? static_cast<TControl*>(new Mark(form.get())) : new Boxed(form.get());
      child->SetParent(panel);
      child->SetBounds(4 + c * 42, 8, 40, 44);
    }
  }
  return form;
}

bool UseBackend(benchmark::State& state, std::unique_ptr<TBackend> backend) {
  if (backend == nullptr) {
    state.SkipWithError("no X display");
    return false;
  }
  SetBackend(std::move(backend));
  return true;
}

// Repaints the whole shown form.
void FullPaint(benchmark::State& state, std::unique_ptr<TBackend> backend) {
  if (!UseBackend(state, std::move(backend))) return;
  std::unique_ptr<TForm> form = BuildForm();
  form->Show();
  Application().ProcessMessages();
  for (auto _ : state) {
    form->Invalidate();
    form->Update();
    Backend().CursorPos();
  }
}

// Shows a form built anew and paints it the first time, as a form that opens does. Timed are the show
// and the first paint up to the server's drawing, as the repaint is timed; not the building, nor what
// the loop does once the form shows (its listing for other programs), nor the destruction.
void FirstShow(benchmark::State& state, std::unique_ptr<TBackend> backend) {
  if (!UseBackend(state, std::move(backend))) return;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TForm> form = BuildForm();
    state.ResumeTiming();
    form->Show();
    form->Update();
    Backend().CursorPos();
    state.PauseTiming();
    Application().ProcessMessages();
    form.reset();
    Application().ProcessMessages();
    state.ResumeTiming();
  }
}

void FullPaintHeadless(benchmark::State& state) { FullPaint(state, std::make_unique<THeadlessBackend>()); }
void FullPaintX11(benchmark::State& state) { FullPaint(state, OpenDisplayBackend()); }
void FirstShowHeadless(benchmark::State& state) { FirstShow(state, std::make_unique<THeadlessBackend>()); }
void FirstShowX11(benchmark::State& state) { FirstShow(state, OpenDisplayBackend()); }
BENCHMARK(FullPaintHeadless)->Unit(benchmark::kMillisecond);
BENCHMARK(FullPaintX11)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstShowHeadless)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstShowX11)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
