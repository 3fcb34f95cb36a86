// Closing the main window: the question about unsaved edits, then the options and the placement.
#include "configurator/ConfWindowTexts.h"
#include "configurator/VelmoraConf.h"
#include "platform/core/IniFile.h"

namespace configurator {

// The open editor is ended first, so that its text counts as an edit. A Save that fails keeps the
// window open; a column-width file that cannot be written never does.
void TForm1::FormCloseQuery(platform::TObject* Sender, bool& CanClose) {
  // The wait for the service runs inside a save: the window stays until it ends.
  if (WaitingForService) {
    CanClose = false;
    return;
  }
  EndCellEdit();
  SaveOk_ = true;
  if (btnSave->Enabled() &&
      platform::MessageDlg(texts::SaveChanges.In(English_), platform::mtConfirmation, platform::mbYesNo, 0) ==
          platform::mrYes) {
    btnSaveClick(btnSave);
    CanClose = SaveOk_;
  }
  try {
    Grid->SaveColSizes();
  } catch (const platform::Exception& e) {
    NoticeUnwritable(e);
  }
}

void TForm1::FormClose(platform::TObject* Sender, platform::TCloseAction& Action) { WriteOptionsAndPlacement(); }

// One replacement of HostList.ini: the sections other than [Options] and [Window] keep their bytes, and
// the last normal bounds stay when the window is maximised.
void TForm1::WriteOptionsAndPlacement() {
  try {
    platform::TMemIniFile ini(HostListPath());
    ini.WriteInteger("Options", "LogPanel", AndockPanel->Height());
    ini.WriteInteger("Options", "Intervall", Intervall);
    ini.WriteBool("Options", "Logging", Logging);
    ini.WriteBool("Options", "WebStatus", WebStatus);
    ini.WriteString("Options", "StatusHTMLFilename", StatusHTMLFilename);
    ini.WriteString("Options", "StatusHTMLDir", StatusHTMLDir);
    const bool maximised = WindowState() == platform::TWindowState::wsMaximized;
    if (WindowState() == platform::TWindowState::wsNormal) {
      ini.WriteInteger("Window", "Left", Left());
      ini.WriteInteger("Window", "Top", Top());
      ini.WriteInteger("Window", "Width", Width());
      ini.WriteInteger("Window", "Height", Height());
    }
    ini.WriteBool("Window", "isMax", maximised);
    ini.UpdateFile();
  } catch (const platform::Exception& e) {
    NoticeUnwritable(e);
  }
}

}  // namespace configurator
