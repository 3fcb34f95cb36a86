#include "DemoForm.h"

#include "DemoDialog.h"
#include "platform/edits/EditClasses.h"
#include "platform/edits/Memo.h"

namespace platform {

TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner) {
  methods_.Add("SaveClick", this, &TDemoForm::SaveClick);
  methods_.Add("ExitClick", this, &TDemoForm::ExitClick);
  methods_.Add("LogClick", this, &TDemoForm::LogClick);
  methods_.Add("SizeClick", this, &TDemoForm::SizeClick);
  methods_.Add("ClearClick", this, &TDemoForm::ClearClick);
  methods_.Add("GridClick", this, &TDemoForm::GridClick);
  methods_.Add("SpinClick", this, &TDemoForm::SpinClick);
  methods_.Add("DrawPanel", this, &TDemoForm::DrawPanel);
  methods_.Add("OptionsClick", this, &TDemoForm::OptionsClick);
  PublishEditClasses();
  ReadFormResource(*this, "TDemoForm", methods_);
  Find<TSpeedButton>("SaveButton").Glyph().LoadFromResourceName("DEMOSAVE");
}

template <class T>
T& TDemoForm::Find(const std::string& name) const {
  return dynamic_cast<T&>(*FindComponent(name));
}

void TDemoForm::SaveClick(TObject* Sender) {
  const std::string saved = GetShortHint(Find<TSpeedButton>("SaveButton").Hint());
  Find<TPanel>("ClientPanel").SetCaption(saved);
  Find<TMemo>("LogMemo").Lines().Add(saved);
}

void TDemoForm::ExitClick(TObject* Sender) { Close(); }

void TDemoForm::LogClick(TObject* Sender) {
  auto& check = Find<TCheckBox>("LogCheck");
  auto& item = Find<TMenuItem>("Log1");
  // The menu item turns the check box, whose click brings the rest in step.
  if (Sender == &item) {
    check.SetChecked(!check.Checked());
    return;
  }
  item.SetChecked(check.Checked());
  Find<TPanel>("LeftPanel").SetVisible(check.Checked());
  Find<TSplitter>("Splitter1").SetVisible(check.Checked());
}

void TDemoForm::SizeClick(TObject* Sender) {
  auto& item = dynamic_cast<TMenuItem&>(*static_cast<TComponent*>(Sender));
  item.SetChecked(true);
  Find<TPanel>("ClientPanel").Font().SetSize(&item == &Find<TMenuItem>("Large1") ? 12 : 8);
}

void TDemoForm::ClearClick(TObject* Sender) { Find<TPanel>("ClientPanel").SetCaption(""); }

TGridDemoForm& TDemoForm::GridWindow() {
  if (!gridWindow_) gridWindow_ = new TGridDemoForm(this);
  return *gridWindow_;
}

void TDemoForm::GridClick(TObject* Sender) { GridWindow().Show(); }

TSpinDemoForm& TDemoForm::SpinWindow() {
  if (!spinWindow_) spinWindow_ = new TSpinDemoForm(this);
  return *spinWindow_;
}

void TDemoForm::SpinClick(TObject* Sender) { SpinWindow().Show(); }

void TDemoForm::DrawPanel(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect) {
  TCanvas& canvas = StatusBar->Canvas();
  canvas.FillRect(Rect);
  TRect filled = Rect;
  InflateRect(filled, -1, -1);
  filled.Right = filled.Left + filled.Width() * 2 / 3;
  canvas.Brush().SetColor(clHighlight);
  canvas.FillRect(filled);
}

void TDemoForm::OptionsClick(TObject* Sender) {
  TDemoDialog dialog(this);
  dialog.ShowModal();
}

}  // namespace platform
