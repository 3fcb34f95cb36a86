#include "controls/FormSize.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "controls/FormComponent.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/core/UserName.h"
#include "platform/net/HostLookup.h"

namespace controls {

using platform::TMemIniFile;
using platform::TMessage;
using platform::TRect;
using platform::TWindowState;

namespace {

// Moves the span [low, high) back inside [min, max) by as little as it can; a span longer than the
// room is cut to it.
void FitSpan(int& low, int& high, int min, int max) {
  if (high > max) {
    low -= high - max;
    high = max;
  }
  if (low < min) {
    high = std::min(high + (min - low), max);
    low = min;
  }
}

}  // namespace

TFormSize::TFormSize(platform::TComponent* AOwner)
    : TComponent(AOwner),
      form_(OwningForm<EFormSizeError>(*this, "The form already contains a TFormSize component")),
      hookKey_(form_.AddWindowHook([this](TMessage& Message, const TWndMethod& Next) { HookWndProc(Message, Next); })) {
  SaveKey = form_.Name();
}

TFormSize::~TFormSize() {
  // A form that is going takes its hooks with it.
  if (!form_.ComponentState().Contains(platform::csDestroying)) form_.RemoveWindowHook(hookKey_);
}

std::string TFormSize::CreateKey() const {
  std::string key = SaveKey;
  if (SaveUser) key += "-" + platform::UserName();
  if (SaveMachine) key += "-" + platform::LocalHostName();
  return key;
}

std::string TFormSize::IniFileName() const {
  return platform::ResolvePath(SaveName.starts_with("/") ? SaveName : platform::ExeDir() + SaveName);
}

void TFormSize::Loaded() {
  TComponent::Loaded();
  if (Running() && SavePosition) LoadPlacement();
}

void TFormSize::LoadPlacement() {
  if (SaveName.empty() || SaveKey.empty()) return;
  const TMemIniFile ini(IniFileName());
  const std::string section = CreateKey();
  const TRect now = form_.BoundsRect();
  TRect r;
  r.Left = ini.ReadInteger(section, "Left", now.Left);
  r.Top = ini.ReadInteger(section, "Top", now.Top);
  if (SaveSize) {
    r.Right = ini.ReadInteger(section, "Right", now.Right);
    r.Bottom = ini.ReadInteger(section, "Bottom", now.Bottom);
  } else {
    r.Right = r.Left + now.Width();
    r.Bottom = r.Top + now.Height();
  }
  const bool maximized =
      ini.ReadBool(section, "Maximized", form_.WindowState() == TWindowState::wsMaximized);
  const TRect work = platform::Screen().WorkAreaRect();
  FitSpan(r.Left, r.Right, work.Left, work.Right);
  FitSpan(r.Top, r.Bottom, work.Top, work.Bottom);
  form_.SetBoundsRect(r);
  if (maximized) form_.SetWindowState(TWindowState::wsMaximized);
}

void TFormSize::DoSavePlacement() {
  if (SaveName.empty() || SaveKey.empty()) return;
  TMemIniFile ini(IniFileName());
  const std::string section = CreateKey();
  const TRect r = form_.NormalBounds();
  ini.WriteInteger(section, "Left", r.Left);
  ini.WriteInteger(section, "Top", r.Top);
  if (SaveSize) {
    ini.WriteInteger(section, "Right", r.Right);
    ini.WriteInteger(section, "Bottom", r.Bottom);
  }
  ini.WriteBool(section, "Maximized", form_.WindowState() == TWindowState::wsMaximized);
  ini.UpdateFile();
}

void TFormSize::SnapToWorkArea(platform::TWindowPos& pos) const {
  const TRect work = platform::Screen().WorkAreaRect();
  if (pos.x < work.Left + MagnetDistance) pos.x = work.Left;
  if (pos.y < work.Top + MagnetDistance) pos.y = work.Top;
  if (std::abs(work.Right - (pos.x + pos.cx)) < MagnetDistance) pos.x = work.Right - pos.cx;
  if (std::abs(work.Bottom - (pos.y + pos.cy)) < MagnetDistance) pos.y = work.Bottom - pos.cy;
}

bool TFormSize::Drag(const TMessage& Message) {
  const platform::TPoint mouse = platform::Screen().CursorPos();
  switch (Message.Msg) {
    case platform::WM_LBUTTONDOWN:
      dragging_ = true;
      dragOffset_ = {form_.Left() - mouse.X, form_.Top() - mouse.Y};
      return false;
    case platform::WM_MOUSEMOVE:
      if (!dragging_) return false;
      form_.SetBounds(mouse.X + dragOffset_.X, mouse.Y + dragOffset_.Y, form_.Width(), form_.Height());
      return true;
    case platform::WM_LBUTTONUP:
      dragging_ = false;
      return false;
    default:
      return false;
  }
}

void TFormSize::HookWndProc(TMessage& Message, const TWndMethod& Next) {
  if (Message.Msg == platform::WM_WINDOWPOSCHANGING && Magnet && Running())
    SnapToWorkArea(*reinterpret_cast<platform::TWindowPos*>(Message.LParam));
  if (DragAlways && Running() && Drag(Message)) return;
  Next(Message);
  if (Message.Msg == platform::WM_DESTROY && Running() && SavePosition) {
    try {
      DoSavePlacement();
    } catch (const std::exception&) {
      // The window is going and nobody is left to tell: a placement that cannot be written is not
      // remembered, and the form closes as it would without it.
    }
  }
}

}  // namespace controls
