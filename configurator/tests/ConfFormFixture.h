#pragma once

#include <filesystem>
#include <string>

#include "configurator/VelmoraConf.h"
#include "configurator/einstellungen.h"
#include "platform/app/FormLanguage.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/dialogs/ScriptedDialogs.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/FormFixture.h"

namespace configurator::testing {

// The configurator's two forms on the headless backend, in a temporary program folder, with the dialogs
// answered from a script. Pictures go to artefacts/ordelin in the build folder.
class ConfFormTest : public platform::FormTest {
protected:
  void TearDown() override {
    Stop();
    platform::SetResourceLanguage("");
    FormTest::TearDown();
  }

  // Makes and shows both forms in the given resource language, as the program does.
  void Start(const std::string& language = "DE") {
    platform::SetResourceLanguage(language);
    form_ = new TForm1(nullptr);
    form_->AfterConstruction();
    settings_ = new TfrmSettings(nullptr);
    settings_->AfterConstruction();
    form_->Show();
    Settle();
  }
  // Frees both forms, as the program's end does.
  void Stop() {
    delete settings_;
    delete form_;
    settings_ = nullptr;
    form_ = nullptr;
  }
  // Asks the main form to close; true when it closed.
  bool CloseForm() {
    form_->Close();
    Settle();
    return !form_->Visible();
  }

  static std::string IniPath() { return platform::ExeDir() + "HostList.ini"; }
  static void WriteIni(const std::string& text) { platform::WriteFileAtomic(IniPath(), text); }
  static std::string Ini() { return platform::FileExists(IniPath()) ? platform::ReadFileBytes(IniPath()) : ""; }

  void Screenshot(platform::TBackendWindow window, const std::string& name) {
    std::filesystem::create_directories(CONFIGURATOR_ARTEFACTS);
    Input().SaveScreenshot(window, std::string(CONFIGURATOR_ARTEFACTS) + "/" + name + ".png");
  }

  velmora::VUraRazuduVova& Grid() { return *form_->Grid; }
  // Opens the cell's editor with F2 and types the text, as a user does; the editor stays open.
  void TypeInCell(int col, int row, const std::string& text) {
    Grid().SetCol(col);
    Grid().SetRow(row);
    Grid().SetFocus();
    Input().PressKey(platform::VK_F2);
    for (char c : text) Input().Char(std::string(1, c));
    Settle();
  }
  // The cells of a data row, columns 0 to 5.
  std::vector<std::string> RowCells(int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < 6; ++col) cells.push_back(Grid().Cells(col, row));
    return cells;
  }

  platform::TScriptedDialogService dialogs_;
  TForm1* form_ = nullptr;
  TfrmSettings* settings_ = nullptr;
};

}  // namespace configurator::testing
