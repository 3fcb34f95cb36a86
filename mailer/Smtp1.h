#pragma once

#include <functional>
#include <string>

#include "controls/MarkupLabel.h"
#include "controls/fxLabel.h"
#include "mailer/net/Mlsmtp.h"
#include "platform/app/ApplicationEvents.h"
#include "platform/ui/Forms.h"
#include "platform/app/Timer.h"

namespace quillet {

// How Quillet's one run ended. PartlyRefused: the mail went out, but the server refused some recipients.
enum class TRunOutcome { Pending, Sent, Usage, Failed, PartlyRefused };

// Quillet's only window, made from its form resource TForm1. One second after it is created the timer `Start` runs the one attempt: too few
// parameters or switches grow the window to show the usage text; otherwise the mail described by the
// command line goes out through `MlSMTP1` to the server of Quillet.ini and the window closes. An
// exception of the run reaches the application's exception hook, which writes it to fehler.log; the
// window stays open. Recipients that the server refused are written to fehler.log as an error too,
// while the mail goes to the others. The application owns the form.
class TForm1 : public platform::TForm {
public:
  explicit TForm1(platform::TComponent* AOwner);

  controls::TFxLabel* fxLabel1;
  controls::TMarkupLabel* MarkupLabel1;
  platform::TTimer* Start;
  mailnet::TMlSMTP* MlSMTP1;
  platform::TApplicationEvents* ApplicationEvents1;

  // Without a display nobody sees the window: then a run that ends in the usage text or an error ends
  // the program instead of keeping the window open.
  bool EndWithoutWindow = false;
  TRunOutcome Outcome() const { return outcome_; }
  // The text of the error that ended the run.
  const std::string& ErrorText() const { return errorText_; }
  // The usage text without its markup.
  std::string UsageText() const;
  // Receives an error text that fehler.log could not take, so that it is not lost.
  std::function<void(const std::string& text)> OnUnlogged;

  void FormCreate(platform::TObject* Sender);
  void StartTimer(platform::TObject* Sender);
  void fxLabel1Click(platform::TObject* Sender);
  void ApplicationEvents1Exception(const platform::Exception& E);

private:
  void LogError(const std::string& text);
  void EndRun(TRunOutcome outcome);
  void ShowUsage(int height);

  TRunOutcome outcome_ = TRunOutcome::Pending;
  std::string errorText_;
};

}  // namespace quillet
