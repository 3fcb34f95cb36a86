#include "controls/FormComponentClasses.h"

#include "controls/FormSize.h"
#include "controls/WinXP.h"
#include "platform/ui/PublishedClasses.h"

namespace controls {

using platform::TClassPublisher;
using platform::TComponent;

void PublishFormComponentClasses() {
  TClassPublisher<TWinXP, TComponent>("TWinXP");
  TClassPublisher<TFormSize, TComponent>("TFormSize")
      .Property("SaveName", &TFormSize::SaveName)
      .Property("SaveKey", &TFormSize::SaveKey)
      .Property("SaveUser", &TFormSize::SaveUser)
      .Property("SaveMachine", &TFormSize::SaveMachine)
      .Property("SavePosition", &TFormSize::SavePosition)
      .Property("SaveSize", &TFormSize::SaveSize)
      .Property("Magnet", &TFormSize::Magnet)
      .Property("MagnetDistance", &TFormSize::MagnetDistance)
      .Property("DragAlways", &TFormSize::DragAlways);
}

}  // namespace controls
