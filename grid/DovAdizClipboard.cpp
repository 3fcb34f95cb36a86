// The selection on the clipboard and back: copy, cut and paste of TAB and CR LF separated cell texts.

#include <algorithm>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "platform/ui/Clipbrd.h"

using namespace platform;

namespace velmora {

void VUraRazuduVova::CopySelectionToClipboard() {
  std::string text = SelectionText(!navigation_.CopyHTMLTagsToClipboard);
  // Every row but the last is followed by a line break.
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  Clipboard().SetAsText(text);
}

void VUraRazuduVova::CutSelectionToClipboard() {
  CopySelectionToClipboard();
  const TGuard alive(*this);
  if (mouseActions_.DisjunctRowSelect) {
    for (int r = FixedRows(); r < RowCount() && alive.Alive(); ++r)
      if (RowSelect(r)) ClearRows(r, 1);
    return;
  }
  const TGridRect range = Selection();
  for (int r = std::max(range.Top, 0); r <= range.Bottom && r < RowCount(); ++r)
    for (int c = std::max(range.Left, 0); c <= range.Right && c < ColCount(); ++c) {
      const int col = RealColIndex(c);
      if (alive.Alive() && (navigation_.AllowClipboardAlways || IsEditable(col, r))) SetCells(col, r, "");
    }
}

int VUraRazuduVova::PasteSelectionFromClipboard() {
  const TGridRect range = Selection();
  if (!Clipboard().HasFormat(CF_TEXT)) return 0;
  return PasteText(range.Left, range.Top, Clipboard().AsText());
}

int VUraRazuduVova::PasteText(int ACol, int ARow, const std::string& Text) {
  if (ACol < 0 || ARow < 0) return 0;
  if (!Options().Contains(TGridOption::goEditing) && !navigation_.AllowClipboardAlways) return 0;
  int count = 0, row = ARow, lastRow = ARow, right = ACol;
  size_t at = 0;
  // A text that ends with a line break has an empty last line: one field, counted and not stored.
  while (at <= Text.size()) {
    size_t end = Text.find('\r', at);
    const bool lastLine = end == std::string::npos;
    if (lastLine) end = Text.size();
    const std::string_view line(Text.data() + at, end - at);
    if (!lastLine || !line.empty()) lastRow = row;
    int c = ACol;
    size_t from = 0;
    for (bool more = true; more; ++c) {
      size_t tab = line.find('\t', from);
      more = tab != std::string_view::npos;
      if (!more) tab = line.size();
      std::string field(line.substr(from, tab - from));
      from = tab + 1;
      ++count;
      if (field.find('\n') != std::string::npos && ClipboardCSVMultiLine) field = CSVToLineFeeds(field);
      // The empty last field of the text stores nothing.
      if (lastLine && !more && field.empty()) break;
      if (c >= ColCount() && navigation_.AllowClipboardColGrow) SetColCount(c + 1);
      if (c < ColCount() && row < RowCount()) {
        const int col = RealColIndex(c);
        if (navigation_.AllowClipboardAlways || IsEditable(col, row)) SetCells(col, row, field);
      }
      right = std::max(right, c);
    }
    at = end + 1;
    if (at < Text.size() && Text[at] == '\n') ++at;
    if (lastLine) break;
    ++row;
    if (row == RowCount() && at < Text.size() && navigation_.AllowClipboardRowGrow) SetRowCount(row + 1);
  }
  CellsChanged(Rect(ACol, ARow, right, lastRow));
  return count;
}

void VUraRazuduVova::ClipboardShortcut(TClipboardKey Operation) {
  switch (Operation) {
    case TClipboardKey::Copy: CopySelectionToClipboard(); return;
    case TClipboardKey::Cut: CutSelectionToClipboard(); return;
    case TClipboardKey::Paste: PasteSelectionFromClipboard(); return;
  }
}

}  // namespace velmora
