// The Velmora service program: runs the service TTarvonex under the platform's service host, in the
// foreground, or installs or removes it with the switches INSTALL and UNINSTALL.
#include "platform/service/ServiceApplication.h"
#include "platform/ui/Application.h"
#include "service/Unit1.h"
#include "service/icmp/NxComponent.h"

int main(int argc, char** argv) {
  // FIXME: the service host keeps its service until its own process-wide object is destroyed at exit,
  // after the process-wide objects that the service's components leave when they go (the application,
  // the socket stack) if those came into being later. Brought into being first, they outlive it.
  platform::Application();
  { velmora::TNxComponent socketStack; }

  velmora::TTarvonex* Tarvonex = nullptr;
  platform::ServiceApplication()->Initialize(argc, argv);
  platform::ServiceApplication()->CreateForm(Tarvonex);
  return platform::ServiceApplication()->Run();
}
