// The log panel: the service's events.log, read-only, its last line in view.
#include "configurator/ConfServiceTexts.h"
#include "configurator/ServiceLink.h"
#include "configurator/VelmoraConf.h"
#include "platform/core/FileTail.h"
#include "platform/core/Paths.h"
#include "platform/edits/EditMessages.h"

namespace configurator {

namespace {

// The service's own log stays far below this (it rotates past 1000 lines of at most 2000 bytes); a
// larger file, put there by someone else, shows its end only.
constexpr uint64_t kMaxShownLogBytes = 4 * 1024 * 1024;

}  // namespace

void TForm1::LoadLogFile() {
  LogFile->Clear();
  try {
    platform::TFileTail tail = platform::ReadRegularFileTail(platform::ExeDir() + kEventLogFileName, kMaxShownLogBytes);
    // A tail that begins inside a line shows from the next whole line on.
    if (tail.cut) tail.bytes.erase(0, tail.bytes.find('\n') + 1);
    LogFile->Lines().SetText(tail.bytes);
  } catch (const platform::Exception&) {
    LogFile->Lines().SetText(texts::EventlogNotFound.In(English_));
  }
  LogFile->Perform(platform::EM_LINESCROLL, 0, LogFile->Lines().Count() - 1);
}

}  // namespace configurator
