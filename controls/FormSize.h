#pragma once

#include <functional>
#include <string>

#include "platform/core/Exception.h"
#include "platform/ui/Forms.h"

namespace controls {

class EFormSizeError : public platform::Exception {
public:
  using Exception::Exception;
};

// Keeps its form's place between runs: restores position, size and maximized state from an INI file
// when the form is loaded and saves them when the form's window is destroyed. It hooks the form's
// window procedure for that, and to snap the form to the work area's edges (Magnet) and to let a press
// on the form's bare client area drag it (DragAlways).
//
// The file is SaveName, relative to the program's folder; the section is CreateKey(). A restored
// rectangle is brought inside the work area, so a form saved on a larger screen comes back visible.
class TFormSize : public platform::TComponent {
public:
  // Throws EFormSizeError when the owner is not a form or already holds a TFormSize.
  explicit TFormSize(platform::TComponent* AOwner);
  ~TFormSize() override;

  std::string SaveName = ".\\FORM.INI";
  std::string SaveKey;  // the form's name at first
  bool SaveUser = false;
  bool SaveMachine = false;
  bool SavePosition = true;
  bool SaveSize = true;
  bool Magnet = false;
  int MagnetDistance = 32;
  bool DragAlways = false;

  // SaveKey, then "-" and the user name with SaveUser, then "-" and the computer name with SaveMachine.
  std::string CreateKey() const;
  // Applies the saved placement (nothing when SaveName or SaveKey is empty).
  void LoadPlacement();
  // Writes the form's normal bounds and whether it is maximized (nothing when SaveName or SaveKey is
  // empty).
  void DoSavePlacement();

protected:
  void Loaded() override;

private:
  using TWndMethod = platform::TControl::TWndMethod;
  void HookWndProc(platform::TMessage& Message, const TWndMethod& Next);
  void SnapToWorkArea(platform::TWindowPos& pos) const;
  // Drags the form while the left button, pressed on its client area, is held; true when it took the message.
  bool Drag(const platform::TMessage& Message);
  std::string IniFileName() const;
  bool Running() const { return !ComponentState().Contains(platform::csDesigning); }

  platform::TCustomForm& form_;
  const int hookKey_;  // of the form's window hook
  bool dragging_ = false;
  platform::TPoint dragOffset_;  // the form's top-left corner less the mouse, on the screen
};

}  // namespace controls
