#pragma once

#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "platform/core/Files.h"

namespace configurator::testing {

// Writes a file of these lines, each ended by CR LF.
inline void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  platform::WriteFileAtomic(path, text, platform::Durability::Unflushed);
}

// A host with both commands and the given window mode and switches.
inline THostEntry Host(std::string name, std::string down = "down.sh", std::string up = "up.sh", int show = 1,
                       bool enabled = true, bool wait = true) {
  return THostEntry{std::move(name), std::move(down), std::move(up), show, enabled, wait};
}

}  // namespace configurator::testing
