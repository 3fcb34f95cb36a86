#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/X11Backend.h"
#include "platform/gfx/Bitmap.h"
#include "X11TestSupport.h"

namespace platform::test {

// Writes every event of its window as one line of text ("down 65 1", "char ä 0", "press L 10,20 64").
class RecordingSink : public IBackendWindowSink {
public:
  void BackendKeyDown(int virtualKey, unsigned shift, bool repeat) override {
    Add("down " + std::to_string(virtualKey) + " " + std::to_string(shift) + (repeat ? " repeat" : ""));
  }
  void BackendKeyUp(int virtualKey, unsigned shift) override {
    Add("up " + std::to_string(virtualKey) + " " + std::to_string(shift));
  }
  void BackendChar(std::string_view utf8, unsigned shift) override {
    Add("char " + std::string(utf8) + " " + std::to_string(shift));
  }
  void BackendMouseDown(TMouseButtonKind button, TPoint p, unsigned shift) override {
    Add("press " + Name(button) + " " + Text(p) + " " + std::to_string(shift));
  }
  void BackendMouseUp(TMouseButtonKind button, TPoint p, unsigned shift) override {
    Add("release " + Name(button) + " " + Text(p));
  }
  void BackendMouseMove(TPoint p, unsigned) override { Add("move " + Text(p)); }
  void BackendMouseWheel(int delta, TPoint p, unsigned) override {
    Add("wheel " + std::to_string(delta) + " " + Text(p));
  }
  void BackendMouseLeave() override { Add("leave"); }
  void BackendBoundsChanged(const TRect& r, TBackendWindowState state) override {
    Add("bounds " + Text(r.TopLeft()) + " " + Text(r.BottomRight()) + " " + std::to_string(static_cast<int>(state)));
  }
  void BackendExpose(const TRect& r) override { Add("expose " + Text(r.TopLeft()) + " " + Text(r.BottomRight())); }
  void BackendActivate(bool active) override { Add(active ? "activate" : "deactivate"); }
  void BackendCloseRequest() override { Add("close"); }

  // The events that start with `prefix`, in order.
  std::vector<std::string> Starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& event : events)
      if (event.rfind(prefix, 0) == 0) found.push_back(event);
    return found;
  }
  bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }

  std::vector<std::string> events;

private:
  void Add(std::string event) { events.push_back(std::move(event)); }
  static std::string Text(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }
  static std::string Name(TMouseButtonKind b) {
    return b == TMouseButtonKind::Left ? "L" : b == TMouseButtonKind::Right ? "R" : "M";
  }
};

// A test on an X server of its own (no window manager, 24-bit colour unless a derived fixture asks for
// another depth) with the X11 backend open on it.
class X11Test : public ::testing::Test {
protected:
  explicit X11Test(int depth = 24) : server_(depth) {}

  void SetUp() override {
    ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start";
    std::string error;
    backend_ = OpenX11Backend(server_.Display(), error, [this](const std::string& message) { lost_ = message; });
    ASSERT_NE(backend_, nullptr) << error;
  }

  const std::string& Display() const { return server_.Display(); }

  // A form shown, painted white and given the focus, as the framework shows one.
  TBackendWindow ShowForm(const std::string& caption, const TRect& bounds = Bounds(100, 100, 300, 200)) {
    TBackendWindowParams params;
    params.caption = caption;
    params.className = "TTestForm";
    params.bounds = bounds;
    const TBackendWindow window = backend_->CreateWindow(params, sink_);
    backend_->ShowWindow(window, true);
    backend_->Activate(window);
    TBitmap white(bounds.Width(), bounds.Height());
    backend_->Present(window, white, Rect(0, 0, bounds.Width(), bounds.Height()));
    EXPECT_TRUE(PumpUntil([&] { return sink_.Has("activate"); })) << "the form never got the focus" << ::testing::PrintToString(sink_.events);
    return window;
  }

  static std::string Id(TBackendWindow window) { return std::to_string(static_cast<unsigned long long>(window)); }

  XvfbServer server_;
  RecordingSink sink_;
  std::unique_ptr<TBackend> backend_;
  std::string lost_;
};

}  // namespace platform::test
