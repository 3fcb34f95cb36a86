#include "platform/ui/WindowStation.h"

namespace platform {

struct WindowStation::Impl {};

std::shared_ptr<WindowStation> WindowStation::ForExeDir() { return nullptr; }

WindowStation::WindowStation(const std::string& folder) : folder_(folder) {}
WindowStation::~WindowStation() = default;

std::unique_ptr<WindowStation::Listing> WindowStation::List(HWND, const std::string&, const std::string&,
                                                            const std::shared_ptr<MessageQueue>&) {
  return nullptr;
}
HWND WindowStation::Find(const char*, const char*) { return HWND{}; }
bool WindowStation::IsListed(HWND) { return false; }
bool WindowStation::Post(HWND, UINT, WPARAM, LPARAM) { return false; }
bool WindowStation::Broadcast(UINT, WPARAM, LPARAM) { return true; }
UINT WindowStation::RegisterMessage(const std::string&) { return 0; }

}  // namespace platform
