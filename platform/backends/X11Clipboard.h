#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backends/X11Connection.h"

namespace platform {

// One X selection (CLIPBOARD or PRIMARY) of the program: the formats it offers while it owns the
// selection, served to every requestor (TARGETS, TIMESTAMP, text as UTF8_STRING, text/plain;charset=utf-8,
// TEXT and STRING, rich text as text/rtf and text/richtext, any other format under the atom of its name;
// data larger than one request goes out through INCR), and the reading of another owner's data, INCR
// transfers included. The owner window is the backend's hidden helper window.
//
// Memory: each offered form is held once and shared by every transfer of it; the forms that other
// programs get of the text (LF line ends, and Latin-1 for STRING) are made at the first request for
// them and kept until the next copy. A read of another owner's data is bounded in size and in time;
// beyond either it is refused whole. Reads go into a window of the selection's own, and one that was
// broken off (refused, or not answered in time) takes the window with it, so that a late piece of the
// old owner can never land in a later read.
class X11Selection {
public:
  // The bounds of a read (a paste) unless SetReadLimit and SetReadTimeLimit set others.
  static constexpr size_t kMaxReadBytes = size_t{64} << 20;
  static constexpr int kMaxReadMs = 10000;

  X11Selection(X11Connection& connection, unsigned long selection, unsigned long window);
  ~X11Selection();
  X11Selection(const X11Selection&) = delete;
  X11Selection& operator=(const X11Selection&) = delete;

  // Replaces the offered formats (or adds one) and takes the selection. False when the server gave it
  // to another client.
  bool Set(std::string_view format, std::string_view data, bool add);
  // Gives the selection up (when this program holds it).
  void Release();
  // Reads a format from the owner; `time` is the server time of the request (0 for the current time;
  // a drop converts with the drop's time).
  std::optional<std::string> Get(std::string_view format, unsigned long time = 0);
  bool Has(std::string_view format);
  // Another owner's data longer than this many bytes is refused (none), however it comes.
  void SetReadLimit(size_t bytes) { readLimit_ = bytes; }
  // An incremental transfer that has not ended this many milliseconds (on the platform clock) after
  // its start is refused.
  void SetReadTimeLimit(int ms) { readTimeLimitMs_ = ms; }

  // Serves the selection's requests, its loss and the steps of outgoing INCR transfers; true when the
  // event was the selection's alone.
  bool HandleEvent(const _XEvent& event);

  // The outgoing INCR transfers that still wait for their requestor. A transfer ends when its last piece
  // is out or its requestor's window is destroyed; a new copy leaves it running with the data it began
  // with.
  size_t PendingTransfers() const { return transfers_.size(); }

private:
  // An answer that goes out in pieces: the requestor deletes the property, and the next piece follows.
  struct Transfer {
    unsigned long requestor;
    unsigned long property;
    unsigned long type;
    std::shared_ptr<const std::string> data;
    size_t offset = 0;
  };

  std::vector<unsigned long> TargetsFor(std::string_view format) const;
  // The data offered for an atom with its type; none when no format answers it.
  std::optional<std::pair<unsigned long, std::shared_ptr<const std::string>>> Answer(unsigned long target);
  // Drops what the formats were and the forms made of them.
  void ClearFormats();
  // The window that reads go into, made when none is there; ForgetReader destroys it after a read that
  // was broken off.
  unsigned long Reader();
  void ForgetReader();
  void ServeRequest(const _XEvent& event);
  void SendPiece(Transfer& transfer);
  // Converts the selection to `target` and reads the answer; none when the owner refused or stayed silent.
  std::optional<std::pair<unsigned long, std::string>> Convert(unsigned long target, unsigned long time = 0);
  std::optional<std::pair<unsigned long, std::string>> ReadIncremental();
  // The targets that the owner lists; none when it answers no TARGETS request.
  std::optional<std::vector<unsigned long>> OfferedTargets(unsigned long time = 0);
  size_t MaxPiece() const;

  X11Connection& connection_;
  const unsigned long selection_;
  const unsigned long window_;
  bool owned_ = false;
  unsigned long ownedSince_ = 0;  // the TIMESTAMP answer
  std::map<std::string, std::shared_ptr<const std::string>, std::less<>> formats_;
  std::shared_ptr<const std::string> textForOthers_;  // the text as UTF8_STRING, made at the first request
  std::shared_ptr<const std::string> latin1Text_;     // the text as STRING, made at the first request
  std::vector<Transfer> transfers_;
  unsigned long reader_ = 0;
  size_t readLimit_ = kMaxReadBytes;
  int readTimeLimitMs_ = kMaxReadMs;
  bool refused_ = false;  // the last read was refused for its length or its time
};

}  // namespace platform
