#include <poll.h>

#include "platform/backends/X11Clipboard.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/ui/Backend.h"
#include "X11TestSupport.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::test {
namespace {

// The clipboard's owner on a connection of its own, and a requestor that reads the answers by hand, so
// that the test decides when each piece of an INCR transfer is asked for.
class X11SelectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start";
    std::string error;
    owner_ = std::make_unique<X11Connection>(server_.Display().c_str(), error);
    ASSERT_NE(owner_->Display(), nullptr) << error;
    ownerWindow_ = XCreateSimpleWindow(owner_->Display(), owner_->Root(), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(owner_->Display(), ownerWindow_, PropertyChangeMask);
    selection_ = std::make_unique<X11Selection>(*owner_, owner_->Atoms().CLIPBOARD, ownerWindow_);
    requestor_ = XOpenDisplay(server_.Display().c_str());
    ASSERT_NE(requestor_, nullptr);
    window_ = XCreateSimpleWindow(requestor_, DefaultRootWindow(requestor_), 0, 0, 1, 1, 0, 0, 0);
    const auto text = [](const std::string& word) {
      std::string data;
      for (int i = 0; data.size() < 1'000'000; ++i) data += word + std::to_string(i);
      return data;
    };
    first_ = text(" eins ");
    second_ = text(" zwei ");
  }
  void TearDown() override {
    if (requestor_ != nullptr) XCloseDisplay(requestor_);
  }

  // Asks for the clipboard's text into `property` of the requestor's window.
  void Ask(const char* property) {
    XConvertSelection(requestor_, XInternAtom(requestor_, "CLIPBOARD", False), XInternAtom(requestor_, "UTF8_STRING", False),
                      XInternAtom(requestor_, property, False), window_, CurrentTime);
    XSync(requestor_, False);
  }

  // Serves the owner's events for up to 50 ms, or until one arrives.
  void ServeOwner() {
    Display* display = owner_->Display();
    XFlush(display);
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    if (XPending(display) == 0) ::poll(&fd, 1, 50);
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      selection_->HandleEvent(event);
    }
    XFlush(display);
  }

  // Takes the property's value (which asks the owner for the next piece); none while it is not there.
  std::optional<std::string> Take(const char* property, Atom& type) {
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(requestor_, window_, XInternAtom(requestor_, property, False), 0, 1 << 24, True,
                       AnyPropertyType, &type, &format, &count, &after, &data);
    std::optional<std::string> value;
    if (type != None) value.emplace(reinterpret_cast<const char*>(data), count * static_cast<unsigned>(format / 8));
    if (data != nullptr) XFree(data);
    return value;
  }

  // Reads an INCR answer into `property` piece by piece until `pieces` pieces came (0: to its end).
  std::string Read(const char* property, int pieces = 0) {
    std::string data;
    bool started = false;
    for (int round = 0, got = 0; round < 400 && (pieces == 0 || got < pieces); ++round) {
      ServeOwner();
      Atom type = None;
      const std::optional<std::string> piece = Take(property, type);
      if (!piece) continue;
      if (type == XInternAtom(requestor_, "INCR", False)) {
        started = true;
      } else if (started && piece->empty()) {
        return data;
      } else {
        data += *piece;
        ++got;
      }
    }
    EXPECT_TRUE(pieces > 0) << property << ": the transfer did not end";
    return data;
  }

  XvfbServer server_;
  std::unique_ptr<X11Connection> owner_;
  unsigned long ownerWindow_ = 0;
  std::unique_ptr<X11Selection> selection_;
  Display* requestor_ = nullptr;
  Window window_ = 0;
  std::string first_, second_;
};

TEST_F(X11SelectionTest, TwoTransfersToOneWindowEachRunToTheirEnd) {
  ASSERT_TRUE(selection_->Set(kClipboardText, first_, false));
  Ask("EINS");
  Ask("ZWEI");
  // The first ends while the second has not yet asked for its first piece.
  EXPECT_TRUE(Read("EINS") == first_);
  EXPECT_EQ(selection_->PendingTransfers(), 1u);
  // A new copy meanwhile changes nothing of what was asked for before it.
  ASSERT_TRUE(selection_->Set(kClipboardText, second_, false));
  EXPECT_TRUE(Read("ZWEI") == first_);
  EXPECT_EQ(selection_->PendingTransfers(), 0u);
}

TEST_F(X11SelectionTest, ARequestorThatGoesAwayEndsItsTransfers) {
  ASSERT_TRUE(selection_->Set(kClipboardText, first_, false));
  Ask("EINS");
  Ask("ZWEI");
  EXPECT_FALSE(Read("EINS", 1).empty());
  ASSERT_EQ(selection_->PendingTransfers(), 2u);
  XDestroyWindow(requestor_, window_);
  XSync(requestor_, False);
  for (int i = 0; i < 40 && selection_->PendingTransfers() > 0; ++i) ServeOwner();
  EXPECT_EQ(selection_->PendingTransfers(), 0u);

  // One that is gone before its request is served never gets a transfer.
  window_ = XCreateSimpleWindow(requestor_, DefaultRootWindow(requestor_), 0, 0, 1, 1, 0, 0, 0);
  Ask("EINS");
  XDestroyWindow(requestor_, window_);
  XSync(requestor_, False);
  for (int i = 0; i < 10; ++i) ServeOwner();
  EXPECT_EQ(selection_->PendingTransfers(), 0u);
}

// The process's resident memory in bytes.
size_t ResidentBytes() {
  size_t pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm != nullptr) {
    if (std::fscanf(statm, "%zu %zu", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// 60 requestors of a large clipboard's Latin-1 form share the one copy made at the first request, and
// each gets all of it.
TEST_F(X11SelectionTest, SixtyRequestsForTheLatin1FormShareOneCopy) {
  std::string text, expected;
  while (text.size() < 20'000'000) {
    text += "Grüße aus Köln ";
    expected += "Gr\xfc\xdf" "e aus K\xf6ln ";
  }
  ASSERT_TRUE(selection_->Set(kClipboardText, text, false));
  const size_t before = ResidentBytes();
  const Atom latin1 = XInternAtom(requestor_, "STRING", False);
  for (int i = 0; i < 60; ++i)
    XConvertSelection(requestor_, XInternAtom(requestor_, "CLIPBOARD", False), latin1,
                      XInternAtom(requestor_, ("P" + std::to_string(i)).c_str(), False), window_, CurrentTime);
  XSync(requestor_, False);
  for (int round = 0; round < 400 && selection_->PendingTransfers() < 60; ++round) ServeOwner();
  ASSERT_EQ(selection_->PendingTransfers(), 60u);
  const size_t grown = ResidentBytes() - std::min(before, ResidentBytes());
  EXPECT_LT(grown, 3 * text.size()) << "one Latin-1 copy for all, not one each";

  for (const char* property : {"P0", "P59"}) EXPECT_TRUE(Read(property) == expected) << property;
}

// Reading another owner's data: an incremental transfer beyond the size or the time bound is refused
// whole, and a read after a refused one takes nothing of the old transfer, whose owner goes on writing
// into the property that it was given.
class X11SelectionReadTest : public X11SelectionTest {
protected:
  // The desktop peer as the clipboard's owner, sending `bytes` (0: without end) in pieces.
  std::unique_ptr<PeerProcess> StartOwner(unsigned long bytes, unsigned long piece, int intervalMs) {
    auto owner = std::make_unique<PeerProcess>(
        std::vector<std::string>{ExeDir() + "platform_backends_desktop_peer", "incr-owner", std::to_string(bytes),
                                 std::to_string(piece), std::to_string(intervalMs)},
        server_.Display());
    EXPECT_TRUE(Says(*owner, "owner")) << owner->Output();
    return owner;
  }
};

TEST_F(X11SelectionReadTest, AnEndlessOrSlowTransferIsRefusedWithinItsBounds) {
  struct Case {
    const char* name;
    unsigned long piece;
    int intervalMs;
    size_t sizeLimit;
    int timeLimitMs;
  };
  const Case cases[] = {
      {"endless and fast", 65536, 0, 4u << 20, 60000},
      {"endless and slow", 100, 20, X11Selection::kMaxReadBytes, 600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto owner = StartOwner(0, c.piece, c.intervalMs);
    selection_->SetReadLimit(c.sizeLimit);
    selection_->SetReadTimeLimit(c.timeLimitMs);
    const int64_t start = MonotonicMs();
    EXPECT_EQ(selection_->Get(kClipboardText), std::nullopt);
    EXPECT_LT(MonotonicMs() - start, std::min(c.timeLimitMs, 5000) + 1000);
  }
}

TEST_F(X11SelectionReadTest, AReadAfterARefusedOneTakesNoStalePiece) {
  auto owner = StartOwner(1'000'000, 4096, 0);
  selection_->SetReadLimit(10'000);
  EXPECT_EQ(selection_->Get(kClipboardText), std::nullopt);
  selection_->SetReadLimit(X11Selection::kMaxReadBytes);
  const std::optional<std::string> read = selection_->Get(kClipboardText);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->size(), 1'000'000u);
  EXPECT_EQ(read->find_first_not_of('b'), std::string::npos) << "the second transfer's letter only";
}

}  // namespace
}  // namespace platform::test
