#pragma once

#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "controls/MarkupHint.h"
#include "controls/MarkupLabel.h"
#include "controls/MarkupStatusBar.h"
#include "controls/WinXP.h"
#include "grid/DovAdiz.h"
#include "platform/app/ApplicationEvents.h"
#include "platform/app/Timer.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/edits/Memo.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

namespace configurator {

// The configurator's main window, made from its form resource TForm1 in the resource language: the host
// grid of HostList.ini (one row per host), the tool bar, the menus, the log panel and the status bar.
// It loads the host list and the options when it is created, saves the host list on Save and writes the
// options and its placement when it closes. The window class is "TForm1" and the caption names the
// language, so the service finds the window. The application owns the form; `Form1` points at it.
//
// Unsaved edits: the enabled Save button is the one record of them; every handler that changes the
// list (an edited or cleared cell, a combo choice, an ellipsis result, a switch click, a removed row)
// enables the button and the menu item together. A fresh row alone is no edit.
class TForm1 : public platform::TForm {
public:
  explicit TForm1(platform::TComponent* AOwner);
  ~TForm1() override;

  platform::TPanel* Panel1;
  platform::TSpeedButton* btnInsert;
  platform::TSpeedButton* btnRemove;
  platform::TSpeedButton* btnSave;
  platform::TSpeedButton* btnHelp;
  platform::TImage* Image1;
  controls::TMarkupLabel* MarkupLabel1;
  platform::TPanel* gridPanel;
  velmora::VUraRazuduVova* Grid;
  platform::TSplitter* Splitter1;
  platform::TPanel* AndockPanel;
  platform::TMemo* LogFile;
  controls::TMarkupStatusBar* StatusBar;
  platform::TImageList* ImageList1;
  controls::TMarkupHint* MarkupHint1;
  controls::TWinXP* WinXP1;
  platform::TApplicationEvents* ApplicationEvents1;
  platform::TTimer* StatusSetter;
  platform::TOpenDialog* OpenDialog1;
  platform::TPopupMenu* Menu2;
  platform::TMenuItem* imEditorbearbeiten1;
  platform::TMenuItem* Speichern1;
  platform::TMenuItem* einfg;
  platform::TMenuItem* entf;
  platform::TMenuItem* Deutsch1;
  platform::TMenuItem* English1;
  platform::TMenuItem* Servicestarten1;
  platform::TMenuItem* Servicestoppen1;
  platform::TSaveDialog* dlgExcelSave;
  platform::TOpenDialog* dlgExcelLoad;

  // The options that the settings dialog edits; they reach HostList.ini when the window closes.
  bool Logging = false;
  int Intervall = 0;
  std::string StatusHTMLDir;
  std::string StatusHTMLFilename;
  bool WebStatus = false;

  bool English() const { return English_; }
  bool SaveOk() const { return SaveOk_; }
  // The full path of HostList.ini in the program folder.
  static std::string HostListPath();
  // The data rows of the grid as host entries (host names trimmed).
  std::vector<THostEntry> GridEntries() const;

  void FormCreate(platform::TObject* Sender);
  void FormCloseQuery(platform::TObject* Sender, bool& CanClose);
  void FormClose(platform::TObject* Sender, platform::TCloseAction& Action);
  void btnSaveClick(platform::TObject* Sender);
  void btnInsertClick(platform::TObject* Sender);
  void btnRemoveClick(platform::TObject* Sender);
  void Beenden1Click(platform::TObject* Sender);
  void Einstellungen1Click(platform::TObject* Sender);
  void Gittergrsseanpassen1Click(platform::TObject* Sender);
  void Image1Click(platform::TObject* Sender);
  void imEditorbearbeiten1Click(platform::TObject* Sender);
  void GridContextPopup(platform::TObject* Sender, platform::TPoint MousePos, bool& Handled);
  void Splitter1CanResize(platform::TObject* Sender, int& NewSize, bool& Accept);
  void MarkupHint1ShowHint(std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo);
  void GridGetEditorType(platform::TObject* Sender, int ACol, int ARow, velmora::TEditorType& AEditor);
  void GridEllipsClick(platform::TObject* Sender, int ACol, int ARow, std::string& S);
  void GridComboChange(platform::TObject* Sender, int ACol, int ARow, int AItemIndex, const std::string& ASelection);
  void GridCellValidate(platform::TObject* Sender, int Col, int Row, std::string& Value, bool& Valid);
  void GridClickCell(platform::TObject* Sender, int ARow, int ACol);
  void GridGetAlignment(platform::TObject* Sender, int ARow, int ACol, platform::TAlignment& HAlign,
                        velmora::TVAlignment& VAlign);
  void GridGridHint(platform::TObject* Sender, int ARow, int ACol, std::string& hintstr);
  void GridAutoInsertRow(platform::TObject* Sender, int ARow);
  void GridAutoDeleteRow(platform::TObject* Sender, int ARow);
  void Deutsch1Click(platform::TObject* Sender);
  void English1Click(platform::TObject* Sender);
  void btnHelpClick(platform::TObject* Sender);
  void SpeichernalsXLS1Click(platform::TObject* Sender);
  void LadenausExcel1Click(platform::TObject* Sender);

  // The service's status and log (VelmoraConfStatus.cpp, VelmoraConfLogPanel.cpp) and its control
  // (VelmoraConfService.cpp).
  void RefreshStatus();
  void ApplicationEvents1Message(platform::MSG& Msg, bool& Handled);
  void StatusSetterTimer(platform::TObject* Sender);
  void Servicestarten1Click(platform::TObject* Sender);
  void Servicestoppen1Click(platform::TObject* Sender);
  // True while Save waits for the service's answer to its reset request.
  bool IsWaitingForService() const { return WaitingForService; }

private:
  template <class T>
  T* Component(const std::string& name) const;
  void BindHandlers(platform::TFormMethods& methods);
  void BindServiceHandlers(platform::TFormMethods& methods);
  // The service runs: status.ini exists and the window station lists the service's application window.
  bool ServiceRuns() const;
  // Shows events.log in the log panel, its last line in view.
  void LoadLogFile();
  // The hand-over after a successful save: the reset request to a running service and the wait for its
  // answer, or the offer to start the service.
  void ServiceWait();
  // Runs the start or stop script beside the program; a script that the shell cannot run is reported.
  void RunServiceScript(platform::TMenuItem* item, const char* script);
  // Does what the status messages since the last call asked for, once each.
  void ApplyStatusMessages();
  void LoadPlacement();
  void LoadHosts();
  void WriteLanguage();
  void WriteOptionsAndPlacement();
  // Tells once per session that HostList.ini cannot be written; closing goes on regardless.
  void NoticeUnwritable(const platform::Exception& e);
  void MarkChanged();
  // Ends the open cell editor; a text it leaves in the cell counts as an edit.
  void EndCellEdit();
  void SetRemoveEnabled(bool enabled);
  void FillFreshRow(int row);
  std::string BrowseForComputer(const std::string& current);
  std::string ChooseCommandFile(const std::string& current);
  // Writes the language of the next start to the registry; the checks follow only a written value.
  void SwitchLanguage(bool english);
  // Loads a CSV file over the data rows; returns the file's number of columns. Raises on a file that
  // cannot be read or holds no host row, and then leaves the grid to the caller to restore.
  int LoadHostCsv(const std::string& fileName);

  bool English_ = false;
  bool SaveOk_ = false;
  unsigned int StatusNotifyMessage = 0;
  unsigned int ResetRequestMessage = 0;
  bool WaitingForService = false;
  // Status messages whose work is due: a burst of them refreshes the status and reloads the log once.
  bool statusRefreshDue_ = false;
  bool logReloadDue_ = false;
  bool statusWorkPosted_ = false;
  // A notice about a program folder that cannot be written has been shown.
  bool unwritableNoticeShown_ = false;
};

// The main form, set when it is made; the settings dialog reads and writes its options through it.
extern TForm1* Form1;

}  // namespace configurator
