// The host grid's handlers: editors per column, the browsers behind the ellipsis buttons, the switch
// cells, rows inserted and removed, hints, and a script opened in the text editor.
#include <array>

#include "configurator/ConfWindowTexts.h"
#include "configurator/VelmoraConf.h"
#include "platform/core/Ascii.h"
#include "platform/core/Paths.h"
#include "platform/core/StrUtils.h"
#include "platform/shell/ShellApi.h"
#include "platform/ui/VirtualKeys.h"

namespace configurator {

namespace {

constexpr int kHostCol = 0, kModeCol = 3, kEnabledCol = 4, kWaitCol = 5, kStateCol = 6;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The folder part of a file name: everything up to and including the last separator.
std::string FolderOf(const std::string& fileName) {
  const size_t separator = fileName.find_last_of("/\\");
  return separator == std::string::npos ? "" : fileName.substr(0, separator + 1);
}

// A script that the text editor may open: the file's own extension, without case. One pair of
// surrounding quotes and blanks around the name are not part of it.
bool NamesScript(std::string fileName) {
  fileName = platform::Trim(fileName);
  if (fileName.size() >= 2 && fileName.front() == '"' && fileName.back() == '"')
    fileName = fileName.substr(1, fileName.size() - 2);
  const size_t dot = fileName.rfind('.');
  const size_t separator = fileName.find_last_of("/\\");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return false;
  const std::string extension = platform::LowerCase(fileName.substr(dot));
  return extension == ".bat" || extension == ".cmd" || extension == ".sh";
}

}  // namespace

void TForm1::FillFreshRow(int row) {
  for (int col = 0; col < kModeCol; ++col) Grid->SetCells(col, row, "");
  Grid->SetCells(kModeCol, row, ShowModeToText(1, English_));
  Grid->SetCells(kEnabledCol, row, SwitchCellText(true));
  Grid->SetCells(kWaitCol, row, SwitchCellText(true));
}

// Hiding the editor writes its text into the cell without asking OnCellValidate, so the change is
// marked here.
void TForm1::EndCellEdit() {
  const int col = Grid->Col(), row = Grid->Row();
  const std::string before = Grid->Cells(col, row);
  Grid->HideCellEdit();
  if (Grid->Cells(col, row) != before) MarkChanged();
}

void TForm1::btnInsertClick(platform::TObject* Sender) {
  Grid->AddRow();
  const int row = Grid->RowCount() - 1;
  FillFreshRow(row);
  Grid->SetRow(row);
  // The status display of the new row is refreshed here.
  SetRemoveEnabled(true);
}

// The grid removes the current row as for the Delete key; GridAutoDeleteRow does the rest for both.
void TForm1::btnRemoveClick(platform::TObject* Sender) {
  EndCellEdit();
  platform::SendMessage(Grid->Handle(), platform::WM_KEYDOWN, platform::VK_DELETE, 1);
}

// As the Insert button: a fresh row is no edit by itself.
void TForm1::GridAutoInsertRow(platform::TObject* Sender, int ARow) {
  FillFreshRow(ARow);
  SetRemoveEnabled(true);
}

// The last data row is emptied rather than removed: it gets the fresh row's window mode back, and the one
// row left has its switches on.
void TForm1::GridAutoDeleteRow(platform::TObject* Sender, int ARow) {
  MarkChanged();
  if (Grid->RowCount() > 2) return;
  SetRemoveEnabled(false);
  if (Grid->Cells(kModeCol, 1).empty()) Grid->SetCells(kModeCol, 1, ShowModeToText(1, English_));
  Grid->SetCells(kEnabledCol, 1, SwitchCellText(true));
  Grid->SetCells(kWaitCol, 1, SwitchCellText(true));
}

void TForm1::GridGetEditorType(platform::TObject* Sender, int ACol, int ARow, velmora::TEditorType& AEditor) {
  if (ACol <= 2) AEditor = velmora::TEditorType::edEditBtn;
  if (ACol == kModeCol) AEditor = velmora::TEditorType::edComboList;
}

void TForm1::GridEllipsClick(platform::TObject* Sender, int ACol, int ARow, std::string& S) {
  const std::string chosen = ACol == kHostCol ? BrowseForComputer(S) : ChooseCommandFile(S);
  if (chosen == S) return;
  S = chosen;
  MarkChanged();
}

// The computer's name, or `current` when the browser was cancelled.
std::string TForm1::BrowseForComputer(const std::string& current) {
  const std::optional<platform::TFolderAnswer> answer = platform::BrowseForFolder(
      "Browse for Computer", platform::CSIDL_NETWORK, platform::BIF_BROWSEFORCOMPUTER | platform::BIF_BROWSEFORPRINTER);
  return answer ? answer->DisplayName : current;
}

// The chosen file, or `current` when the dialog was cancelled. An empty cell starts in the scripts
// folder beside the programs.
std::string TForm1::ChooseCommandFile(const std::string& current) {
  OpenDialog1->FileName = current;
  OpenDialog1->InitialDir = current.empty() ? platform::ExeDir() + "scripts" : FolderOf(current);
  return OpenDialog1->Execute() ? OpenDialog1->FileName : current;
}

void TForm1::GridComboChange(platform::TObject* Sender, int ACol, int ARow, int AItemIndex,
                             const std::string& ASelection) {
  Grid->SetCells(ACol, ARow, ASelection);
  MarkChanged();
}

// The grid asks only for a value that differs from the cell's text, so every call is an edit; a cleared
// cell counts as well.
void TForm1::GridCellValidate(platform::TObject* Sender, int Col, int Row, std::string& Value, bool& Valid) {
  MarkChanged();
}

void TForm1::GridClickCell(platform::TObject* Sender, int ARow, int ACol) {
  if (ARow < 1 || (ACol != kEnabledCol && ACol != kWaitCol)) return;
  MarkChanged();
  Grid->SetCells(ACol, ARow, SwitchCellText(Contains(Grid->Cells(ACol, ARow), "idx:0")));
}

void TForm1::GridGetAlignment(platform::TObject* Sender, int ARow, int ACol, platform::TAlignment& HAlign,
                              velmora::TVAlignment& VAlign) {
  if (ARow == 0 && ACol >= kEnabledCol) HAlign = platform::TAlignment::taCenter;
}

void TForm1::GridGridHint(platform::TObject* Sender, int ARow, int ACol, std::string& hintstr) {
  const std::string cell = Grid->Cells(ACol, ARow);
  const TConfText* hint = nullptr;
  if (ACol < kWaitCol) {
    hint = &texts::ColumnHints[static_cast<size_t>(ACol)];
  } else if (ACol == kWaitCol) {
    hint = Contains(cell, "idx:1") ? &texts::HintActionAtStart : &texts::HintActionOnChange;
  } else if (ACol == kStateCol) {
    if (Contains(cell, "idx:6")) hint = &texts::HintStateUndefined;
    else if (Contains(cell, "idx:7")) hint = &texts::HintHostNotAnswering;
    else if (Contains(cell, "idx:8")) hint = &texts::HintHostAnswering;
  } else {
    hint = &texts::HintRoundTrip;
  }
  if (hint) hintstr = hint->In(English_);
}

// The last hint stays readable in the status bar.
void TForm1::MarkupHint1ShowHint(std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo) {
  StatusBar->Panels().Items(6)->SetText(HintStr);
}

void TForm1::GridContextPopup(platform::TObject* Sender, platform::TPoint MousePos, bool& Handled) {
  imEditorbearbeiten1->SetEnabled(NamesScript(Grid->Cells(Grid->Col(), Grid->Row())));
}

void TForm1::imEditorbearbeiten1Click(platform::TObject* Sender) {
  platform::ShellExecute(Handle(), "open", "notepad.exe", Grid->Cells(Grid->Col(), Grid->Row()), "", platform::SW_SHOW);
  imEditorbearbeiten1->SetEnabled(false);
}

}  // namespace configurator
