// The language switch: the resource language of the next start, kept in the registry's locale override.
#include "configurator/ConfExchangeTexts.h"
#include "configurator/VelmoraConf.h"
#include "platform/app/FormLanguage.h"
#include "platform/core/Paths.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/shell/Registry.h"

namespace configurator {

void TForm1::Deutsch1Click(platform::TObject* Sender) { SwitchLanguage(false); }

void TForm1::English1Click(platform::TObject* Sender) { SwitchLanguage(true); }

// The running program keeps its language; FormCreate decides anew at each start. The notice and the
// error are in the language chosen. A value that could not be written leaves the checks as they were,
// so they never claim a language that the next start will not have.
void TForm1::SwitchLanguage(bool english) {
  try {
    platform::TRegistry registry;
    registry.SetRootKey(platform::HKEY_CURRENT_USER);
    // A key that did not open makes the write raise.
    registry.OpenKey(std::string(platform::kLocaleOverrideKey), true);
    registry.WriteString(platform::ParamStr(0),
                         std::string(english ? platform::kLanguageEnglish : platform::kLanguageGerman));
  } catch (const platform::Exception& e) {
    platform::MessageDlg(texts::LanguageNotSwitched.In(english) + e.Message(), platform::mtError, {platform::mbOK}, 0);
    return;
  }
  English1->SetChecked(english);
  Deutsch1->SetChecked(!english);
  platform::MessageDlg(texts::RestartForLanguage.In(english), english ? platform::mtWarning : platform::mtInformation,
                       {platform::mbOK}, 0);
}

}  // namespace configurator
