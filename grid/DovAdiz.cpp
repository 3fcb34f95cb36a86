#include "grid/DovAdiz.h"

namespace velmora {

VUraRazuduVova::VUraRazuduVova(platform::TComponent* AOwner) : TBaseGrid(AOwner) {
  columnHeaders_.OnChange = [this](platform::TStringList&) { ShowColumnHeaders(); };
  rowHeaders_.OnChange = [this](platform::TStringList&) { ShowRowHeaders(); };
}

VUraRazuduVova::~VUraRazuduVova() { FreeAllCellProperties(); }

}  // namespace velmora
