#pragma once

#include <array>

#include "configurator/ConfTexts.h"

// The texts of the main window and its grid, beside the host list's texts of ConfTexts.h.
namespace configurator::texts {

// The grid's headers in an English interface (the German ones come from the form resource).
inline constexpr std::array<TConfText, 8> EnglishHeaders{{{"Host", "Host"},
                                                          {"Start on Disconnected", "Ausführen wenn Host nicht erreichbar"},
                                                          {"Start on Connected", "Ausführen wenn Host erreichbar ist"},
                                                          {"look", "Darstellung"},
                                                          {"On/Off", "An/Aus"},
                                                          {"StatusChanged?", "Statusänderung"},
                                                          {"Status", "Status"},
                                                          {"RoundTrip", "Zeit"}}};

// The hints of grid columns 0 to 4.
inline constexpr std::array<TConfText, 5> ColumnHints{{
    {"Selected Host", "Gewählter Host"},
    {"Run script on stopped Host", "Auszufuehrende Datei bei nicht erreichbarem Host"},
    {"Run Script on running Host", "Auszufuehrende Datei bei erreichbarem Host"},
    {"Showing of Executable", "Darstellung der auszufuehrenden Datei"},
    {"Entry Enabled/Disabled", "Computerüberwachung angewählt/abgewählt"},
}};
// Column 5, switched on and off.
inline constexpr TConfText HintActionAtStart{"After the Service is starting the Action will be done.",
                                             "Die Handlung (Start der Datei oä.) wird sofort bei Start des Services ausgeführt"};
inline constexpr TConfText HintActionOnChange{
    "Action only after a Status is changed (Hoststatus is changing from connected to disconnected)",
    "Die Handlung wird erst ausgeführt, sobald sich eine Änderung ergibt."};
// Column 6 by its state image, and column 7.
inline constexpr TConfText HintStateUndefined{"Status undefined", "Status undefiniert"};
inline constexpr TConfText HintHostNotAnswering{"Host is not answering", "Host antwortet nicht"};
inline constexpr TConfText HintHostAnswering{"Host is answering", "Host antwortet"};
inline constexpr TConfText HintRoundTrip{"RoundTripTime", "Zeit bis zur Antwort"};

// Closing with unsaved edits.
inline constexpr TConfText SaveChanges{"Save changes?", "Änderungen speichern?"};
// Followed by the error of the failed write.
inline constexpr TConfText FolderNotWritable{
    "HostList.ini cannot be written in the program folder, so no change can be kept: ",
    "HostList.ini kann im Programmverzeichnis nicht geschrieben werden, Änderungen bleiben nicht erhalten: "};

}  // namespace configurator::texts
