#include <sstream>

#include "platform/app/Application.h"
#include "platform/app/Timer.h"
#include "platform/ui/DragDrop.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "X11Fixture.h"

namespace platform::test {
namespace {

using ::testing::HasSubstr;

// Where the peer's window and ours stand (no window manager places them).
constexpr TRect kOurWindow = {400, 100, 700, 300};

// A window of ours that takes drops: it answers copy over its whole area and writes down what a drop
// brings (the local files, the text).
class DropSink : public RecordingSink {
public:
  unsigned BackendDragOver(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) override {
    ++overs;
    formats = data.Formats();
    return refuse ? DROPEFFECT_NONE : DROPEFFECT_COPY;
  }
  void BackendDragLeave() override { ++leaves; }
  unsigned BackendDrop(IDataObject& data, TPoint client, unsigned keys, unsigned allowed) override {
    ++drops;
    files = LocalFilesOfUriList(data.GetData(kDragFiles).value_or(""), "");
    text = data.GetData(kClipboardText);
    if (throwOnDrop) throw Exception("the drop handler failed");
    return DROPEFFECT_COPY;
  }

  bool refuse = false;
  bool throwOnDrop = false;
  int overs = 0, leaves = 0, drops = 0;
  std::vector<std::string> formats;
  UriListFiles files;
  std::optional<std::string> text;
};

// A window of ours that starts a drag of text when pressed, follows the pointer and drops on release,
// as the framework's drag loop does.
class SourceSink : public RecordingSink {
public:
  SourceSink(std::unique_ptr<TBackend>& backend, std::string text) : backend_(backend), text_(std::move(text)) {}
  void BackendMouseDown(TMouseButtonKind, TPoint, unsigned) override {
    drag = backend_->BeginDrag(window, {{std::string(kClipboardText), text_}}, DROPEFFECT_COPY | DROPEFFECT_MOVE);
  }
  void BackendMouseMove(TPoint client, unsigned) override {
    if (!drag || dropped) return;
    const std::optional<unsigned> effect =
        drag->Move({kOurWindow.Left + client.X, kOurWindow.Top + client.Y}, MK_LBUTTON, DROPEFFECT_COPY);
    if (effect) lastEffect = *effect;
    overOwn = !effect;
  }
  void BackendMouseUp(TMouseButtonKind, TPoint, unsigned) override {
    if (!drag) return;
    dropped = true;
    drag->Drop();
  }

  TBackendWindow window{};
  std::unique_ptr<TBackendDrag> drag;
  bool dropped = false;
  bool overOwn = false;
  unsigned lastEffect = 0;

private:
  std::unique_ptr<TBackend>& backend_;
  std::string text_;
};

class X11DragDropTest : public X11Test {
protected:
  // Starts the peer and waits until it tells where its parts are.
  void StartPeer(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"/usr/bin/python3", GTK_DND_PEER};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    peer_ = std::make_unique<PeerProcess>(argv, Display());
    ASSERT_TRUE(PumpUntil([&] { return Count("ready ") >= Parts(arguments) || peer_->Ended(); }, 20000))
        << peer_->Output();
    ASSERT_FALSE(peer_->Ended()) << peer_->Output();
  }
  static size_t Parts(const std::vector<std::string>& arguments) {
    return arguments.front() == "target" ? 1 : arguments.size() - 1;
  }
  size_t Count(const std::string& prefix) const {
    size_t count = 0;
    std::istringstream lines(peer_->Output());
    for (std::string line; std::getline(lines, line);) count += line.rfind(prefix, 0) == 0;
    return count;
  }
  // The screen point of the peer's part of that name.
  TPoint PartAt(const std::string& name) const {
    std::istringstream lines(peer_->Output());
    for (std::string line; std::getline(lines, line);) {
      std::istringstream words(line);
      std::string ready, part;
      TPoint p;
      if (words >> ready >> part >> p.X >> p.Y && ready == "ready" && part == name) return p;
    }
    ADD_FAILURE() << "the peer has no part " << name << ": " << peer_->Output();
    return {};
  }
  // Presses at `from`, moves in steps to `to` and releases there, as a user's hand does, while the
  // loop serves the drag.
  void DragWithMouse(TPoint from, TPoint to) {
    const auto at = [](TPoint p) { return std::vector<std::string>{"mousemove", std::to_string(p.X), std::to_string(p.Y)}; };
    std::vector<std::string> argv{"xdotool"};
    const auto add = [&](std::vector<std::string> words) { argv.insert(argv.end(), words.begin(), words.end()); };
    add(at(from));
    add({"sleep", "0.2", "mousedown", "1", "sleep", "0.2"});
    for (int step = 1; step <= 4; ++step) {
      add(at({from.X + (to.X - from.X) * step / 4, from.Y + (to.Y - from.Y) * step / 4}));
      add({"sleep", "0.2"});
    }
    add(at({to.X + 3, to.Y + 3}));
    add({"sleep", "0.3", "mouseup", "1"});
    PeerProcess xdotool(argv, Display());
    ASSERT_TRUE(PumpUntil([&] { return xdotool.Ended(); }, 20000)) << "xdotool did not end";
    EXPECT_EQ(xdotool.ExitCode(), 0) << xdotool.Output();
  }
  // Presses at `from` and moves over `to`, leaving the button down.
  void PressAndMoveOver(TPoint from, TPoint to) {
    const auto p = [](int v) { return std::to_string(v); };
    RunPeer({"xdotool", "mousemove", p(from.X), p(from.Y), "sleep", "0.2", "mousedown", "1", "sleep", "0.2", "mousemove",
             p((from.X + to.X) / 2), p((from.Y + to.Y) / 2), "sleep", "0.2", "mousemove", p(to.X), p(to.Y), "sleep", "0.2",
             "mousemove", p(to.X + 3), p(to.Y + 3)},
            Display());
  }
  // A window of ours that takes drops.
  TBackendWindow ShowTarget() {
    const TBackendWindow window = backend_->CreateWindow(Params(), drop_);
    backend_->SetDropTarget(window, true);
    backend_->ShowWindow(window, true);
    TBitmap white(kOurWindow.Width(), kOurWindow.Height());
    backend_->Present(window, white, Rect(0, 0, kOurWindow.Width(), kOurWindow.Height()));
    PumpFor(200);
    return window;
  }
  static TBackendWindowParams Params() {
    TBackendWindowParams params;
    params.caption = "Velmora drops";
    params.bounds = kOurWindow;
    return params;
  }
  TPoint OurPoint() const { return {kOurWindow.Left + 100, kOurWindow.Top + 80}; }

  DropSink drop_;
  std::unique_ptr<PeerProcess> peer_;
};

TEST_F(X11DragDropTest, AFileAndTextFromAGtkSourceArriveAsOneLocalPathAndTheExactText) {
  const std::string path = "/tmp/Velmora Hosts/Grüße 100%.csv";
  const std::string text = "Zeile 1\tA\r\nZeile 2\tÄ€ \"quoted\"";
  ShowTarget();
  StartPeer({"source", "file:" + path, "text:" + text});

  DragWithMouse(PartAt("file"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return drop_.drops == 1 && Count("drag-end") == 1; }, 10000)) << peer_->Output();
  EXPECT_GT(drop_.overs, 0);
  EXPECT_THAT(drop_.formats, ::testing::Contains(std::string(kDragFiles)));
  EXPECT_EQ(drop_.files.Files, std::vector<std::string>{path});
  EXPECT_EQ(drop_.files.Skipped, 0u);
  EXPECT_THAT(peer_->Output(), HasSubstr("data-get text/uri-list"));
  EXPECT_THAT(peer_->Output(), HasSubstr("drag-end copy")) << "a dropped file is taken as a copy";

  DragWithMouse(PartAt("text"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return drop_.drops == 2 && Count("drag-end") == 2; }, 10000)) << peer_->Output();
  EXPECT_EQ(drop_.text, text);
  EXPECT_EQ(drop_.leaves, 0) << "a drop is no leave";
}

TEST_F(X11DragDropTest, ARefusingTargetGetsNoDropAndTheSourceHearsTheDragFailed) {
  drop_.refuse = true;
  ShowTarget();
  StartPeer({"source", "text:refused"});
  DragWithMouse(PartAt("text"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return Count("drag-end") == 1; }, 10000)) << peer_->Output();
  PumpFor(200);
  EXPECT_GT(drop_.overs, 0);
  EXPECT_EQ(drop_.drops, 0);
  EXPECT_EQ(drop_.leaves, 1);
  EXPECT_THAT(peer_->Output(), ::testing::Not(HasSubstr("data-get")));
}

TEST_F(X11DragDropTest, AnExceptionInTheDropFinishesTheProtocolFirst) {
  drop_.throwOnDrop = true;
  ShowTarget();
  StartPeer({"source", "text:boom"});
  std::string caught;
  try {
    DragWithMouse(PartAt("text"), OurPoint());
    PumpUntil([&] { return Count("drag-end") == 1; }, 10000);
  } catch (const Exception& e) {
    caught = e.Message();
  }
  // The exception leaves the loop's step (where the application's loop hands it to its hook); the
  // source was told before that the drop failed, so it ends its drag.
  EXPECT_EQ(caught, "the drop handler failed");
  ASSERT_TRUE(PumpUntil([&] { return Count("drag-end") == 1; }, 10000)) << peer_->Output();
  EXPECT_EQ(drop_.drops, 1);
  EXPECT_EQ(drop_.text, "boom");
}

TEST_F(X11DragDropTest, HostileDropsAreBoundedAndClear) {
  ShowTarget();
  StartPeer({"source", "uris:100000", "badtext", "huge:20"});

  DragWithMouse(PartAt("uris"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return drop_.drops == 1; }, 20000)) << peer_->Output();
  EXPECT_EQ(drop_.files.Files.size(), kMaxDroppedFiles) << "the list is cut, not taken whole";
  EXPECT_EQ(drop_.files.Skipped, 100001u - kMaxDroppedFiles);
  EXPECT_EQ(drop_.files.Files.front(), "/tmp/f1") << "entries of another host are left out";

  DragWithMouse(PartAt("badtext"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return drop_.drops == 2; }, 10000)) << peer_->Output();
  EXPECT_EQ(drop_.text, "ok \xC3\xBF\xC3\xBE end \xC3\x83") << "each malformed byte its Windows-1252 character, as a paste reads it";

  DragWithMouse(PartAt("huge"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return drop_.drops == 3; }, 30000)) << peer_->Output();
  EXPECT_FALSE(drop_.text.has_value()) << "a text beyond the limit is refused, not read whole; read "
                                       << drop_.text.value_or("").size() << " bytes";
}

TEST_F(X11DragDropTest, ASourceThatGoesMidDragEndsTheDragHere) {
  ShowTarget();
  StartPeer({"source", "text:gone"});
  PressAndMoveOver(PartAt("text"), OurPoint());
  ASSERT_TRUE(PumpUntil([&] { return drop_.overs > 0; }, 5000));
  peer_->Kill(SIGKILL);
  EXPECT_TRUE(PumpUntil([&] { return drop_.leaves == 1; }, 3000)) << "the drag did not end";
  RunPeer({"xdotool", "mouseup", "1"}, Display());
  PumpFor(200);
  EXPECT_EQ(drop_.drops, 0);
}

TEST_F(X11DragDropTest, OurTextDraggedOntoAGtkTextViewArrivesThere) {
  const std::string text = "Hallo Welt, Grüße €";
  SourceSink source(backend_, text);
  source.window = backend_->CreateWindow(Params(), source);
  backend_->ShowWindow(source.window, true);
  TBitmap white(kOurWindow.Width(), kOurWindow.Height());
  backend_->Present(source.window, white, Rect(0, 0, kOurWindow.Width(), kOurWindow.Height()));
  PumpFor(200);
  StartPeer({"target"});

  DragWithMouse(OurPoint(), PartAt("view"));
  ASSERT_TRUE(PumpUntil([&] { return source.dropped; })) << "the release was not heard";
  ASSERT_TRUE(source.drag) << "the press started no drag";
  EXPECT_EQ(source.lastEffect, DROPEFFECT_COPY) << "the text view accepted the copy";
  std::optional<unsigned> finished;
  ASSERT_TRUE(PumpUntil([&] { return (finished = source.drag->Finished()).has_value(); }, 10000));
  EXPECT_EQ(*finished, DROPEFFECT_COPY);
  ASSERT_TRUE(PumpUntil([&] { return Count("received") == 1; }, 10000)) << peer_->Output();
  EXPECT_THAT(peer_->Output(), HasSubstr("received 'Hallo Welt, Grüße €'"));
  source.drag.reset();
}

TEST_F(X11DragDropTest, OverOurOwnWindowTheDragStaysInTheProcess) {
  SourceSink source(backend_, "own");
  source.window = backend_->CreateWindow(Params(), source);
  backend_->ShowWindow(source.window, true);
  PumpFor(200);
  DragWithMouse(OurPoint(), {OurPoint().X + 50, OurPoint().Y});
  ASSERT_TRUE(PumpUntil([&] { return source.dropped; })) << "the release was not heard";
  ASSERT_TRUE(source.drag);
  EXPECT_TRUE(source.overOwn) << "our own window is the framework's to handle";
  source.drag.reset();
}

// The framework's drag on the X11 backend: between two forms of ours it stays in the process (the
// pointer grabbed, Escape taken from the keyboard), and over the GTK text view it speaks XDND.
class X11FormDragDropTest : public X11DragDropTest {
protected:
  // A target that takes the proposed effect and writes down its calls.
  class Target : public IDropTarget {
  public:
    void DragEnter(IDataObject& Data, DWORD KeyState, TPoint, DWORD& Effect) override {
      Effect = ProposedEffect(KeyState, Effect);
      calls.push_back("enter");
    }
    void DragOver(DWORD KeyState, TPoint, DWORD& Effect) override { Effect = ProposedEffect(KeyState, Effect); }
    void DragLeave() override { calls.push_back("leave"); }
    void Drop(IDataObject& Data, DWORD KeyState, TPoint, DWORD& Effect) override {
      Effect = ProposedEffect(KeyState, Effect);
      calls.push_back("drop " + Data.GetData(kClipboardText).value_or(""));
    }
    std::vector<std::string> calls;
  };

  void SetUp() override {
    X11DragDropTest::SetUp();
    SetBackend(std::move(backend_));
    sourceForm = MakeForm(kOurWindow);
    source = new TPanel(sourceForm.get());
    source->SetParent(sourceForm.get());
    source->SetBounds(0, 0, kOurWindow.Width(), kOurWindow.Height());
    data.SetData(kClipboardText, "Zelle A1\tZelle B1");
    source->OnMouseMove = [this](TObject*, TShiftState shift, int, int) {
      if (!shift.Contains(TShiftStateFlag::ssLeft) || DragDropActive() || outcome) return;
      IDropSource defaults;
      outcome = DoDragDrop(data, DROPEFFECT_COPY | DROPEFFECT_MOVE, defaults);
    };
    targetForm = MakeForm(Bounds(720, 100, 280, 200));
    auto* panel = new TPanel(targetForm.get());
    panel->SetParent(targetForm.get());
    panel->SetBounds(0, 0, 280, 200);
    RegisterDragDrop(*panel, target);
    PumpFor(300);
  }
  void TearDown() override {
    sourceForm.reset();
    targetForm.reset();
    Application().ProcessMessages();
    SetBackend(nullptr);
  }
  static std::unique_ptr<TForm> MakeForm(const TRect& bounds) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    form->Show();
    return form;
  }

  std::unique_ptr<TForm> sourceForm, targetForm;
  TPanel* source = nullptr;
  DataObject data;
  Target target;
  std::optional<DragOutcome> outcome;
};

TEST_F(X11FormDragDropTest, BetweenTwoFormsOfOursTheDragStaysInTheProcess) {
  DragWithMouse(OurPoint(), {800, 180});
  ASSERT_TRUE(PumpUntil([&] { return outcome.has_value(); }, 5000));
  EXPECT_EQ(outcome->Result, DragResult::Drop);
  EXPECT_EQ(outcome->Effect, DROPEFFECT_MOVE);
  EXPECT_EQ(target.calls, (std::vector<std::string>{"enter", "drop Zelle A1\tZelle B1"}));
}

TEST_F(X11FormDragDropTest, EscapeCancelsADragOverAnotherFormOfOurs) {
  const TPoint from = OurPoint();
  PeerProcess xdotool({"xdotool", "mousemove", std::to_string(from.X), std::to_string(from.Y), "sleep", "0.2",
                       "mousedown", "1", "sleep", "0.2", "mousemove", "600", "180", "sleep", "0.2", "mousemove", "800",
                       "180", "sleep", "0.3", "key", "Escape", "sleep", "0.3", "mouseup", "1"},
                      Display());
  ASSERT_TRUE(PumpUntil([&] { return xdotool.Ended() && outcome.has_value(); }, 10000));
  EXPECT_EQ(outcome->Result, DragResult::Cancel);
  EXPECT_EQ(target.calls, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(X11FormDragDropTest, ATargetThatGoesMidDragLeavesTheDropWithoutEffectInTime) {
  StartPeer({"target"});
  const TPoint view = PartAt("view");
  const auto p = [](int v) { return std::to_string(v); };
  PeerProcess hand({"xdotool", "mousemove", p(OurPoint().X), p(OurPoint().Y), "sleep", "0.2", "mousedown", "1",
                    "sleep", "0.2", "mousemove", "300", "180", "sleep", "0.2", "mousemove", p(view.X), p(view.Y),
                    "sleep", "0.2", "mousemove", p(view.X + 3), p(view.Y + 3), "sleep", "2", "mouseup", "1"},
                   Display());
  // The drag's loop runs until the release: the peer is killed from a timer of the loop, while the
  // pointer is over its window.
  TTimer kill(nullptr);
  kill.SetInterval(1500);
  int64_t killedAt = 0;
  kill.OnTimer = [&](TObject*) {
    kill.SetEnabled(false);
    peer_->Kill(SIGKILL);
    killedAt = MonotonicMs();
  };
  ASSERT_TRUE(PumpUntil([&] { return outcome.has_value(); }, 15000)) << "the drag did not end";
  EXPECT_NE(killedAt, 0);
  EXPECT_LT(MonotonicMs() - killedAt, 8000);
  EXPECT_EQ(outcome->Result, DragResult::Cancel);
  EXPECT_EQ(outcome->Effect, DROPEFFECT_NONE);
}

// Under a window manager (openbox) both sides find the other's client window inside its frame.
TEST_F(X11FormDragDropTest, UnderAWindowManagerTheFramesAreLookedThrough) {
  const std::unique_ptr<PeerProcess> manager = StartOpenbox(Display());
  PumpFor(300);
  StartPeer({"target"});
  DragWithMouse({sourceForm->Left() + 50, sourceForm->Top() + 50}, PartAt("view"));
  ASSERT_TRUE(PumpUntil([&] { return outcome.has_value(); }, 10000));
  EXPECT_EQ(outcome->Result, DragResult::Drop);
  ASSERT_TRUE(PumpUntil([&] { return Count("received") == 1; }, 10000)) << peer_->Output();

  // The other way: a file from the GTK source onto the framework's target on the second form.
  peer_.reset();
  StartPeer({"source", "file:/tmp/framed.csv"});
  DragWithMouse(PartAt("file"), {targetForm->Left() + 100, targetForm->Top() + 80});
  ASSERT_TRUE(PumpUntil([&] { return target.calls.size() >= 2; }, 10000)) << peer_->Output();
  EXPECT_EQ(target.calls.front(), "enter");
  EXPECT_EQ(target.calls.back(), "drop ") << "a file, no text";
}

TEST_F(X11FormDragDropTest, OverAGtkTextViewTheDragSpeaksXdnd) {
  StartPeer({"target"});
  DragWithMouse(OurPoint(), PartAt("view"));
  ASSERT_TRUE(PumpUntil([&] { return outcome.has_value(); }, 10000));
  EXPECT_EQ(outcome->Result, DragResult::Drop);
  EXPECT_EQ(outcome->Effect, DROPEFFECT_MOVE) << "the text view did what was proposed without Ctrl";
  ASSERT_TRUE(PumpUntil([&] { return Count("received") == 1; }, 10000)) << peer_->Output();
  EXPECT_THAT(peer_->Output(), HasSubstr("received 'Zelle A1\\tZelle B1'"));
  EXPECT_TRUE(target.calls.empty());
}

}  // namespace
}  // namespace platform::test
