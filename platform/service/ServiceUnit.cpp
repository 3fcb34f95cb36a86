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

// systemd expands "%" specifiers in every setting and "$" variables in command lines.
std::string EscapeSpecifiers(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return escaped;
}

// The executable as one quoted word of an ExecStart command line.
std::string QuoteCommand(const std::string& path) {
  std::string quoted = "\"";
  for (char c : EscapeSpecifiers(path)) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
    if (c == '$') quoted += '$';
  }
  return quoted + "\"";
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
  unit += "\n[Service]\nType=simple\nExecStart=" + QuoteCommand(exePath) + "\nKillMode=process\n";
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
