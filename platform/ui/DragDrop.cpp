#include "platform/ui/DragDrop.h"

#include <algorithm>
#include <exception>
#include <map>
#include <memory>

#include "platform/app/Application.h"
#include "platform/app/Timer.h"
#include "platform/core/Clock.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TopLevelWindow.h"
#include "platform/ui/VirtualKeys.h"

#include <unistd.h>

namespace platform {

namespace {

constexpr UINT kForeignPollMs = 50;  // how often the loop looks whether another program finished a drop

// The program's own formats are those that no other program knows.
bool IsSharedFormat(std::string_view format) {
  return format == kClipboardText || format == kClipboardRichText || format == kDragFiles;
}

struct Registration {
  TComponent::TGuard guard;
  IDropTarget* target;
};

// The registered targets by control. A control that went without revoking is dropped when met.
std::map<const TWinControl*, Registration>& Registrations() {
  static auto* registrations = new std::map<const TWinControl*, Registration>;
  return *registrations;
}

IDropTarget* TargetOf(const TWinControl* control) {
  auto& all = Registrations();
  const auto found = all.find(control);
  if (found == all.end()) return nullptr;
  if (found->second.guard.Gone()) {
    all.erase(found);
    return nullptr;
  }
  return found->second.target;
}

// The control with a target under a screen point, within one top-level window or (null) any form.
TWinControl* TargetControlAt(TPoint screen) {
  for (TControl* at = FindDragTarget(screen, false); at; at = at->Parent()) {
    auto* windowed = dynamic_cast<TWinControl*>(at);
    if (windowed && windowed->Enabled() && TargetOf(windowed)) return windowed;
  }
  return nullptr;
}

void AnnounceTargets(TWinControl& control) {
  if (TTopLevelWindow* top = TopLevelOf(&control)) Backend().SetDropTarget(top->Window(), HoldsDropTarget(*top));
}

// The keys and buttons (MK_...) as the last input event left them.
DWORD CurrentKeys() {
  DWORD keys = 0;
  for (auto [key, bit] : {std::pair{VK_LBUTTON, MK_LBUTTON}, std::pair{VK_RBUTTON, MK_RBUTTON},
                          std::pair{VK_MBUTTON, MK_MBUTTON}, std::pair{VK_SHIFT, MK_SHIFT}, std::pair{VK_CONTROL, MK_CONTROL}})
    if (GetKeyState(key) < 0) keys |= static_cast<DWORD>(bit);
  return keys;
}

constexpr DWORD kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

TBackendCursor CursorOfEffect(DWORD effect) {
  if (effect & DROPEFFECT_COPY) return TBackendCursor::DragCopy;
  if (effect & (DROPEFFECT_MOVE | DROPEFFECT_LINK)) return TBackendCursor::DragMove;
  return TBackendCursor::NoDrop;
}

// One effect out of what a target answered, within what is allowed: a target that takes the data with
// an effect the source does not allow takes it with the first one allowed (another program's source
// offers one action at a time). A drop of files is always a copy (a file manager told "move" may delete
// the file).
DWORD Settle(DWORD answered, DWORD allowed, bool files) {
  if (answered == DROPEFFECT_NONE) return DROPEFFECT_NONE;
  if (files) return DROPEFFECT_COPY;
  for (DWORD effect : {DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_LINK})
    if (answered & allowed & effect) return effect;
  for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (allowed & effect) return effect;
  return DROPEFFECT_NONE;
}

// The target the pointer is over, in one drag (ours or another program's).
class TargetTracker {
public:
  // Moves to the target (null: none) at the point; the answered effect.
  DWORD Over(TWinControl* control, IDataObject& data, DWORD keys, TPoint screen, DWORD allowed) {
    const bool files = data.HasFormat(kDragFiles);
    if (files) allowed &= DROPEFFECT_COPY | DROPEFFECT_LINK;
    if (control != control_ || !Alive()) {
      Leave();
      if (control == nullptr) return DROPEFFECT_NONE;
      control_ = control;
      guard_.emplace(*control);
      target_ = TargetOf(control);
      DWORD effect = allowed;
      target_->DragEnter(data, keys, screen, effect);
      return Settle(effect, allowed, files);
    }
    if (control_ == nullptr) return DROPEFFECT_NONE;
    DWORD effect = allowed;
    target_->DragOver(keys, screen, effect);
    return Settle(effect, allowed, files);
  }

  void Leave() {
    IDropTarget* target = Alive() ? target_ : nullptr;
    Forget();
    if (target) target->DragLeave();
  }

  // The drop on the current target; none without one.
  DWORD Drop(IDataObject& data, DWORD keys, TPoint screen, DWORD allowed) {
    if (!Alive()) {
      Forget();
      return DROPEFFECT_NONE;
    }
    const bool files = data.HasFormat(kDragFiles);
    if (files) allowed &= DROPEFFECT_COPY | DROPEFFECT_LINK;
    IDropTarget* target = target_;
    Forget();
    DWORD effect = allowed;
    target->Drop(data, keys, screen, effect);
    return Settle(effect, allowed, files);
  }

  bool Alive() const { return control_ && guard_ && guard_->Alive() && TargetOf(control_) == target_; }

private:
  void Forget() {
    control_ = nullptr;
    target_ = nullptr;
    guard_.reset();
  }

  TWinControl* control_ = nullptr;
  IDropTarget* target_ = nullptr;
  std::optional<TComponent::TGuard> guard_;
};

// The drag that DoDragDrop runs.
class DragSession {
public:
  DragSession(IDataObject& data, DWORD okEffects, IDropSource& source, TBackendWindow window)
      : data_(data), okEffects_(okEffects), source_(source), window_(window) {}

  void Start(TPoint screen, DWORD keys) {
    point_ = screen;
    keys_ = keys;
    std::vector<std::pair<std::string, std::string>> shared;
    for (const std::string& format : data_.Formats())
      if (IsSharedFormat(format))
        if (auto bytes = data_.GetData(format)) shared.emplace_back(format, std::move(*bytes));
    external_ = Backend().BeginDrag(window_, std::move(shared), okEffects_);
    if (!external_) Backend().SetCapture(window_);
    Step(false);
  }

  void Input(TPoint screen, DWORD keys, bool escape) {
    if (done_) return;
    point_ = screen;
    keys_ = keys;
    Step(escape);
  }

  // A key went down or up: the buttons stay as the mouse left them.
  void KeysChanged(DWORD keys, bool escape) { Input(point_, (keys & ~kButtons) | (keys_ & kButtons), escape); }

  // Runs until the drag ends; the outcome, or the exception that ended it, after the cleanup.
  DragOutcome Run() {
    Application().HandleMessagesUntil([this] { return done_; });
    if (!done_) Cancel();  // the application is terminating
    if (foreignDrop_) {
      // Another program's window has the drop: its answer, or none when it gives none in time.
      TTimer poll(nullptr);
      poll.SetInterval(kForeignPollMs);
      poll.OnTimer = [](TObject*) {};
      std::optional<unsigned> finished;
      Application().HandleMessagesUntil([&] { return (finished = external_->Finished()).has_value(); });
      outcome_.Effect = finished ? Settle(*finished, okEffects_, false) : DROPEFFECT_NONE;
      outcome_.Result = outcome_.Effect != DROPEFFECT_NONE ? DragResult::Drop : DragResult::Cancel;
    }
    external_.reset();
    Backend().SetCursor(window_, TBackendCursor::Arrow);
    Backend().ReleaseCapture();
    if (failure_) std::rethrow_exception(failure_);
    return outcome_;
  }

private:
  void Step(bool escape) {
    try {
      const DragQuery query = source_.QueryContinueDrag(escape, keys_);
      if (query == DragQuery::Cancel) return Cancel();
      if (query == DragQuery::Drop) return DropHere();
      DWORD effect = DROPEFFECT_NONE;
      const DWORD proposed = ProposedEffect(keys_, okEffects_);
      std::optional<unsigned> foreign = external_ ? external_->Move(point_, keys_, proposed) : std::nullopt;
      overForeign_ = foreign.has_value();
      if (overForeign_) {
        tracker_.Leave();
        effect = Settle(*foreign, okEffects_, false);
      } else {
        // Ctrl or not, an own target sees the source's effects and picks; another program's hears the proposal.
        effect = tracker_.Over(TargetControlAt(point_), data_, keys_, point_, okEffects_);
      }
      effect_ = effect;
      if (source_.GiveFeedback(effect) == DragFeedback::UseDefaultCursors) Backend().SetCursor(window_, CursorOfEffect(effect));
    } catch (...) {
      failure_ = std::current_exception();
      try {
        tracker_.Leave();
      } catch (...) {
        // A second failure while the drag ends is dropped: the first goes on to the caller.
      }
      done_ = true;
    }
  }

  void Cancel() {
    done_ = true;
    tracker_.Leave();
    outcome_ = {};
  }

  void DropHere() {
    done_ = true;
    if (overForeign_) {
      if (effect_ == DROPEFFECT_NONE) return;
      external_->Drop();
      foreignDrop_ = true;
      return;
    }
    if (effect_ == DROPEFFECT_NONE) {
      tracker_.Leave();
      outcome_ = {};
      return;
    }
    const DWORD effect = tracker_.Drop(data_, keys_, point_, okEffects_);
    outcome_ = {effect != DROPEFFECT_NONE ? DragResult::Drop : DragResult::Cancel, effect};
  }

  IDataObject& data_;
  DWORD okEffects_;
  IDropSource& source_;
  TBackendWindow window_;
  std::unique_ptr<TBackendDrag> external_;
  TargetTracker tracker_;
  TPoint point_;
  DWORD keys_ = 0;
  DWORD effect_ = DROPEFFECT_NONE;
  bool overForeign_ = false;
  bool foreignDrop_ = false;
  bool done_ = false;
  DragOutcome outcome_;
  std::exception_ptr failure_;
};

DragSession* g_session = nullptr;

// The drag of another program over our windows.
struct ForeignDragState {
  TTopLevelWindow* window = nullptr;
  TargetTracker tracker;
};

ForeignDragState& Foreign() {
  static auto* foreign = new ForeignDragState;
  return *foreign;
}

bool IsUnreserved(unsigned char c) { return c >= 0x21 && c < 0x7F && c != '%' && c != ' ' && c != '#' && c != '?'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path of a local file URI; none for another host, another scheme or a malformed one.
std::optional<std::string> LocalPathOf(std::string_view uri, std::string_view hostName) {
  constexpr std::string_view scheme = "file:";
  if (uri.size() < scheme.size()) return std::nullopt;
  for (size_t i = 0; i < scheme.size(); ++i)
    if ((uri[i] | 0x20) != scheme[i] && uri[i] != scheme[i]) return std::nullopt;
  std::string_view rest = uri.substr(scheme.size());
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost" && host != hostName) return std::nullopt;
    rest.remove_prefix(slash);
  }
  if (!rest.starts_with('/')) return std::nullopt;
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '?' || rest[i] == '#') break;  // a query or fragment is no part of a file's name
    if (rest[i] != '%') {
      path += rest[i];
      continue;
    }
    if (i + 2 >= rest.size()) return std::nullopt;
    const int high = HexValue(rest[i + 1]), low = HexValue(rest[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    const char c = static_cast<char>(high * 16 + low);
    if (c == '\0') return std::nullopt;  // no file name holds a NUL
    path += c;
    i += 2;
  }
  return path;
}

std::string ThisHostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

bool IDataObject::HasFormat(std::string_view format) const {
  const std::vector<std::string> formats = Formats();
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

void DataObject::SetData(std::string_view format, std::string data) {
  for (auto& [name, bytes] : formats_)
    if (name == format) {
      bytes = std::move(data);
      return;
    }
  formats_.emplace_back(std::string(format), std::move(data));
}

std::vector<std::string> DataObject::Formats() const {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : formats_) names.push_back(name);
  return names;
}

std::optional<std::string> DataObject::GetData(std::string_view format) {
  for (const auto& [name, bytes] : formats_)
    if (name == format) return bytes;
  return std::nullopt;
}

DragQuery IDropSource::QueryContinueDrag(bool EscapePressed, DWORD KeyState) {
  if (EscapePressed) return DragQuery::Cancel;
  if ((KeyState & MK_LBUTTON) == 0) return DragQuery::Drop;
  return DragQuery::Continue;
}

DragFeedback IDropSource::GiveFeedback(DWORD) { return DragFeedback::UseDefaultCursors; }

bool RegisterDragDrop(TWinControl& Control, IDropTarget& Target) {
  if (TargetOf(&Control)) return false;
  Registrations().insert_or_assign(&Control, Registration{TComponent::TGuard(Control), &Target});
  AnnounceTargets(Control);
  return true;
}

void RevokeDragDrop(TWinControl& Control) {
  if (Registrations().erase(&Control) == 0) return;
  AnnounceTargets(Control);
}

IDropTarget* RegisteredDropTarget(const TWinControl& Control) { return TargetOf(&Control); }

bool HoldsDropTarget(const TTopLevelWindow& Window) {
  auto& all = Registrations();
  for (auto it = all.begin(); it != all.end();) {
    if (it->second.guard.Gone()) {
      it = all.erase(it);
      continue;
    }
    if (TopLevelOf(it->first) == &Window) return true;
    ++it;
  }
  return false;
}

DWORD ProposedEffect(DWORD KeyState, DWORD OkEffects) {
  const DWORD wanted = (KeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  if (OkEffects & wanted) return wanted;
  for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (OkEffects & effect) return effect;
  return DROPEFFECT_NONE;
}

DragOutcome DoDragDrop(IDataObject& Data, DWORD OkEffects, IDropSource& Source) {
  if (g_session) return {};  // one drag at a time
  const TPoint pointer = Backend().CursorPos();
  // The drag belongs to the window that has the mouse: the capture's, else the one under the pointer.
  TControl* from = GetCaptureControl();
  if (!from) from = FindDragTarget(pointer, true);
  if (!from) from = Screen().ActiveForm();
  TTopLevelWindow* top = from ? TopLevelOf(from) : nullptr;
  if (!top) return {};
  // The control that pressed the mouse gives it up: the drag takes the button's release.
  SetCaptureControl(nullptr);
  DragSession session(Data, OkEffects, Source, top->Window());
  g_session = &session;
  struct SessionEnd {
    ~SessionEnd() { g_session = nullptr; }
  } end;
  session.Start(pointer, CurrentKeys());
  return session.Run();
}

bool DragDropActive() { return g_session != nullptr; }

bool DragMouseInput(TPoint Screen, DWORD Keys) {
  if (!g_session) return false;
  g_session->Input(Screen, Keys, false);
  return true;
}

bool DragKey(int VirtualKey, bool Down, DWORD Keys) {
  if (!g_session) return false;
  g_session->KeysChanged(Keys, Down && VirtualKey == VK_ESCAPE);
  return true;
}

DWORD ForeignDragOver(TTopLevelWindow& Window, IDataObject& Data, TPoint Screen, DWORD KeyState, DWORD OkEffects) {
  ForeignDragState& foreign = Foreign();
  if (foreign.window != &Window) {
    foreign.tracker.Leave();
    foreign.window = &Window;
  }
  TWinControl* control = TargetControlAt(Screen);
  if (control && TopLevelOf(control) != &Window) control = nullptr;
  return foreign.tracker.Over(control, Data, KeyState, Screen, OkEffects);
}

void ForeignDragLeave(TTopLevelWindow& Window) {
  ForeignDragState& foreign = Foreign();
  if (foreign.window != &Window) return;
  foreign.window = nullptr;
  foreign.tracker.Leave();
}

DWORD ForeignDrop(TTopLevelWindow& Window, IDataObject& Data, TPoint Screen, DWORD KeyState, DWORD OkEffects) {
  ForeignDragState& foreign = Foreign();
  if (foreign.window != &Window) return DROPEFFECT_NONE;
  foreign.window = nullptr;
  return foreign.tracker.Drop(Data, KeyState, Screen, OkEffects);
}

UriListFiles LocalFilesOfUriList(std::string_view UriList, std::string_view HostName, size_t MaxFiles) {
  UriListFiles result;
  size_t start = 0;
  while (start < UriList.size()) {
    size_t end = UriList.find('\n', start);
    if (end == std::string_view::npos) end = UriList.size();
    std::string_view line = UriList.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line.front() == '#') continue;  // a comment
    if (result.Files.size() >= MaxFiles) {
      ++result.Skipped;
      continue;
    }
    if (auto path = LocalPathOf(line, HostName))
      result.Files.push_back(std::move(*path));
    else
      ++result.Skipped;
  }
  return result;
}

std::vector<std::string> DroppedFiles(IDataObject& Data) {
  const std::optional<std::string> list = Data.GetData(kDragFiles);
  if (!list) return {};
  return LocalFilesOfUriList(*list, ThisHostName()).Files;
}

std::string UriListOfFiles(const std::vector<std::string>& Paths) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string list;
  for (const std::string& path : Paths) {
    list += "file://";
    for (const char c : path) {
      const auto byte = static_cast<unsigned char>(c);
      if (c == '/' || IsUnreserved(byte)) {
        list += c;
      } else {
        list += '%';
        list += kHex[byte >> 4];
        list += kHex[byte & 15];
      }
    }
    list += "\r\n";
  }
  return list;
}

}  // namespace platform
