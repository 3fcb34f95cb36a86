#include "platform/core/JournalStream.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

// A stand-in for the journal's socket in a folder of the test.
UniqueFd ListenAt(const std::string& path) {
  UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  if (::bind(listener.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener.Descriptor(), 4) != 0)
    return {};
  return listener;
}

TEST(JournalStreamTest, AStreamAnnouncesItsIdentifierAndCarriesTheOutput) {
  TempFolder folder;
  const std::string path = folder.File("stdout");
  EXPECT_FALSE(OpenJournalStream("down.sh", path).IsValid());  // no journal
  UniqueFd journal = ListenAt(path);
  ASSERT_TRUE(journal.IsValid());
  UniqueFd stream = OpenJournalStream("down.sh", path);
  ASSERT_TRUE(stream.IsValid());
  ASSERT_EQ(::write(stream.Descriptor(), "host down\n", 10), 10);
  stream.Close();
  UniqueFd peer(::accept4(journal.Descriptor(), nullptr, nullptr, SOCK_CLOEXEC));
  std::string received;
  char buffer[256];
  for (ssize_t n; (n = ::read(peer.Descriptor(), buffer, sizeof buffer)) > 0;)
    received.append(buffer, static_cast<size_t>(n));
  EXPECT_EQ(received, "down.sh\n\n6\n1\n0\n0\n0\nhost down\n");
}

TEST(JournalStreamTest, OnlyTheStreamThatSystemdNamesIsTheJournal) {
  int fds[2], others[2];
  ASSERT_EQ(::pipe(fds), 0);
  ASSERT_EQ(::pipe(others), 0);
  UniqueFd named(fds[1]), namedReadEnd(fds[0]), other(others[1]), otherReadEnd(others[0]);
  struct stat st{};
  ASSERT_EQ(::fstat(named.Descriptor(), &st), 0);
  ::unsetenv("JOURNAL_STREAM");
  EXPECT_FALSE(IsJournalStream(named.Descriptor()));
  ::setenv("JOURNAL_STREAM", (std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino)).c_str(), 1);
  EXPECT_TRUE(IsJournalStream(named.Descriptor()));
  EXPECT_FALSE(IsJournalStream(other.Descriptor()));
  ::unsetenv("JOURNAL_STREAM");
}

}  // namespace
}  // namespace platform
