#pragma once

#include "grid/BaseGrid.h"
#include "grid/DovAdizTypes.h"

namespace velmora {

// The grid component that forms place: the base grid with its settings objects, typed cell views,
// headers, selection, an update lock and the events through which the owning form customises cells.
// Its implementation is split into files by concern (DovAdiz*.cpp).
//
// Index space: Cells[c, r] addresses the real (stored) column c and the display row r. Every caller
// that holds a display column (painting, hints, mouse, keys, selection text, sums over a selection)
// maps it with RealColIndex first. Hidden columns keep their data at their real index in the string
// grid's wider storage.
class VUraRazuduVova : public TBaseGrid {
public:
  explicit VUraRazuduVova(platform::TComponent* AOwner);
  ~VUraRazuduVova() override;

  // ---- Object, settings, events, update lock (DovAdiz.cpp, DovAdizVirtuals.cpp, DovAdizUpdate.cpp) ----

  // ---- Cells, counts, headers, selection, accessors (DovAdizCells.cpp, DovAdizCounts.cpp,
  //      DovAdizSelection.cpp) ----

  // ---- Index model: real and display rows and columns (DovAdizIndex.cpp) ----
  // Nothing is hidden yet: display and real indices are the same.
  int RealColIndex(int ACol) const { return ACol; }
  int DisplColIndex(int ACol) const { return ACol; }
  int RealRowIndex(int ARow) const { return ARow; }
  int DisplRowIndex(int ARow) const { return ARow; }
  bool IsHiddenRow(int ARow) const { return false; }

protected:
  // ---- Virtual operations in slot order ----

private:
  // ---- Object state ----

  // ---- Cells, counts, headers, selection state ----
};

}  // namespace velmora
