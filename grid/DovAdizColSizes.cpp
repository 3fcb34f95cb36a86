#include <functional>
#include <memory>
#include <string>

#include "grid/DovAdiz.h"
#include "platform/core/IniFile.h"
#include "platform/shell/Registry.h"

// The column widths kept outside the program: one integer per column, "Col0", "Col1", ..., in the
// section ColumnSize.Section of the INI file ColumnSize.Key, or in the sub-key Section of the registry
// key Key.

using namespace platform;

namespace velmora {

namespace {

std::string WidthName(int ACol) { return "Col" + std::to_string(ACol); }

// Opens the registry key Key\Section (made when missing); false when it cannot be opened.
bool OpenWidthsKey(TRegistry& registry, const TColumnSize& size) {
  return registry.OpenKey(size.Key, true) && registry.OpenKey(size.Section, true);
}

}  // namespace

bool VUraRazuduVova::ColumnWidthsKept() const {
  return !columnSize_.Key.empty() && !columnSize_.Section.empty() && !ComponentState().Contains(csDesigning);
}

void VUraRazuduVova::SaveColSizes() {
  if (!ColumnWidthsKept()) return;
  if (columnSize_.Location == TColumnSizeLocation::clIniFile) {
    TMemIniFile ini(columnSize_.Key);
    for (int c = 0; c < ColCount(); ++c) ini.WriteInteger(columnSize_.Section, WidthName(c), ColWidths(c));
    ini.UpdateFile();
    return;
  }
  TRegistry registry;
  if (!OpenWidthsKey(registry, columnSize_))
    throw EDovAdizError("Cannot open the registry key " + columnSize_.Key + "\\" + columnSize_.Section);
  for (int c = 0; c < ColCount(); ++c) registry.WriteString(WidthName(c), std::to_string(ColWidths(c)));
}

void VUraRazuduVova::LoadColSizes() {
  if (!ColumnWidthsKept()) return;
  std::function<int(const std::string&)> read;
  std::unique_ptr<TMemIniFile> ini;
  TRegistry registry;
  if (columnSize_.Location == TColumnSizeLocation::clIniFile) {
    ini = std::make_unique<TMemIniFile>(columnSize_.Key);
    read = [&](const std::string& name) { return ini->ReadInteger(columnSize_.Section, name, -1); };
  } else {
    if (!OpenWidthsKey(registry, columnSize_)) return;
    read = [&](const std::string& name) {
      const std::string value = registry.ReadString(name);
      try {
        return value.empty() ? -1 : std::stoi(value);
      } catch (const std::exception&) {
        return -1;
      }
    };
  }
  // -1 (or a value that is no number) leaves the column's width as it is.
  for (int c = 0; c < ColCount(); ++c) {
    const int width = read(WidthName(c));
    if (width != -1) SetColWidths(c, width);
  }
}

}  // namespace velmora
