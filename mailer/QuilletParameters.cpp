#include "mailer/QuilletParameters.h"

#include "platform/core/Ascii.h"
#include "platform/core/DateTime.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"

namespace quillet {

namespace {

// A body file's text as the body: one list line (the send splits it at its line breaks), so the text
// is held once, without the per-line cost of a list line each. The lines are those that setting the
// list's Text would give: a final line break starts no line, and an empty file is no line.
void SetBodyText(platform::TStringList& body, std::string text) {
  body.Clear();
  if (text.empty()) return;
  const bool crLf = text.ends_with("\r\n");
  if (crLf || text.ends_with('\n') || text.ends_with('\r')) text.resize(text.size() - (crLf ? 2 : 1));
  body.Add(std::move(text));
}

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
    SetBodyText(message.Body(), platform::ReadRegularFile(value, MaxBodyFileBytes));
  } else if (name == "-bhtml") {
    SetBodyText(message.Body(), platform::ReadRegularFile(value, MaxBodyFileBytes));
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
