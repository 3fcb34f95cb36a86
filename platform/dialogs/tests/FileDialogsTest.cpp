#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Files.h"
#include "platform/gfx/Png.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/dialogs/FileDialogForm.h"
#include "platform/dialogs/FolderBrowserForm.h"
#include "platform/dialogs/FormDialogs.h"
#include "platform/dialogs/MessageForm.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/Screenshots.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(FileFilter, ParsesAndMatches) {
  const auto filters = ParseFileFilter("Ausführbare Dateien|*.bat;*.cmd;*.exe|Alle Dateien (*.*)|*.*");
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].Description, "Ausführbare Dateien");
  EXPECT_EQ(filters[0].Patterns, (std::vector<std::string>{"*.bat", "*.cmd", "*.exe"}));
  struct Case {
    const char* name;
    int filter;
    bool matches;
  };
  const Case cases[] = {
      {"start.bat", 0, true}, {"STOP.CMD", 0, true}, {"notes.txt", 0, false}, {"bat", 0, false},
      {"notes.txt", 1, true}, {"Makefile", 1, true},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesFileFilter(c.name, filters[static_cast<size_t>(c.filter)]), c.matches) << c.name;
  EXPECT_TRUE(ParseFileFilter("").empty());
  EXPECT_TRUE(MatchesFileFilter("x", ParseFileFilter("Everything").at(0)));
}

TEST(FileFilter, ExpandsFolderVariables) {
  ::setenv("VELMORA_DIALOG_TEST", "/srv/data", 1);
  EXPECT_EQ(ExpandDialogFolder("%VELMORA_DIALOG_TEST%\\sub"), "/srv/data/sub");
  EXPECT_EQ(ExpandDialogFolder("%NOT_SET_ANYWHERE%"), "%NOT_SET_ANYWHERE%");
  ::unsetenv("TEMP");
  ::unsetenv("TMP");
  ::setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(ExpandDialogFolder("%temp%"), "/var/tmp");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(ExpandDialogFolder("%temp%"), "/tmp");
  EXPECT_EQ(ExpandDialogFolder("50% off"), "50% off");
}

// A folder of files to browse: scripts/ (with up.bat), hosts.csv, notes.txt, run.bat, Start.CMD and
// the hidden .secret.bat, each with its own size and time.
class FileDialogTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    root = folder_ + "/files";
    fs::create_directories(root + "/scripts");
    WriteFile("scripts/up.bat", 10, 0);
    WriteFile("hosts.csv", 3000, 3);
    WriteFile("notes.txt", 100, 1);
    WriteFile("run.bat", 2000, 2);
    WriteFile("Start.CMD", 50, 4);
    WriteFile(".secret.bat", 5, 5);
    scripted = std::make_unique<TScriptedDialogService>();
  }
  void TearDown() override {
    scripted.reset();
    FormTest::TearDown();
  }
  void WriteFile(const std::string& name, size_t size, int hour) {
    WriteFileAtomic(root + "/" + name, std::string(size, 'x'));
    fs::last_write_time(root + "/" + name, fs::file_time_type::clock::now() - std::chrono::hours(24 - hour));
  }
  std::vector<std::string> Names(TFileListView& list) {
    std::vector<std::string> names;
    for (const auto& entry : list.Entries()) names.push_back(entry.Name);
    return names;
  }
  TFileDialogRequest Request(TFileDialogKind kind, uint32_t options) {
    TFileDialogRequest request;
    request.Kind = kind;
    request.Filter = "Ausführbare Dateien|*.bat;*.cmd;*.exe|Alle Dateien (*.*)|*.*";
    request.InitialDir = root;
    request.Options = options;
    return request;
  }
  // Runs the dialog modally; `steps` runs in its loop once it shows and queues the user's input. A
  // dialog still open after that input is cancelled, so no test waits for a person.
  std::optional<TFileDialogAnswer> Run(TFileDialogForm& dialog, const std::function<void()>& steps) {
    Input().Run(steps);
    CancelLeftOpen();
    return dialog.Execute();
  }
  // Once every queued input has been handled, cancels the modal form that was active when this ran
  // first, if it is still open.
  void CancelLeftOpen(std::optional<TComponent::TGuard> guard = {}, TCustomForm* form = nullptr) {
    Input().Run([this, guard, form]() mutable {
      if (!form) {
        form = Screen().ActiveForm();
        if (!form) return;
        guard.emplace(*form);
      }
      if (guard->Gone() || !form->Visible()) return;
      if (Input().PendingInput() > 0)
        CancelLeftOpen(guard, form);
      else
        form->SetModalResult(mrCancel);
    });
  }
  void Shoot(TCustomForm& form, const std::string& name) {
    form.Update();
    SaveArtefact(Input(), form.BackendWindow(), name);
  }
  void Type(const std::string& text) {
    for (char c : text) Input().Char(std::string(1, c));
  }
  TPoint RowPoint(TFileListView& list, int row) {
    const TRect r = list.RowRect(row);
    return list.ClientToScreen({r.Left + 40, (r.Top + r.Bottom) / 2});
  }

  std::string root;
  std::unique_ptr<TScriptedDialogService> scripted;
};

TEST_F(FileDialogTest, ListsFoldersFirstWithoutHiddenFilesByTheFilter) {
  TFileDialogForm dialog(Request(TFileDialogKind::Open, 0));
  EXPECT_EQ(dialog.Folder(), root);
  EXPECT_EQ(Names(dialog.List()), (std::vector<std::string>{"scripts", "run.bat", "Start.CMD"}));
  EXPECT_EQ(dialog.FilterCombo().Items().Count(), 2);
  dialog.FilterCombo().SetItemIndex(1);
  dialog.FilterCombo().OnChange(&dialog.FilterCombo());
  EXPECT_EQ(Names(dialog.List()), (std::vector<std::string>{"scripts", "hosts.csv", "notes.txt", "run.bat", "Start.CMD"}));
}

TEST_F(FileDialogTest, SortsByTheClickedColumn) {
  TFileDialogRequest request = Request(TFileDialogKind::Open, 0);
  request.FilterIndex = 2;
  TFileDialogForm dialog(request);
  TFileListView& list = dialog.List();
  struct Case {
    TFileColumn column;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {TFileColumn::Size, {"scripts", "Start.CMD", "notes.txt", "run.bat", "hosts.csv"}},
      {TFileColumn::Size, {"scripts", "hosts.csv", "run.bat", "notes.txt", "Start.CMD"}},
      {TFileColumn::Modified, {"scripts", "notes.txt", "run.bat", "hosts.csv", "Start.CMD"}},
      {TFileColumn::Name, {"scripts", "hosts.csv", "notes.txt", "run.bat", "Start.CMD"}},
      {TFileColumn::Name, {"scripts", "Start.CMD", "run.bat", "notes.txt", "hosts.csv"}},
  };
  // One click at a time, each a while after the last, so that none is a double click.
  std::function<void(size_t)> click = [&](size_t i) {
    if (i == std::size(cases)) return;
    AdvanceVirtualClock(1000);
    const TRect header = list.HeaderRect(cases[i].column);
    Input().Click(list.ClientToScreen({header.Left + 10, header.Top + 4}));
    Input().Run([&, i] {
      EXPECT_EQ(Names(list), cases[i].names) << i;
      click(i + 1);
    });
  };
  std::optional<TFileDialogAnswer> answer = Run(dialog, [&] { click(0); });
  EXPECT_FALSE(answer);
}

TEST_F(FileDialogTest, KeyboardAndDoubleClickOpenFoldersAndChooseFiles) {
  TFileDialogForm dialog(Request(TFileDialogKind::Open, 0));
  TFileListView& list = dialog.List();
  std::optional<TFileDialogAnswer> answer = Run(dialog, [&] {
    list.SetFocus();
    Input().PressKey(VK_HOME);
    Input().PressKey(VK_RETURN, 0, "\r");
    Input().Run([&] {
      EXPECT_EQ(dialog.Folder(), root + "/scripts");
      EXPECT_EQ(Names(list), std::vector<std::string>{"up.bat"});
    });
    Input().PressKey(VK_BACK, 0, "\b");
    Input().Run([&] {
      EXPECT_EQ(dialog.Folder(), root);
      // A click selects a file and shows its name; a double click chooses it.
      Input().Click(RowPoint(list, 1));
      Input().Run([&] { EXPECT_EQ(dialog.FileNameEdit().Text(), "run.bat"); });
      Input().DoubleClick(RowPoint(list, 2));
    });
  });
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->FileName, root + "/Start.CMD");
  EXPECT_EQ(answer->FilterIndex, 1);
}

// The options that the dialogs' callers use, each with what the user types and what the prompts
// answer.
TEST_F(FileDialogTest, OptionsDecideWhatATypedNameGives) {
  const uint32_t mustExist = (1u << ofFileMustExist) | (1u << ofPathMustExist);
  const uint32_t overwrite = 1u << ofOverwritePrompt;
  struct Case {
    const char* what;
    TFileDialogKind kind;
    uint32_t options;
    const char* defaultExt;
    std::string typed;
    std::vector<TMsgDlgBtn> prompts;  // the answers to the message boxes, in order
    std::string expected;             // "" for no answer
    const char* firstPrompt;          // the start of the first message's text
  };
  const Case cases[] = {
      {"open: an existing file", TFileDialogKind::Open, mustExist, "", "notes.txt", {}, "notes.txt", ""},
      {"open: the default extension", TFileDialogKind::Open, mustExist, "bat", "run", {}, "run.bat", ""},
      {"open: a missing file is refused", TFileDialogKind::Open, mustExist, "bat", "gone", {mbOK}, "",
       "gone.bat\nFile not found."},
      {"open: a missing file without the option", TFileDialogKind::Open, 0, "", "gone.txt", {}, "gone.txt", ""},
      {"open: a missing folder is refused", TFileDialogKind::Open, mustExist, "", "nowhere/x.bat", {mbOK}, "", ""},
      {"save: a new name gets the extension", TFileDialogKind::Save, overwrite, "csv", "pwdsave", {}, "pwdsave.csv", ""},
      {"save: replacing asked, no", TFileDialogKind::Save, overwrite, "csv", "hosts", {mbNo}, "",
       "hosts.csv already exists."},
      {"save: replacing asked, yes", TFileDialogKind::Save, overwrite, "csv", "hosts", {mbYes}, "hosts.csv", ""},
      {"save: replacing without the option", TFileDialogKind::Save, 0, "csv", "hosts.csv", {}, "hosts.csv", ""},
      {"save: into a missing folder is refused", TFileDialogKind::Save, 0, "", "nowhere/x.csv", {mbOK}, "", ""},
      {"a path from the root", TFileDialogKind::Save, 0, "", "FOLDER/scripts/new.bat", {}, "scripts/new.bat", ""},
  };
  for (const Case& c : cases) {
    scripted.reset();
    scripted = std::make_unique<TScriptedDialogService>();
    for (TMsgDlgBtn answer : c.prompts) scripted->AnswerMessage(answer);
    TFileDialogRequest request = Request(c.kind, c.options);
    request.DefaultExt = c.defaultExt;
    TFileDialogForm dialog(request);
    std::string typed = c.typed;
    if (typed.starts_with("FOLDER")) typed.replace(0, 6, root);
    std::optional<TFileDialogAnswer> answer = Run(dialog, [&] {
      dialog.FileNameEdit().SetText("");
      Type(typed);
      Input().PressKey(VK_RETURN, 0, "\r");
    });
    EXPECT_EQ(answer ? answer->FileName : "", c.expected.empty() ? "" : root + "/" + c.expected) << c.what;
    EXPECT_EQ(scripted->Unanswered(), 0u) << c.what;
    if (*c.firstPrompt) {
      ASSERT_FALSE(scripted->Messages().empty()) << c.what;
      EXPECT_TRUE(scripted->Messages()[0].Text.starts_with(c.firstPrompt)) << scripted->Messages()[0].Text;
    }
  }
}

TEST_F(FileDialogTest, StartsInTheFolderOfTheFileNameElseTheInitialOne) {
  TFileDialogRequest request = Request(TFileDialogKind::Open, 0);
  request.FileName = root + "/scripts/up.bat";
  TFileDialogForm fromName(request);
  EXPECT_EQ(fromName.Folder(), root + "/scripts");
  EXPECT_EQ(fromName.FileNameEdit().Text(), "up.bat");
  request.FileName = "pwdsave";
  request.InitialDir = root + "/missing";
  TFileDialogForm fallback(request);
  EXPECT_EQ(fallback.Folder(), fs::current_path().string());
  EXPECT_EQ(fallback.Caption(), "Open");
  request.Kind = TFileDialogKind::Save;
  request.Title = "CSV - Speichern";
  EXPECT_EQ(TFileDialogForm(request).Caption(), "CSV - Speichern");
}

TEST_F(FileDialogTest, TypedFolderAndPathFieldNavigate) {
  TFileDialogForm dialog(Request(TFileDialogKind::Open, 0));
  std::optional<TFileDialogAnswer> answer = Run(dialog, [&] {
    Type("scripts");
    Input().PressKey(VK_RETURN, 0, "\r");
    Input().Run([&] {
      EXPECT_EQ(dialog.Folder(), root + "/scripts");
      EXPECT_EQ(dialog.FileNameEdit().Text(), "");
      dialog.PathEdit().SetFocus();
      dialog.PathEdit().SelectAll();
    });
    Type(root);
    Input().PressKey(VK_RETURN, 0, "\r");
    Input().Run([&] { EXPECT_EQ(dialog.Folder(), root); });
    Input().Click(dialog.CancelButton().ClientToScreen({5, 5}));
  });
  EXPECT_FALSE(answer);
}

TEST_F(FileDialogTest, TheFormServiceAnswersTheDialogComponents) {
  TFormDialogService forms;
  IDialogService* before = SetDialogService(&forms);
  TOpenDialog open(nullptr);
  open.InitialDir = root;
  open.Filter = "Alle Dateien (*.*)|*.*";
  open.DefaultExt = "bat";
  Input().Run([&] {
    Type("run");
    Input().PressKey(VK_RETURN, 0, "\r");
  });
  CancelLeftOpen();
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName, root + "/run.bat");
  // The folder browser: a sub-folder selected and OK.
  Input().Run([&] {
    auto* browser = dynamic_cast<TFolderBrowserForm*>(Screen().ActiveForm());
    ASSERT_TRUE(browser);
    browser->OpenFolder(root);
    browser->List().SetSelected(0);
    Input().PressKey(VK_RETURN, 0, "\r");
  });
  CancelLeftOpen();
  std::optional<TFolderAnswer> folder = BrowseForFolder("Browse for Folder", CSIDL_DRIVES, BIF_RETURNONLYFSDIRS);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->Path, root + "/scripts");
  EXPECT_EQ(folder->DisplayName, "scripts");
  SetDialogService(before);
}

TEST_F(FileDialogTest, ComputerBrowserOffersTheKnownHosts) {
  WriteFileAtomic(root + "/hosts", "127.0.0.1 localhost\n# 10.0.0.9 commented\n192.0.2.7 printer printer.lan\n");
  const std::vector<std::string> known = KnownComputers(root + "/hosts");
  for (const char* name : {"localhost", "printer", "printer.lan"})
    EXPECT_NE(std::find(known.begin(), known.end(), name), known.end()) << name;
  EXPECT_EQ(std::find(known.begin(), known.end(), "commented"), known.end());
  TFolderBrowserForm browser({"Browse for Computer", CSIDL_NETWORK, BIF_BROWSEFORCOMPUTER | BIF_BROWSEFORPRINTER},
                             root + "/hosts");
  ASSERT_TRUE(browser.Computers());
  Input().Run([&] {
    Input().PressKey(VK_F4);
    Input().PressKey(VK_DOWN);
    Input().PressKey(VK_DOWN);
    Input().PressKey(VK_RETURN, 0, "\r");
    Input().PressKey(VK_RETURN, 0, "\r");
  });
  CancelLeftOpen();
  std::optional<TFolderAnswer> answer = browser.Execute();
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->DisplayName, known.at(1));
  EXPECT_EQ(answer->Path, "");
}

TEST_F(FileDialogTest, MessageFormButtons) {
  struct Case {
    TMsgDlgButtons buttons;
    TMsgDlgBtn defaultButton;
    int key;
    TMsgDlgBtn expected;
  };
  const Case cases[] = {
      {mbYesNo, mbYes, VK_RETURN, mbYes},
      {mbYesNo, mbNo, VK_RETURN, mbNo},
      {mbYesNo, mbYes, VK_ESCAPE, mbNo},
      {mbYesNoCancel, mbYes, VK_ESCAPE, mbCancel},
      {{mbOK}, mbOK, VK_ESCAPE, mbOK},
  };
  for (const Case& c : cases) {
    TMessageForm box({"Bestätigen", "Änderungen speichern?", mtConfirmation, c.buttons, c.defaultButton});
    Input().Run([&] { Input().PressKey(c.key, 0, c.key == VK_RETURN ? "\r" : "\x1b"); });
    CancelLeftOpen();
    EXPECT_EQ(box.Execute(), c.expected);
  }
}

TEST_F(FileDialogTest, Screenshots) {
  TFileDialogRequest request = Request(TFileDialogKind::Open, 1u << ofEnableSizing);
  request.Title = "Ausführbare Dateien suchen";
  request.FileName = "run.bat";
  TFileDialogForm dialog(request);
  Run(dialog, [&] {
    dialog.List().SetFocus();
    dialog.List().SetSelected(1);
    Input().Run([&] { Shoot(dialog, "file-dialog"); });
  });
  TMessageForm box({"Speichern unter", "hosts.csv ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?", mtWarning,
                    mbYesNo, mbNo});
  Input().Run([&] { Shoot(box, "message-box"); });
  CancelLeftOpen();
  box.Execute();
}

}  // namespace
}  // namespace platform
