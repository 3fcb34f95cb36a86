#include "platform/service/ServiceSwitches.h"


#include <algorithm>

#include "platform/core/Ascii.h"

namespace platform {

namespace {

bool HasSwitch(const std::vector<std::string>& arguments, const char* name) {
  return std::any_of(arguments.begin(), arguments.end(), [name](const std::string& argument) {
    return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-') &&
           SameText(std::string_view(argument).substr(1), name);
  });
}

}  // namespace

ServiceSwitches ParseServiceSwitches(const std::vector<std::string>& arguments) {
  ServiceSwitches switches;
  if (HasSwitch(arguments, "INSTALL")) {
    switches.action = ServiceAction::Install;
  } else if (HasSwitch(arguments, "UNINSTALL")) {
    switches.action = ServiceAction::Uninstall;
  }
  switches.silent = HasSwitch(arguments, "SILENT");
  return switches;
}

}  // namespace platform
