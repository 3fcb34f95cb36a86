#include "platform/service/ServiceUnit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/service/Service.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class ServiceUnitTest : public testing::Test {
protected:
  void SetUp() override {
    service_.SetName("Tarvonex");
    service_.DisplayName = "Velmora";
    service_.Dependencies = {"lanmanworkstation"};
    folder_ = fs::temp_directory_path() / ("units-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    ::setenv("VELMORA_UNIT_DIR", folder_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("VELMORA_UNIT_DIR");
    fs::remove_all(folder_);
  }

  TService service_{nullptr};
  fs::path folder_;
};

TEST_F(ServiceUnitTest, TheUnitCarriesTheRegistration) {
  EXPECT_EQ(ServiceUnitText(service_, "/opt/velmora/velmora"),
            "[Unit]\n"
            "Description=Velmora\n"
            "After=network-online.target\n"
            "Wants=network-online.target\n"
            "\n"
            "[Service]\nType=simple\nExecStart=\"/opt/velmora/velmora\"\nExecReload=/bin/kill -HUP $MAINPID\n"
            "KillMode=process\nRestart=on-failure\nRestartSec=5\nTimeoutStopSec=10\n"
            "LockPersonality=yes\nRestrictRealtime=yes\n"
            "\n"
            "[Install]\n"
            "WantedBy=multi-user.target\n");
}

TEST_F(ServiceUnitTest, NamesAndPathsAreEscapedOrRefused) {
  service_.DisplayName = "100% up";
  service_.Dependencies = {"LanmanWorkstation", "other"};
  // "$" stays single (systemd expands no variable in the program's name, so "$$" was taken literally).
  std::string unit = ServiceUnitText(service_, "/opt/my tools/$x %n/velmora");
  EXPECT_NE(unit.find("Description=100%% up\n"), std::string::npos);
  EXPECT_NE(unit.find("After=network-online.target\nWants=network-online.target\n"
                      "After=other.service\nWants=other.service\n"),
            std::string::npos);
  EXPECT_NE(unit.find("ExecStart=\"/opt/my tools/$x %%n/velmora\"\n"), std::string::npos) << unit;
  // systemd refuses a program path with a quote or a backslash, so the unit is not written at all.
  for (const char* path : {"/opt/my \"tools\"/velmora", "/opt/it's/velmora", "/opt/odd\\velmora"})
    EXPECT_THROW(ServiceUnitText(service_, path), Exception) << path;

  EXPECT_THROW(ServiceUnitText(service_, "/opt/a\nExecStartPre=/bin/evil"), Exception);
  service_.DisplayName = "two\nlines";
  EXPECT_THROW(ServiceUnitText(service_, "/opt/velmora"), Exception);
  service_.DisplayName = "joins the next line\\";  // systemd would read After= into the Description
  EXPECT_THROW(ServiceUnitText(service_, "/opt/velmora"), Exception);
  service_.DisplayName = "Velmora";
  for (const char* dependency : {"two words", "50%", "a\nb", ""}) {
    service_.Dependencies = {dependency};
    EXPECT_THROW(ServiceUnitText(service_, "/opt/velmora"), Exception) << dependency;
  }
  service_.Dependencies = {"lanmanworkstation"};
  service_.SetName("../escape");
  EXPECT_THROW(ServiceUnitText(service_, "/opt/velmora"), Exception);
}

// The unit as systemd reads it, for a program in a folder whose path has a "$" and a blank.
TEST_F(ServiceUnitTest, SystemdAcceptsTheUnit) {
  if (std::system("systemd-analyze --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs systemd-analyze";
  const fs::path program = folder_ / "a $x b" / "velmora";
  fs::create_directories(program.parent_path());
  fs::copy_file("/bin/true", program);
  service_.Dependencies = {};  // verify knows no targets outside a running system
  ASSERT_TRUE(InstallService(service_, program).ok);
  const std::string verify = "systemd-analyze verify '" + (folder_ / "Tarvonex.service").string() + "' 2>&1";
  FILE* output = ::popen(verify.c_str(), "r");
  ASSERT_NE(output, nullptr);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, output)) text += buffer;
  EXPECT_EQ(::pclose(output), 0) << text;
  EXPECT_EQ(text, "");
}

TEST_F(ServiceUnitTest, APathSystemdWouldRefuseIsNotInstalled) {
  ServiceSetupResult result = InstallService(service_, "/opt/say \"hi\"/velmora");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("quote or a backslash"), std::string::npos) << result.message;
  EXPECT_FALSE(fs::exists(folder_ / "Tarvonex.service"));
}

TEST_F(ServiceUnitTest, InstallWritesAndUninstallRemovesTheUnit) {
  fs::path unit = folder_ / "Tarvonex.service";
  ServiceSetupResult installed = InstallService(service_, "/opt/velmora/velmora");
  EXPECT_TRUE(installed.ok) << installed.message;
  EXPECT_NE(installed.message.find(unit.string()), std::string::npos);
  EXPECT_EQ(ReadFileBytes(unit), ServiceUnitText(service_, "/opt/velmora/velmora"));
  EXPECT_EQ(fs::status(unit).permissions(), fs::perms(0644));

  ServiceSetupResult removed = UninstallService(service_);
  EXPECT_TRUE(removed.ok) << removed.message;
  EXPECT_FALSE(fs::exists(unit));

  ServiceSetupResult again = UninstallService(service_);
  EXPECT_FALSE(again.ok);
  EXPECT_NE(again.message.find("not installed"), std::string::npos);
}

TEST_F(ServiceUnitTest, AFolderThatCannotBeWrittenIsAFailure) {
  ::setenv("VELMORA_UNIT_DIR", (folder_ / "missing").c_str(), 1);
  ServiceSetupResult result = InstallService(service_, "/opt/velmora/velmora");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("Cannot install the service Velmora (Tarvonex)"), std::string::npos);
}

TEST_F(ServiceUnitTest, TheRealFolderNeedsSystemd) {
  ::unsetenv("VELMORA_UNIT_DIR");
  EXPECT_EQ(UnitFolder(), "/etc/systemd/system");
  if (DirectoryExists("/run/systemd/system")) GTEST_SKIP() << "systemd runs here; the real folder is not touched";
  ServiceSetupResult result = InstallService(service_, "/opt/velmora/velmora");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("systemd is not running"), std::string::npos);
  EXPECT_FALSE(fs::exists("/etc/systemd/system/Tarvonex.service"));
}

}  // namespace
}  // namespace platform
