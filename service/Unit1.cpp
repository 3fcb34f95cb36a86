#include "service/Unit1.h"

#include "platform/core/Paths.h"

namespace velmora {

TTarvonex::TTarvonex(platform::TComponent* AOwner)
    : TService(AOwner),
      Timer1(new platform::TTimer(this)),
      ApplicationEvents1(new platform::TApplicationEvents(this)),
      icmp(new TNxIcmpClient(this)) {
  SetName("Tarvonex");
  DisplayName = "Velmora";
  Dependencies = {"lanmanworkstation"};
  Interactive = true;
  StartType = platform::TStartType::stAuto;
  AllowStop = true;
  AllowPause = true;
  WaitHint = 5000;
  OnStart = [this](platform::TService* Sender, bool& Started) { ServiceStart(Sender, Started); };
  OnExecute = [this](platform::TService* Sender) { ServiceExecute(Sender); };
  OnStop = [this](platform::TService* Sender, bool& Stopped) { ServiceStop(Sender, Stopped); };
  OnPause = [this](platform::TService* Sender, bool& Paused) { ServicePause(Sender, Paused); };
  OnContinue = [this](platform::TService* Sender, bool& Continued) { ServiceContinue(Sender, Continued); };
  OnReload = [this](platform::TService* Sender) { ServiceReload(Sender); };

  Timer1->SetEnabled(false);
  Timer1->SetInterval(3000);
  Timer1->OnTimer = [this](platform::TObject* Sender) { Timer1Timer(Sender); };
  ApplicationEvents1->OnMessage = [this](platform::MSG& Msg, bool& Handled) { ApplicationEvents1Message(Msg, Handled); };
  PageProducer1.OnHTMLTag = [this](platform::TPageProducer& Sender, const std::string& TagString,
                                   const std::vector<std::string>& TagParams, std::string& ReplaceText) {
    PageProducer1HTMLTag(Sender, TagString, TagParams, ReplaceText);
  };
  PageProducer2.OnHTMLTag = [this](platform::TPageProducer& Sender, const std::string& TagString,
                                   const std::vector<std::string>& TagParams, std::string& ReplaceText) {
    PageProducer2HTMLTag(Sender, TagString, TagParams, ReplaceText);
  };
  icmp->Port = 2222;
  icmp->OnReply = [this](TNxIcmpClient* ASender, const TReplyStatus& AReplyStatus) { icmpReply(ASender, AReplyStatus); };
  icmp->OnWaiting = [this] { ServeWhileBusy(); };
}

TTarvonex::~TTarvonex() {
  // The service thread uses the fields and the components; it must have ended before they go.
  ServiceThread()->WaitFor();
}

std::string TTarvonex::FileInExeFolder(const std::string& name) const {
  return exePath.substr(0, exePath.rfind('/') + 1) + name;
}

}  // namespace velmora
