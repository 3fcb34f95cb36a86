#include <memory>
#include <string>

#include "grid/DovAdiz.h"
#include "grid/GridTextFiles.h"
#include "platform/core/IniFile.h"
#include "platform/shell/RegistryIniFile.h"

// The column widths kept outside the program: one integer per column, "Col0", "Col1", ..., in the
// section ColumnSize.Section of the INI file ColumnSize.Key (relative to the executable's folder), or
// in the sub-key Section of the registry key Key. Each save changes the store in memory and replaces
// its file once.

using namespace platform;

namespace velmora {

namespace {

std::string WidthName(int ACol) { return "Col" + std::to_string(ACol); }

// A width the geometry can take; -1 (nothing stored) and anything outside 0..32767 (a damaged file)
// leave the column as it is.
constexpr int kMaxStoredWidth = 32767;

std::unique_ptr<TCustomIniFile> OpenWidthStore(const TColumnSize& size) {
  if (size.Location == TColumnSizeLocation::clIniFile) {
    return std::make_unique<TMemIniFile>(GridSettingsFileName(size.Key));
  }
  return std::make_unique<TRegistryIniFile>(size.Key);
}

}  // namespace

bool VUraRazuduVova::ColumnWidthsKept() const {
  return !columnSize_.Key.empty() && !columnSize_.Section.empty() && !ComponentState().Contains(csDesigning);
}

void VUraRazuduVova::SaveColSizes() {
  if (!ColumnWidthsKept()) return;
  const std::unique_ptr<TCustomIniFile> store = OpenWidthStore(columnSize_);
  for (int c = 0; c < ColCount(); ++c) store->WriteInteger(columnSize_.Section, WidthName(c), ColWidths(c));
  store->UpdateFile();
}

void VUraRazuduVova::LoadColSizes() {
  if (!ColumnWidthsKept()) return;
  const std::unique_ptr<TCustomIniFile> store = OpenWidthStore(columnSize_);
  for (int c = 0; c < ColCount(); ++c) {
    const int width = store->ReadInteger(columnSize_.Section, WidthName(c), -1);
    if (width >= 0 && width <= kMaxStoredWidth) SetColWidths(c, width);
  }
}

}  // namespace velmora
