#pragma once

#include "platform/core/TextPair.h"

namespace velmora {

// A message of the service in its two languages; the service's isEnglish option picks one.
using platform::TTextPair;

// Every text that the service writes to its log. Texts that begin or end with a blank are joined to a
// host name, a command or a path by the caller.
namespace texts {

inline constexpr TTextPair ServiceStartingUp{
    "---------------------------Service is Starting up---------------------------",
    "---------------------------Dienst startet---------------------------"};
inline constexpr TTextPair ServiceStopped{"---------------------------Service stopped---------------------------",
                                          "---------------------------Dienst Stoppt---------------------------"};
inline constexpr TTextPair ServiceExecute{"Service Execute", "Dienst ausführen"};
inline constexpr TTextPair ServicePaused{"Service paused", "Dienst Pause"};
inline constexpr TTextPair ServiceContinued{"Service continued", "Dienst weiter ausführen!"};
inline constexpr TTextPair NothingToWatchEnd{"Nothing to watch (END)", "kein Eintrag in der Liste (END)"};
inline constexpr TTextPair NotSoMuchToWatch{"Not so much to watch", "Nichts zu überwachen, Service wird gestoppt"};
inline constexpr TTextPair StartItAgain{
    "To start the Service again => You have to start it on the NT-ServiceManager",
    "Der Dienst muß nach Änderung der Konfiguration neu gestartet werden."};

// Followed by the host name.
inline constexpr TTextPair WatchingDisabled{"Watching Disabled ", "Überwachung AUS: "};
inline constexpr TTextPair WatchingEnabled{"Watching Enabled ", "Überwachung EIN: "};
// Followed by the host name, its NUL bytes shown as "\0".
inline constexpr TTextPair NulInHostName{"Host name with a NUL byte refused: ", "Hostname mit NUL-Byte abgelehnt: "};

// After the host name: a host that an IPv4 ping cannot reach counts as disconnected.
inline constexpr TTextPair OnlyIpv6{" has only IPv6 addresses => only IPv4 is pinged",
                                    " hat nur IPv6-Adressen => nur IPv4 wird angepingt"};

// After the full path of a page template.
inline constexpr TTextPair NotExistent{" not existent", " existiert nicht"};

inline constexpr TTextPair ServiceResetting{"Service is resetting", "Dienst wird neu Initialisiert"};
inline constexpr TTextPair ReadNewSettings{"Read new Settings", "Neue Einstellungen lesen!"};

// "Status of " + host + " changed => ...".
inline constexpr TTextPair StatusOf{"Status of ", "Status von "};
inline constexpr TTextPair ChangedCheckingAgain{" changed => checking again in 10 Sec.",
                                                " hat sich geändert => neue Prüfung in 10 Sekunden."};
inline constexpr TTextPair Disturbance{"disturbance, no action", "kurze Störung keine Aktion"};

// After the host name.
inline constexpr TTextPair ConnectedNoAction{
    " connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>",
    " verbunden, aber es wird keine Aktion ausgeführt, wegen Schalter <STATUSÄNDERUNG>"};
inline constexpr TTextPair DisconnectedNoAction{
    " disconnected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>",
    " nicht verbunden, aber es wird keine Aktion ausgeführt, wegen Schalter <STATUSÄNDERUNG>"};
inline constexpr TTextPair Connected{" connected", " verbunden"};
inline constexpr TTextPair Disconnected{" disconnected", " nicht verbunden"};

// After the command.
inline constexpr TTextPair CouldNotBeStarted{" could not be started", " konnte nicht gestartet werden"};

// The first line of a new events.log after a rotation; it has no time stamp.
inline constexpr TTextPair NewLogfileCreated{"new Logfile was created", "neue Log-Datei wurde generiert"};

}  // namespace texts

}  // namespace velmora
