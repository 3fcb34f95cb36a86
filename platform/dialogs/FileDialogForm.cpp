#include "platform/dialogs/FileDialogForm.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/core/Files.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

struct TTexts {
  const char* lookIn;
  const char* up;
  const char* fileName;
  const char* fileType;
  const char* open;
  const char* save;
  const char* cancel;
  const char* openTitle;
  const char* saveTitle;
  const char* fileNotFound;   // after the name
  const char* pathNotFound;   // after the folder
  const char* replace;        // after the name
  const char* unreadable;     // after the folder
};

const TTexts& Texts() {
  static const TTexts german{"Suchen in:", "Nach oben", "Dateiname:", "Dateityp:", "Öffnen", "Speichern", "Abbrechen",
                             "Öffnen", "Speichern unter",
                             "\nDatei nicht gefunden.\nÜberprüfen Sie den Dateinamen, und wiederholen Sie den Vorgang.",
                             "\nDer Pfad existiert nicht.\nÜberprüfen Sie den Pfad, und wiederholen Sie den Vorgang.",
                             " ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?",
                             "\nDer Ordner kann nicht gelesen werden."};
  static const TTexts english{"Look in:", "Up", "File name:", "Files of type:", "Open", "Save", "Cancel", "Open",
                              "Save As", "\nFile not found.\nCheck the file name and try again.",
                              "\nPath does not exist.\nCheck the path and try again.",
                              " already exists.\nDo you want to replace it?", "\nThe folder cannot be read."};
  return ResourceLanguage() == kLanguageGerman ? german : english;
}

template <class T>
T* Add(TForm& form, TRect bounds, TAnchors anchors) {
  auto* control = new T(&form);
  control->SetParent(&form);
  control->SetBoundsRect(bounds);
  control->SetAnchors(anchors);
  return control;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string ParentOf(const std::string& folder) {
  const fs::path parent = fs::path(folder).parent_path();
  return parent.empty() ? "/" : parent.string();
}

std::string Joined(const std::string& folder, const std::string& name) {
  return fs::path(folder).append(name).lexically_normal().string();
}

}  // namespace

std::vector<TFileFilter> ParseFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  for (size_t start = 0; start <= filter.size();) {
    const size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<TFileFilter> filters;
  for (size_t i = 0; i < parts.size(); i += 2) {
    if (parts[i].empty() && i + 1 >= parts.size()) break;
    TFileFilter entry;
    entry.Description = parts[i];
    if (i + 1 < parts.size())
      for (size_t start = 0; start <= parts[i + 1].size();) {
        const size_t semicolon = parts[i + 1].find(';', start);
        std::string pattern = Trimmed(parts[i + 1].substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start));
        if (!pattern.empty()) entry.Patterns.push_back(pattern);
        if (semicolon == std::string::npos) break;
        start = semicolon + 1;
      }
    filters.push_back(std::move(entry));
  }
  return filters;
}

bool MatchesFileFilter(const std::string& name, const TFileFilter& filter) {
  if (filter.Patterns.empty()) return true;
  for (const std::string& pattern : filter.Patterns) {
    // "*.*" is every file, also one without a dot, as the dialogs have always taken it.
    if (pattern == "*.*" || ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) return true;
  }
  return false;
}

std::string ExpandDialogFolder(const std::string& folder) {
  std::string out;
  for (size_t i = 0; i < folder.size(); ++i) {
    const size_t close = folder[i] == '%' ? folder.find('%', i + 1) : std::string::npos;
    if (close == std::string::npos) {
      out += folder[i] == '\\' ? '/' : folder[i];
      continue;
    }
    const std::string name = folder.substr(i + 1, close - i - 1);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const char* value = std::getenv(name.c_str());
    if (!value) value = std::getenv(upper.c_str());
    if (!value && (upper == "TEMP" || upper == "TMP")) value = std::getenv("TMPDIR");
    if (!value && (upper == "TEMP" || upper == "TMP")) value = "/tmp";
    out += value ? value : folder.substr(i, close - i + 1);
    i = close;
  }
  return out;
}

TFolderViewForm::TFolderViewForm(int width, int height, int listTop, int listBottom) : TForm(nullptr) {
  Font().SetName("Tahoma");
  Font().SetSize(8);
  SetPosition(TPosition::poScreenCenter);
  // The size first: the anchored controls keep their distances to the edges of this size.
  SetClientWidth(width);
  SetClientHeight(height);
  const TTexts& texts = Texts();
  Add<TLabel>(*this, Rect(8, 12, 92, 28), {TAnchorKind::akLeft, TAnchorKind::akTop})->SetCaption(texts.lookIn);
  path_ = Add<TEdit>(*this, Rect(92, 8, width - 96, 29), {TAnchorKind::akLeft, TAnchorKind::akTop, TAnchorKind::akRight});
  up_ = Add<TButton>(*this, Rect(width - 88, 7, width - 8, 30), {TAnchorKind::akTop, TAnchorKind::akRight});
  up_->SetCaption(texts.up);
  up_->OnClick = [this](TObject*) { OpenFolder(ParentOf(folder_)); };
  list_ = Add<TFileListView>(*this, Rect(8, listTop, width - 8, listBottom),
                             {TAnchorKind::akLeft, TAnchorKind::akTop, TAnchorKind::akRight, TAnchorKind::akBottom});
  list_->OnOpen = [this](TObject*) {
    const int selected = list_->Selected();
    if (selected < 0) return;
    const TDirectoryEntry entry = list_->Entries()[static_cast<size_t>(selected)];
    if (entry.IsDirectory)
      OpenFolder(Joined(folder_, entry.Name));
    else
      FileOpened(entry);
  };
  list_->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
    if (key != VK_BACK) return;
    key = 0;
    OpenFolder(ParentOf(folder_));
  };
}

bool TFolderViewForm::OpenFolder(const std::string& folder) {
  std::vector<TDirectoryEntry> entries;
  try {
    entries = ListDirectory(folder);
  } catch (const EFileError&) {
    MessageDlg(folder + Texts().unreadable, mtError, {mbOK}, 0);
    return false;
  }
  std::string normal = fs::path(folder).lexically_normal().string();
  if (normal.size() > 1 && normal.ends_with('/')) normal.pop_back();
  folder_ = normal;
  path_->SetText(folder_);
  up_->SetEnabled(folder_ != "/");
  std::erase_if(entries, [this](const TDirectoryEntry& entry) { return entry.Name.starts_with('.') || !Shows(entry); });
  list_->SetEntries(std::move(entries));
  return true;
}

void TFolderViewForm::DoShow() {
  TForm::DoShow();
  if (firstFocus_ && firstFocus_->CanFocus()) SetActiveControl(firstFocus_);
}

bool TFolderViewForm::OpenTypedFolder() {
  if (ActiveControl() != path_) return false;
  const std::string typed = ExpandDialogFolder(Trimmed(path_->Text()));
  if (!OpenFolder(typed.starts_with('/') ? typed : Joined(folder_, typed))) path_->SetText(folder_);
  return true;
}

void TFolderViewForm::OpenFirstFolder(const std::string& wanted) {
  if (!wanted.empty() && DirectoryExists(wanted) && OpenFolder(fs::absolute(wanted).lexically_normal().string())) return;
  std::error_code error;
  const fs::path working = fs::current_path(error);
  if (!error && OpenFolder(working.string())) return;
  OpenFolder("/");
}

TFileDialogForm::TFileDialogForm(const TFileDialogRequest& request)
    : TFolderViewForm(520, 340, 38, 268), request_(request), filters_(ParseFileFilter(request.Filter)) {
  const TTexts& texts = Texts();
  const bool save = request.Kind == TFileDialogKind::Save;
  SetCaption(!request.Title.empty() ? request.Title : save ? texts.saveTitle : texts.openTitle);
  SetBorderStyle((request.Options & (1u << ofEnableSizing)) ? TFormBorderStyle::bsSizeable : TFormBorderStyle::bsDialog);
  Constraints().SetMinWidth(360);
  Constraints().SetMinHeight(240);
  const TAnchors bottomLeft{TAnchorKind::akLeft, TAnchorKind::akBottom};
  const TAnchors bottomWide{TAnchorKind::akLeft, TAnchorKind::akBottom, TAnchorKind::akRight};
  const TAnchors bottomRight{TAnchorKind::akRight, TAnchorKind::akBottom};
  List().OnSelect = [this](TObject*) {
    const int selected = List().Selected();
    if (selected >= 0 && !List().Entries()[static_cast<size_t>(selected)].IsDirectory)
      fileName_->SetText(List().Entries()[static_cast<size_t>(selected)].Name);
  };
  Add<TLabel>(*this, Rect(8, 282, 92, 298), bottomLeft)->SetCaption(texts.fileName);
  fileName_ = Add<TEdit>(*this, Rect(92, 278, 424, 299), bottomWide);
  ok_ = Add<TButton>(*this, Rect(432, 277, 512, 300), bottomRight);
  ok_->SetCaption(save ? texts.save : texts.open);
  ok_->SetDefault(true);
  ok_->OnClick = [this](TObject*) { Accept(); };
  Add<TLabel>(*this, Rect(8, 312, 92, 328), bottomLeft)->SetCaption(texts.fileType);
  filter_ = Add<TComboBox>(*this, Rect(92, 308, 424, 329), bottomWide);
  filter_->SetStyle(TComboBoxStyle::csDropDownList);
  for (const TFileFilter& entry : filters_) filter_->Items().Add(entry.Description);
  filter_->SetItemIndex(filters_.empty() ? -1 : std::clamp(request.FilterIndex, 1, static_cast<int>(filters_.size())) - 1);
  filter_->OnChange = [this](TObject*) { OpenFolder(Folder()); };
  cancel_ = Add<TButton>(*this, Rect(432, 307, 512, 330), bottomRight);
  cancel_->SetCaption(texts.cancel);
  cancel_->SetCancel(true);
  cancel_->SetModalResult(mrCancel);

  // The first folder: the file name's, else the initial one, else the working folder.
  std::string start = ExpandDialogFolder(request.InitialDir);
  std::string name = ExpandDialogFolder(request.FileName);
  if (const size_t slash = name.find_last_of('/'); slash != std::string::npos) {
    if (DirectoryExists(name.substr(0, slash + 1))) start = name.substr(0, slash + 1);
    name = name.substr(slash + 1);
  }
  fileName_->SetText(name);
  OpenFirstFolder(start);
  SetFirstFocus(fileName_);
}

std::optional<TFileDialogAnswer> TFileDialogForm::Execute() {
  answer_.reset();
  ShowModal();
  return answer_;
}

bool TFileDialogForm::Shows(const TDirectoryEntry& entry) const {
  const int index = filter_->ItemIndex();
  return entry.IsDirectory || index < 0 || MatchesFileFilter(entry.Name, filters_[static_cast<size_t>(index)]);
}

void TFileDialogForm::FileOpened(const TDirectoryEntry& entry) {
  fileName_->SetText(entry.Name);
  Accept();
}

std::string TFileDialogForm::ChosenPath(const std::string& typed) const {
  const std::string path = typed.starts_with('/') ? fs::path(typed).lexically_normal().string() : Joined(Folder(), typed);
  const std::string name = fs::path(path).filename().string();
  if (request_.DefaultExt.empty() || name.find('.') != std::string::npos) return path;
  const std::string withExtension = path + "." + request_.DefaultExt;
  // Opening takes the name as typed when only that exists; saving always adds the extension.
  if (request_.Kind == TFileDialogKind::Open && FileExists(path) && !FileExists(withExtension)) return path;
  return withExtension;
}

bool TFileDialogForm::Confirm(const std::string& path) {
  const TTexts& texts = Texts();
  const bool save = request_.Kind == TFileDialogKind::Save;
  const std::string folder = fs::path(path).parent_path().string();
  if ((save || (request_.Options & (1u << ofPathMustExist))) && !DirectoryExists(folder.empty() ? "/" : folder)) {
    MessageDlg(folder + texts.pathNotFound, mtWarning, {mbOK}, 0);
    return false;
  }
  const std::string name = fs::path(path).filename().string();
  if (!save && (request_.Options & (1u << ofFileMustExist)) && !FileExists(path)) {
    MessageDlg(name + texts.fileNotFound, mtWarning, {mbOK}, 0);
    return false;
  }
  if (save && (request_.Options & (1u << ofOverwritePrompt)) && PathExists(path))
    return MessageDlg(name + texts.replace, mtWarning, mbYesNo, 0) == mrYes;
  return true;
}

void TFileDialogForm::Accept() {
  if (OpenTypedFolder()) return;
  const std::string typed = ExpandDialogFolder(Trimmed(fileName_->Text()));
  if (typed.empty()) {
    // Enter on a selected folder opens it.
    if (List().Selected() >= 0 && List().Entries()[static_cast<size_t>(List().Selected())].IsDirectory) List().OnOpen(&List());
    return;
  }
  // A typed folder (or path of one) opens it.
  const std::string asTyped = typed.starts_with('/') ? fs::path(typed).lexically_normal().string() : Joined(Folder(), typed);
  if (DirectoryExists(asTyped)) {
    if (OpenFolder(asTyped)) fileName_->SetText("");
    return;
  }
  const std::string path = ChosenPath(typed);
  if (!Confirm(path)) return;
  answer_ = TFileDialogAnswer{path, filter_->ItemIndex() + 1};
  SetModalResult(mrOk);
}

}  // namespace platform
