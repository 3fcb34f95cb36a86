#pragma once

#include "grid/DovAdiz.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

namespace platform {

// The grid window of the demonstration: the grid object with a few hundred hosts grouped under one
// node per site, a check box, a progress bar and a markup column, sorted by a header click, its
// columns sized by their borders, scrolled by the wheel, the comment edited in place; a status line
// names the current row and column. Built in code, its texts in the resource language.
class TGridDemoForm : public TForm {
public:
  // Where things stand: the grid's real columns and its shape.
  static constexpr int kNodeCol = 0, kHostCol = 1, kAddressCol = 2, kWatchedCol = 3, kAvailabilityCol = 4,
                       kStateCol = 5, kCommentCol = 6;
  static constexpr int kSites = 4, kHostsPerSite = 80;

  explicit TGridDemoForm(TComponent* AOwner);

  velmora::VUraRazuduVova& Grid() { return *grid_; }
  const std::string& StatusText() const { return status_->Caption(); }

private:
  void FillSite(int site, int nodeRow);
  void ShowCell(int col, int row);

  velmora::VUraRazuduVova* grid_ = nullptr;
  TPanel* status_ = nullptr;
};

}  // namespace platform
