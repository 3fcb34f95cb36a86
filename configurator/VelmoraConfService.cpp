// The service control: the hand-over after a save (the reset request and the wait for the service's
// answer) and the start and stop scripts.
#include "configurator/ConfServiceTexts.h"
#include "configurator/ServiceLink.h"
#include "configurator/VelmoraConf.h"
#include "platform/app/Timer.h"
#include "platform/app/Window.h"
#include "platform/core/Paths.h"
#include "platform/shell/ShellApi.h"

namespace configurator {

namespace {

// The wait: eleven steps of up to a second each (progress 0 to 10), then the time-out.
constexpr int kLastWaitStep = 10;
constexpr platform::UINT kWaitStepMs = 1000;

// Why the shell could not run a script, in the interface language.
std::string ShellFailure(int result, bool english) {
  switch (result) {
    case platform::ERROR_FILE_NOT_FOUND:
    case platform::ERROR_PATH_NOT_FOUND:
      return texts::ScriptMissing.In(english);
    case platform::SE_ERR_ACCESSDENIED:
      return texts::ScriptAccessDenied.In(english);
    default:
      return texts::ScriptShellError.In(english) + std::to_string(result);
  }
}

}  // namespace

void TForm1::BindServiceHandlers(platform::TFormMethods& methods) {
  methods.Add("ApplicationEvents1Message", this, &TForm1::ApplicationEvents1Message);
  methods.Add("StatusSetterTimer", this, &TForm1::StatusSetterTimer);
  methods.Add("Servicestarten1Click", this, &TForm1::Servicestarten1Click);
  methods.Add("Servicestoppen1Click", this, &TForm1::Servicestoppen1Click);
}

// While the form waits it is disabled, refuses to close and shows the progress in panel 0; the message
// loop runs meanwhile, so the status message that ends the wait, the timers and painting go on. However
// the wait ends (an answer, the time-out, an exception), the form is enabled again and panel 0 shows
// its text.
void TForm1::ServiceWait() {
  if (!ServiceRuns()) {
    if (platform::MessageDlg(texts::StartServiceNow.In(English_), platform::mtConfirmation, platform::mbYesNo, 0) ==
        platform::mrYes)
      Servicestarten1Click(Servicestarten1);
    return;
  }
  if (platform::MessageDlg(texts::ResetService.In(English_), platform::mtWarning, platform::mbYesNo, 0) !=
      platform::mrYes)
    return;
  platform::PostMessage(platform::HWND_BROADCAST, ResetRequestMessage, 0, 0);
  WaitingForService = true;
  controls::TMarkupStatusPanel& progressPanel = *StatusBar->Panels().Items(0);
  struct TWaitEnd {
    TForm1& form;
    controls::TMarkupStatusPanel& panel;
    ~TWaitEnd() {
      form.WaitingForService = false;
      panel.SetStyle(controls::TMarkupStatusPanelStyle::psHTML);
      form.SetEnabled(true);
    }
  } waitEnd{*this, progressPanel};
  StatusBar->Panels().Items(6)->SetText(texts::WaitForService.In(English_));
  progressPanel.SetStyle(controls::TMarkupStatusPanelStyle::psProgress);
  progressPanel.Progress().SetMax(kLastWaitStep);
  progressPanel.Progress().SetPosition(0);
  for (int counter = 0; WaitingForService && !platform::Application().Terminated(); ++counter) {
    if (counter > kLastWaitStep) {
      platform::ShowMessage(texts::ServiceTimeout.In(English_));
      StatusBar->Panels().Items(6)->SetText(texts::ServiceTimeoutPanel.In(English_));
      break;
    }
    SetEnabled(false);
    progressPanel.Progress().SetPosition(counter);
    bool stepOver = false;
    platform::TTimer step(nullptr);
    step.SetInterval(kWaitStepMs);
    step.OnTimer = [&](platform::TObject*) { stepOver = true; };
    platform::Application().HandleMessagesUntil([&] { return stepOver || !WaitingForService; });
  }
}

void TForm1::Servicestarten1Click(platform::TObject* Sender) { RunServiceScript(Servicestarten1, kStartScript); }

void TForm1::Servicestoppen1Click(platform::TObject* Sender) { RunServiceScript(Servicestoppen1, kStopScript); }

// The item stays disabled until the next refresh shows what became of the service, unless the shell
// could not run the script at all.
void TForm1::RunServiceScript(platform::TMenuItem* item, const char* script) {
  item->SetEnabled(false);
  const std::string path = platform::ExeDir() + script;
  const int result = platform::ShellExecute(Handle(), "open", path, "", "", platform::SW_SHOW);
  if (result > 32) return;
  item->SetEnabled(true);
  platform::MessageDlg(path + texts::ScriptNotRun.In(English_) + ShellFailure(result, English_), platform::mtError,
                       {platform::mbOK}, 0);
}

}  // namespace configurator
