#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/gfx/TestFont.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/LookFixture.h"

namespace platform {

// A control with both scroll bars that scrolls as a list would: a line is 1, a page the bar's page, and
// the thumb's position is taken when it is released. It records every report ("V PAGEDOWN 0") with the
// time it came, the client sizes of WM_SIZE, and the presses that reached it.
class TScrolledBox : public TCustomControl {
public:
  using TCustomControl::TCustomControl;

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SIZE) sizes.push_back({LParamX(Message.LParam), LParamY(Message.LParam)});
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
      Scrolled(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, static_cast<WORD>(Message.WParam & 0xFFFF),
               static_cast<int>(Message.WParam >> 16));
      return;
    }
    TCustomControl::Dispatch(Message);
  }

  std::vector<std::string> codes;
  std::vector<int64_t> times;
  std::vector<TSize> sizes;
  int clicks = 0;

protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_HSCROLL | WS_VSCROLL;
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override { ++clicks; }
  void Paint() override {
    Canvas().Brush().SetColor(clWindow);
    Canvas().FillRect(ClientRect());
  }

private:
  void Scrolled(int bar, WORD code, int pos) {
    static const char* const kNames[] = {"LINEUP",    "LINEDOWN", "PAGEUP", "PAGEDOWN", "THUMBPOSITION",
                                         "THUMBTRACK", "TOP",      "BOTTOM", "ENDSCROLL"};
    codes.push_back(std::string(bar == SB_VERT ? "V " : "H ") + (code <= SB_ENDSCROLL ? kNames[code] : "?") + " " +
                    std::to_string(pos));
    times.push_back(MonotonicMs());
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Handle(), bar, info);
    switch (code) {
      case SB_LINEUP: info.nPos -= 1; break;
      case SB_LINEDOWN: info.nPos += 1; break;
      case SB_PAGEUP: info.nPos -= static_cast<int>(info.nPage); break;
      case SB_PAGEDOWN: info.nPos += static_cast<int>(info.nPage); break;
      case SB_THUMBPOSITION: info.nPos = info.nTrackPos; break;
      default: return;
    }
    SetScrollPos(Handle(), bar, info.nPos, true);
  }
};

// A form in the test font with a 150 x 150 box of both bars at (10, 10).
class ScrollTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form = ShowForm(200, 200);
    form->Font().SetName(kTestFontName);
    form->Font().SetHeight(-16);
    box = new TScrolledBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 150, 150);
    Settle();
  }
  void TearDown() override {
    form.reset();
    FormTest::TearDown();
  }

  void SetRange(int bar, int min, int max, UINT page, int pos) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = min;
    info.nMax = max;
    info.nPage = page;
    info.nPos = pos;
    SetScrollInfo(box->Handle(), bar, info, true);
  }
  // The times of the box's reports, from `start`.
  std::vector<int64_t> TimesFrom(int64_t start) const {
    std::vector<int64_t> result;
    for (int64_t t : box->times) result.push_back(t - start);
    return result;
  }
  void ExpectLooksLike(const std::string& name) {
    Settle();
    ExpectPictureLike(Input().Info(form->BackendWindow()).shown, name);
  }

  std::unique_ptr<TForm> form;
  TScrolledBox* box = nullptr;
};

}  // namespace platform
