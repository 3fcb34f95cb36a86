#pragma once

#include <string_view>

namespace quillet {

// The usage text that the window shows, in the label's markup. The stray closing tags are part of it.
inline constexpr std::string_view UsageMarkup =
    "<P align=\"center\">Sie haben keine Parameter übergeben. <br>Das Programm wird mit folgenden Parametern "
    "gestartet:<br><b>-a</b> eMail-Adresse<br><b>-s</b> Subject</B><br><b>-b</b> Body-Text</B><br> oder "
    "<b>-btxt</b> Body-Text aus Datei</B><br>oder <b>-bhtml</b> Body-Text aus HTML Datei</B><br><br>"
    "<IMG src=\"ssys:Quillet.exe\"> Hier ein Beispiel: <br>"
    "Quillet.exe -a admin@example.org -s \"Achtung Rechner xy nicht im Netz \"</P>";

// The sender when Quillet.ini names none.
inline constexpr std::string_view DefaultFromAddress = "quillet@localhost";

// The page that a click on the caption strip opens.
inline constexpr std::string_view HomePage = "https://www.example.org/quillet/";

}  // namespace quillet
