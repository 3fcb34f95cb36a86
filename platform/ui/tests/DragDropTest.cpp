#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/gfx/Png.h"
#include "platform/ui/DragCursors.h"
#include "platform/ui/DragDrop.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

std::string EffectName(DWORD effect) {
  switch (effect) {
    case DROPEFFECT_NONE: return "none";
    case DROPEFFECT_COPY: return "copy";
    case DROPEFFECT_MOVE: return "move";
    case DROPEFFECT_LINK: return "link";
    default: return "effects " + std::to_string(effect);
  }
}

// A target that writes down every call it gets and answers with the source's proposal (copy with Ctrl,
// else move), or refuses.
class RecordingTarget : public IDropTarget {
public:
  RecordingTarget(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

  void DragEnter(IDataObject& Data, DWORD KeyState, TPoint Pt, DWORD& Effect) override {
    Effect = Answer(KeyState, Effect);
    log_.push_back(name_ + " enter " + EffectName(Effect));
  }
  void DragOver(DWORD KeyState, TPoint Pt, DWORD& Effect) override {
    Effect = Answer(KeyState, Effect);
    log_.push_back(name_ + " over " + EffectName(Effect));
  }
  void DragLeave() override { log_.push_back(name_ + " leave"); }
  void Drop(IDataObject& Data, DWORD KeyState, TPoint Pt, DWORD& Effect) override {
    if (throwOnDrop) throw Exception("the drop handler failed");
    Effect = Answer(KeyState, Effect);
    dropped = Data.GetData(kClipboardText).value_or("(no text)");
    log_.push_back(name_ + " drop " + EffectName(Effect) + " \"" + dropped + "\"");
  }

  bool refuse = false;
  bool throwOnDrop = false;
  std::string dropped;

private:
  DWORD Answer(DWORD keys, DWORD allowed) const {
    if (refuse) return DROPEFFECT_NONE;
    return ProposedEffect(keys, allowed);
  }

  std::string name_;
  std::vector<std::string>& log_;
};

// A source that records the feedback it hears, with the cursor that shows meanwhile.
class RecordingSource : public IDropSource {
public:
  explicit RecordingSource(std::vector<std::string>& log) : log_(log) {}
  DragFeedback GiveFeedback(DWORD Effect) override {
    log_.push_back("feedback " + EffectName(Effect));
    return DragFeedback::UseDefaultCursors;
  }

private:
  std::vector<std::string>& log_;
};

class DragDropTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(400, 200);
    source = MakePanel(*form, 10);
    left = MakePanel(*form, 140);
    right = MakePanel(*form, 270);
    data.SetData(kClipboardText, "Zeile 1\tA\r\nZeile 2\tB");
    data.SetData("Grid Column", std::string("\x03\0\0\0", 4));
    // A press on the source and a move start the drag, as the grid's mouse handling does.
    source->OnMouseMove = [this](TObject*, TShiftState shift, int, int) {
      if (!shift.Contains(TShiftStateFlag::ssLeft) || DragDropActive() || started) return;
      started = true;
      outcome = DoDragDrop(data, DROPEFFECT_COPY | DROPEFFECT_MOVE, dropSource);
      log.push_back("result " + std::string(outcome.Result == DragResult::Drop ? "drop " : "cancel ") +
                    EffectName(outcome.Effect));
    };
  }
  void TearDown() override {
    if (left) RevokeDragDrop(*left);
    if (right) RevokeDragDrop(*right);
    FormTest::TearDown();
  }

  TPanel* MakePanel(TWinControl& parent, int x) {
    auto* panel = new TPanel(&parent);
    panel->SetParent(&parent);
    panel->SetBounds(x, 10, 120, 120);
    return panel;
  }

  // Press on the source and move a little: the drag starts.
  void StartDrag(unsigned shift = 0) {
    Input().MouseMove(At(*source, 20, 20));
    Input().MouseDown(TMouseButtonKind::Left, At(*source, 20, 20), shift);
    Input().MouseMove(At(*source, 30, 30), bsLeft | shift);
  }

  TBackendCursor Cursor() const { return HeadlessBackend().Info(form->BackendWindow()).cursor; }

  std::unique_ptr<TForm> form;
  TPanel* source = nullptr;
  TPanel* left = nullptr;
  TPanel* right = nullptr;
  DataObject data;
  std::vector<std::string> log;
  RecordingSource dropSource{log};
  RecordingTarget leftTarget{"left", log};
  RecordingTarget rightTarget{"right", log};
  bool started = false;
  DragOutcome outcome;
};

TEST_F(DragDropTest, AMoveBetweenTwoControlsOfOneFormCallsEnterOverLeaveAndDropInOrder) {
  ASSERT_TRUE(RegisterDragDrop(*left, leftTarget));
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  EXPECT_FALSE(RegisterDragDrop(*left, rightTarget)) << "one target per control";
  StartDrag();
  std::vector<TBackendCursor> cursors;
  const auto cursor = [&] { Input().Run([&] { cursors.push_back(Cursor()); }); };
  cursor();
  Input().MouseMove(At(*left, 10, 10), bsLeft);
  cursor();
  Input().MouseMove(At(*left, 20, 10), bsLeft);
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, At(*right, 30, 30));
  Settle();

  const std::vector<std::string> expected{
      "feedback none",      "left enter move",  "feedback move",  "left over move", "feedback move",
      "left leave",         "right enter move", "feedback move",  "right drop move \"Zeile 1\tA\r\nZeile 2\tB\"",
      "result drop move",
  };
  EXPECT_EQ(log, expected);
  EXPECT_EQ(outcome.Result, DragResult::Drop);
  EXPECT_EQ(outcome.Effect, DROPEFFECT_MOVE);
  EXPECT_EQ(cursors, (std::vector{TBackendCursor::NoDrop, TBackendCursor::DragMove})) << "over the source, over a target";
  EXPECT_EQ(HeadlessBackend().CaptureWindow(), TBackendWindow{}) << "the capture ends with the drag";
  EXPECT_FALSE(DragDropActive());
}

TEST_F(DragDropTest, CtrlMakesACopyAndShowsTheCopyCursorAtOnceWithoutAMove) {
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  StartDrag();
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  std::vector<TBackendCursor> cursors;
  Input().Run([&] { cursors.push_back(Cursor()); });
  Input().KeyDown(VK_CONTROL, bsCtrl | bsLeft);
  Input().Run([&] { cursors.push_back(Cursor()); });
  Input().MouseUp(TMouseButtonKind::Left, At(*right, 30, 30), bsCtrl);
  Settle();
  EXPECT_EQ(cursors, (std::vector{TBackendCursor::DragMove, TBackendCursor::DragCopy}));
  EXPECT_EQ(outcome.Result, DragResult::Drop);
  EXPECT_EQ(outcome.Effect, DROPEFFECT_COPY);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[log.size() - 2], "right drop copy \"Zeile 1\tA\r\nZeile 2\tB\"");
}

TEST_F(DragDropTest, EscapeCancelsAndTheTargetUnderThePointerHearsItLeft) {
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  StartDrag();
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  Input().PressKey(VK_ESCAPE);
  // The release after the cancel is an ordinary one again: nothing drops.
  Input().MouseUp(TMouseButtonKind::Left, At(*right, 30, 30));
  Settle();
  const std::vector<std::string> expected{"feedback none", "right enter move", "feedback move", "right leave",
                                          "result cancel none"};
  EXPECT_EQ(log, expected);
  EXPECT_TRUE(rightTarget.dropped.empty());
  EXPECT_EQ(outcome.Result, DragResult::Cancel);
}

TEST_F(DragDropTest, ARefusingTargetGetsNoDropAndTheNoDropCursorShows) {
  rightTarget.refuse = true;
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  StartDrag();
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  TBackendCursor shown = TBackendCursor::Arrow;
  Input().Run([&] { shown = Cursor(); });
  Input().MouseUp(TMouseButtonKind::Left, At(*right, 30, 30));
  Settle();
  EXPECT_EQ(shown, TBackendCursor::NoDrop);
  const std::vector<std::string> expected{"feedback none", "right enter none", "feedback none", "right leave",
                                          "result cancel none"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(outcome.Effect, DROPEFFECT_NONE);
}

TEST_F(DragDropTest, ADragBetweenTwoFormsDropsOnTheOtherForm) {
  auto other = std::make_unique<TForm>(nullptr);
  other->SetBounds(600, 100, 200, 150);
  other->Show();
  Settle();
  TPanel* far = MakePanel(*other, 20);
  RecordingTarget farTarget{"far", log};
  ASSERT_TRUE(RegisterDragDrop(*far, farTarget));
  form->Perform(WM_ACTIVATE, WA_ACTIVE);
  StartDrag();
  Input().MouseMove(At(*far, 5, 5), bsLeft);
  Input().MouseMove(At(*far, 6, 6), bsLeft | bsCtrl);
  Input().MouseUp(TMouseButtonKind::Left, At(*far, 6, 6), bsCtrl);
  Settle();
  const std::vector<std::string> expected{"feedback none", "far enter move", "feedback move", "far over copy",
                                          "feedback copy", "far drop copy \"Zeile 1\tA\r\nZeile 2\tB\"",
                                          "result drop copy"};
  EXPECT_EQ(log, expected);
  RevokeDragDrop(*far);
}

TEST_F(DragDropTest, ARevokedOrDestroyedTargetTakesNothing) {
  ASSERT_TRUE(RegisterDragDrop(*left, leftTarget));
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  RevokeDragDrop(*left);
  EXPECT_EQ(RegisteredDropTarget(*left), nullptr);
  StartDrag();
  Input().MouseMove(At(*left, 30, 30), bsLeft);
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  // The target goes while the pointer is over it: no call reaches it any more.
  Input().Run([&] {
    delete right;
    right = nullptr;
  });
  Input().MouseMove(At(*source, 31, 30), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, At(*source, 31, 30));
  Settle();
  const std::vector<std::string> expected{"feedback none", "feedback none", "right enter move", "feedback move",
                                          "feedback none", "result cancel none"};
  EXPECT_EQ(log, expected);
}

TEST_F(DragDropTest, AnExceptionInTheDropEndsTheDragFirstAndThenReachesTheExceptionHook) {
  rightTarget.throwOnDrop = true;
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  std::vector<std::string> hook;
  Application().OnException = [&](const Exception& E) {
    hook.push_back(E.Message() + (DragDropActive() ? " during the drag" : " after the drag") +
                   (HeadlessBackend().CaptureWindow() == TBackendWindow{} ? ", capture released" : ", captured"));
  };
  StartDrag();
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, At(*right, 30, 30));
  Settle();
  Application().OnException = nullptr;
  EXPECT_EQ(hook, (std::vector<std::string>{"the drop handler failed after the drag, capture released"}));
  EXPECT_FALSE(DragDropActive());
}

TEST_F(DragDropTest, OnlyLocalFileUrisBecomeFilesPercentDecoded) {
  const std::string list =
      "# a comment\r\n"
      "file:///tmp/data%20set.csv\r\n"
      "file://localhost/home/u/Gr%C3%BC%C3%9Fe.txt\r\n"
      "file://thishost/etc/hosts\r\n"
      "file://elsewhere/etc/passwd\r\n"
      "http://example.org/a.csv\r\n"
      "file:///bad%zzname\r\n"
      "file:///nul%00byte\r\n"
      "file:/short/form\n"
      "\r\n";
  const UriListFiles files = LocalFilesOfUriList(list, "thishost");
  EXPECT_EQ(files.Files, (std::vector<std::string>{"/tmp/data set.csv", "/home/u/Grüße.txt", "/etc/hosts",
                                                   "/short/form"}));
  EXPECT_EQ(files.Skipped, 4u);
  EXPECT_EQ(LocalFilesOfUriList(UriListOfFiles({"/tmp/a b%c.csv", "/x/Grüße"}), "").Files,
            (std::vector<std::string>{"/tmp/a b%c.csv", "/x/Grüße"}));
}

TEST_F(DragDropTest, AHugeUriListIsBounded) {
  std::string list;
  for (int i = 0; i < 100000; ++i) list += "file:///tmp/f" + std::to_string(i) + "\r\n";
  const UriListFiles files = LocalFilesOfUriList(list, "");
  EXPECT_EQ(files.Files.size(), kMaxDroppedFiles);
  EXPECT_EQ(files.Skipped, 100000u - kMaxDroppedFiles);
  EXPECT_EQ(files.Files.back(), "/tmp/f" + std::to_string(kMaxDroppedFiles - 1));
}

TEST_F(DragDropTest, AFileDropIsAlwaysACopy) {
  ASSERT_TRUE(RegisterDragDrop(*right, rightTarget));
  data.SetData(kDragFiles, UriListOfFiles({"/tmp/hosts.csv"}));
  StartDrag();
  Input().MouseMove(At(*right, 30, 30), bsLeft);
  Input().MouseUp(TMouseButtonKind::Left, At(*right, 30, 30));
  Settle();
  EXPECT_EQ(outcome.Effect, DROPEFFECT_COPY) << "no Ctrl, yet a copy";
}

// The three drag cursors side by side, four times their size on a grey ground (the hot spot red), as
// artefacts/ui/DragCursors.png for people to look at; each keeps its hot spot on a drawn pixel.
TEST(DragCursorsTest, TheDragCursorsArePicturesOfTheirOwnWithTheHotSpotOnThem) {
  constexpr int scale = 4, cell = 32 * scale + 8;
  TBitmap sheet(3 * cell, cell);
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) sheet.ScanLine(y)[x] = 0xFF808080;
  int index = 0;
  for (TBackendCursor cursor : {TBackendCursor::DragMove, TBackendCursor::DragCopy, TBackendCursor::NoDrop}) {
    const std::optional<CursorImage> image = DragCursorImage(cursor);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->rows.size(), 32u);
    for (const std::string& row : image->rows) ASSERT_EQ(row.size(), 32u);
    EXPECT_NE(image->rows[static_cast<size_t>(image->hotY)][static_cast<size_t>(image->hotX)], ' ');
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const char c = image->rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
        if (c == ' ') continue;
        const bool hot = x == image->hotX && y == image->hotY;
        const uint32_t colour = hot ? 0xFFFF0000 : c == '#' ? 0xFF000000 : 0xFFFFFFFF;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx) sheet.ScanLine(4 + y * scale + dy)[index * cell + 4 + x * scale + dx] = colour;
      }
    ++index;
  }
  EXPECT_FALSE(DragCursorImage(TBackendCursor::Arrow)) << "the other shapes are the backend's own";
  EXPECT_NE(DragCursorImage(TBackendCursor::DragMove)->rows, DragCursorImage(TBackendCursor::DragCopy)->rows);
  std::filesystem::create_directories(UI_ARTEFACTS);
  SavePngFile(sheet, std::string(UI_ARTEFACTS) + "/DragCursors.png");
}

}  // namespace
}  // namespace platform
