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
class X11Selection {
public:
  X11Selection(X11Connection& connection, unsigned long selection, unsigned long window);

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
  std::optional<std::pair<unsigned long, std::shared_ptr<const std::string>>> Answer(unsigned long target) const;
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
  std::vector<Transfer> transfers_;
  size_t readLimit_ = static_cast<size_t>(-1);
  bool overLimit_ = false;  // the last read was refused for its length
};

}  // namespace platform
