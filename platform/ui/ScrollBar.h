#pragma once

#include <functional>

#include "platform/ui/Controls.h"
#include "platform/ui/ScrollInfo.h"

namespace platform {

enum class TScrollBarKind { sbHorizontal, sbVertical };
// What the user did to a scroll bar: the scroll codes in the order of SB_LINEUP .. SB_ENDSCROLL.
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
// ScrollPos is the position the bar goes to; the handler may change it.
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// The scroll bar control: a bar of its own that the user moves by its arrows (SmallChange), its track
// (LargeChange), its thumb, and the arrow, page, Home and End keys while it has the focus.
//
// Position always lies within Min .. Max - PageSize + 1 (Max without a page), where the bar can show
// it. Every move runs OnScroll with the scroll code and the new position, then sets Position, which
// runs OnChange when it changed.
class TScrollBar : public TWinControl {
public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return kind_; }
  // Swaps width and height (except while loading) and re-creates the window.
  void SetKind(TScrollBarKind value);
  int Min() const { return min_; }
  void SetMin(int value) { SetParams(position_, value, max_); }
  int Max() const { return max_; }
  void SetMax(int value) { SetParams(position_, min_, value); }
  int Position() const { return position_; }
  void SetPosition(int value) { SetParams(value, min_, max_); }
  // The part of the range that one view shows, which sizes the thumb; 0 for a square thumb.
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }
  // Sets the three at once; EInvalidOperation "Scrollbar property out of range" when AMax is below
  // AMin or the range is shorter than the page.
  void SetParams(int APosition, int AMin, int AMax);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
  void DoScroll(WORD code);
  void UpdateBar();

  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int pageSize_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
};

}  // namespace platform
