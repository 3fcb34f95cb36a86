// Quillet: sends one mail described by its command line through the SMTP server of Quillet.ini. With a
// display its window shows the usage text or stays open after an error (written to fehler.log) and the
// exit code is 0; without one it ends at once with the usage text (exit code 2) or the error text
// (exit code 1, also when the mail went out but the server refused some of its recipients) on standard
// error.
#include <cstdio>
#include <iostream>

#include "mailer/Smtp1.h"
#include "platform/backends/BackendChoice.h"
#include "platform/core/Paths.h"
#include "platform/app/Application.h"

int main(int argc, char** argv) {
  platform::SetCommandLine(argc, argv);
  std::unique_ptr<platform::TBackend> display = platform::OpenDisplayBackend();
  const bool hasDisplay = display != nullptr;
  if (display) platform::SetBackend(std::move(display));

  quillet::TForm1* form = platform::Application().CreateForm<quillet::TForm1>();
  form->EndWithoutWindow = !hasDisplay;
  if (hasDisplay) form->OnUnlogged = [](const std::string& text) { std::cerr << text << "\n" << std::flush; };
  form->Show();
  platform::Application().Run();

  if (hasDisplay) return 0;
  switch (form->Outcome()) {
    case quillet::TRunOutcome::Usage:
      std::cerr << form->UsageText() << "\n";
      return 2;
    case quillet::TRunOutcome::Failed:
    case quillet::TRunOutcome::PartlyRefused:
      std::cerr << form->ErrorText() << "\n";
      return 1;
    default:
      return 0;
  }
}
