#include "platform/dialogs/FolderBrowserForm.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kWidth = 420;

}  // namespace

std::vector<std::string> KnownComputers(const std::string& hostsFile) {
  std::vector<std::string> names;
  std::string text;
  try {
    text = ReadFileBytes(hostsFile);
  } catch (const EFileError&) {
    // Without a hosts file only this machine is known.
  }
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string address;
    fields >> address;
    for (std::string name; fields >> name;) names.push_back(name);
  }
  char own[256] = {};
  if (::gethostname(own, sizeof own - 1) == 0 && own[0]) names.emplace_back(own);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

TFolderBrowserForm::TFolderBrowserForm(const TFolderRequest& request, const std::string& hostsFile)
    : TFolderViewForm(kWidth, 320, 60, 280) {
  const bool german = ResourceLanguage() == kLanguageGerman;
  SetCaption(german ? "Ordner suchen" : "Browse for Folder");
  SetBorderStyle(TFormBorderStyle::bsSizeable);
  Constraints().SetMinWidth(300);
  Constraints().SetMinHeight(220);
  auto* title = new TLabel(this);
  title->SetParent(this);
  title->SetShowAccelChar(false);
  title->SetCaption(request.Title);
  title->SetBounds(8, 38, kWidth - 16, 16);
  const TAnchors bottomRight{TAnchorKind::akRight, TAnchorKind::akBottom};
  ok_ = new TButton(this);
  ok_->SetParent(this);
  ok_->SetCaption("OK");
  ok_->SetBounds(kWidth - 176, 289, 80, 23);
  ok_->SetAnchors(bottomRight);
  ok_->SetDefault(true);
  ok_->OnClick = [this](TObject*) { Accept(); };
  cancel_ = new TButton(this);
  cancel_->SetParent(this);
  cancel_->SetCaption(german ? "Abbrechen" : "Cancel");
  cancel_->SetBounds(kWidth - 88, 289, 80, 23);
  cancel_->SetAnchors(bottomRight);
  cancel_->SetCancel(true);
  cancel_->SetModalResult(mrCancel);

  if (request.Flags & BIF_BROWSEFORCOMPUTER) {
    SetCaption(german ? "Computer suchen" : "Browse for Computer");
    PathEdit().Hide();
    UpButton().Hide();
    List().Hide();
    title->SetTop(12);
    computers_ = new TComboBox(this);
    computers_->SetParent(this);
    computers_->SetBounds(8, 36, kWidth - 16, 21);
    computers_->SetAnchors({TAnchorKind::akLeft, TAnchorKind::akTop, TAnchorKind::akRight});
    computers_->SetItems(KnownComputers(hostsFile));
    computers_->SetDropDownCount(12);
    SetClientHeight(100);
    SetFirstFocus(computers_);
    return;
  }
  // Enter takes the selected folder, as OK does; a double click opens it.
  List().OnKeyDown = [this, up = List().OnKeyDown](TObject* sender, WORD& key, TShiftState shift) {
    if (key != VK_RETURN) {
      up(sender, key, shift);
      return;
    }
    key = 0;
    Accept();
  };
  const char* home = std::getenv("HOME");
  OpenFirstFolder(home ? home : "/");
  SetFirstFocus(&List());
}

std::optional<TFolderAnswer> TFolderBrowserForm::Execute() {
  answer_.reset();
  ShowModal();
  return answer_;
}

void TFolderBrowserForm::Accept() {
  if (computers_) {
    std::string name = computers_->Text();
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty()) return;
    answer_ = TFolderAnswer{"", name};
    SetModalResult(mrOk);
    return;
  }
  if (OpenTypedFolder()) return;
  std::filesystem::path chosen(Folder());
  if (const int selected = List().Selected(); selected >= 0)
    chosen /= List().Entries()[static_cast<size_t>(selected)].Name;
  const std::string display = chosen.filename().string();
  answer_ = TFolderAnswer{chosen.string(), display.empty() ? chosen.string() : display};
  SetModalResult(mrOk);
}

}  // namespace platform
