// Editing the host grid as a person does: the editors of each column, the browsers behind the ellipsis
// buttons, the window-mode list, the switch cells, rows inserted and removed, hints, the splitter and a
// script opened in the text editor.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "configurator/ConfWindowTexts.h"
#include "configurator/HostListFile.h"
#include "configurator/tests/ConfTypingFixture.h"
#include "grid/DovAdizEditors.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/ShellApi.h"
#include "platform/shell/tests/RecordingLauncher.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Menus.h"
#include "platform/ui/MenuWindows.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using platform::VK_DELETE;
using platform::VK_ESCAPE;
using platform::VK_F4;
using platform::VK_INSERT;
using platform::VK_RETURN;

const std::string kOn = SwitchCellText(true), kOff = SwitchCellText(false);

class GridEditingTest : public ConfTypingTest {};

// Columns 0 to 2 edit in an edit with an ellipsis button, column 3 in a list of the interface
// language's window modes; the switch and state columns open no editor.
TEST_F(GridEditingTest, EachColumnGetsItsEditor) {
  for (const char* language : {"DE", "ENG"}) {
    SCOPED_TRACE(language);
    Start(language);
    for (int col = 0; col < 3; ++col) {
      EditCell(col, 1);
      EXPECT_NE(Focused<velmora::TGridEditBtn>(), nullptr) << "column " << col;
      Press(VK_ESCAPE);
    }
    EditCell(3, 1);
    auto* combo = Focused<velmora::TGridCombo>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Items().Text(), std::string(language) == "DE" ? "verborgen\r\nmaximiert\r\nminimiert\r\nnormal\r\n"
                                                                     : "hide\r\nmaximize\r\nminimize\r\nnormal\r\n");
    EXPECT_EQ(combo->Text(), "normal");
    Press(VK_ESCAPE);
    for (int col = 4; col < 8; ++col) {
      EditCell(col, 1);
      EXPECT_TRUE(!Grid().EditActive() || Grid().Col() < 4) << "column " << col;
      if (Grid().EditActive()) Press(VK_ESCAPE);
    }
    EXPECT_FALSE(SaveMarked());
    Stop();
  }
}

// The host column's button asks for a computer of the network, the command columns' buttons for a
// command file that starts in the cell's folder, or in the scripts folder beside the programs; a
// cancel leaves the text and marks nothing.
TEST_F(GridEditingTest, TheEllipsisBrowsersFillTheCellAndTheirCancelsLeaveIt) {
  WriteIni("[Hosts]\r\nrouter=\r\n[RunOnConnected]\r\nrouter=/opt/v/scripts/up.sh\r\n");
  Start();
  const std::string down = platform::ExeDir() + "scripts/notify-down.sh";
  struct Case {
    int col;
    bool cancel;
    std::string chosen;  // the browser's answer
    std::string cell;    // the cell afterwards
  } cases[] = {
      {0, true, "", "router"},
      {0, false, "printer", "printer"},
      {1, true, "", ""},
      {1, false, down, down},
      {2, true, "", "/opt/v/scripts/up.sh"},
      {2, false, "/opt/v/scripts/up2.sh", "/opt/v/scripts/up2.sh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "column " << c.col << (c.cancel ? " cancelled" : " chosen"));
    const bool markedBefore = SaveMarked();
    const std::string before = Grid().Cells(c.col, 1);
    if (c.cancel) dialogs_.AnswerCancel();
    else if (c.col == 0) dialogs_.AnswerFolder("", c.chosen);
    else dialogs_.AnswerFile(c.chosen);
    EditCell(c.col, 1);
    Press(VK_F4);
    Press(VK_RETURN);
    EXPECT_EQ(Grid().Cells(c.col, 1), c.cell);
    EXPECT_EQ(SaveMarked(), markedBefore || !c.cancel);
    if (c.col > 0) {
      const platform::TFileDialogRequest& asked = dialogs_.FileDialogs().back();
      EXPECT_EQ(asked.Title, "Ausführbare Dateien suchen");
      EXPECT_THAT(asked.Filter, ::testing::StartsWith("Ausführbare Dateien|*.bat;*.cmd;*.exe;*.sh|"));
      EXPECT_EQ(asked.DefaultExt, "bat");
      EXPECT_EQ(asked.FileName, before);
      EXPECT_EQ(asked.InitialDir, before.empty() ? platform::ExeDir() + "scripts" : "/opt/v/scripts/");
    }
  }
  ASSERT_EQ(dialogs_.FolderDialogs().size(), 2u);
  EXPECT_EQ(dialogs_.FolderDialogs()[0].Title, "Browse for Computer");
  EXPECT_EQ(dialogs_.FolderDialogs()[0].Root, platform::CSIDL_NETWORK);
  EXPECT_EQ(dialogs_.FolderDialogs()[0].Flags, 0x3000u);
  EXPECT_EQ(dialogs_.Unanswered(), 0u);
}

// A window mode chosen in the list is in the cell at once, before the editor closes.
TEST_F(GridEditingTest, AChosenWindowModeGoesIntoTheCellAtOnce) {
  Start();
  EditCell(3, 1);
  ASSERT_NE(Focused<velmora::TGridCombo>(), nullptr);
  EXPECT_TRUE(Focused<velmora::TGridCombo>()->DroppedDown());
  Press(platform::VK_UP);
  EXPECT_EQ(Grid().Cells(3, 1), "minimiert");
  EXPECT_TRUE(SaveMarked());
  Press(VK_RETURN);
  EXPECT_EQ(Grid().Cells(3, 1), "minimiert");
}

// An edit marks the list as changed when it changes the text, a cleared cell included; an editor closed
// with its text as it was marks nothing.
TEST_F(GridEditingTest, OnlyAnEditThatChangesTheTextMarksTheList) {
  WriteIni("[Hosts]\r\nrouter=\r\n[RunOnConnected]\r\nrouter=up.sh\r\n");
  const struct {
    int col;
    int backspaces;
    std::string typed;
    std::string cell;
    bool marked;
  } cases[] = {
      {0, 0, "", "router", false},
      {0, 1, "r", "router", false},
      {0, 0, "2", "router2", true},
      {2, 5, "", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cell);
    Start();
    EditCell(c.col, 1);
    Press(platform::VK_END);
    for (int i = 0; i < c.backspaces; ++i) Press(platform::VK_BACK);
    Type(c.typed);
    Press(VK_RETURN);
    EXPECT_EQ(Grid().Cells(c.col, 1), c.cell);
    EXPECT_EQ(SaveMarked(), c.marked);
    Stop();
  }
}

// A command with redirections looks like markup; the editor shows it as it stands, so an edit and a
// save keep every character.
TEST_F(GridEditingTest, ACommandWithAngleBracketsSurvivesAnEditAndASave) {
  WriteIni("[Hosts]\r\nrouter=\r\n[RunOnConnected]\r\nrouter=up.sh\r\n");
  Start();
  const std::string command = "sort <in.txt >out.txt";
  EditCell(1, 1);
  Type(command);
  Press(VK_RETURN);
  EditCell(1, 1);
  EXPECT_EQ(Focused<velmora::TGridEditBtn>()->Text(), command);
  Press(platform::VK_END);
  Type(" ");
  Press(platform::VK_BACK);
  Press(VK_RETURN);
  EXPECT_EQ(Grid().Cells(1, 1), command);
  dialogs_.AnswerMessage(platform::mbNo);  // no service runs: it is not started
  Input().Click(At(*form_->btnSave, 20, 20));
  Settle();
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_EQ(dialogs_.Messages()[0].Text, "Soll der Dienst nun gestartet werden ?");
  EXPECT_THAT(Ini(), HasSubstr("[RunOnDisconnected]\r\nrouter=" + command + "\r\n"));
  EXPECT_EQ(ReadHostEntries(IniPath()).at(0).runOnDisconnected, command);
}

// A click on a data row's switch turns it over (a cell holding neither image becomes off); the header
// and the other columns do nothing.
TEST_F(GridEditingTest, AClickTurnsASwitchOverAndTheHeaderStaysAsItIs) {
  Start();
  const std::string header4 = Grid().Cells(4, 0);
  Grid().SetCells(5, 1, kOff);
  const struct {
    int col, row;
    std::string before, after;
    bool marked;
  } cases[] = {
      {4, 0, header4, header4, false},
      {5, 0, Grid().Cells(5, 0), Grid().Cells(5, 0), false},
      {3, 1, "normal", "normal", false},
      {4, 1, kOn, kOff, true},
      {4, 1, kOff, kOn, true},
      {5, 1, kOff, kOn, true},
      {5, 1, "?", kOff, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.col << "," << c.row << " " << c.before);
    if (c.row > 0) Grid().SetCells(c.col, c.row, c.before);
    form_->btnSave->SetEnabled(false);
    form_->Speichern1->SetEnabled(false);
    ClickCell(c.col, c.row);
    if (Grid().EditActive()) Press(VK_ESCAPE);
    EXPECT_EQ(Grid().Cells(c.col, c.row), c.after);
    EXPECT_EQ(SaveMarked(), c.marked);
  }
  // The centred headers of the switch and state columns.
  for (int col = 0; col < 8; ++col) {
    platform::TAlignment align = platform::TAlignment::taLeftJustify;
    velmora::TVAlignment valign{};
    form_->GridGetAlignment(&Grid(), 0, col, align, valign);
    EXPECT_EQ(align, col >= 4 ? platform::TAlignment::taCenter : platform::TAlignment::taLeftJustify) << col;
    form_->GridGetAlignment(&Grid(), 1, col, align = platform::TAlignment::taLeftJustify, valign);
    EXPECT_EQ(align, platform::TAlignment::taLeftJustify) << col;
  }
}

// What a row change leaves: the rows, the current row and the states of Remove and Save.
struct RowsState {
  std::vector<std::vector<std::string>> rows;
  int current = 0;
  bool removeEnabled = false, saveMarked = false;
  bool operator==(const RowsState&) const = default;
};

class RowChangeTest : public GridEditingTest, public ::testing::WithParamInterface<bool> {
protected:
  bool ByKey() const { return GetParam(); }
  RowsState State() {
    RowsState state{{}, Grid().Row(), form_->btnRemove->Enabled() && form_->entf->Enabled(), SaveMarked()};
    EXPECT_EQ(form_->btnRemove->Enabled(), form_->entf->Enabled());
    for (int row = 1; row < Grid().RowCount(); ++row) state.rows.push_back(RowCells(row));
    return state;
  }
  void Insert() {
    if (ByKey()) {
      Grid().SetFocus();
      Grid().SetRow(Grid().RowCount() - 1);
      Press(VK_INSERT);
    } else {
      Input().Click(At(*form_->btnInsert, 20, 20));
      Settle();
    }
  }
  void Remove(int row) {
    Grid().SetFocus();
    Grid().SetRow(row);
    Settle();
    if (ByKey()) {
      Press(VK_DELETE);
    } else {
      Input().Click(At(*form_->btnRemove, 20, 20));
      Settle();
    }
  }
};

// The button and the grid's key give the same rows and button states: a fresh row at the end with
// "normal" and both switches on, which marks nothing; removing down to one row disables Remove and
// turns that row's switches on; the last row is emptied rather than removed.
TEST_P(RowChangeTest, InsertAndRemoveByButtonAndByKeyAgree) {
  WriteIni("[Hosts]\r\na=\r\nb=\r\nc=\r\n[RunOnConnected]\r\na=1.sh\r\nb=2.sh\r\nc=3.sh\r\n"
           "[Show]\r\na=0\r\n[Enabled]\r\nb=0\r\nc=0\r\n[WaitForStatusChange]\r\nc=0\r\n");
  Start();
  const std::vector<std::string> fresh{"", "", "", "normal", kOn, kOn};
  const std::vector<std::string> a{"a", "", "1.sh", "verborgen", kOn, kOn}, b{"b", "", "2.sh", "normal", kOff, kOn},
      c{"c", "", "3.sh", "normal", kOff, kOff};
  Insert();
  EXPECT_EQ(State(), (RowsState{{a, b, c, fresh}, 4, true, false}));
  Remove(4);
  EXPECT_EQ(State(), (RowsState{{a, b, c}, 3, true, true}));
  Remove(1);
  EXPECT_EQ(State(), (RowsState{{b, c}, 1, true, true}));
  Remove(2);
  EXPECT_EQ(State(), (RowsState{{{"b", "", "2.sh", "normal", kOn, kOn}}, 1, false, true}));
  // The one row left: the key empties it, the disabled button does nothing.
  Remove(1);
  if (ByKey())
    EXPECT_EQ(State(), (RowsState{{fresh}, 1, false, true}));
  else
    EXPECT_EQ(State().rows.at(0).at(0), "b");
  Insert();
  EXPECT_TRUE(State().removeEnabled);
  EXPECT_EQ(State().rows.back(), fresh);
}

// A list of one host may lose it: the row is emptied and Remove disabled.
TEST_P(RowChangeTest, RemovingTheOnlyHostEmptiesItsRow) {
  WriteIni("[Hosts]\r\na=\r\n[RunOnConnected]\r\na=1.sh\r\n[Enabled]\r\na=0\r\n");
  Start();
  ASSERT_TRUE(form_->btnRemove->Enabled());
  Remove(1);
  EXPECT_EQ(State(), (RowsState{{{"", "", "", "normal", kOn, kOn}}, 1, false, true}));
}

INSTANTIATE_TEST_SUITE_P(ButtonOrKey, RowChangeTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Key" : "Button"; });

// Every column's hint in both languages, through the markup hint, which leaves it in status panel 6.
TEST_F(GridEditingTest, TheHintOfEachColumnShowsAndStaysInTheStatusBar) {
  for (const char* language : {"DE", "ENG"}) {
    SCOPED_TRACE(language);
    const bool english = std::string(language) == "ENG";
    Start(language);
    form_->SetBounds(0, 0, 1000, 600);  // every column in view
    Grid().SetRowCount(4);
    Grid().SetCells(5, 2, kOff);
    for (int row = 1; row < 4; ++row)
      Grid().SetCells(6, row, "<p align=\"center\"><IMG src=\"idx:" + std::to_string(5 + row) + "\" align=\"center\"></center>");
    const struct {
      int col, row;
      TConfText text;
    } cases[] = {
        {0, 1, texts::ColumnHints[0]},     {1, 1, texts::ColumnHints[1]},    {2, 1, texts::ColumnHints[2]},
        {3, 1, texts::ColumnHints[3]},     {4, 1, texts::ColumnHints[4]},    {5, 1, texts::HintActionAtStart},
        {5, 2, texts::HintActionOnChange}, {6, 1, texts::HintStateUndefined}, {6, 2, texts::HintHostNotAnswering},
        {6, 3, texts::HintHostAnswering},  {7, 1, texts::HintRoundTrip},     {0, 0, texts::ColumnHints[0]},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.col << "," << c.row);
      // The grid takes the hint away when the mouse enters another cell; the next move in the cell
      // brings it back.
      const platform::TPoint mouse = AtCell(c.col, c.row);
      Input().MouseMove(mouse);
      Input().MouseMove({mouse.X + 1, mouse.Y});
      Settle();
      platform::ApplicationHints().ActivateHint({mouse.X + 1, mouse.Y});
      Settle();
      platform::THintWindow* window = platform::ApplicationHints().HintWindow();
      ASSERT_TRUE(window && window->Visible());
      EXPECT_EQ(window->Caption(), c.text.In(english));
      EXPECT_EQ(form_->StatusBar->Panels().Items(6)->Text(), c.text.In(english));
    }
    if (english) Screenshot(form_->BackendWindow(), "main-hint-ENG");
    Stop();
  }
}

// The log panel keeps at least 50 pixels: the handler refuses less, and a drag far down stops there.
TEST_F(GridEditingTest, TheSplitterKeepsTheLogPanelAtFiftyPixelsOrMore) {
  Start();
  for (const auto& [size, accepted] : {std::pair{49, false}, {50, true}, {51, true}}) {
    int newSize = size;
    bool accept = true;
    form_->Splitter1CanResize(form_->Splitter1, newSize, accept);
    EXPECT_EQ(accept, accepted) << size;
  }
  const int height = form_->AndockPanel->Height();
  const platform::TPoint grip = At(*form_->Splitter1, 100, 1);
  Input().MouseDown(platform::TMouseButtonKind::Left, grip);
  Input().MouseMove({grip.X, grip.Y + height - 49}, platform::bsLeft);
  Input().MouseUp(platform::TMouseButtonKind::Left, {grip.X, grip.Y + height - 49});
  Settle();
  EXPECT_EQ(form_->AndockPanel->Height(), 50);
  EXPECT_EQ(form_->AndockPanel->Top() + 50, form_->StatusBar->Top());
}

// The pop-up item is there for the current cell's own script (.bat, .cmd, .sh in any case) and opens it
// through the shell's text editor: here the desktop gets the file, blanks and all, and nothing runs.
TEST_F(GridEditingTest, TheEditorItemFollowsTheCurrentCellAndOpensTheScriptWithTheDesktop) {
  const std::filesystem::path bin = std::filesystem::path(folder_) / "bin";
  std::filesystem::create_directories(bin);
  std::ofstream(bin / "xdg-open") << "#!/bin/sh\n";
  std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms(0755));
  const char* path = std::getenv("PATH");
  const std::string savedPath = path ? path : "";
  ::setenv("PATH", bin.c_str(), 1);
  const std::string script = folder_ + "/My Scripts/alarm host.CMD";
  std::filesystem::create_directories(folder_ + "/My Scripts");
  std::ofstream(script) << "echo run > " << folder_ << "/ran\n";
  platform::RecordingLauncher launcher;
  platform::SetLauncher(&launcher);

  WriteIni("[Hosts]\r\nrouter=\r\n[RunOnDisconnected]\r\nrouter=" + script + "\r\n[RunOnConnected]\r\nrouter=/opt/v/prog.exe\r\n");
  Start();
  Grid().SetRowCount(3);
  Grid().SetCells(0, 2, "printer.bat.example");
  Grid().SetCells(1, 2, "notify.Sh");
  Grid().SetCells(2, 2, "/opt/v.bat/prog");
  auto popupAt = [&](int col, int row) {
    Grid().SetCol(col);
    Grid().SetRow(row);
    ClickCell(4, 1, platform::TMouseButtonKind::Right);
    EXPECT_EQ(platform::OpenMenuWindows().size(), 1u);
    return form_->imEditorbearbeiten1->Enabled();
  };
  const struct {
    int col, row;
    bool enabled;
  } cases[] = {{0, 1, false}, {2, 1, false}, {0, 2, false}, {1, 2, true}, {2, 2, false}, {1, 1, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(popupAt(c.col, c.row), c.enabled) << Grid().Cells(c.col, c.row);
    if (&c != &cases[std::size(cases) - 1]) Press(VK_ESCAPE);
  }
  platform::TMenuWindow& menu = *platform::OpenMenuWindows().at(0);
  const platform::TRect item = menu.ItemRect(0);
  Input().Click(menu.ClientToScreen({item.Left + 5, (item.Top + item.Bottom) / 2}));
  Settle();
  platform::SetLauncher(nullptr);
  ::setenv("PATH", savedPath.c_str(), 1);
  ASSERT_EQ(launcher.requests.size(), 1u);
  EXPECT_EQ(launcher.requests[0].program, (bin / "xdg-open").string());
  EXPECT_THAT(launcher.requests[0].arguments, ElementsAre(script));
  EXPECT_EQ(launcher.requests[0].showCode, platform::SW_SHOW);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/ran"));
  EXPECT_FALSE(form_->imEditorbearbeiten1->Enabled());
  EXPECT_FALSE(SaveMarked());
}

}  // namespace
}  // namespace configurator::testing
