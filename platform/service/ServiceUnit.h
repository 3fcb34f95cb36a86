#pragma once

#include <string>

namespace platform {

class TService;

// The result of installing or removing a service: a text for the user either way.
struct ServiceSetupResult {
  bool ok = false;
  std::string message;
};

// The systemd unit that registers a service: named after the service ("<Name>.service"), the display
// name as Description, each dependency after and wanted by it, the executable started in the foreground,
// reload by SIGHUP, stop by SIGTERM to the service alone (the commands it started live on) within 10 s,
// a restart 5 s after a failure, and an [Install] section for multi-user.target. Raises Exception when
// the name, display name or path cannot stand in a unit file (systemd takes no quote or backslash in a
// program's path).
std::string ServiceUnitText(const TService& service, const std::string& exePath);

// The systemd unit a dependency of the service stands for: the few services the system names have
// their systemd counterparts; any other name is taken as a service of that name.
std::string DependencyUnit(const std::string& dependency);

// The folder the units go to: $VELMORA_UNIT_DIR when set (tests), else /etc/systemd/system. Only the
// real folder involves systemd itself (its presence, daemon-reload, enable and disable).
std::string UnitFolder();

// INSTALL: writes the unit; in the real folder also reloads systemd and, for stAuto, enables the unit.
// Needs systemd running and root rights there.
ServiceSetupResult InstallService(const TService& service, const std::string& exePath);

// UNINSTALL: disables (real folder) and removes the unit, then reloads systemd.
ServiceSetupResult UninstallService(const TService& service);

}  // namespace platform
