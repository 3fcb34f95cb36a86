#include "platform/dialogs/FileListView.h"

#include <algorithm>
#include <array>

#include "platform/core/Ascii.h"
#include "platform/core/DateTime.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/Backend.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kSizeWidth = 80;
constexpr int kModifiedWidth = 130;
constexpr int kIconWidth = 20;
constexpr TFileColumn kColumns[] = {TFileColumn::Name, TFileColumn::Size, TFileColumn::Modified};

std::string ColumnCaption(TFileColumn column) {
  const bool german = ResourceLanguage() == kLanguageGerman;
  switch (column) {
    case TFileColumn::Name: return "Name";
    case TFileColumn::Size: return german ? "Größe" : "Size";
    case TFileColumn::Modified: return german ? "Geändert" : "Modified";
  }
  return {};
}

// A small folder or page before the name.
void DrawIcon(TCanvas& canvas, TRect row, bool folder) {
  const int top = row.Top + (row.Height() - 12) / 2;
  canvas.Pen().SetColor(clBtnShadow);
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  if (folder) {
    canvas.Brush().SetColor(TColor(0x4DCFF5));  // a folder's yellow
    canvas.Rectangle(row.Left + 3, top + 2, row.Left + 17, top + 12);
    canvas.Rectangle(row.Left + 3, top, row.Left + 9, top + 3);
  } else {
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(row.Left + 5, top, row.Left + 15, top + 12);
  }
}

}  // namespace

std::string FileSizeText(uint64_t size) { return std::to_string((size + 1023) / 1024) + " KB"; }

std::string FileTimeText(int64_t modifiedUnixMs) {
  return FormatDateTime("ddddd t", LocalDateTimeOfUnixMs(modifiedUnixMs));
}

TFileListView::TFileListView(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 400, 200);
}

void TFileListView::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TFileListView::RowHeight() {
  Canvas().SetFont(Font());
  return Canvas().TextHeight("Wg") + 2;
}

int TFileListView::ColumnLeft(TFileColumn column) {
  const int width = ClientWidth();
  switch (column) {
    case TFileColumn::Name: return 0;
    case TFileColumn::Size: return std::max(0, width - kModifiedWidth - kSizeWidth);
    case TFileColumn::Modified: return std::max(0, width - kModifiedWidth);
  }
  return 0;
}

TRect TFileListView::HeaderRect(TFileColumn column) {
  const int right = column == TFileColumn::Modified ? ClientWidth() : ColumnLeft(static_cast<TFileColumn>(static_cast<int>(column) + 1));
  return Rect(ColumnLeft(column), 0, right, RowHeight() + 4);
}

TRect TFileListView::RowRect(int index) {
  const int top = HeaderRect(TFileColumn::Name).Bottom + (index - top_) * RowHeight();
  return Rect(0, top, ClientWidth(), top + RowHeight());
}

int TFileListView::VisibleRows() {
  return std::max(1, (ClientHeight() - HeaderRect(TFileColumn::Name).Bottom) / std::max(1, RowHeight()));
}

int TFileListView::RowAt(TPoint client) {
  const int header = HeaderRect(TFileColumn::Name).Bottom;
  if (client.Y < header || client.X < 0 || client.X >= ClientWidth()) return -1;
  const int index = top_ + (client.Y - header) / RowHeight();
  return index < static_cast<int>(entries_.size()) ? index : -1;
}

void TFileListView::SetEntries(std::vector<TDirectoryEntry> entries) {
  entries_ = std::move(entries);
  Sort();
  selected_ = -1;
  top_ = 0;
  Invalidate();
}

void TFileListView::Sort() {
  const TFileColumn column = sortColumn_;
  const bool descending = descending_;
  std::stable_sort(entries_.begin(), entries_.end(), [column, descending](const TDirectoryEntry& a, const TDirectoryEntry& b) {
    if (a.IsDirectory != b.IsDirectory) return a.IsDirectory;
    int order = 0;
    if (column == TFileColumn::Size && a.Size != b.Size) order = a.Size < b.Size ? -1 : 1;
    if (column == TFileColumn::Modified && a.ModifiedUnixMs != b.ModifiedUnixMs)
      order = a.ModifiedUnixMs < b.ModifiedUnixMs ? -1 : 1;
    if (order == 0) order = CompareText(a.Name, b.Name);
    if (order == 0) order = a.Name.compare(b.Name);
    return descending ? order > 0 : order < 0;
  });
}

void TFileListView::SortBy(TFileColumn column) {
  const std::string selected = selected_ >= 0 ? entries_[static_cast<size_t>(selected_)].Name : std::string();
  descending_ = column == sortColumn_ && !descending_;
  sortColumn_ = column;
  Sort();
  if (!selected.empty()) SelectName(selected);
  Invalidate();
}

void TFileListView::SetTopRow(int row) {
  row = std::clamp(row, 0, std::max(0, static_cast<int>(entries_.size()) - VisibleRows()));
  if (row == top_) return;
  top_ = row;
  Invalidate();
}

void TFileListView::SetSelected(int index) {
  if (index < -1 || index >= static_cast<int>(entries_.size())) index = -1;
  if (index >= 0) {
    if (index < top_) SetTopRow(index);
    if (index >= top_ + VisibleRows()) SetTopRow(index - VisibleRows() + 1);
  }
  if (index == selected_) return;
  selected_ = index;
  Invalidate();
  if (OnSelect) OnSelect(this);
}

bool TFileListView::SelectName(const std::string& name) {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Name == name) {
      SetSelected(static_cast<int>(i));
      return true;
    }
  return false;
}

void TFileListView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | (selected_ >= 0 ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TFileListView::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  const int count = static_cast<int>(entries_.size());
  const int page = std::max(1, VisibleRows() - 1);
  int target = selected_;
  switch (Key) {
    case VK_UP: target = selected_ - 1; break;
    case VK_DOWN: target = selected_ + 1; break;
    case VK_PRIOR: target = selected_ - page; break;
    case VK_NEXT: target = selected_ + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    case VK_RETURN:
      if (selected_ >= 0 && OnOpen) {
        Key = 0;
        OnOpen(this);
      }
      return;
    default: return;
  }
  Key = 0;
  if (count > 0) SetSelected(std::clamp(target, 0, count - 1));
}

void TFileListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  if (Y < HeaderRect(TFileColumn::Name).Bottom) {
    for (TFileColumn column : kColumns)
      if (PtInRect(HeaderRect(column), {X, Y})) SortBy(column);
    return;
  }
  if (const int row = RowAt({X, Y}); row >= 0) SetSelected(row);
}

void TFileListView::DblClick() {
  TCustomControl::DblClick();
  const TPoint at = ScreenToClient(Backend().CursorPos());
  if (selected_ >= 0 && RowAt(at) == selected_ && OnOpen) OnOpen(this);
}

bool TFileListView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  SetTopRow(top_ + (WheelDelta < 0 ? 3 : -3));
  return true;
}

void TFileListView::Paint() {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  for (TFileColumn column : kColumns) {
    TRect header = HeaderRect(column);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(header);
    TRect edge = header;
    DrawEdge(canvas.Handle(), edge, EDGE_RAISED, BF_RECT);
    canvas.Font().SetColor(clBtnText);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.TextRect(header, header.Left + 6, header.Top + 2, ColumnCaption(column));
    if (column == sortColumn_) {
      // A small triangle at the right: up for ascending, down for descending.
      const int x = header.Right - 14;
      const int y = header.Top + header.Height() / 2;
      const std::array<TPoint, 3> up{TPoint{x, y + 2}, TPoint{x + 8, y + 2}, TPoint{x + 4, y - 2}};
      const std::array<TPoint, 3> down{TPoint{x, y - 2}, TPoint{x + 8, y - 2}, TPoint{x + 4, y + 2}};
      canvas.Brush().SetStyle(TBrushStyle::bsSolid);
      canvas.Brush().SetColor(clBtnShadow);
      canvas.Pen().SetColor(clBtnShadow);
      canvas.Polygon(descending_ ? down : up);
    }
  }
  const int last = std::min(static_cast<int>(entries_.size()), top_ + VisibleRows() + 1);
  for (int i = top_; i < last; ++i) {
    const TDirectoryEntry& entry = entries_[static_cast<size_t>(i)];
    const TRect row = RowRect(i);
    const bool selected = i == selected_;
    TRect name = Rect(row.Left + kIconWidth, row.Top, ColumnLeft(TFileColumn::Size), row.Bottom);
    DrawIcon(canvas, row, entry.IsDirectory);
    if (selected) {
      canvas.Brush().SetStyle(TBrushStyle::bsSolid);
      canvas.Brush().SetColor(Focused() ? clHighlight : clBtnFace);
      canvas.FillRect(Rect(name.Left, name.Top, std::min(name.Right, name.Left + canvas.TextWidth(entry.Name) + 4), name.Bottom));
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(selected && Focused() ? clHighlightText : clWindowText);
    canvas.TextRect(name, name.Left + 2, name.Top + 1, entry.Name);
    canvas.Font().SetColor(clWindowText);
    if (!entry.IsDirectory) {
      const TRect size = Rect(ColumnLeft(TFileColumn::Size), row.Top, ColumnLeft(TFileColumn::Modified) - 6, row.Bottom);
      const std::string text = FileSizeText(entry.Size);
      canvas.TextRect(size, size.Right - canvas.TextWidth(text), size.Top + 1, text);
    }
    const TRect modified = Rect(ColumnLeft(TFileColumn::Modified), row.Top, ClientWidth(), row.Bottom);
    canvas.TextRect(modified, modified.Left + 6, modified.Top + 1, FileTimeText(entry.ModifiedUnixMs));
    if (selected && Focused())
      canvas.DrawFocusRect(Rect(name.Left, name.Top, std::min(name.Right, name.Left + canvas.TextWidth(entry.Name) + 4), name.Bottom));
  }
}

}  // namespace platform
