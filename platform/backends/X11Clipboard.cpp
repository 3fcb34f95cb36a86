#include "platform/backends/X11Clipboard.h"

#include <algorithm>
#include <climits>

#include "platform/backends/X11SelectionText.h"
#include "platform/core/Clock.h"
#include "platform/ui/Backend.h"

// X headers last: their macros (None, Bool, Status) would break the declarations above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

constexpr int kAnswerTimeoutMs = 2000;  // an owner that has not answered by then is taken as refusing

// The value of a property as bytes; format 32 items are longs, as Xlib hands them out.
struct Property {
  Atom type = None;
  int format = 0;
  std::string bytes;
  bool cut = false;  // the property holds more than was read
};

// Reads a property of our window, and deletes it when it was read whole; at most a few bytes beyond
// maxBytes are read. Type None when it does not exist.
Property TakeProperty(Display* display, Window window, Atom property, size_t maxBytes) {
  Property result;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const long units = static_cast<long>(std::min<size_t>(LONG_MAX / 4, maxBytes / 4 + 1));  // of 32 bits each
  if (XGetWindowProperty(display, window, property, 0, units, True, AnyPropertyType, &result.type, &result.format,
                         &count, &after, &data) != Success)
    return {};
  const size_t itemBytes = result.format == 32 ? sizeof(long) : static_cast<size_t>(result.format / 8);
  if (data != nullptr) {
    result.bytes.assign(reinterpret_cast<const char*>(data), count * itemBytes);
    XFree(data);
  }
  result.cut = after > 0;
  return result;
}

}  // namespace

X11Selection::X11Selection(X11Connection& connection, unsigned long selection, unsigned long window)
    : connection_(connection), selection_(selection), window_(window) {}

X11Selection::~X11Selection() { ForgetReader(); }

void X11Selection::ClearFormats() {
  formats_.clear();
  textForOthers_.reset();
  latin1Text_.reset();
}

bool X11Selection::Set(std::string_view format, std::string_view data, bool add) {
  if (!add) ClearFormats();
  if (format == kClipboardText) {
    textForOthers_.reset();
    latin1Text_.reset();
  }
  formats_.insert_or_assign(std::string(format), std::make_shared<const std::string>(data));
  Display* display = connection_.Display();
  // The time of the user's latest input makes the ownership; requests made before it are refused.
  ownedSince_ = connection_.LastInputTime();
  XSetSelectionOwner(display, selection_, window_, CurrentTime);
  owned_ = XGetSelectionOwner(display, selection_) == window_;
  if (!owned_) ClearFormats();
  return owned_;
}

void X11Selection::Release() {
  if (owned_) XSetSelectionOwner(connection_.Display(), selection_, None, CurrentTime);
  owned_ = false;
  ClearFormats();
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
    unsigned long target) {
  const X11Atoms& atoms = connection_.Atoms();
  for (const auto& [format, data] : formats_) {
    const std::vector<unsigned long> targets = TargetsFor(format);
    if (std::find(targets.begin(), targets.end(), target) == targets.end()) continue;
    if (format != kClipboardText) return std::pair{target, data};
    if (!textForOthers_)
      textForOthers_ = IsSelectionText(*data) ? data : std::make_shared<const std::string>(SelectionText(*data));
    if (target != atoms.STRING) return std::pair{target == atoms.TEXT ? atoms.UTF8_STRING : target, textForOthers_};
    if (!latin1Text_) latin1Text_ = std::make_shared<const std::string>(Latin1FromUtf8(*textForOthers_));
    return std::pair{target, latin1Text_};
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
    ClearFormats();
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

unsigned long X11Selection::Reader() {
  if (reader_ == 0) {
    Display* display = connection_.Display();
    reader_ = XCreateSimpleWindow(display, connection_.Root(), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, reader_, PropertyChangeMask);
  }
  return reader_;
}

void X11Selection::ForgetReader() {
  if (reader_ != 0 && !connection_.Lost()) XDestroyWindow(connection_.Display(), reader_);
  reader_ = 0;
}

std::optional<std::pair<unsigned long, std::string>> X11Selection::Convert(unsigned long target, unsigned long time) {
  Display* display = connection_.Display();
  const Window reader = Reader();
  const Atom property = connection_.Atoms().VELMORA_SELECTION;
  XConvertSelection(display, selection_, target, property, reader, time);
  XEvent event;
  const auto notified = [&](const XEvent& e) {
    return e.type == SelectionNotify && e.xselection.requestor == reader && e.xselection.selection == selection_;
  };
  if (!connection_.WaitForEvent(notified, event, kAnswerTimeoutMs)) {
    ForgetReader();  // a late answer would else come into the next read
    return std::nullopt;
  }
  if (event.xselection.property == None) return std::nullopt;
  Property answer = TakeProperty(display, reader, property, readLimit_);
  if (answer.type == None) return std::nullopt;
  if (answer.type != connection_.Atoms().INCR) {
    if (answer.cut || answer.bytes.size() > readLimit_) {
      refused_ = true;
      ForgetReader();
      return std::nullopt;
    }
    return std::pair{answer.type, std::move(answer.bytes)};
  }
  // Deleting the INCR property (done by the read) asks the owner for the first piece.
  auto data = ReadIncremental();
  if (!data) ForgetReader();  // the owner may still write its next piece into the property
  return data;
}

std::optional<std::pair<unsigned long, std::string>> X11Selection::ReadIncremental() {
  Display* display = connection_.Display();
  const Atom property = connection_.Atoms().VELMORA_SELECTION;
  const int64_t deadline = MonotonicMs() + readTimeLimitMs_;
  std::string data;
  Atom type = None;
  const auto newValue = [&](const XEvent& e) {
    return e.type == PropertyNotify && e.xproperty.window == reader_ && e.xproperty.atom == property &&
           e.xproperty.state == PropertyNewValue;
  };
  for (XEvent event;;) {
    const int64_t left = deadline - MonotonicMs();
    if (left <= 0) {
      refused_ = true;
      return std::nullopt;
    }
    if (!connection_.WaitForEvent(newValue, event, static_cast<int>(std::min<int64_t>(left, kAnswerTimeoutMs)))) {
      refused_ = MonotonicMs() >= deadline;  // else the owner fell silent
      return std::nullopt;
    }
    // A notice of a value that was already taken finds no property.
    Property piece = TakeProperty(display, reader_, property, readLimit_ - data.size());
    if (piece.type == None) continue;
    if (piece.bytes.empty() && !piece.cut) return std::pair{type, std::move(data)};
    type = piece.type;
    data += piece.bytes;
    if (piece.cut || data.size() > readLimit_) {
      refused_ = true;
      return std::nullopt;
    }
  }
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
  refused_ = false;
  for (unsigned long target : TargetsFor(format)) {
    if (target == atoms.TEXT) continue;  // its type is the owner's choice; UTF8_STRING and STRING cover it
    if (offered && std::find(offered->begin(), offered->end(), target) == offered->end()) continue;
    if (auto answer = Convert(target, time))
      return answer->first == atoms.STRING ? Utf8FromLatin1(answer->second) : std::move(answer->second);
    if (refused_) break;  // the same data under another name is no shorter nor quicker
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
