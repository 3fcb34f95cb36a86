// The Velmora service program: runs the service TTarvonex under the platform's service host, in the
// foreground, or installs or removes it with the switches INSTALL and UNINSTALL.
#include "platform/service/ServiceApplication.h"
#include "service/Unit1.h"

int main(int argc, char** argv) {
  velmora::TTarvonex* Tarvonex = nullptr;
  platform::ServiceApplication()->Initialize(argc, argv);
  platform::ServiceApplication()->CreateForm(Tarvonex);
  return platform::ServiceApplication()->Run();
}
