#include "platform/ui/StandardClasses.h"

#include "platform/ui/ControlClasses.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/PublishedClasses.h"

namespace platform {

void PublishStandardClasses() {
  TClassPublisher<TComponent>("TComponent");
  PublishControlClasses();
  PublishDialogClasses();
}

}  // namespace platform
