#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/app/Application.h"
#include "platform/core/Files.h"
#include "platform/dialogs/FontDialogForm.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/StdCtrls.h"
#include "X11TestSupport.h"
#include "XwdImage.h"

namespace platform::test {
namespace {

template <class T>
T* Make(TWinControl* parent, const TRect& bounds, const std::string& caption = "") {
  auto* control = new T(parent->Owner() ? parent->Owner() : parent);
  control->SetParent(parent);
  control->SetBoundsRect(bounds);
  if (!caption.empty()) control->SetCaption(caption);
  return control;
}

// The controls of a print settings dialog: a paint box, a page control whose second page is active,
// group boxes (one disabled with its check boxes) and a button.
std::unique_ptr<TForm> ShowControls() {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(60, 60, 440, 280);
  form->SetCaption("Print Settings");
  auto* preview = Make<TPaintBox>(form.get(), Rect(8, 8, 128, 178));
  preview->OnPaint = [preview](TObject*) {
    preview->Canvas().Brush().SetColor(clWhite);
    preview->Canvas().FillRect(preview->ClientRect());
    preview->Canvas().Brush().SetColor(clNavy);
    preview->Canvas().FillRect(Rect(10, 10, 110, 22));
  };
  auto* pages = Make<TPageControl>(form.get(), Rect(136, 8, 428, 252));
  auto* general = new TTabSheet(form.get());
  general->SetPageControl(pages);
  general->SetCaption("General");
  auto* headers = new TTabSheet(form.get());
  headers->SetPageControl(pages);
  headers->SetCaption("Headers / Footers");
  auto* margins = new TTabSheet(form.get());
  margins->SetPageControl(pages);
  margins->SetCaption("Margins");
  auto* date = Make<TGroupBox>(headers, Rect(8, 6, 270, 70), "Date / Time:");
  Make<TCheckBox>(date, Rect(10, 20, 150, 37), "&Date")->SetChecked(true);
  Make<TCheckBox>(date, Rect(10, 40, 150, 57), "&Time");
  auto* title = Make<TGroupBox>(headers, Rect(8, 78, 270, 142), "Title:");
  Make<TCheckBox>(title, Rect(10, 20, 150, 37), "&Repeat title");
  Make<TButton>(title, Rect(10, 38, 110, 61), "&Font...");
  title->SetEnabled(false);
  pages->SetActivePage(headers);
  form->Show();
  Application().ProcessMessages();
  return form;
}

std::unique_ptr<TForm> ShowFontDialog() {
  auto form = std::make_unique<TFontDialogForm>(
      TFontRequest{"Font", "Liberation Serif", 12, 1, clMaroon, {"DejaVu Sans", "Liberation Mono", "Liberation Sans", "Liberation Serif"}});
  form->SetPosition(TPosition::poDesigned);
  form->SetBounds(60, 60, form->Width(), form->Height());
  form->Show();
  Application().ProcessMessages();
  return form;
}

// The window of the caption as xwd takes it.
std::unique_ptr<TBitmap> Shoot(const XvfbServer& server, const std::string& caption) {
  PumpFor(300);
  Backend().CursorPos();  // a round trip: the server has drawn by its answer
  const std::string id = RunPeer({"xdotool", "search", "--name", "^" + caption + "$"}, server.Display());
  char name[] = "/tmp/velmora-x11-print-XXXXXX";
  ::close(::mkstemp(name));
  RunPeer({"xwd", "-silent", "-id", id.substr(0, id.find('\n')), "-out", name}, server.Display());
  std::unique_ptr<TBitmap> shot = ReadXwd(ReadFileBytes(name));
  ::unlink(name);
  return shot;
}

void ExpectSameOnBothBackends(const std::function<std::unique_ptr<TForm>()>& show, const std::string& caption,
                              const std::string& name) {
  XvfbServer server;
  std::string error;
  std::unique_ptr<TBackend> x11 = OpenX11Backend(server.Display(), error, nullptr);
  ASSERT_NE(x11, nullptr) << error;
  SetBackend(std::move(x11));
  std::unique_ptr<TBitmap> real;
  {
    std::unique_ptr<TForm> form = show();
    real = Shoot(server, caption);
  }
  ASSERT_NE(real, nullptr);
  SetBackend(std::make_unique<THeadlessBackend>());
  auto& headless = static_cast<THeadlessBackend&>(Backend());
  std::unique_ptr<TForm> form = show();
  ExpectSamePicture(*real, headless.Info(headless.Windows().back()).shown, "x11-" + name + ".png",
                    "headless-" + name + ".png");
  form.reset();
  SetBackend(nullptr);
}

TEST(X11PrintSettingsTest, ThePageControlGroupBoxesAndPaintBoxShowAsOnTheHeadlessBackend) {
  ExpectSameOnBothBackends(ShowControls, "Print Settings", "print-settings-controls");
}

TEST(X11PrintSettingsTest, TheFontDialogShowsAsOnTheHeadlessBackend) {
  ExpectSameOnBothBackends(ShowFontDialog, "Font", "font-dialog");
}

}  // namespace
}  // namespace platform::test
