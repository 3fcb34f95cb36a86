#include "platform/ui/SystemImageList.h"

#include <array>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Png.h"
#include "platform/shell/FileIcons.h"

namespace platform {

namespace {

constexpr TColor kMaskColor = clFuchsia;
constexpr TColor kOutline = RGB(64, 64, 64);

// The built-in icons, drawn on a 16-unit grid at `size` pixels (u pixels a unit) over the mask colour.
void DrawDocument(TCanvas& canvas, int u) {
  canvas.Pen().SetColor(kOutline);
  canvas.Brush().SetColor(clWhite);
  const std::array<TPoint, 5> page{{{3 * u, u}, {10 * u, u}, {13 * u, 4 * u}, {13 * u, 15 * u - 1}, {3 * u, 15 * u - 1}}};
  canvas.Polygon(page);
  const std::array<TPoint, 3> fold{{{10 * u, u}, {10 * u, 4 * u}, {13 * u, 4 * u}}};
  canvas.Polyline(fold);
  canvas.Pen().SetColor(clGray);
  for (int y = 6; y <= 12; y += 2) {
    canvas.MoveTo(5 * u, y * u);
    canvas.LineTo(11 * u, y * u);
  }
}

void DrawFolder(TCanvas& canvas, int u) {
  canvas.Pen().SetColor(RGB(128, 96, 0));
  canvas.Brush().SetColor(RGB(240, 200, 80));
  const std::array<TPoint, 6> folder{
      {{u, 3 * u}, {6 * u, 3 * u}, {7 * u, 4 * u}, {15 * u - 1, 4 * u}, {15 * u - 1, 13 * u}, {u, 13 * u}}};
  canvas.Polygon(folder);
  canvas.MoveTo(u, 6 * u);
  canvas.LineTo(15 * u - 1, 6 * u);
}

void DrawProgram(TCanvas& canvas, int u) {
  canvas.Pen().SetColor(kOutline);
  canvas.Brush().SetColor(clWhite);
  canvas.Rectangle(u, 2 * u, 15 * u, 14 * u);
  canvas.Brush().SetColor(clNavy);
  canvas.FillRect(Rect(u + 1, 2 * u + 1, 15 * u - 1, 5 * u));
}

void AddBuiltIn(TCustomImageList& list, void (*draw)(TCanvas&, int)) {
  TBitmap bitmap(list.Width(), list.Height());
  bitmap.Canvas().Brush().SetColor(kMaskColor);
  bitmap.Canvas().FillRect(Rect(0, 0, list.Width(), list.Height()));
  draw(bitmap.Canvas(), list.Width() / 16);
  list.AddMasked(bitmap, kMaskColor);
}

int BuiltInIndex(TFileIconKind kind) {
  switch (kind) {
    case TFileIconKind::Folder: return 1;
    case TFileIconKind::Program: return 2;
    default: return 0;
  }
}

}  // namespace

TSystemImageList::TSystemImageList(std::vector<std::string> dataFolders) : dataFolders_(std::move(dataFolders)) {
  large_.SetWidth(32);
  large_.SetHeight(32);
  for (TCustomImageList* list : {static_cast<TCustomImageList*>(&small_), static_cast<TCustomImageList*>(&large_)}) {
    for (auto draw : {DrawDocument, DrawFolder, DrawProgram}) AddBuiltIn(*list, draw);
  }
}

int TSystemImageList::IconIndex(const std::string& path) {
  if (auto found = byPath_.find(path); found != byPath_.end()) return found->second;
  const TFileIcon icon = FileIcon(path, dataFolders_);
  int index = BuiltInIndex(icon.kind);
  for (const std::string& name : icon.names) {
    if (const int theme = ThemeIcon(name); theme >= 0) {
      index = theme;
      break;
    }
  }
  return byPath_[path] = index;
}

int TSystemImageList::ThemeIcon(const std::string& name) {
  if (auto found = byName_.find(name); found != byName_.end()) return found->second;
  int index = -1;
  const std::string smallFile = FindThemeIcon(name, small_.Width(), dataFolders_);
  const std::string largeFile = FindThemeIcon(name, large_.Width(), dataFolders_);
  if (!smallFile.empty() && !largeFile.empty()) {
    try {
      TBitmap smallIcon, largeIcon;
      LoadPngBytes(smallIcon, ReadFileBytes(smallFile));
      LoadPngBytes(largeIcon, ReadFileBytes(largeFile));
      if (smallIcon.Width() == small_.Width() && largeIcon.Width() == large_.Width()) {
        index = small_.Add(smallIcon, nullptr);
        large_.Add(largeIcon, nullptr);
      }
    } catch (const Exception&) {
      // A theme file that cannot be read or decoded leaves the built-in icon in its place.
    }
  }
  return byName_[name] = index;
}

TSystemImageList& SystemImageList() {
  static TSystemImageList list(DataFolders());
  return list;
}

}  // namespace platform
