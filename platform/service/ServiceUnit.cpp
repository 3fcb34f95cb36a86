#include "platform/service/ServiceUnit.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/core/Ascii.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/Spawn.h"
#include "platform/service/Service.h"

namespace platform {

namespace {

constexpr const char* kSystemUnitFolder = "/etc/systemd/system";

// How systemd runs the service, after ExecStart:
// - SIGHUP asks for a reload; stop is SIGTERM to the service alone, so the commands it started live on.
// - A crash is followed by a new start after 5 s; a stop takes about a second, so 10 s bound it.
// - Hardening only where no command of the administrator can need what it takes away (the commands run
//   as root with the service's settings): no change of the execution domain, no real-time scheduling.
//   NoNewPrivileges, ProtectSystem, ProtectHome, PrivateTmp, PrivateDevices, ProtectKernel* and
//   RestrictAddressFamilies would each break commands that use sudo, write files, share /tmp, use a
//   device (a modem), change kernel settings or speak other protocols.
constexpr const char* kServiceSettings =
    "ExecReload=/bin/kill -HUP $MAINPID\n"
    "KillMode=process\n"
    "Restart=on-failure\n"
    "RestartSec=5\n"
    "TimeoutStopSec=10\n"
    "LockPersonality=yes\n"
    "RestrictRealtime=yes\n";

// Services the system depends on, by their Windows names (compared ignoring case), and the systemd
// units that stand for them.
constexpr std::pair<const char*, const char*> kDependencyUnits[] = {
    {"lanmanworkstation", "network-online.target"},
};

bool IsUnitNameCharacter(char c) {
  return IsAsciiAlnum(c) || std::strchr(":-_.\\", c) != nullptr;
}

// A value that ends its line unquoted must also not end in a backslash, which would join the next line
// to it.
enum class LineEnd { Quoted, Unquoted };

void RequireSingleLine(const std::string& value, const char* what, LineEnd end = LineEnd::Quoted) {
  bool fits = std::none_of(value.begin(), value.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }) &&
              (end == LineEnd::Quoted || value.empty() || value.back() != '\\');
  if (!fits) throw Exception(std::string("The ") + what + " \"" + value + "\" cannot stand in a systemd unit.");
}

void RequireUnitName(const std::string& name, const char* what) {
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsUnitNameCharacter)) {
    throw Exception(std::string("The ") + what + " \"" + name + "\" cannot name a systemd unit.");
  }
}

// systemd expands "%" specifiers in every setting.
std::string EscapeSpecifiers(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return escaped;
}

// The executable as the one quoted word of a command line. systemd takes the executable's name as it
// stands (no "$" expansion in it, so "$" stays single) and refuses one that holds a quote or a backslash.
std::string QuoteExecutable(const std::string& path) {
  if (path.find_first_of("\"'\\") != std::string::npos)
    throw Exception("The program path \"" + path +
                    "\" holds a quote or a backslash, which systemd does not take in the name of a program; move "
                    "the program to a folder whose path has none.");
  return "\"" + EscapeSpecifiers(path) + "\"";
}

std::string UnitFileName(const TService& service) { return UnitFolder() + "/" + service.Name() + ".service"; }

bool IsRealFolder() {
  const char* folder = std::getenv("VELMORA_UNIT_DIR");
  return folder == nullptr || *folder == '\0';
}

// Why systemd cannot take the unit here, or "" when it can.
std::string SystemdProblem() {
  if (!DirectoryExists("/run/systemd/system")) return "systemd is not running on this machine.";
  if (::geteuid() != 0) return "This needs root rights; run it as root (or with sudo).";
  return {};
}

// Runs systemctl with the arguments and waits for it; "" on success, else what went wrong.
std::string RunSystemctl(const std::vector<std::string>& arguments) {
  SpawnRequest request;
  request.program = "systemctl";
  request.arguments = arguments;
  SpawnResult result = SpawnAndWait(request);
  std::string command = "systemctl";
  for (const std::string& argument : arguments) command += " " + argument;
  if (result.error != 0) return command + ": " + std::strerror(result.error);
  if (result.exitCode == 0) return {};
  return command + " failed (exit code " + std::to_string(result.exitCode) + ").";
}

std::string Title(const TService& service) {
  return service.DisplayName.empty() ? service.Name() : service.DisplayName + " (" + service.Name() + ")";
}

}  // namespace

std::string DependencyUnit(const std::string& dependency) {
  for (const auto& [name, unit] : kDependencyUnits) {
    if (SameText(dependency, name)) return unit;
  }
  return dependency + ".service";
}

std::string UnitFolder() { return IsRealFolder() ? kSystemUnitFolder : std::getenv("VELMORA_UNIT_DIR"); }

std::string ServiceUnitText(const TService& service, const std::string& exePath) {
  RequireUnitName(service.Name(), "service name");
  RequireSingleLine(service.DisplayName, "display name", LineEnd::Unquoted);
  RequireSingleLine(exePath, "program path");
  std::string unit = "[Unit]\nDescription=" + EscapeSpecifiers(service.DisplayName) + "\n";
  for (const std::string& dependency : service.Dependencies) {
    RequireUnitName(dependency, "dependency");
    std::string name = DependencyUnit(dependency);
    unit += "After=" + name + "\nWants=" + name + "\n";
  }
  unit += "\n[Service]\nType=simple\nExecStart=" + QuoteExecutable(exePath) + "\n" + kServiceSettings;
  unit += "\n[Install]\nWantedBy=multi-user.target\n";
  return unit;
}

ServiceSetupResult InstallService(const TService& service, const std::string& exePath) {
  bool real = IsRealFolder();
  if (real) {
    std::string problem = SystemdProblem();
    if (!problem.empty()) return {false, "Cannot install the service " + Title(service) + ": " + problem};
  }
  std::string path = UnitFileName(service);
  try {
    WriteFileAtomic(path, ServiceUnitText(service, exePath));
  } catch (const Exception& e) {
    return {false, "Cannot install the service " + Title(service) + ": " + e.Message()};
  }
  ::chmod(path.c_str(), 0644);
  if (real) {
    std::string problem = RunSystemctl({"daemon-reload"});
    if (problem.empty() && service.StartType == TStartType::stAuto) {
      problem = RunSystemctl({"enable", service.Name() + ".service"});
    }
    if (!problem.empty()) {
      return {false, "The service " + Title(service) + " was written to " + path + ", but " + problem};
    }
  }
  return {true, "The service " + Title(service) + " was installed as " + path + "."};
}

ServiceSetupResult UninstallService(const TService& service) {
  bool real = IsRealFolder();
  if (real) {
    std::string problem = SystemdProblem();
    if (!problem.empty()) return {false, "Cannot uninstall the service " + Title(service) + ": " + problem};
  }
  std::string path = UnitFileName(service);
  if (!FileExists(path)) {
    return {false, "Cannot uninstall the service " + Title(service) + ": it is not installed (" + path +
                       " does not exist)."};
  }
  if (real) {
    std::string problem = RunSystemctl({"disable", service.Name() + ".service"});
    if (!problem.empty()) return {false, "Cannot uninstall the service " + Title(service) + ": " + problem};
  }
  if (!DeleteFile(path)) {
    return {false, "Cannot uninstall the service " + Title(service) + ": " + path + ": " + std::strerror(errno)};
  }
  if (real) {
    std::string problem = RunSystemctl({"daemon-reload"});
    if (!problem.empty()) return {false, "The service " + Title(service) + " was removed, but " + problem};
  }
  return {true, "The service " + Title(service) + " was uninstalled (" + path + " removed)."};
}

}  // namespace platform
