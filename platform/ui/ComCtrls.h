#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"

namespace platform {

class TPageControl;

// One page of a page control: a windowed container in the face colour that fills the control's
// display area while it is the active page. Setting its PageControl (or its parent to a page control,
// as a form resource does) adds it as the last page.
class TTabSheet : public TCustomControl {
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* value);
  void SetParent(TWinControl* AParent) override;
  // The position among the page control's pages; -1 without one.
  int PageIndex() const;
  void SetPageIndex(int value);
  // A page without a visible tab is never active.
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool value);
  // The position among the visible tabs; -1 when its tab is hidden.
  int TabIndex() const;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

protected:
  void Dispatch(TMessage& Message) override;
  void Paint() override;

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Tabbed pages in the classic look: a row of tabs above a raised frame, the active tab drawn raised and
// joined to the frame. A click on a tab, Ctrl+Tab and Ctrl+Shift+Tab (anywhere inside the control),
// and the arrow keys while it has the focus change the page: OnChanging may refuse, OnChange follows.
// Changing ActivePage by code raises neither. The pages are its children, laid out in the display area.
class TPageControl : public TCustomControl {
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int value);
  // The next page with a visible tab after (or before) `current`, wrapping; null when there is none.
  TTabSheet* FindNextPage(TTabSheet* current, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward);
  // The tab's rectangle in client coordinates (empty for a hidden tab), and the tab at a point (-1).
  TRect TabRect(int tabIndex);
  int IndexOfTabAt(int X, int Y);
  // The area the pages fill, in client coordinates.
  TRect DisplayRect();

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

protected:
  void Dispatch(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  // OnChanging; false when the change is refused.
  virtual bool CanChange();
  virtual void Change();

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void PageTabChanged(TTabSheet* page);
  // Changes the page as the user does: asks, changes, tells.
  void ChangeActivePage(TTabSheet* page);
  int TabHeight();
  std::vector<TTabSheet*> VisibleTabs() const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

}  // namespace platform
