#include "configurator/HostListFile.h"

#include <array>
#include <string_view>
#include <utility>

#include "configurator/ConfTexts.h"
#include "platform/core/IniFile.h"
#include "platform/core/KeyIndex.h"
#include "platform/core/StrUtils.h"
#include "platform/core/StringList.h"

namespace configurator {

namespace {

constexpr const char* kHosts = "Hosts";
constexpr const char* kRunOnConnected = "RunOnConnected";
constexpr const char* kRunOnDisconnected = "RunOnDisconnected";
constexpr const char* kShow = "Show";
constexpr const char* kEnabled = "Enabled";
constexpr const char* kWaitForStatusChange = "WaitForStatusChange";

// The show codes that have a word of their own; every other code is shown and saved as normal (1).
constexpr int kHide = 0;
constexpr int kNormal = 1;
constexpr int kMaximize = 3;
constexpr int kMinimize = 6;

int NormalisedShowMode(int code) { return code == kHide || code == kMaximize || code == kMinimize ? code : kNormal; }

bool HoldsLineBreakOrNul(std::string_view text) {
  return text.find('\r') != std::string_view::npos || text.find('\n') != std::string_view::npos ||
         text.find('\0') != std::string_view::npos;
}

bool IsStorableHostName(std::string_view host) {
  return !HoldsLineBreakOrNul(host) && host.find('=') == std::string_view::npos && host.front() != '[' &&
         host.front() != ';';
}

// The INI reader trims a value and takes one pair of matching quotes off it. A value that it would read
// otherwise is written inside one more pair of double quotes, which the reader then removes.
std::string ValueReadAsIs(const std::string& value) {
  if (value.empty()) return value;
  const bool blankAround = static_cast<unsigned char>(value.front()) <= ' ' ||
                           static_cast<unsigned char>(value.back()) <= ' ';
  const bool quotedAround =
      value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  return blankAround || quotedAround ? '"' + value + '"' : value;
}

std::string RowRefusal(int row, const TConfText& reason, bool english) {
  return texts::InRow.In(english) + std::to_string(row) + reason.In(english);
}

}  // namespace

std::string ShowModeToText(int code, bool english) {
  switch (NormalisedShowMode(code)) {
    case kHide: return texts::ModeHide.In(english);
    case kMaximize: return texts::ModeMaximize.In(english);
    case kMinimize: return texts::ModeMinimize.In(english);
    default: return texts::ModeNormal.In(english);
  }
}

int TextToShowMode(const std::string& word) {
  for (const auto& [text, code] : {std::pair{texts::ModeHide, kHide}, std::pair{texts::ModeMaximize, kMaximize},
                                   std::pair{texts::ModeMinimize, kMinimize}}) {
    if (word == text.English || word == text.German) return code;
  }
  return kNormal;
}

std::string SwitchCellText(bool on) {
  return std::string("<p align=\"center\"><IMG src=\"idx:") + (on ? "1" : "0") + "\" align=\"center\"></p>";
}

bool SwitchCellIsOn(const std::string& cellText) { return cellText.find("idx:1") != std::string::npos; }

std::string StateCellText(int image) {
  return "<p align=\"center\"><IMG src=\"idx:" + std::to_string(image) + "\" align=\"center\"></center>";
}

std::vector<THostEntry> ReadHostEntries(const std::string& iniPath) {
  const platform::TMemIniFile ini(iniPath);
  platform::TStringList hosts;
  ini.ReadSection(kHosts, hosts);
  // Each read goes through the index that the file makes of a section at its first lookup; the host
  // sections follow [Hosts], so the index finds most hosts by its guess of the next key.
  std::vector<THostEntry> entries;
  entries.reserve(static_cast<size_t>(hosts.Count()));
  for (int i = 0; i < hosts.Count(); ++i) {
    THostEntry& entry = entries.emplace_back();
    entry.host = hosts.Strings(i);
    entry.runOnConnected = ini.ReadString(kRunOnConnected, entry.host, "");
    entry.runOnDisconnected = ini.ReadString(kRunOnDisconnected, entry.host, "");
    entry.show = NormalisedShowMode(ini.ReadInteger(kShow, entry.host, kNormal));
    entry.enabled = ini.ReadBool(kEnabled, entry.host, true);
    entry.waitForStatusChange = ini.ReadBool(kWaitForStatusChange, entry.host, true);
  }
  return entries;
}

std::optional<THostRefusal> ValidateHostEntries(const std::vector<THostEntry>& rows, bool english) {
  // The host names so far, found as the INI file compares keys; a position is a row index.
  platform::TKeyIndex hostsSoFar;
  const auto hostAt = [&](uint32_t i) { return platform::TrimmedView(rows[i].host); };
  for (size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    const THostEntry& entry = rows[i];
    const std::string_view host = platform::TrimmedView(entry.host);
    if (host.empty()) return THostRefusal{row, texts::NoHostName.In(english)};
    if (entry.runOnDisconnected.empty() && entry.runOnConnected.empty()) {
      return THostRefusal{row, texts::NoCommand.In(english)};
    }
    if (!IsStorableHostName(host)) return THostRefusal{row, RowRefusal(row, texts::HostNameUnstorable, english)};
    if (HoldsLineBreakOrNul(entry.runOnDisconnected) || HoldsLineBreakOrNul(entry.runOnConnected)) {
      return THostRefusal{row, RowRefusal(row, texts::CommandUnstorable, english)};
    }
    if (!hostsSoFar.Add(host, i, hostAt)) {
      const uint32_t first = *hostsSoFar.Find(host, hostAt);
      return THostRefusal{row, RowRefusal(row, texts::DuplicateHost, english) + std::to_string(first + 1)};
    }
  }
  return std::nullopt;
}

void SaveHostEntries(const std::string& iniPath, const std::vector<THostEntry>& rows) {
  if (const std::optional<THostRefusal> refusal = ValidateHostEntries(rows, true)) {
    throw platform::Exception("Cannot save the host list in \"" + iniPath + "\": " + refusal->message);
  }
  using TValues = std::vector<std::pair<std::string, std::string>>;
  TValues hosts, onConnected, onDisconnected, show, enabled, wait;
  for (TValues* values : {&hosts, &onConnected, &onDisconnected, &show, &enabled, &wait}) values->reserve(rows.size());
  for (const THostEntry& entry : rows) {
    const std::string host = platform::Trim(entry.host);
    hosts.emplace_back(host, "");
    onConnected.emplace_back(host, ValueReadAsIs(entry.runOnConnected));
    onDisconnected.emplace_back(host, ValueReadAsIs(entry.runOnDisconnected));
    show.emplace_back(host, std::to_string(NormalisedShowMode(entry.show)));
    enabled.emplace_back(host, entry.enabled ? "1" : "0");
    wait.emplace_back(host, entry.waitForStatusChange ? "1" : "0");
  }
  // The sections in the order in which a row writes them, each after the sections the file keeps.
  const std::array<std::pair<const char*, const TValues*>, 6> sections{
      {{kHosts, &hosts}, {kRunOnConnected, &onConnected}, {kRunOnDisconnected, &onDisconnected}, {kShow, &show},
       {kEnabled, &enabled}, {kWaitForStatusChange, &wait}}};
  platform::TMemIniFile ini(iniPath);
  for (const auto& [section, values] : sections) ini.EraseSection(section);
  if (!rows.empty()) {
    for (const auto& [section, values] : sections) ini.WriteSection(section, *values);
  }
  ini.UpdateFile();
}

}  // namespace configurator
