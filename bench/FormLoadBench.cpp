// Building a form of 200 controls from its resource: parsing, creating, setting properties and binding
// handlers, as a form's construction does it. Should stay far under a frame (16 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ui/FormLoader.h"
#include "platform/app/PublishedClasses.h"

namespace {

using namespace platform;

// A stand-in control with the properties a resource sets most: bounds, caption, colour, a handler.
class TBenchControl : public TComponent {
public:
  using TComponent::TComponent;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
  bool Visible = true;
  TNotifyEvent OnClick;
  TComponent* Parent = nullptr;
};

class TBenchForm : public TBenchControl {
public:
  TBenchForm() : TBenchControl(nullptr) { methods.Add("ControlClick", this, &TBenchForm::ControlClick); }
  void ControlClick(TObject*) {}
  TFormMethods methods;
};

void Publish() {
  TClassPublisher<TBenchControl, TComponent>("TBenchControl")
      .Property("Left", &TBenchControl::Left)
      .Property("Top", &TBenchControl::Top)
      .Property("Width", &TBenchControl::Width)
      .Property("Height", &TBenchControl::Height)
      .Property("Caption", &TBenchControl::Caption)
      .Property("Visible", &TBenchControl::Visible)
      .Property("OnClick", &TBenchControl::OnClick)
      .Nested([](TBenchControl& c, TComponent& container) { c.Parent = &container; });
}

// 10 panels of 19 controls each, plus the panels: 200 controls.
std::string Resource() {
  std::string text = "Form1: TBenchForm {\n  Caption = \"Velmora - Konfigurator\"\n  Width = 800\n  Height = 600\n";
  for (int p = 0; p < 10; ++p) {
    text += "  Panel" + std::to_string(p) + ": TBenchControl {\n    Left = 0 Top = " + std::to_string(p * 60) +
            " Width = 800 Height = 60\n";
    for (int c = 0; c < 19; ++c) {
      const std::string n = std::to_string(p * 19 + c);
      text += "    Button" + n + ": TBenchControl {\n      Left = " + std::to_string(c * 42) +
              "\n      Top = 4\n      Width = 40\n      Height = 22\n      Caption = \"Schaltfl\\u{E4}che " + n +
              "\"\n      OnClick = @ControlClick\n    }\n";
    }
    text += "  }\n";
  }
  return text + "}\n";
}

void BM_BuildFormOf200Controls(benchmark::State& state) {
  Publish();
  const std::string text = Resource();
  for (auto _ : state) {
    TBenchForm form;
    ReadFormText(form, text, "TBENCHFORM.DE", form.methods);
    benchmark::DoNotOptimize(form.ComponentCount());
  }
  state.counters["controls"] = 200;
}
BENCHMARK(BM_BuildFormOf200Controls)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
