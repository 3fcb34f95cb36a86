#pragma once

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/grids/Grids.h"

namespace platform {

// The grid window of the demonstration: a string grid of 1000 hosts to scroll, select and edit in place,
// with a status line that names the current cell. Built in code, its texts in the resource language.
class TGridDemoForm : public TForm {
public:
  explicit TGridDemoForm(TComponent* AOwner);

  TStringGrid& Grid() { return *grid_; }

private:
  void ShowCell(int col, int row);

  TStringGrid* grid_ = nullptr;
  TPanel* status_ = nullptr;
};

}  // namespace platform
