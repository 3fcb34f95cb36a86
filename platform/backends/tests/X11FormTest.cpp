#include "platform/core/Paths.h"
#include "platform/gfx/Gdi.h"
#include "platform/app/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"
#include "X11TestSupport.h"
#include "XwdImage.h"

namespace platform::test {
namespace {

// A sunken field with a caption, as an edit or a list box draws itself.
class Field : public TCustomControl {
public:
  explicit Field(TComponent* owner) : TCustomControl(owner) {}

protected:
  void Paint() override {
    Canvas().Brush().SetColor(clWindow);
    Canvas().FillRect(ClientRect());
    TRect edge = ClientRect();
    DrawEdge(Canvas().Handle(), edge, EDGE_SUNKEN, BF_RECT);
    Canvas().TextOut(6, 6, "Übersicht");
  }
};

std::unique_ptr<TForm> ShowSampleForm() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(100, 100, 320, 200);
  form->SetCaption("Formular");
  for (int i = 0; i < 3; ++i) {
    auto* box = new Field(form.get());
    box->SetParent(form.get());
    box->SetBounds(10 + i * 100, 20, 90, 60);
  }
  form->Show();
  Application().ProcessMessages();
  return form;
}

// The same form on the X11 backend (its window in an xwd screenshot) and on the headless backend (what
// it was presented): the same pixels. Both screenshots are kept beside the test binary.
TEST(X11FormTest, AFormShowsAsOnTheHeadlessBackend) {
  XvfbServer server;
  std::string error;
  std::unique_ptr<TBackend> x11 = OpenX11Backend(server.Display(), error, nullptr);
  ASSERT_NE(x11, nullptr) << error;
  SetBackend(std::move(x11));
  std::unique_ptr<TBitmap> real;
  {
    std::unique_ptr<TForm> form = ShowSampleForm();
    PumpFor(300);
    Backend().CursorPos();  // a round trip: the server has drawn by its answer
    const std::string id = RunPeer({"xdotool", "search", "--name", "^Formular$"}, server.Display());
    char name[] = "/tmp/velmora-x11-form-XXXXXX";
    ::close(::mkstemp(name));
    RunPeer({"xwd", "-silent", "-id", id.substr(0, id.find('\n')), "-out", name}, server.Display());
    real = ReadXwd(ReadFileBytes(name));
    ::unlink(name);
  }
  ASSERT_NE(real, nullptr);

  SetBackend(std::make_unique<THeadlessBackend>());
  auto& headless = static_cast<THeadlessBackend&>(Backend());
  std::unique_ptr<TForm> form = ShowSampleForm();
  const TBitmap& shown = headless.Info(headless.Windows().back()).shown;

  ExpectSamePicture(*real, shown, "x11-form.png", "headless-form.png");
  form.reset();
  SetBackend(nullptr);
}

}  // namespace
}  // namespace platform::test
