#include "configurator/VelmoraConf.h"

#include "configurator/ConfWindowTexts.h"
#include "configurator/ServiceLink.h"
#include "configurator/WindowPlacement.h"
#include "configurator/einstellungen.h"
#include "controls/DisplayClasses.h"
#include "controls/EditorClasses.h"
#include "controls/FormComponentClasses.h"
#include "grid/DovAdizClasses.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/core/StrUtils.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/edits/EditClasses.h"
#include "platform/shell/ShellApi.h"

namespace configurator {

TForm1* Form1 = nullptr;

namespace {

constexpr const char* kProductPage = "https://velmora.example.org/";
constexpr int kDefaultIntervall = 120;

const char* const kButtonGlyphs[][2] = {
    {"btnInsert", "GLYPHINSERT"}, {"btnRemove", "GLYPHREMOVE"}, {"btnSave", "GLYPHSAVE"}, {"btnHelp", "GLYPHHELP"}};

}  // namespace

template <class T>
T* TForm1::Component(const std::string& name) const {
  return &dynamic_cast<T&>(*FindComponent(name));
}

TForm1::TForm1(platform::TComponent* AOwner) : TForm(AOwner) {
  Form1 = this;
  // The classes that the resources name, published once per process.
  static const bool published = (platform::PublishEditClasses(), platform::PublishDialogClasses(),
                                 controls::PublishDisplayClasses(), controls::PublishEditorClasses(),
                                 controls::PublishFormComponentClasses(), velmora::PublishDovAdizClasses(), true);
  (void)published;
  platform::TFormMethods methods;
  BindHandlers(methods);
  platform::ReadFormResource(*this, "TForm1", methods);

  Panel1 = Component<platform::TPanel>("Panel1");
  btnInsert = Component<platform::TSpeedButton>("btnInsert");
  btnRemove = Component<platform::TSpeedButton>("btnRemove");
  btnSave = Component<platform::TSpeedButton>("btnSave");
  btnHelp = Component<platform::TSpeedButton>("btnHelp");
  Image1 = Component<platform::TImage>("Image1");
  MarkupLabel1 = Component<controls::TMarkupLabel>("MarkupLabel1");
  gridPanel = Component<platform::TPanel>("gridPanel");
  Grid = Component<velmora::VUraRazuduVova>("Grid");
  Splitter1 = Component<platform::TSplitter>("Splitter1");
  AndockPanel = Component<platform::TPanel>("AndockPanel");
  LogFile = Component<platform::TMemo>("LogFile");
  StatusBar = Component<controls::TMarkupStatusBar>("StatusBar");
  ImageList1 = Component<platform::TImageList>("ImageList1");
  MarkupHint1 = Component<controls::TMarkupHint>("MarkupHint1");
  WinXP1 = Component<controls::TWinXP>("WinXP1");
  ApplicationEvents1 = Component<platform::TApplicationEvents>("ApplicationEvents1");
  StatusSetter = Component<platform::TTimer>("StatusSetter");
  OpenDialog1 = Component<platform::TOpenDialog>("OpenDialog1");
  Menu2 = Component<platform::TPopupMenu>("Menu2");
  imEditorbearbeiten1 = Component<platform::TMenuItem>("imEditorbearbeiten1");
  Speichern1 = Component<platform::TMenuItem>("Speichern1");
  einfg = Component<platform::TMenuItem>("einfg");
  entf = Component<platform::TMenuItem>("entf");
  Deutsch1 = Component<platform::TMenuItem>("Deutsch1");
  English1 = Component<platform::TMenuItem>("English1");
  Servicestarten1 = Component<platform::TMenuItem>("Servicestarten1");
  Servicestoppen1 = Component<platform::TMenuItem>("Servicestoppen1");
  dlgExcelSave = Component<platform::TSaveDialog>("dlgExcelSave");
  dlgExcelLoad = Component<platform::TOpenDialog>("dlgExcelLoad");

  platform::TBitmap strip;
  strip.LoadFromResourceName("IMAGELIST1");
  ImageList1->AddMasked(strip, platform::clDefault);
  for (const auto& [button, glyph] : kButtonGlyphs)
    Component<platform::TSpeedButton>(button)->Glyph().LoadFromResourceName(glyph);
  Image1->Picture().Bitmap().LoadFromResourceName("LOGO");
  // Both open the product page.
  Image1->SetCursor(platform::crHandPoint);
  MarkupLabel1->SetCursor(platform::crHandPoint);

  LoadPlacement();
  Grid->ColumnSize().Key = HostListPath();
}

// Nothing may leave a destructor: the grid's own last write of the column widths catches its errors.
TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::BindHandlers(platform::TFormMethods& methods) {
  BindServiceHandlers(methods);
  methods.Add("FormCreate", this, &TForm1::FormCreate);
  methods.Add("FormCloseQuery", this, &TForm1::FormCloseQuery);
  methods.Add("FormClose", this, &TForm1::FormClose);
  methods.Add("btnSaveClick", this, &TForm1::btnSaveClick);
  methods.Add("btnInsertClick", this, &TForm1::btnInsertClick);
  methods.Add("btnRemoveClick", this, &TForm1::btnRemoveClick);
  methods.Add("Beenden1Click", this, &TForm1::Beenden1Click);
  methods.Add("Einstellungen1Click", this, &TForm1::Einstellungen1Click);
  methods.Add("Gittergrsseanpassen1Click", this, &TForm1::Gittergrsseanpassen1Click);
  methods.Add("Image1Click", this, &TForm1::Image1Click);
  methods.Add("imEditorbearbeiten1Click", this, &TForm1::imEditorbearbeiten1Click);
  methods.Add("GridContextPopup", this, &TForm1::GridContextPopup);
  methods.Add("Splitter1CanResize", this, &TForm1::Splitter1CanResize);
  methods.Add("MarkupHint1ShowHint", this, &TForm1::MarkupHint1ShowHint);
  methods.Add("GridGetEditorType", this, &TForm1::GridGetEditorType);
  methods.Add("GridEllipsClick", this, &TForm1::GridEllipsClick);
  methods.Add("GridComboChange", this, &TForm1::GridComboChange);
  methods.Add("GridCellValidate", this, &TForm1::GridCellValidate);
  methods.Add("GridClickCell", this, &TForm1::GridClickCell);
  methods.Add("GridGetAlignment", this, &TForm1::GridGetAlignment);
  methods.Add("GridGridHint", this, &TForm1::GridGridHint);
  methods.Add("GridAutoInsertRow", this, &TForm1::GridAutoInsertRow);
  methods.Add("GridAutoDeleteRow", this, &TForm1::GridAutoDeleteRow);
  methods.Add("Deutsch1Click", this, &TForm1::Deutsch1Click);
  methods.Add("English1Click", this, &TForm1::English1Click);
  methods.Add("btnHelpClick", this, &TForm1::btnHelpClick);
  methods.Add("SpeichernalsXLS1Click", this, &TForm1::SpeichernalsXLS1Click);
  methods.Add("LadenausExcel1Click", this, &TForm1::LadenausExcel1Click);
}

std::string TForm1::HostListPath() { return platform::ExeDir() + "HostList.ini"; }

// The placement of the last session, brought inside the work area and the form's minimum size, and the
// log panel with its height and visibility. A file that cannot be read leaves the defaults; FormCreate
// reports it.
void TForm1::LoadPlacement() {
  platform::TRect bounds{10, 10, 810, 610};
  bool maximised = false, logging = true;
  int logPanel = -1;
  try {
    platform::TMemIniFile ini(HostListPath());
    const int left = ini.ReadInteger("Window", "Left", 10), top = ini.ReadInteger("Window", "Top", 10);
    bounds = {left, top, left + ini.ReadInteger("Window", "Width", 800), top + ini.ReadInteger("Window", "Height", 600)};
    maximised = ini.ReadBool("Window", "isMax", false);
    logPanel = ini.ReadInteger("Options", "LogPanel", -1);
    logging = ini.ReadBool("Options", "Logging", true);
  } catch (const platform::Exception&) {
  }
  bounds = FitIntoWorkArea(bounds, platform::Screen().WorkAreaRect(), Constraints().MinWidth(),
                           Constraints().MinHeight());
  SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  if (maximised) SetWindowState(platform::TWindowState::wsMaximized);
  if (logPanel < 0) logPanel = Height() / 2 - 20;
  const int fixedParts = Panel1->Height() + gridPanel->Constraints().MinHeight() + Splitter1->Height() +
                         StatusBar->Height();
  AndockPanel->SetHeight(FitLogPanelHeight(logPanel, AndockPanel->Constraints().MinHeight(), ClientHeight() - fixedParts));
  AndockPanel->SetVisible(logging);
  Splitter1->SetVisible(logging);
}

void TForm1::FormCreate(platform::TObject* Sender) {
  AndockPanel->SetAlign(platform::TAlign::alBottom);
  Splitter1->SetAlign(platform::TAlign::alBottom);
  gridPanel->SetAlign(platform::TAlign::alClient);
  Grid->FieldDelimiter = ';';

  English_ = btnSave->Caption() == "Save";
  if (English_) {
    platform::TStringList headers;
    for (const TConfText& header : texts::EnglishHeaders) headers.Add(header.In(true));
    Grid->SetColumnHeaders(headers);
  }
  (English_ ? English1 : Deutsch1)->SetChecked(true);
  for (int code : {0, 3, 6, 1}) Grid->AddComboString(ShowModeToText(code, English_));
  Grid->LoadColSizes();
  WriteLanguage();

  Logging = true;
  Intervall = kDefaultIntervall;
  StatusHTMLFilename = "index.htm";
  StatusHTMLDir = platform::ExeDir();
  try {
    platform::TMemIniFile ini(HostListPath());
    Intervall = ini.ReadInteger("Options", "Intervall", kDefaultIntervall);
    Logging = ini.ReadBool("Options", "Logging", true);
    WebStatus = ini.ReadBool("Options", "WebStatus", false);
    StatusHTMLFilename = ini.ReadString("Options", "StatusHTMLFilename", "index.htm");
    StatusHTMLDir = ini.ReadString("Options", "StatusHTMLDir", platform::ExeDir());
    LoadHosts();
  } catch (const platform::Exception& e) {
    platform::ShowMessage(e.Message());
  }
  RefreshStatus();
  StatusNotifyMessage = platform::RegisterWindowMessage(kStatusNotifyMessageName);
  ResetRequestMessage = platform::RegisterWindowMessage(kResetRequestMessageName);
  LoadLogFile();
}

void TForm1::LoadHosts() {
  const std::vector<THostEntry> hosts = ReadHostEntries(HostListPath());
  Grid->SetRowCount(static_cast<int>(hosts.size()) + 1 + (hosts.empty() ? 1 : 0));
  Grid->SetFixedRows(1);
  // The grid has no fixed column: the list starts at the host column of the first host.
  Grid->SetLeftCol(0);
  Grid->SetCol(0);
  if (hosts.empty()) {
    FillFreshRow(1);
    SetRemoveEnabled(false);
    return;
  }
  for (size_t i = 0; i < hosts.size(); ++i) {
    const THostEntry& host = hosts[i];
    const int row = static_cast<int>(i) + 1;
    Grid->SetCells(0, row, host.host);
    Grid->SetCells(1, row, host.runOnDisconnected);
    Grid->SetCells(2, row, host.runOnConnected);
    Grid->SetCells(3, row, ShowModeToText(host.show, English_));
    Grid->SetCells(4, row, SwitchCellText(host.enabled));
    Grid->SetCells(5, row, SwitchCellText(host.waitForStatusChange));
  }
}

// The service takes the language of its texts from here.
void TForm1::WriteLanguage() {
  try {
    platform::TIniFile(HostListPath()).WriteBool("Options", "isEnglish", English_);
  } catch (const platform::Exception& e) {
    NoticeUnwritable(e);
  }
}

void TForm1::NoticeUnwritable(const platform::Exception& e) {
  if (unwritableNoticeShown_) return;
  unwritableNoticeShown_ = true;
  platform::MessageDlg(texts::FolderNotWritable.In(English_) + e.Message(), platform::mtWarning, {platform::mbOK}, 0);
}

std::vector<THostEntry> TForm1::GridEntries() const {
  std::vector<THostEntry> entries;
  for (int row = Grid->FixedRows(); row < Grid->RowCount(); ++row) {
    THostEntry entry;
    entry.host = platform::Trim(Grid->Cells(0, row));
    entry.runOnDisconnected = Grid->Cells(1, row);
    entry.runOnConnected = Grid->Cells(2, row);
    entry.show = TextToShowMode(Grid->Cells(3, row));
    entry.enabled = SwitchCellIsOn(Grid->Cells(4, row));
    entry.waitForStatusChange = SwitchCellIsOn(Grid->Cells(5, row));
    entries.push_back(std::move(entry));
  }
  return entries;
}

void TForm1::MarkChanged() {
  btnSave->SetEnabled(true);
  Speichern1->SetEnabled(true);
}

void TForm1::SetRemoveEnabled(bool enabled) {
  btnRemove->SetEnabled(enabled);
  entf->SetEnabled(enabled);
}

void TForm1::Beenden1Click(platform::TObject* Sender) { Close(); }

void TForm1::Einstellungen1Click(platform::TObject* Sender) { frmSettings->ShowModal(); }

void TForm1::Gittergrsseanpassen1Click(platform::TObject* Sender) { Grid->AutoSizeColumns(false, 5); }

void TForm1::Image1Click(platform::TObject* Sender) {
  platform::ShellExecute(Handle(), "open", kProductPage, "", "", platform::SW_SHOWNORMAL);
}

void TForm1::Splitter1CanResize(platform::TObject* Sender, int& NewSize, bool& Accept) {
  if (NewSize < AndockPanel->Constraints().MinHeight()) Accept = false;
}

}  // namespace configurator
