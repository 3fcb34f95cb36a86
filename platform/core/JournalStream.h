#pragma once

#include <string>

#include "platform/core/UniqueFd.h"

namespace platform {

// The socket on which the journal takes streams of program output.
inline constexpr const char* kJournalStreamSocket = "/run/systemd/journal/stdout";

// Whether the descriptor is the stream to the journal that systemd gave the process as its output (the
// device and inode that JOURNAL_STREAM names).
bool IsJournalStream(int fd);

// A new stream to the journal, whose lines are recorded under `identifier` at the level info (a line may
// choose its own with a "<n>" prefix); invalid when the journal takes none.
UniqueFd OpenJournalStream(const std::string& identifier, const std::string& socketPath = kJournalStreamSocket);

}  // namespace platform
