#pragma once

#include <string>
#include <vector>

namespace platform {

enum class ServiceAction { Run, Install, Uninstall };

// What the command line asks of a service program: the switches INSTALL and UNINSTALL, each optionally
// with SILENT, written with "/" or "-" in any case ("/install", "-UNINSTALL /silent"). INSTALL wins when
// both are given; every other argument is ignored, and without a switch the service runs.
struct ServiceSwitches {
  ServiceAction action = ServiceAction::Run;
  bool silent = false;
};

ServiceSwitches ParseServiceSwitches(const std::vector<std::string>& arguments);

}  // namespace platform
