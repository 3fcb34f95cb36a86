// Key presses in edits that hold large texts, each followed by the repaint that it causes, on the
// headless backend: a character typed and taken back with Backspace, and the caret moved right and left,
// in an edit with one line of 10 MB (caret at its end), a memo of a million lines (caret in the middle)
// and a rich edit of 10 MB of text (caret at its end, and in its middle for RichEditTypingMiddle). Each
// should stay under a frame (16 ms per key), whatever the size of the text. RichEditMemory reports the
// rich edit's own memory for 10 MB of text as a multiple of the text's size.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <string>

#include "platform/app/Application.h"
#include "platform/edits/Edit.h"
#include "platform/edits/Memo.h"
#include "platform/edits/RichEdit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/VirtualKeys.h"

namespace {

using namespace platform;

constexpr size_t kTenMegabytes = 10 * 1000 * 1000;

std::string Words(size_t bytes) {
  std::string text;
  text.reserve(bytes);
  while (text.size() < bytes) text += "lorem ipsum dolor ";
  text.resize(bytes);
  return text;
}

std::string MillionLines() {
  std::string text;
  for (int i = 0; i < 1000000; ++i) text += "line " + std::to_string(i) + " of the memo\r\n";
  text.resize(text.size() - 2);
  return text;
}

// A shown form with the control, focused, its text set and its caret placed.
template <class Control>
struct Shown {
  explicit Shown(const std::string& text, bool caretAtEnd) {
    SetBackend(std::make_unique<THeadlessBackend>());
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    control = new Control(form.get());
    control->SetParent(form.get());
    control->SetBounds(8, 8, 380, 280);
    control->SetText(text);
    form->Show();
    control->SetFocus();
    control->SetSelStart(caretAtEnd ? static_cast<int>(text.size()) : static_cast<int>(text.size() / 2));
    Application().ProcessMessages();
    form->Update();
  }
  void Key(WORD key) {
    control->Perform(WM_KEYDOWN, key, 0);
    form->Update();
  }
  void Char(char32_t c) {
    control->Perform(WM_CHAR, c, 0);
    form->Update();
  }

  std::unique_ptr<TForm> form;
  Control* control = nullptr;
};

template <class Control>
void Typing(benchmark::State& state, const std::string& text, bool caretAtEnd) {
  Shown<Control> shown(text, caretAtEnd);
  for (auto _ : state) {
    shown.Char('x');
    shown.Char(0x08);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

template <class Control>
void CaretMoves(benchmark::State& state, const std::string& text, bool caretAtEnd) {
  Shown<Control> shown(text, caretAtEnd);
  for (auto _ : state) {
    shown.Key(VK_LEFT);
    shown.Key(VK_RIGHT);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

// The bytes the process holds from the allocator.
size_t AllocatedBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// After the text is set, laid out and painted, and after 100 characters typed at its end (each one
// repainted); the form and the backend around the edit count too, a few hundred kilobytes.
void RichEditMemory(benchmark::State& state) {
  const std::string text = Words(kTenMegabytes);
  for (auto _ : state) {
    const size_t before = AllocatedBytes();
    Shown<TRichEdit> shown(text, true);
    const size_t set = AllocatedBytes();
    for (int i = 0; i < 100; ++i) shown.Char('x');
    const size_t typed = AllocatedBytes();
    state.counters["set_per_text_byte"] = static_cast<double>(set - before) / static_cast<double>(text.size());
    state.counters["typed_per_text_byte"] = static_cast<double>(typed - before) / static_cast<double>(text.size());
  }
}

void EditLineTyping(benchmark::State& state) { Typing<TEdit>(state, Words(kTenMegabytes), true); }
void EditLineCaret(benchmark::State& state) { CaretMoves<TEdit>(state, Words(kTenMegabytes), true); }
void MemoTyping(benchmark::State& state) { Typing<TMemo>(state, MillionLines(), false); }
void MemoCaret(benchmark::State& state) { CaretMoves<TMemo>(state, MillionLines(), false); }
void RichEditTyping(benchmark::State& state) { Typing<TRichEdit>(state, Words(kTenMegabytes), true); }
void RichEditTypingMiddle(benchmark::State& state) { Typing<TRichEdit>(state, Words(kTenMegabytes), false); }
void RichEditCaret(benchmark::State& state) { CaretMoves<TRichEdit>(state, Words(kTenMegabytes), true); }

BENCHMARK(EditLineTyping)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(EditLineCaret)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(MemoTyping)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(MemoCaret)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(RichEditTyping)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RichEditTypingMiddle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RichEditCaret)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(RichEditMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
