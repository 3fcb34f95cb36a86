#include "mailer/net/MailClasses.h"

#include "mailer/net/Mlsmtp.h"
#include "platform/app/PublishedClasses.h"

namespace mailnet {

using platform::PublishEnum;
using platform::TClassPublisher;

void PublishMailClasses() {
  PublishEnum<UUMethods>({{"uuMime", uuMime}, {"uuCode", uuCode}});
  PublishEnum<TSubType>({{"mtPlain", mtPlain},
                         {"mtEnriched", mtEnriched},
                         {"mtSgml", mtSgml},
                         {"mtTabSeperated", mtTabSeperated},
                         {"mtHtml", mtHtml}});
  TClassPublisher<TMsgSock, platform::TComponent>("TMsgSock")
      .Property("Host", &TMsgSock::Host)
      .Property("Port", &TMsgSock::Port)
      .Property("TimeOut", &TMsgSock::TimeOut)
      .Property("ReportLevel", &TMsgSock::ReportLevel);
  TClassPublisher<TPostMessage>("TPostMessage")
      .Property("FromAddress", &TPostMessage::FromAddress)
      .Property("FromName", &TPostMessage::FromName);
  TClassPublisher<TMlSMTP, TMsgSock>("TMlSMTP")
      .Property("UserID", &TMlSMTP::UserID)
      .Property("EncodeType", &TMlSMTP::EncodeType)
      .Property("ClearParams", &TMlSMTP::ClearParams)
      .Property("SubType", &TMlSMTP::SubType)
      .Property("Charset", &TMlSMTP::Charset)
      .Object("PostMessage", &TMlSMTP::PostMessage);
}

}  // namespace mailnet
