// Host lists saved by the configurator, read by the service: the hosts, commands, window modes and
// switches that reach its check cycle and the commands that it starts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "platform/core/Files.h"
#include "platform/core/StrUtils.h"
#include "platform/core/tests/TempFolder.h"
#include "service/ServiceTexts.h"
#include "service/tests/TarvonexFixture.h"
#include "service/tests/VelmoraProcess.h"

namespace configurator::testing {
namespace {

namespace texts = velmora::texts;
using Lines = std::vector<std::string>;

// An executable script in the folder, which writes its show code and arguments, one a line, to
// ran-<last argument> in the folder.
void WriteRecordingScript(const std::string& folder, const std::string& name) {
  std::filesystem::create_directories(std::filesystem::path(folder + name).parent_path());
  platform::WriteFileAtomic(folder + name,
                            "#!/bin/sh\nfor last; do :; done\n"
                            "printf '%s\\n' \"$VELMORA_SHOW_CODE\" \"$@\" > '" + folder + "ran-'\"$last\"\n");
  ::chmod((folder + name).c_str(), 0755);
}

constexpr const char* kScript = "my tools/record ä.sh";  // relative to the folder of the programs

// Long lists of lines: the counts and the first line that differs.
void ExpectSameLines(const Lines& actual, const Lines& expected) {
  EXPECT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    if (actual[i] != expected[i]) {
      ADD_FAILURE() << "line " << i << ": \"" << actual[i] << "\", expected \"" << expected[i] << "\"";
      return;
    }
  }
}

class HostListServiceRoundTripTest : public velmora::testing::TarvonexTest {
protected:
  // The command forms of the list: none, files that exist (plain, and quoted with arguments), and
  // files that do not, whose text the service then logs as it read it.
  std::vector<std::string> CommandForms() const {
    return {"",
            "up.sh",
            "\"" + folder.File(kScript) + "\" --now \"two words\"",
            " lead and trail ",
            "\"quoted whole\"",
            "'single'",
            "grüß \"a\" b \"c\""};
  }
  static bool Exists(const std::string& command) {
    return command == "up.sh" || command.find(kScript) != std::string::npos;
  }

  // Hosts with umlauts and padding, every window mode and every switch; no row without a command.
  std::vector<THostEntry> Rows(int count) const {
    const std::vector<std::string> forms = CommandForms();
    std::vector<THostEntry> rows;
    for (int i = 0; i < count; ++i) {
      std::string host = (i % 4 == 0 ? "hóst-ä-" : "host") + std::to_string(i) + ".lan";
      if (i % 11 == 0) host = "  " + host + " ";
      const auto form = [&](int at) { return forms[static_cast<size_t>(at) % forms.size()]; };
      rows.push_back({host, form(i + 3), form(i), std::vector<int>{0, 1, 3, 6}[static_cast<size_t>(i) % 4], i % 5 != 4,
                      i % 3 != 2});
    }
    return rows;
  }

  // Saves the rows, runs the service through its first round with the hosts of even rows answering and
  // the others not, and compares its log and the commands it started with what the rows say.
  void ExpectTheServiceToSee(const std::vector<THostEntry>& rows) {
    WriteHostList({"[Options]", "isEnglish=1", "Intervall=3600"});
    Command("up.sh");
    WriteRecordingScript(folder.File(""), kScript);
    SaveHostEntries(folder.File("HostList.ini"), rows);

    Lines disabled, enabled, checks;
    std::vector<platform::LaunchRequest> launches;
    for (size_t i = 0; i < rows.size(); ++i) {
      const THostEntry& row = rows[i];
      const std::string h = platform::Trim(row.host);
      const bool answers = i % 2 == 0;
      network->Script(h, {answers ? velmora::testing::Echo() : velmora::testing::Silent()});
      if (!row.enabled) {
        disabled.push_back(texts::WatchingDisabled.In(true) + h);
        continue;
      }
      enabled.push_back(texts::WatchingEnabled.In(true) + h);
      if (!row.waitForStatusChange) {
        checks.push_back(h + (answers ? texts::ConnectedNoAction : texts::DisconnectedNoAction).In(true));
        continue;
      }
      const std::string& command = answers ? row.runOnConnected : row.runOnDisconnected;
      if (Exists(command)) {
        const bool quoted = command.front() == '"';
        launches.push_back({quoted ? folder.File(kScript) : folder.File(command),
                            quoted ? Lines{"--now", "two words", h} : Lines{h}, "", row.show});
      } else if (!command.empty()) {
        checks.push_back(command + texts::CouldNotBeStarted.In(true));
      }
      checks.push_back(h + (answers ? texts::Connected : texts::Disconnected).In(true));
    }
    Lines expected{texts::ServiceStartingUp.In(true)};
    for (const Lines* part : {&disabled, &enabled}) expected.insert(expected.end(), part->begin(), part->end());
    expected.push_back(texts::ServiceExecute.In(true));
    expected.insert(expected.end(), checks.begin(), checks.end());

    Start();
    // The start-up pass and the first round: up to 5 s per ping, 5 s per tick, the status writes.
    for (int minutes = 0; minutes < 24 * 60 && Messages().size() < expected.size(); ++minutes) RunFor(60'000);
    ExpectSameLines(Messages(), expected);
    ASSERT_EQ(launcher.requests.size(), launches.size());
    for (size_t i = 0; i < launches.size(); ++i) {
      EXPECT_EQ(launcher.requests[i].program, launches[i].program) << i;
      EXPECT_EQ(launcher.requests[i].arguments, launches[i].arguments) << i;
      EXPECT_EQ(launcher.requests[i].showCode, launches[i].showCode) << i;
    }
  }

  // The messages of events_old.log and events.log, without their time stamps and the line that starts
  // a new log.
  Lines Messages() const {
    Lines messages;
    for (const char* name : {"events_old.log", "events.log"}) {
      for (const std::string& line : FileLines(name)) {
        const std::string message = line.substr(line.find(" => ") + 4);
        if (message != texts::NewLogfileCreated.English) messages.push_back(message);
      }
    }
    return messages;
  }
};

TEST_F(HostListServiceRoundTripTest, NoHostsLeaveTheServiceNothingToWatch) {
  WriteHostList({"[Options]", "isEnglish=1", "[Hosts]", "old.lan=", "[RunOnConnected]", "old.lan=up.sh"});
  SaveHostEntries(folder.File("HostList.ini"), {});
  Start();
  RunUntilEnded();
  const Lines messages = Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[1], texts::NotSoMuchToWatch.English);
}

TEST_F(HostListServiceRoundTripTest, OneHost) { ExpectTheServiceToSee(Rows(1)); }

TEST_F(HostListServiceRoundTripTest, FiveHundredHostsOfEveryForm) { ExpectTheServiceToSee(Rows(500)); }

// The real service, pinging loopback, runs a command typed with a quoted path and arguments as typed,
// and one typed as a quoted path alone.
TEST(HostListServiceEndToEndTest, TheRealServiceRunsTheCommandsAsTyped) {
  platform::TempFolder temp;
  const std::string folder = temp.File("");
  velmora::testing::VelmoraProcess velmora(folder);
  WriteRecordingScript(folder, kScript);
  platform::WriteFileAtomic(folder + "HostList.ini", "[Options]\r\nisEnglish=1\r\nIntervall=3600\r\n");
  const std::string script = "\"" + folder + kScript + "\"";
  SaveHostEntries(folder + "HostList.ini",
                  {{"127.0.0.1", "", script + " \"arg one\" 'two' \"say \"\"hi\"\"\"", 3, true, true},
                   {"127.0.0.2", script + " down", script, 0, true, true}});
  velmora.Start();
  const Lines first = velmora.WaitForLines("ran-127.0.0.1", 5, 30000);
  const Lines second = velmora.WaitForLines("ran-127.0.0.2", 2, 30000);
  EXPECT_EQ(velmora.Terminate(), 0);
  EXPECT_EQ(first, (Lines{"3", "arg one", "'two'", "say \"hi\"", "127.0.0.1"})) << velmora.Output();
  EXPECT_EQ(second, (Lines{"0", "127.0.0.2"})) << velmora.Output();
}

}  // namespace
}  // namespace configurator::testing
