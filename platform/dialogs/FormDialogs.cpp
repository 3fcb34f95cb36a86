#include "platform/dialogs/FormDialogs.h"

#include "platform/dialogs/FileDialogForm.h"
#include "platform/dialogs/FolderBrowserForm.h"
#include "platform/dialogs/FontDialogForm.h"
#include "platform/dialogs/MessageForm.h"

namespace platform {

TMsgDlgBtn TFormDialogService::ShowMessage(const TMessageRequest& request) { return TMessageForm(request).Execute(); }

std::optional<TFileDialogAnswer> TFormDialogService::ExecuteFileDialog(const TFileDialogRequest& request) {
  return TFileDialogForm(request).Execute();
}

std::optional<TFolderAnswer> TFormDialogService::BrowseForFolder(const TFolderRequest& request) {
  return TFolderBrowserForm(request).Execute();
}

std::optional<TFontAnswer> TFormDialogService::ChooseFont(const TFontRequest& request) {
  return TFontDialogForm(request).Execute();
}

}  // namespace platform
