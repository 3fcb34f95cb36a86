#include "platform/app/DialogService.h"

#include <atomic>
#include <iostream>

#include "platform/app/Application.h"
#include "platform/core/Exception.h"

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

namespace {

TModalResult ResultOf(TMsgDlgBtn button) {
  constexpr TModalResult results[] = {mrYes,    mrNo,  mrOk,      mrCancel,   mrAbort, mrRetry,
                                      mrIgnore, mrAll, mrNoToAll, mrYesToAll, mrNone};
  return results[button];
}

}  // namespace

TModalResult ShowMessageRequest(const TMessageRequest& request) {
  const TMsgDlgBtn answer = DialogService().ShowMessage(request);
  if (!request.Buttons.Contains(answer)) throw Exception("The dialog service answered with a button the box does not have");
  return ResultOf(answer);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  struct ButtonSet {
    TMsgDlgBtn buttons[3];
    int count;
  };
  constexpr ButtonSet sets[] = {
      {{mbOK}, 1},           {{mbOK, mbCancel}, 2},          {{mbAbort, mbRetry, mbIgnore}, 3},
      {{mbYes, mbNo, mbCancel}, 3}, {{mbYes, mbNo}, 2}, {{mbRetry, mbCancel}, 2},
  };
  const ButtonSet& set = sets[(Flags & 0xF) < 6 ? (Flags & 0xF) : 0];
  TMessageRequest request;
  request.Caption = Caption;
  request.Text = Text;
  switch (Flags & 0xF0) {
    case MB_ICONERROR: request.Type = mtError; break;
    case MB_ICONQUESTION: request.Type = mtConfirmation; break;
    case MB_ICONWARNING: request.Type = mtWarning; break;
    case MB_ICONINFORMATION: request.Type = mtInformation; break;
    default: request.Type = mtCustom; break;
  }
  for (int i = 0; i < set.count; ++i) request.Buttons.Include(set.buttons[i]);
  const int defaultIndex = static_cast<int>((Flags >> 8) & 0xF);
  request.DefaultButton = set.buttons[defaultIndex < set.count ? defaultIndex : 0];
  return ShowMessageRequest(request);
}

void InstallMessageBoxExceptionDisplay() {
  Application().SetExceptionSink([](const std::string& message) {
    Application().MessageBox(message, Application().Title(), MB_OK | MB_ICONSTOP);
  });
}

}  // namespace platform
