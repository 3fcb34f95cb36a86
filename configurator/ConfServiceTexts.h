#pragma once

#include "configurator/ConfTexts.h"

// The texts of the service's status, the log panel and the service control, beside those of ConfTexts.h.
namespace configurator::texts {

// The log panel when events.log cannot be read.
inline constexpr TConfText EventlogNotFound{"Eventlog was not found", "Eventlog wurde nicht gefunden"};

// The hand-over after a save: to a running service, and to one that does not run.
inline constexpr TConfText ResetService{"Now you have to reset the Service!",
                                        "Um die Änderungen zu übernehmen, wird nun dem Service eine \n"
                                        "Reset Message gesendet."};
inline constexpr TConfText WaitForService{"Wait for Service", "Warten auf Neustart des Dienstes"};
inline constexpr TConfText ServiceTimeout{"Please start the Service in SCM",
                                          "Der Service hat innerhalb einer vordefinierten Zeit nicht geantwortet,\n"
                                          "Bitte starten Sie den Service im SCM!"};
inline constexpr TConfText ServiceTimeoutPanel{"Service => Timeout", "Service => Timeout"};
inline constexpr TConfText StartServiceNow{"Would you like to start the Service now ?",
                                           "Soll der Dienst nun gestartet werden ?"};

// A start or stop script that the shell could not run: the script's path, then one of the reasons.
inline constexpr TConfText ScriptNotRun{" could not be run: ", " konnte nicht ausgeführt werden: "};
inline constexpr TConfText ScriptMissing{"the file does not exist", "die Datei existiert nicht"};
inline constexpr TConfText ScriptAccessDenied{"access denied", "Zugriff verweigert"};
// Followed by the shell's result code.
inline constexpr TConfText ScriptShellError{"shell error ", "Fehler der Shell "};

}  // namespace configurator::texts
