// The help button: the help page of the interface language, beside the programs, in the user's browser.
#include "configurator/ConfExchangeTexts.h"
#include "configurator/VelmoraConf.h"
#include "platform/core/Paths.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/shell/ShellApi.h"

namespace configurator {

// The shell hands the page to the desktop's opener; a page that is missing or that no program could be
// started for is reported with its path.
void TForm1::btnHelpClick(platform::TObject* Sender) {
  const std::string page = platform::ExeDir() + (English_ ? "help.html" : "hilfe.html");
  const int result = platform::ShellExecute(Handle(), "open", page, "", "", platform::SW_SHOW);
  if (result > 32) return;
  const bool missing = result == platform::ERROR_FILE_NOT_FOUND || result == platform::ERROR_PATH_NOT_FOUND;
  platform::MessageDlg((missing ? texts::HelpMissing : texts::HelpNotOpened).In(English_) + page, platform::mtError,
                       {platform::mbOK}, 0);
}

}  // namespace configurator
