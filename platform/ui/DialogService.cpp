#include "platform/ui/DialogService.h"

#include <atomic>
#include <iostream>

namespace platform {

namespace {

// Answers without a person: what the messages say goes to standard error.
class TConsoleDialogService : public IDialogService {
public:
  TMsgDlgBtn ShowMessage(const TMessageRequest& request) override {
    std::cerr << (request.Caption.empty() ? std::string() : request.Caption + ": ") << request.Text << std::endl;
    return request.DefaultButton;
  }
  std::optional<TFileDialogAnswer> ExecuteFileDialog(const TFileDialogRequest&) override { return std::nullopt; }
  std::optional<TFolderAnswer> BrowseForFolder(const TFolderRequest&) override { return std::nullopt; }
};

TConsoleDialogService& ConsoleService() {
  static TConsoleDialogService service;
  return service;
}

std::atomic<IDialogService*> installed{nullptr};

}  // namespace

IDialogService& DialogService() {
  IDialogService* service = installed.load();
  return service ? *service : ConsoleService();
}

IDialogService* SetDialogService(IDialogService* service) { return installed.exchange(service); }

}  // namespace platform
