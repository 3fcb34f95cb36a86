#pragma once

#include "GridDemoForm.h"
#include "SpinDemoForm.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FormLoader.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/StdCtrls.h"

namespace platform {

// The demonstration form: its components come from the form resource TDemoForm in the resource
// language; its handlers keep the log menu item and check box in step (the log hides the left panel
// and the splitter), mark the chosen size, show what was chosen in the right panel and write it as a
// line of the log memo, show the options dialog modally, and open the grid window and the window of
// combo boxes and spin edits.
class TDemoForm : public TForm {
public:
  explicit TDemoForm(TComponent* AOwner);

  // The grid window, made on first use; the form owns it.
  TGridDemoForm& GridWindow();
  // The window of combo boxes and spin edits, made on first use; the form owns it.
  TSpinDemoForm& SpinWindow();

private:
  void SaveClick(TObject* Sender);
  void ExitClick(TObject* Sender);
  void LogClick(TObject* Sender);
  void SizeClick(TObject* Sender);
  void ClearClick(TObject* Sender);
  void GridClick(TObject* Sender);
  void SpinClick(TObject* Sender);
  void DrawPanel(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect);
  void OptionsClick(TObject* Sender);
  template <class T>
  T& Find(const std::string& name) const;

  TFormMethods methods_;
  TGridDemoForm* gridWindow_ = nullptr;
  TSpinDemoForm* spinWindow_ = nullptr;
};

}  // namespace platform
