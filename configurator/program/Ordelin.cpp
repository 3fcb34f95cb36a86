// Ordelin: the configurator's window, in which an administrator edits the host list and the options of
// the Velmora service. It needs a display; without one it says so and ends with exit code 1.
#include <cstdio>
#include <memory>

#include "configurator/VelmoraConf.h"
#include "configurator/einstellungen.h"
#include "platform/app/Application.h"
#include "platform/backends/BackendChoice.h"
#include "platform/core/Paths.h"
#include "platform/dialogs/FormDialogs.h"

int main(int argc, char** argv) {
  using namespace platform;
  SetCommandLine(argc, argv);
  std::unique_ptr<TBackend> display = OpenDisplayBackend();
  if (!display) {
    std::fprintf(stderr, "ordelin: no X display; the configurator needs one\n");
    return 1;
  }
  SetBackend(std::move(display));
  static TFormDialogService dialogs;  // outlives the forms, which the application frees at exit
  SetDialogService(&dialogs);
  InstallMessageBoxExceptionDisplay();
  Application().Initialize();
  Application().SetTitle("VelmoraConfigurator");
  configurator::TForm1* form = nullptr;
  try {
    form = Application().CreateForm<configurator::TForm1>();
    Application().CreateForm<configurator::TfrmSettings>();
  } catch (const Exception& e) {
    // Without its forms there is no window to run.
    Application().HandleException(e);
    return 1;
  }
  form->Show();
  Application().Run();
  return 0;
}
