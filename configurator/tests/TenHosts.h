#pragma once

#include <string>

namespace configurator::testing {

// A HostList.ini of ten hosts with commands, every window mode and some hosts switched off, for
// pictures of the main window.
inline std::string TenHosts() {
  std::string hosts = "[Hosts]\r\n", down = "[RunOnDisconnected]\r\n", show = "[Show]\r\n", enabled = "[Enabled]\r\n";
  for (int i = 1; i <= 10; ++i) {
    const std::string host = i == 1 ? "router" : i == 2 ? "printer.local" : "10.0.0." + std::to_string(i);
    hosts += host + "=\r\n";
    down += host + "=/opt/velmora/scripts/notify-down.sh\r\n";
    show += host + "=" + std::to_string(i % 3 == 0 ? 0 : i % 3 == 1 ? 1 : 6) + "\r\n";
    if (i % 4 == 0) enabled += host + "=0\r\n";
  }
  return hosts + down + "[RunOnConnected]\r\nrouter=/opt/velmora/scripts/notify-up.sh\r\n" + show + enabled;
}

}  // namespace configurator::testing
