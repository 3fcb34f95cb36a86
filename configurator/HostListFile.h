#pragma once

#include <optional>
#include <string>
#include <vector>

namespace configurator {

// One data row of the host grid, as HostList.ini keeps it.
struct THostEntry {
  std::string host;                 // grid column 0, key of every host section
  std::string runOnDisconnected;    // column 1, [RunOnDisconnected]
  std::string runOnConnected;       // column 2, [RunOnConnected]
  int show = 1;                     // [Show]: 0, 1, 3 or 6
  bool enabled = true;              // column 4, [Enabled]
  bool waitForStatusChange = true;  // column 5, [WaitForStatusChange]

  bool operator==(const THostEntry&) const = default;
};

// The word of a window show code in the interface language (WindowModeWords): 0 hide, 3 maximize,
// 6 minimize, every other code normal.
std::string ShowModeToText(int code, bool english);
// The show code of a word of either language, compared exactly; any other text gives 1.
int TextToShowMode(const std::string& word);

// The text of a switch cell (columns 4 and 5): the centred image idx:1 when on, idx:0 when off.
std::string SwitchCellText(bool on);
// A switch cell is on when its text contains "idx:1" anywhere.
bool SwitchCellIsOn(const std::string& cellText);
// The text of a state cell (column 6): the centred image 6 state unknown, 7 not answering, 8 answering.
std::string StateCellText(int image);

// The hosts of a HostList.ini in [Hosts] order, with the configurator's defaults. A missing file gives none.
std::vector<THostEntry> ReadHostEntries(const std::string& iniPath);

// The first row that Save must refuse (row numbers from 1, as the grid's data rows), with its message
// in the interface language; nullopt when every row may be saved.
struct THostRefusal {
  int row;
  std::string message;
};
std::optional<THostRefusal> ValidateHostEntries(const std::vector<THostEntry>& rows, bool english);

// Replaces the six host sections of HostList.ini by `rows` in one atomic step; every other section keeps
// its bytes. Throws platform::Exception with a clear message and leaves the file as it was.
void SaveHostEntries(const std::string& iniPath, const std::vector<THostEntry>& rows);

}  // namespace configurator
