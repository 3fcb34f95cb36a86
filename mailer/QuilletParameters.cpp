#include "mailer/QuilletParameters.h"

#include "platform/core/Ascii.h"
#include "platform/core/DateTime.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"

namespace quillet {

namespace {

// Applies one switch; false when `name` is none of Quillet's switches.
bool ApplySwitch(const std::string& name, const std::string& value, mailnet::TMlSMTP& smtp) {
  mailnet::TPostMessage& message = smtp.PostMessage();
  if (name == "-a") {
    message.ToAddress().Add(value);
  } else if (name == "-s") {
    message.Subject = value;
    message.Date = platform::DateToStr(platform::Date());
    message.LocalProgram = platform::ExeFileName();
  } else if (name == "-b") {
    message.Body().Add(value);
  } else if (name == "-btxt") {
    message.Body().SetText(platform::ReadRegularFile(value, MaxBodyFileBytes));
  } else if (name == "-bhtml") {
    message.Body().SetText(platform::ReadRegularFile(value, MaxBodyFileBytes));
    smtp.SubType = mailnet::mtHtml;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int ApplyParameters(const std::vector<std::string>& params, mailnet::TMlSMTP& smtp) {
  int matches = 0;
  for (size_t j = 0; j < params.size(); ++j) {
    const std::string value = j + 1 < params.size() ? params[j + 1] : std::string();
    if (ApplySwitch(platform::LowerCase(params[j]), value, smtp)) ++matches;
  }
  return matches;
}

}  // namespace quillet
