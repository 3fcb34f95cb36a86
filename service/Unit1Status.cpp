// The status of the hosts: status.ini after every check, the notification of the configurator, and the
// HTML status page with its two tag handlers.
#include <mutex>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/app/Window.h"
#include "service/ServiceFiles.h"
#include "service/StatusCells.h"
#include "service/Unit1.h"

namespace velmora {

void TTarvonex::WriteStatus(const std::string& host, int state, int32_t roundTrip) {
  std::lock_guard lock(serviceLock);
  // status.ini is the service's own: a symbolic link in its place goes before the file is read or written,
  // so that its target is neither.
  const std::string statusPath = FileInExeFolder(kStatusFile);
  if (platform::IsSymbolicLink(statusPath)) platform::DeleteFile(statusPath);
  if (!host.empty()) {
    try {
      platform::TIniFile status(statusPath);
      status.WriteInteger("Hosts", host, state);
      status.WriteInteger("RoundTrip", host, roundTrip);
      writeFailures.Succeeded(kStatusFile);
    } catch (const platform::Exception& e) {
      // The check goes on: its confirmation and command matter more than the record of it.
      ReportWriteFailure(kStatusFile, e.Message());
    }
    platform::Sleep(500);
  }
  NotifyConfigurator(0);
  if (webStatus) WritePage();
}

void TTarvonex::NotifyConfigurator(platform::WPARAM wParam) {
  if (statusNotifyId == 0) return;  // a reload signal before the service registered its messages
  platform::HWND window = platform::FindWindow("TForm1", "Velmora - Konfigurator");
  if (window == platform::HWND{}) window = platform::FindWindow("TForm1", "Velmora - Configurator");
  if (window != platform::HWND{}) platform::PostMessage(window, statusNotifyId, wParam, 0);
}

void TTarvonex::WritePage() {
  try {
    // Read once for the whole page: a read per row would cost the square of the hosts.
    pageRoundTrips = platform::TSectionValues(platform::TMemIniFile(FileInExeFolder(kStatusFile)), "RoundTrip");
    platform::WriteFileAtomic(platform::ResolvePath(pagePath), PageProducer1.Content());
    writeFailures.Succeeded(kPageFile);
  } catch (const platform::Exception& e) {
    ReportWriteFailure(kPageFile, e.Message());
  }
}

void TTarvonex::ReportWriteFailure(const std::string& file, const std::string& error) {
  if (!writeFailures.Failed(file, error)) return;
  LogMessage(error);
  // Once the stop line is written, the log is closed: a failure of the last page goes to standard error.
  if (!Terminated()) WriteLog(error);
}

void TTarvonex::PageProducer1HTMLTag(platform::TPageProducer& Sender, const std::string& TagString,
                                     const std::vector<std::string>& TagParams, std::string& ReplaceText) {
  if (TagString != "CONTENT") return;
  const std::string rowTemplate = platform::ReadRegularFile(PageProducer2.HTMLFile());
  for (pageRow = 0; pageRow < hostList.Count(); ++pageRow) ReplaceText += PageProducer2.ContentFromString(rowTemplate);
}

void TTarvonex::PageProducer2HTMLTag(platform::TPageProducer& Sender, const std::string& TagString,
                                     const std::vector<std::string>& TagParams, std::string& ReplaceText) {
  if (pageRow < 0 || pageRow >= hostList.Count()) return;
  const std::string host = hostList.Strings(pageRow);
  if (TagString == "HOSTNAME") {
    ReplaceText = HostNameCell(host);
  } else if (TagString == "ROUNDTRIP") {
    ReplaceText = RoundTripCell(pageRoundTrips.ReadInteger(host, -1));
  } else if (TagString == "STATUS") {
    // A host whose start value is missing (the settings failed to load) shows as down.
    const size_t row = static_cast<size_t>(pageRow);
    ReplaceText = StateCell(row < knownState.size() ? knownState[row] : 0);
  }
}

}  // namespace velmora
