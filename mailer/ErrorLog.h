#pragma once

#include <string>

namespace quillet {

// A log of error texts, each written unchanged (no separator, no line end added). The first write of
// the object starts the file afresh, later ones append. Each write replaces the file atomically, so the
// file always holds whole messages.
class TErrorLog {
public:
  explicit TErrorLog(std::string path) : path_(std::move(path)) {}

  // False when the message could not be written; a later write then still starts the file afresh.
  bool Write(const std::string& message);

private:
  std::string path_;
  bool written_ = false;
};

// Writes a message to the process's fehler.log beside the executable (one TErrorLog per run).
bool WriteErrorLog(const std::string& message);

}  // namespace quillet
