#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "X11TestSupport.h"
#include "grid/DovAdiz.h"
#include "grid/tests/X11Screenshot.h"
#include "platform/app/Application.h"
#include "platform/backends/X11Backend.h"
#include "platform/ui/Forms.h"

namespace velmora::testing {

// A test on an X server of its own with the X11 backend as the framework's backend and a form for the
// grid; a person's mouse and keys reach it through xdotool.
class GridX11Fixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start";
    std::string error;
    std::unique_ptr<platform::TBackend> x11 = platform::OpenX11Backend(server_.Display(), error, nullptr);
    ASSERT_NE(x11, nullptr) << error;
    platform::SetBackend(std::move(x11));
    form_ = std::make_unique<platform::TForm>(nullptr);
  }
  void TearDown() override {
    form_.reset();
    platform::SetBackend(nullptr);
  }

  // Runs xdotool with the arguments, then lets the events arrive and be handled.
  void Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    platform::test::RunPeer(args, server_.Display());
    platform::test::PumpFor(250);
    platform::Application().ProcessMessages();
  }
  void ClickAt(platform::TPoint screen) {
    Xdotool({"mousemove", std::to_string(screen.X), std::to_string(screen.Y), "click", "1"});
  }
  // The centre of a cell of the grid, on the screen.
  static platform::TPoint CellCentre(const VUraRazuduVova& grid, int c, int r) {
    const platform::TRect cell = grid.CellRect(c, r);
    return grid.ClientToScreen({(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2});
  }
  void Screenshot(const std::string& name) { SaveX11Screenshot(server_.Display(), name); }

  platform::test::XvfbServer server_;
  std::unique_ptr<platform::TForm> form_;
};

}  // namespace velmora::testing
