// The service's status in the main window: each host's state and round trip from status.ini, the
// service icon and the start and stop items, and the status messages of the service.
#include <string>
#include <utility>

#include "configurator/ServiceLink.h"
#include "configurator/VelmoraConf.h"
#include "platform/app/Application.h"
#include "platform/app/Window.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/core/SectionValues.h"

namespace configurator {

namespace {

// Posted to the application window after a status message, so that a burst of them is served once. The
// application window lives as long as the program, so the message is never dropped with a window.
constexpr platform::UINT kStatusMessagesDue = 0x8000 + 38;  // an application message (WM_APP range)

// The images of the state column and the service panel (ImageList1).
constexpr int kStateUnknown = 6, kHostNotAnswering = 7, kHostAnswering = 8;
constexpr const char* kServiceRunningIcon = "<p align=\"center\"><IMG src=\"idx:9\">";
constexpr const char* kServiceNotRunningIcon = "<p align=\"center\"><IMG src=\"idx:10\">";

// A state cell: rows with a host end in "</center>", the row without a host name in "</p>".
std::string StateCell(int image, const char* end = "</center>") {
  return "<p align=\"center\"><IMG src=\"idx:" + std::to_string(image) + "\" align=\"center\">" + end;
}

}  // namespace

bool TForm1::ServiceRuns() const {
  return platform::FileExists(platform::ExeDir() + kStatusFileName) &&
         platform::FindWindow(kServiceWindowClass, kServiceWindowCaption) != platform::HWND{};
}

// status.ini is read once, into the sections' indexes; a file that cannot be read shows every host as
// unknown, as a host missing from it does.
void TForm1::RefreshStatus() {
  const velmora::VUraRazuduVova::UpdateGuard update(*Grid);
  controls::TMarkupStatusPanel& servicePanel = *StatusBar->Panels().Items(1);
  if (!ServiceRuns()) {
    Servicestarten1->SetEnabled(true);
    Servicestoppen1->SetEnabled(false);
    for (int row = 1; row < Grid->RowCount(); ++row) {
      Grid->SetCells(7, row, "?");
      Grid->SetCells(6, row, StateCell(kStateUnknown));
    }
    servicePanel.SetText(kServiceNotRunningIcon);
    return;
  }
  servicePanel.SetText(kServiceRunningIcon);
  Servicestarten1->SetEnabled(false);
  Servicestoppen1->SetEnabled(true);
  platform::TSectionValues states, roundTrips;
  try {
    const platform::TMemIniFile status(platform::ExeDir() + kStatusFileName);
    states = platform::TSectionValues(status, "Hosts");
    roundTrips = platform::TSectionValues(status, "RoundTrip");
  } catch (const platform::Exception&) {
  }
  for (int row = 1; row < Grid->RowCount(); ++row) {
    const std::string host = Grid->Cells(0, row);
    if (host.empty()) {
      Grid->SetCells(6, row, StateCell(kStateUnknown, "</p>"));
      continue;
    }
    const int roundTrip = roundTrips.ReadInteger(host, -1);
    Grid->SetCells(7, row, roundTrip > -1 ? std::to_string(roundTrip) + " ms" : "X");
    const int state = states.ReadInteger(host, 999);
    Grid->SetCells(6, row, StateCell(state == 0 ? kHostNotAnswering : state == 1 ? kHostAnswering : kStateUnknown));
  }
}

void TForm1::StatusSetterTimer(platform::TObject* Sender) { RefreshStatus(); }

// Every status message ends the wait for the service at once; its work (a refresh for wParam 0, the
// log for any other) is done when the message that the first one posted comes, so the messages that
// queued meanwhile cost one refresh and one reload together.
void TForm1::ApplicationEvents1Message(platform::MSG& Msg, bool& Handled) {
  if (Msg.message == kStatusMessagesDue && Msg.hwnd == platform::Application().Handle()) {
    Handled = true;
    ApplyStatusMessages();
    return;
  }
  if (StatusNotifyMessage == 0 || Msg.message != StatusNotifyMessage) return;
  (Msg.wParam == 0 ? statusRefreshDue_ : logReloadDue_) = true;
  Handled = true;
  WaitingForService = false;
  if (statusWorkPosted_) return;
  statusWorkPosted_ = platform::PostMessage(platform::Application().Handle(), kStatusMessagesDue, 0, 0);
  if (!statusWorkPosted_) ApplyStatusMessages();  // a full queue: at once
}

void TForm1::ApplyStatusMessages() {
  statusWorkPosted_ = false;
  if (std::exchange(statusRefreshDue_, false)) RefreshStatus();
  if (std::exchange(logReloadDue_, false)) LoadLogFile();
}

}  // namespace configurator
