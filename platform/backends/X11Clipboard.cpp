#include "platform/backends/X11Clipboard.h"

#include <algorithm>
#include <climits>

#include "platform/core/Utf8.h"
#include "platform/ui/Backend.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

constexpr int kAnswerTimeoutMs = 2000;  // an owner that has not answered by then is taken as refusing

// STRING is Latin-1: characters beyond it become '?'.
std::string Utf8ToLatin1(std::string_view utf8) {
  std::string latin1;
  for (size_t i = 0; i < utf8.size();) {
    const CodePoint c = DecodeCodePoint(utf8, i);
    latin1 += c.valid && c.value <= 0xFF ? static_cast<char>(c.value) : '?';
    i += c.length;
  }
  return latin1;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string utf8;
  for (const char c : latin1) AppendCodePoint(utf8, static_cast<unsigned char>(c));
  return utf8;
}

// The value of a property as bytes; format 32 items are longs, as Xlib hands them out.
struct Property {
  Atom type = None;
  int format = 0;
  std::string bytes;
};

// Reads and deletes a property of our window; type None when it does not exist.
Property TakeProperty(Display* display, Window window, Atom property) {
  Property result;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &result.type,
                         &result.format, &count, &after, &data) != Success)
    return {};
  const size_t itemBytes = result.format == 32 ? sizeof(long) : static_cast<size_t>(result.format / 8);
  if (data != nullptr) {
    result.bytes.assign(reinterpret_cast<const char*>(data), count * itemBytes);
    XFree(data);
  }
  return result;
}

}  // namespace

X11Selection::X11Selection(X11Connection& connection, unsigned long selection, unsigned long window)
    : connection_(connection), selection_(selection), window_(window) {}

bool X11Selection::Set(std::string_view format, std::string_view data, bool add) {
  if (!add) formats_.clear();
  formats_.insert_or_assign(std::string(format), std::make_shared<const std::string>(data));
  Display* display = connection_.Display();
  // The time of the user's latest input makes the ownership; requests made before it are refused.
  ownedSince_ = connection_.LastInputTime();
  XSetSelectionOwner(display, selection_, window_, CurrentTime);
  owned_ = XGetSelectionOwner(display, selection_) == window_;
  if (!owned_) formats_.clear();
  return owned_;
}

void X11Selection::Release() {
  if (owned_) XSetSelectionOwner(connection_.Display(), selection_, None, CurrentTime);
  owned_ = false;
  formats_.clear();
}

std::vector<unsigned long> X11Selection::TargetsFor(std::string_view format) const {
  const X11Atoms& atoms = connection_.Atoms();
  Display* display = connection_.Display();
  if (format == kClipboardText)
    return {atoms.UTF8_STRING, XInternAtom(display, std::string(kClipboardText).c_str(), False), atoms.TEXT,
            atoms.STRING};
  if (format == kClipboardRichText)
    return {XInternAtom(display, std::string(kClipboardRichText).c_str(), False),
            XInternAtom(display, "text/richtext", False)};
  return {XInternAtom(display, std::string(format).c_str(), False)};
}

std::optional<std::pair<unsigned long, std::shared_ptr<const std::string>>> X11Selection::Answer(
    unsigned long target) const {
  const X11Atoms& atoms = connection_.Atoms();
  for (const auto& [format, data] : formats_) {
    const std::vector<unsigned long> targets = TargetsFor(format);
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) continue;
    if (target == atoms.STRING) return std::pair{target, std::make_shared<const std::string>(Utf8ToLatin1(*data))};
    return std::pair{target == atoms.TEXT ? atoms.UTF8_STRING : target, data};
  }
  return std::nullopt;
}

size_t X11Selection::MaxPiece() const {
  return static_cast<size_t>(XMaxRequestSize(connection_.Display())) * 4 - 256;
}

bool X11Selection::HandleEvent(const XEvent& event) {
  if (event.type == SelectionRequest && event.xselectionrequest.selection == selection_) {
    ServeRequest(event);
    return true;
  }
  if (event.type == SelectionClear && event.xselectionclear.selection == selection_) {
    owned_ = false;
    formats_.clear();
    return true;
  }
  if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
    for (auto transfer = transfers_.begin(); transfer != transfers_.end(); ++transfer) {
      if (transfer->requestor != event.xproperty.window || transfer->property != event.xproperty.atom) continue;
      SendPiece(*transfer);
      if (transfer->offset > transfer->data->size()) {
        connection_.UnwatchWindow(transfer->requestor);
        transfers_.erase(transfer);
      }
      return true;
    }
  }
  if (event.type == DestroyNotify) {
    // A requestor that went away takes its transfers with it. The other selection may have transfers to
    // the same window: the event is left to it as well.
    const Window gone = event.xdestroywindow.window;
    std::erase_if(transfers_, [&](const Transfer& transfer) {
      if (transfer.requestor != gone) return false;
      connection_.UnwatchWindow(gone);
      return true;
    });
  }
  return false;
}

void X11Selection::ServeRequest(const XEvent& event) {
  const XSelectionRequestEvent& request = event.xselectionrequest;
  const X11Atoms& atoms = connection_.Atoms();
  Display* display = connection_.Display();
  // Clients older than the conventions name no property: the answer goes under the target's name.
  const Atom property = request.property != None ? request.property : request.target;
  bool answered = true;
  if (owned_ && request.target == atoms.TARGETS) {
    std::vector<long> targets{static_cast<long>(atoms.TARGETS), static_cast<long>(atoms.TIMESTAMP)};
    for (const auto& [format, data] : formats_)
      for (unsigned long target : TargetsFor(format)) targets.push_back(static_cast<long>(target));
    XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(targets.data()), static_cast<int>(targets.size()));
  } else if (owned_ && request.target == atoms.TIMESTAMP) {
    const long time = static_cast<long>(ownedSince_);
    XChangeProperty(display, request.requestor, property, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&time), 1);
  } else if (auto answer = Answer(request.target)) {  // none once the selection is lost
    Transfer transfer{request.requestor, property, answer->first, answer->second};
    if (transfer.data->size() > MaxPiece()) {
      // The requestor's deletion of the property asks for each next piece. A requestor that is gone
      // already (it destroyed its window right after asking) gets nothing; one that goes later ends its
      // transfers with its window's DestroyNotify.
      connection_.WatchWindow(request.requestor);
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, request.requestor, &attributes) == 0) {
        connection_.UnwatchWindow(request.requestor);
        return;
      }
      const long size = static_cast<long>(transfer.data->size());
      XChangeProperty(display, request.requestor, property, atoms.INCR, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&size), 1);
      transfers_.push_back(std::move(transfer));
    } else {
      SendPiece(transfer);
    }
  } else {
    answered = false;
  }
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = request.requestor;
  reply.xselection.selection = request.selection;
  reply.xselection.target = request.target;
  reply.xselection.property = answered ? property : None;
  reply.xselection.time = request.time;
  XSendEvent(display, request.requestor, False, NoEventMask, &reply);
}

// Sends the next piece (all of a small answer); a transfer whose data is all out sends the empty piece
// that ends it, after which its offset lies past the data.
void X11Selection::SendPiece(Transfer& transfer) {
  const size_t left = transfer.data->size() - std::min(transfer.offset, transfer.data->size());
  const size_t piece = std::min(left, MaxPiece());
  XChangeProperty(connection_.Display(), transfer.requestor, transfer.property, transfer.type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(transfer.data->data() + transfer.offset),
                  static_cast<int>(piece));
  transfer.offset += piece == 0 ? 1 : piece;
}

std::optional<std::pair<unsigned long, std::string>> X11Selection::Convert(unsigned long target, unsigned long time) {
  Display* display = connection_.Display();
  const Atom property = connection_.Atoms().VELMORA_SELECTION;
  XDeleteProperty(display, window_, property);
  XConvertSelection(display, selection_, target, property, window_, time);
  XEvent event;
  const auto notified = [&](const XEvent& e) {
    return e.type == SelectionNotify && e.xselection.requestor == window_ && e.xselection.selection == selection_;
  };
  if (!connection_.WaitForEvent(notified, event, kAnswerTimeoutMs) || event.xselection.property == None)
    return std::nullopt;
  Property answer = TakeProperty(display, window_, property);
  if (answer.type == None) return std::nullopt;
  if (answer.type != connection_.Atoms().INCR) {
    if (answer.bytes.size() > readLimit_) {
      overLimit_ = true;
      return std::nullopt;
    }
    return std::pair{answer.type, std::move(answer.bytes)};
  }
  // Deleting the INCR property (done by the read) asks the owner for the first piece.
  return ReadIncremental();
}

std::optional<std::pair<unsigned long, std::string>> X11Selection::ReadIncremental() {
  Display* display = connection_.Display();
  const Atom property = connection_.Atoms().VELMORA_SELECTION;
  std::string data;
  Atom type = None;
  const auto newValue = [&](const XEvent& e) {
    return e.type == PropertyNotify && e.xproperty.window == window_ && e.xproperty.atom == property &&
           e.xproperty.state == PropertyNewValue;
  };
  for (XEvent event; connection_.WaitForEvent(newValue, event, kAnswerTimeoutMs);) {
    // A notice of a value that was already taken finds no property.
    Property piece = TakeProperty(display, window_, property);
    if (piece.type == None) continue;
    if (piece.bytes.empty()) return std::pair{type, std::move(data)};
    type = piece.type;
    data += piece.bytes;
    if (data.size() > readLimit_) {
      // The owner's next piece is left unread: it gives up when the property is not deleted.
      // FIXME: a later read of this selection deletes the property first, which lets such an owner
      // write one more stale piece into it; a read after a refused one should use a fresh property.
      overLimit_ = true;
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<unsigned long>> X11Selection::OfferedTargets(unsigned long time) {
  const auto answer = Convert(connection_.Atoms().TARGETS, time);
  if (!answer || answer->first != XA_ATOM) return std::nullopt;
  std::vector<unsigned long> offered(answer->second.size() / sizeof(long));
  for (size_t i = 0; i < offered.size(); ++i) {
    long target = 0;
    std::copy_n(answer->second.data() + i * sizeof(long), sizeof(long), reinterpret_cast<char*>(&target));
    offered[i] = static_cast<unsigned long>(target);
  }
  return offered;
}

std::optional<std::string> X11Selection::Get(std::string_view format, unsigned long time) {
  const X11Atoms& atoms = connection_.Atoms();
  if (owned_) {
    const auto found = formats_.find(format);
    if (found == formats_.end()) return std::nullopt;
    return *found->second;
  }
  // Some owners answer any target with their one kind of data: only what they list is asked for, unless
  // they list nothing.
  const std::optional<std::vector<unsigned long>> offered = OfferedTargets(time);
  overLimit_ = false;
  for (unsigned long target : TargetsFor(format)) {
    if (target == atoms.TEXT) continue;  // its type is the owner's choice; UTF8_STRING and STRING cover it
    if (offered && std::find(offered->begin(), offered->end(), target) == offered->end()) continue;
    if (auto answer = Convert(target, time))
      return answer->first == atoms.STRING ? Latin1ToUtf8(answer->second) : std::move(answer->second);
    if (overLimit_) break;  // the same data under another name is no shorter
  }
  return std::nullopt;
}

bool X11Selection::Has(std::string_view format) {
  if (owned_) return formats_.contains(format);
  const std::optional<std::vector<unsigned long>> offered = OfferedTargets();
  if (!offered) return false;
  for (unsigned long target : TargetsFor(format))
    if (std::find(offered->begin(), offered->end(), target) != offered->end()) return true;
  return false;
}

}  // namespace platform
