#include "mailer/Smtp1.h"

#include "controls/DisplayClasses.h"
#include "mailer/ErrorLog.h"
#include "mailer/QuilletParameters.h"
#include "mailer/QuilletTexts.h"
#include "mailer/net/MailClasses.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/shell/ShellApi.h"
#include "platform/ui/FormLoader.h"

namespace quillet {

namespace {

template <class T>
T* Component(const TForm1& form, const std::string& name) {
  return &dynamic_cast<T&>(*form.FindComponent(name));
}

}  // namespace

TForm1::TForm1(platform::TComponent* AOwner) : TForm(AOwner) {
  // The classes that the resource names, published once per process.
  static const bool published = (controls::PublishDisplayClasses(), mailnet::PublishMailClasses(), true);
  (void)published;
  platform::TFormMethods methods;
  methods.Add("FormCreate", this, &TForm1::FormCreate);
  methods.Add("StartTimer", this, &TForm1::StartTimer);
  methods.Add("fxLabel1Click", this, &TForm1::fxLabel1Click);
  methods.Add("ApplicationEvents1Exception", this, &TForm1::ApplicationEvents1Exception);
  platform::ReadFormResource(*this, "TForm1", methods);
  fxLabel1 = Component<controls::TFxLabel>(*this, "fxLabel1");
  MarkupLabel1 = Component<controls::TMarkupLabel>(*this, "MarkupLabel1");
  Start = Component<platform::TTimer>(*this, "Start");
  MlSMTP1 = Component<mailnet::TMlSMTP>(*this, "MlSMTP1");
  ApplicationEvents1 = Component<platform::TApplicationEvents>(*this, "ApplicationEvents1");
}

std::string TForm1::UsageText() const { return MarkupLabel1->GetText(); }

void TForm1::FormCreate(platform::TObject* Sender) { Start->SetEnabled(true); }

void TForm1::StartTimer(platform::TObject* Sender) {
  Start->SetEnabled(false);
  if (platform::ParamCount() <= 3) return ShowUsage(242);

  std::vector<std::string> params;
  for (int j = 0; j <= platform::ParamCount(); ++j) params.push_back(platform::ParamStr(j));
  if (ApplyParameters(params, *MlSMTP1) <= 1) return ShowUsage(202);

  platform::TIniFile ini(platform::ExeDir() + "Quillet.ini");
  MlSMTP1->Host = ini.ReadString("SMTP", "Server", "localhost");
  MlSMTP1->PostMessage().FromAddress = ini.ReadString("SMTP", "FromAddress", std::string(DefaultFromAddress));
  MlSMTP1->Connect();
  MlSMTP1->SendMail();
  MlSMTP1->Disconnect();
  if (!MlSMTP1->RefusedRecipients().empty()) {
    LogError(mailnet::RefusedRecipientsText(MlSMTP1->RefusedRecipients()));
    return EndRun(TRunOutcome::PartlyRefused);
  }
  outcome_ = TRunOutcome::Sent;
  Close();
}

void TForm1::fxLabel1Click(platform::TObject* Sender) {
  platform::ShellExecute(nullptr, "open", std::string(HomePage), "", "", platform::SW_SHOWNORMAL);
}

void TForm1::ApplicationEvents1Exception(const platform::Exception& E) {
  LogError(E.Message());
  EndRun(TRunOutcome::Failed);
}

void TForm1::LogError(const std::string& text) {
  errorText_ = text;
  if (!WriteErrorLog(errorText_) && OnUnlogged) OnUnlogged(errorText_);
}

void TForm1::ShowUsage(int height) {
  SetHeight(height);
  EndRun(TRunOutcome::Usage);
}

void TForm1::EndRun(TRunOutcome outcome) {
  outcome_ = outcome;
  if (EndWithoutWindow) Close();
}

}  // namespace quillet
