#include "grid/DovAdiz.h"

namespace velmora {

VUraRazuduVova::VUraRazuduVova(platform::TComponent* AOwner) : TBaseGrid(AOwner) {}

VUraRazuduVova::~VUraRazuduVova() { FreeAllCellProperties(); }

}  // namespace velmora
