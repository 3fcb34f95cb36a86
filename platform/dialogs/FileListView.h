#pragma once

#include <string>
#include <vector>

#include "platform/core/Files.h"
#include "platform/ui/Controls.h"

namespace platform {

enum class TFileColumn { Name, Size, Modified };

// The entries of one folder as the file dialogs list them: a header with the columns Name, Size and
// Modified (a click on one sorts by it, a second click reverses), then one row per entry, folders
// first. One row is selected: the arrows, Home, End and the page keys move it, a click selects,
// Enter or a double click opens it (OnOpen). Rows scroll by keys and the wheel.
class TFileListView : public TCustomControl {
public:
  explicit TFileListView(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // Shows these entries, sorted by the current column, nothing selected.
  void SetEntries(std::vector<TDirectoryEntry> entries);
  // The entries in the order shown.
  const std::vector<TDirectoryEntry>& Entries() const { return entries_; }
  int Selected() const { return selected_; }
  // Selects a row (-1: none) and scrolls it into view.
  void SetSelected(int index);
  // Selects the entry of that name; false when there is none.
  bool SelectName(const std::string& name);
  TFileColumn SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return descending_; }
  // Sorts by the column: ascending, or reversed when it is the current column already.
  void SortBy(TFileColumn column);

  // Geometry in client coordinates.
  int RowHeight();
  TRect HeaderRect(TFileColumn column);
  TRect RowRect(int index);
  int RowAt(TPoint client);
  int TopRow() const { return top_; }

  // The selection moved.
  TNotifyEvent OnSelect;
  // Enter or a double click on the selected row.
  TNotifyEvent OnOpen;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
  void Sort();
  int VisibleRows();
  void SetTopRow(int row);
  int ColumnLeft(TFileColumn column);

  std::vector<TDirectoryEntry> entries_;
  int selected_ = -1;
  int top_ = 0;
  TFileColumn sortColumn_ = TFileColumn::Name;
  bool descending_ = false;
};

// How the list shows a size ("1 KB": kilobytes, rounded up) and a time of modification (the short
// date and time of the format settings).
std::string FileSizeText(uint64_t size);
std::string FileTimeText(int64_t modifiedUnixMs);

}  // namespace platform
