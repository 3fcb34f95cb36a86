#pragma once

#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/app/DialogService.h"

namespace platform {

// A dialog that the script did not expect: no answer left, or an answer of another kind.
class EScriptedDialogError : public Exception {
public:
  using Exception::Exception;
};

// The dialog service of tests: while it lives it answers every dialog of the process from its script,
// in order, and records what was asked. Nothing waits for a person: a dialog without a fitting answer
// raises EScriptedDialogError.
//
//   TScriptedDialogService dialogs;
//   dialogs.AnswerMessage(mbYes);
//   dialogs.AnswerFile("/tmp/hosts.csv");
//   ... run the code ...
//   EXPECT_EQ(dialogs.Messages().at(0).Text, "Save changes?");
class TScriptedDialogService : public IDialogService {
public:
  TScriptedDialogService();
  ~TScriptedDialogService() override;
  TScriptedDialogService(const TScriptedDialogService&) = delete;
  TScriptedDialogService& operator=(const TScriptedDialogService&) = delete;

  void AnswerMessage(TMsgDlgBtn button);
  void AnswerFile(const std::string& fileName, int filterIndex = 1);
  void AnswerFolder(const std::string& path, const std::string& displayName = "");
  void AnswerFont(const TFontAnswer& font);
  // Cancels the next file, folder or font dialog.
  void AnswerCancel();

  // What was asked, in order, by kind.
  const std::vector<TMessageRequest>& Messages() const { return messages_; }
  const std::vector<TFileDialogRequest>& FileDialogs() const { return fileDialogs_; }
  const std::vector<TFolderRequest>& FolderDialogs() const { return folderDialogs_; }
  const std::vector<TFontRequest>& FontDialogs() const { return fontDialogs_; }
  // Answers not yet taken.
  size_t Unanswered() const { return answers_.size(); }

  TMsgDlgBtn ShowMessage(const TMessageRequest& request) override;
  std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest& request) override;
  std::optional<TFolderAnswer> BrowseForFolder(const TFolderRequest& request) override;
  std::optional<TFontAnswer> ChooseFont(const TFontRequest& request) override;

private:
  struct Cancel {};
  using Answer = std::variant<TMsgDlgBtn, TFileDialogAnswer, TFolderAnswer, TFontAnswer, Cancel>;
  Answer Next(const std::string& asked);
  // The next answer for a file or folder dialog; none for a cancel.
  template <class Chosen>
  std::optional<Chosen> Choose(const std::string& asked);

  IDialogService* previous_;
  std::deque<Answer> answers_;
  std::vector<TMessageRequest> messages_;
  std::vector<TFileDialogRequest> fileDialogs_;
  std::vector<TFolderRequest> folderDialogs_;
  std::vector<TFontRequest> fontDialogs_;
};

}  // namespace platform
