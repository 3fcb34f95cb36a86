#pragma once

#include "configurator/ConfTexts.h"

// The texts of the language switch, the help pages and the CSV exchange of the main window.
namespace configurator::texts {

// After a language switch, in the language chosen.
inline constexpr TConfText RestartForLanguage{
    "Please restart the program: the new language takes effect at its next start.",
    "Bitte starten Sie das Programm neu: die neue Sprache gilt ab dem nächsten Start."};
// Followed by the registry's error.
inline constexpr TConfText LanguageNotSwitched{"The language could not be switched: ",
                                               "Die Sprache konnte nicht umgestellt werden: "};

// Followed by the page's full path.
inline constexpr TConfText HelpMissing{"The help page is missing: ", "Die Hilfeseite fehlt: "};
inline constexpr TConfText HelpNotOpened{"The help page cannot be opened in a browser: ",
                                         "Die Hilfeseite lässt sich in keinem Browser öffnen: "};

// Followed by the reason; the list then is as it was before.
inline constexpr TConfText ImportFailed{"The CSV file was not loaded, the list is unchanged: ",
                                        "Die CSV-Datei wurde nicht geladen, die Liste ist unverändert: "};
inline constexpr TConfText ImportHasNoHosts{"the file holds no host row below its header line.",
                                            "die Datei enthält unter ihrer Kopfzeile keine Hostzeile."};
// Followed by the file's number of columns, then by ColumnsDroppedEnd.
inline constexpr TConfText ColumnsDropped{"The file has ", "Die Datei hat "};
inline constexpr TConfText ColumnsDroppedEnd{" columns; only the first 8 were loaded.",
                                             " Spalten; nur die ersten 8 wurden geladen."};
// Followed by the reason.
inline constexpr TConfText ExportFailed{"The CSV file was not written: ", "Die CSV-Datei wurde nicht geschrieben: "};

}  // namespace configurator::texts
