#include "controls/WinXP.h"

#include "controls/FormComponent.h"

namespace controls {

TWinXP::TWinXP(platform::TComponent* AOwner) : TComponent(AOwner) {
  OwningForm<EWinXPError>(*this, "Only one instance of TWinXP allowed on form");
}

}  // namespace controls
