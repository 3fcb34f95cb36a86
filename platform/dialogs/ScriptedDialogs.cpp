#include "platform/dialogs/ScriptedDialogs.h"

namespace platform {

TScriptedDialogService::TScriptedDialogService() : previous_(SetDialogService(this)) {}

TScriptedDialogService::~TScriptedDialogService() { SetDialogService(previous_); }

void TScriptedDialogService::AnswerMessage(TMsgDlgBtn button) { answers_.emplace_back(button); }

void TScriptedDialogService::AnswerFile(const std::string& fileName, int filterIndex) {
  answers_.emplace_back(TFileDialogAnswer{fileName, filterIndex});
}

void TScriptedDialogService::AnswerFolder(const std::string& path, const std::string& displayName) {
  answers_.emplace_back(TFolderAnswer{path, displayName});
}

void TScriptedDialogService::AnswerFont(const TFontAnswer& font) { answers_.emplace_back(font); }

void TScriptedDialogService::AnswerCancel() { answers_.emplace_back(Cancel{}); }

TScriptedDialogService::Answer TScriptedDialogService::Next(const std::string& asked) {
  if (answers_.empty()) throw EScriptedDialogError("Unexpected dialog, no answer scripted: " + asked);
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

TMsgDlgBtn TScriptedDialogService::ShowMessage(const TMessageRequest& request) {
  messages_.push_back(request);
  const Answer answer = Next("message \"" + request.Text + "\"");
  const TMsgDlgBtn* button = std::get_if<TMsgDlgBtn>(&answer);
  if (!button) throw EScriptedDialogError("Message \"" + request.Text + "\" met an answer for another dialog");
  if (!request.Buttons.Contains(*button))
    throw EScriptedDialogError("Message \"" + request.Text + "\" has no such button as the scripted answer");
  return *button;
}

template <class Chosen>
std::optional<Chosen> TScriptedDialogService::Choose(const std::string& asked) {
  const Answer answer = Next(asked);
  if (std::holds_alternative<Cancel>(answer)) return std::nullopt;
  const Chosen* chosen = std::get_if<Chosen>(&answer);
  if (!chosen) throw EScriptedDialogError("The " + asked + " met an answer for another dialog");
  return *chosen;
}

std::optional<TFileDialogAnswer> TScriptedDialogService::ExecuteFileDialog(const TFileDialogRequest& request) {
  fileDialogs_.push_back(request);
  return Choose<TFileDialogAnswer>("file dialog \"" + request.Title + "\"");
}

std::optional<TFolderAnswer> TScriptedDialogService::BrowseForFolder(const TFolderRequest& request) {
  folderDialogs_.push_back(request);
  return Choose<TFolderAnswer>("folder dialog \"" + request.Title + "\"");
}

std::optional<TFontAnswer> TScriptedDialogService::ChooseFont(const TFontRequest& request) {
  fontDialogs_.push_back(request);
  return Choose<TFontAnswer>("font dialog \"" + request.Title + "\"");
}

}  // namespace platform
