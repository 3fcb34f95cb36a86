#pragma once

#include <string>
#include <vector>

#include "platform/app/Window.h"
#include "service/Unit1.h"

namespace velmora::testing {

// A configurator's main window as the service looks for it (class "TForm1"): it records the wParam of
// every status message it receives.
class ConfiguratorWindow {
public:
  explicit ConfiguratorWindow(const std::string& caption)
      : statusMessage_(platform::RegisterWindowMessage(TTarvonex::StatusNotifyMessage)),
        window_("TForm1", caption, platform::WindowKind::TopLevel, [this](platform::TMessage& message) {
          if (message.Msg == statusMessage_) received.push_back(static_cast<int>(message.WParam));
        }) {}

  std::vector<int> received;

private:
  platform::UINT statusMessage_;
  platform::WindowHandle window_;
};

}  // namespace velmora::testing
