// Save: the grid's rows checked and written to HostList.ini in one replacement.
#include "configurator/VelmoraConf.h"

namespace configurator {

// Nothing is written unless every row may be saved; a refusal or a failed write is shown in the
// interface language, leaves HostList.ini as it was, keeps Save enabled and clears SaveOk, so that a
// close that asked for the save stays open.
void TForm1::btnSaveClick(platform::TObject* Sender) {
  Grid->HideCellEdit();
  btnSave->SetEnabled(false);
  Speichern1->SetEnabled(false);
  const std::vector<THostEntry> entries = GridEntries();
  std::string failure;
  if (const std::optional<THostRefusal> refusal = ValidateHostEntries(entries, English_)) {
    failure = refusal->message;
  } else {
    try {
      SaveHostEntries(HostListPath(), entries);
      Grid->SaveColSizes();
    } catch (const platform::Exception& e) {
      failure = e.Message();
    }
  }
  if (!failure.empty()) {
    platform::ShowMessage(failure);
    MarkChanged();
    SaveOk_ = false;
    return;
  }
  ServiceWait();
}

}  // namespace configurator
