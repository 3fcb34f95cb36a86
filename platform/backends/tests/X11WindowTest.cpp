#include "X11Fixture.h"

// The peer connection of the tests; last, as its macros would break the declarations above.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace platform::test {
namespace {

using ::testing::HasSubstr;

TBackendWindowParams PopupParams(TBackendWindow owner, const TRect& bounds) {
  TBackendWindowParams params;
  params.kind = TBackendWindowKind::Popup;
  params.owner = owner;
  params.bounds = bounds;
  return params;
}

// The window's properties as xprop lists them.
std::string Properties(const std::string& display, TBackendWindow window) {
  return RunPeer({"xprop", "-id", std::to_string(static_cast<unsigned long long>(window))}, display);
}

TEST_F(X11Test, FormsAndPopupsCarryTheirHints) {
  const TBackendWindow form = ShowForm("Übersicht – Hosts");
  const std::string shown = Properties(Display(), form);
  EXPECT_THAT(shown, HasSubstr("_NET_WM_NAME(UTF8_STRING) = \"Übersicht – Hosts\""));
  EXPECT_THAT(shown, HasSubstr("WM_CLASS(STRING) = \"platform_backends_tests\", \"TTestForm\""));
  EXPECT_THAT(shown, HasSubstr("WM_PROTOCOLS(ATOM): protocols  WM_DELETE_WINDOW"));
  EXPECT_THAT(shown, HasSubstr("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL"));
  EXPECT_EQ(RunPeer({"xdotool", "search", "--name", "Übersicht"}, Display()), Id(form) + "\n");

  backend_->SetCaption(form, "Neu ä");
  EXPECT_THAT(Properties(Display(), form), HasSubstr("_NET_WM_NAME(UTF8_STRING) = \"Neu ä\""));

  TBackendWindowParams dialog;
  dialog.caption = "Frage";
  dialog.className = "TDialog";
  dialog.owner = form;
  dialog.modal = true;
  dialog.border = TBackendBorder::Dialog;
  dialog.bounds = Bounds(150, 150, 200, 100);
  RecordingSink dialogSink;
  const std::string modal = Properties(Display(), backend_->CreateWindow(dialog, dialogSink));
  EXPECT_THAT(modal, HasSubstr("WM_TRANSIENT_FOR(WINDOW): window id # 0x"));
  EXPECT_THAT(modal, HasSubstr("_NET_WM_STATE(ATOM) = _NET_WM_STATE_MODAL"));
  EXPECT_THAT(modal, HasSubstr("_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DIALOG"));
  EXPECT_THAT(modal, HasSubstr("program specified maximum size: 200 by 100"));

  RecordingSink popupSink;
  const TBackendWindow menu = backend_->CreateWindow(PopupParams(form, Bounds(120, 120, 50, 50)), popupSink);
  ::Display* peer = XOpenDisplay(Display().c_str());
  ASSERT_NE(peer, nullptr);
  XWindowAttributes attributes;
  XGetWindowAttributes(peer, static_cast<Window>(menu), &attributes);
  XCloseDisplay(peer);
  EXPECT_TRUE(attributes.override_redirect) << "the window manager leaves pop-ups alone";
}

// A shaped pop-up shows only the inside of its outline; an empty outline gives the rectangle back.
TEST_F(X11Test, APopupTakesTheShapeOfItsOutline) {
  const TBackendWindow form = ShowForm("Form");
  RecordingSink popupSink;
  const TBackendWindow arrow = backend_->CreateWindow(PopupParams(form, Bounds(120, 120, 11, 10)), popupSink);
  const TPoint outline[] = {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
  auto boundingRectangles = [&] {
    ::Display* peer = XOpenDisplay(Display().c_str());
    int count = 0, ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(peer, static_cast<Window>(arrow), ShapeBounding, &count, &ordering);
    std::vector<XRectangle> result(rectangles, rectangles + count);
    XFree(rectangles);
    XCloseDisplay(peer);
    return result;
  };
  auto covers = [](const std::vector<XRectangle>& rectangles, int x, int y) {
    for (const XRectangle& r : rectangles)
      if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return true;
    return false;
  };
  backend_->SetShape(arrow, outline);
  auto shaped = boundingRectangles();
  EXPECT_TRUE(covers(shaped, 5, 3)) << "inside the head";
  EXPECT_TRUE(covers(shaped, 5, 7)) << "inside the shaft";
  EXPECT_FALSE(covers(shaped, 0, 0));
  EXPECT_FALSE(covers(shaped, 1, 8));
  backend_->SetShape(arrow, {});
  shaped = boundingRectangles();
  EXPECT_TRUE(covers(shaped, 0, 0));
  EXPECT_TRUE(covers(shaped, 10, 9));
}

// The window manager's close box sends WM_DELETE_WINDOW; here a peer connection sends it as one would.
TEST_F(X11Test, CloseBoxReachesTheCloseRequest) {
  const TBackendWindow form = ShowForm("Schließen");
  ::Display* peer = XOpenDisplay(Display().c_str());
  ASSERT_NE(peer, nullptr);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(form);
  event.xclient.message_type = XInternAtom(peer, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(peer, "WM_DELETE_WINDOW", False));
  XSendEvent(peer, static_cast<Window>(form), False, NoEventMask, &event);
  XCloseDisplay(peer);
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("close"); }));
}

TEST_F(X11Test, BoundsAndStatesWithoutAWindowManager) {
  const TBackendWindow form = ShowForm("Größe");
  EXPECT_TRUE(sink_.Has("bounds 100,100 400,300 0"));
  backend_->SetBounds(form, Bounds(20, 30, 200, 150));
  PumpFor(200);
  EXPECT_FALSE(sink_.Has("bounds 20,30 220,180 0")) << "the framework's own move is not reported back";
  backend_->SetWindowState(form, TBackendWindowState::Maximized);
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("bounds 0,0 1024,768 2"); }));
  backend_->SetWindowState(form, TBackendWindowState::Normal);
  ASSERT_TRUE(PumpUntil([&] { return sink_.Has("bounds 20,30 220,180 0"); }));
  EXPECT_EQ(backend_->ScreenRect(), Rect(0, 0, 1024, 768));
  EXPECT_EQ(backend_->WorkArea(), Rect(0, 0, 1024, 768));
}

}  // namespace
}  // namespace platform::test
