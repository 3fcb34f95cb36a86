#pragma once

#include <string>
#include <string_view>

namespace configurator {

// A text of the configurator in its two languages; the interface language picks one.
struct TConfText {
  std::string_view English;
  std::string_view German;

  std::string In(bool english) const { return std::string(english ? English : German); }
};

// Every text that the configurator shows. Texts that end with a blank are followed by a value.
namespace texts {

// The host list's window modes (WindowModeWords).
inline constexpr TConfText ModeHide{"hide", "verborgen"};
inline constexpr TConfText ModeNormal{"normal", "normal"};
inline constexpr TConfText ModeMaximize{"maximize", "maximiert"};
inline constexpr TConfText ModeMinimize{"minimize", "minimiert"};

// Save refuses a row.
inline constexpr TConfText NoHostName{"Sorry, but you should give me a HostName",
                                      "Sie muessen einen Hostnamen angeben"};
inline constexpr TConfText NoCommand{"You should enter something in Column 2 and 3",
                                     "Sie muessen alle ausfuerbaren Dateien angeben (Spalte 2 und 3 ist leer)"};
// Followed by the row number and then by one of the reasons below.
inline constexpr TConfText InRow{"Row ", "Zeile "};
inline constexpr TConfText HostNameUnstorable{
    ": the host name may not contain \"=\", a line break or a NUL byte, nor begin with \"[\" or \";\"",
    ": der Hostname darf kein \"=\", keinen Zeilenumbruch und kein NUL-Byte enthalten und nicht mit \"[\" oder "
    "\";\" beginnen"};
inline constexpr TConfText CommandUnstorable{": a command may not contain a line break or a NUL byte",
                                             ": ein Befehl darf keinen Zeilenumbruch und kein NUL-Byte enthalten"};
// Followed by the row number of the first row with that host.
inline constexpr TConfText DuplicateHost{": the host name is already in row ",
                                         ": der Hostname steht schon in Zeile "};

}  // namespace texts

}  // namespace configurator
