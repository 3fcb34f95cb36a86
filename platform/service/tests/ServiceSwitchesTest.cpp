#include "platform/service/ServiceSwitches.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ServiceSwitchesTest, ReadsInstallUninstallAndSilentInAnySpelling) {
  struct Case {
    std::vector<std::string> arguments;
    ServiceAction action;
    bool silent;
  };
  const Case cases[] = {
      {{}, ServiceAction::Run, false},
      {{"/INSTALL"}, ServiceAction::Install, false},
      {{"-install", "/Silent"}, ServiceAction::Install, true},
      {{"/uninstall"}, ServiceAction::Uninstall, false},
      {{"-SILENT", "-UnInstall"}, ServiceAction::Uninstall, true},
      {{"/uninstall", "/install"}, ServiceAction::Install, false},
      {{"INSTALL"}, ServiceAction::Run, false},       // a switch needs its "/" or "-"
      {{"/installer", "--install"}, ServiceAction::Run, false},
      {{"/SILENT"}, ServiceAction::Run, true},
  };
  for (const Case& c : cases) {
    ServiceSwitches switches = ParseServiceSwitches(c.arguments);
    std::string text = testing::PrintToString(c.arguments);
    EXPECT_EQ(switches.action, c.action) << text;
    EXPECT_EQ(switches.silent, c.silent) << text;
  }
}

}  // namespace
}  // namespace platform
