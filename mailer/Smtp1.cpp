#include "mailer/Smtp1.h"

#include "controls/html/MarkupText.h"
#include "mailer/ErrorLog.h"
#include "mailer/QuilletParameters.h"
#include "mailer/QuilletTexts.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/shell/ShellApi.h"

namespace quillet {

namespace {

// A silent server would otherwise hold the program for ever: each wait of the session gets this long.
constexpr int SessionWaitMs = 30000;

}  // namespace

TForm1::TForm1(platform::TComponent* AOwner) : TForm(AOwner) {
  SetName("Form1");
  SetCaption("Quillet");
  SetBorderStyle(platform::TFormBorderStyle::bsToolWindow);
  SetPosition(platform::TPosition::poDesktopCenter);
  SetClientWidth(236);
  SetClientHeight(33);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);

  fxLabel1 = new controls::TFxLabel(this);
  fxLabel1->SetParent(this);
  fxLabel1->SetAlign(platform::TAlign::alTop);
  fxLabel1->SetBounds(0, 0, 236, 33);
  fxLabel1->SetCaption("Quillet - Mail vom Rechner");
  fxLabel1->Font().SetName("Arial");
  fxLabel1->Font().SetHeight(-12);
  fxLabel1->Font().SetColor(platform::clHighlight);
  fxLabel1->SetStyle(controls::fxRaised);
  fxLabel1->Effect3D().SetStyle(controls::fxCool);
  fxLabel1->Effect3D().SetOrientation(controls::fxRightBottom);
  fxLabel1->Effect3D().SetDepth(2);
  fxLabel1->Effect3D().SetShadowedColor(platform::clGray);
  fxLabel1->OnClick = [this](platform::TObject* Sender) { fxLabel1Click(Sender); };

  MarkupLabel1 = new controls::TMarkupLabel(this);
  MarkupLabel1->SetParent(this);
  MarkupLabel1->SetAlign(platform::TAlign::alClient);
  MarkupLabel1->SetShadowColor(platform::clGray);
  MarkupLabel1->SetShadowOffset(2);
  MarkupLabel1->SetURLColor(platform::clBlue);
  MarkupLabel1->SetVAlignment(controls::tvaTop);
  MarkupLabel1->HTMLText().SetText(std::string(UsageMarkup));

  Start = new platform::TTimer(this);
  Start->SetEnabled(false);
  Start->SetInterval(1000);
  Start->OnTimer = [this](platform::TObject* Sender) { StartTimer(Sender); };

  MlSMTP1 = new mailnet::TMlSMTP(this);
  MlSMTP1->Port = 25;
  MlSMTP1->TimeOut = SessionWaitMs;
  MlSMTP1->PostMessage().FromName = "Quillet";

  ApplicationEvents1 = new platform::TApplicationEvents(this);
  ApplicationEvents1->OnException = [this](const platform::Exception& E) { ApplicationEvents1Exception(E); };

  OnCreate = [this](platform::TObject* Sender) { FormCreate(Sender); };
}

std::string TForm1::UsageText() { return controls::StripHTML(UsageMarkup); }

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
  outcome_ = TRunOutcome::Sent;
  Close();
}

void TForm1::fxLabel1Click(platform::TObject* Sender) {
  platform::ShellExecute(nullptr, "open", std::string(HomePage), "", "", platform::SW_SHOWNORMAL);
}

void TForm1::ApplicationEvents1Exception(const platform::Exception& E) {
  errorText_ = E.Message();
  if (!WriteErrorLog(errorText_) && OnUnlogged) OnUnlogged(errorText_);
  EndRun(TRunOutcome::Failed);
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
