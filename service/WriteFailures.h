#pragma once

#include <map>
#include <string>

namespace velmora {

// The failed writes of the service's files that have been reported. A file that keeps failing (a full
// disk) is reported once, not at every check; once a write of it succeeds, a new failure is reported
// again. A different error of the same file counts as a new failure.
class TWriteFailures {
public:
  // Notes a failed write of the file; true when it is to be reported now.
  bool Failed(const std::string& file, const std::string& error) {
    auto [entry, added] = reported_.try_emplace(file, error);
    if (!added && entry->second == error) return false;
    entry->second = error;
    return true;
  }
  void Succeeded(const std::string& file) { reported_.erase(file); }
  // Whether the file's last write failed.
  bool Failing(const std::string& file) const { return reported_.contains(file); }

private:
  std::map<std::string, std::string> reported_;  // file: the error last reported
};

}  // namespace velmora
