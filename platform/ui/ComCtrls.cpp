#include "platform/ui/ComCtrls.h"

#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kTabPadding = 12;  // beside a tab's caption, both sides together
constexpr int kFrame = 4;        // between the frame's outside and the display area

void VerticalLine(TCanvas& c, int x, int top, int bottom, TColor color) {
  c.Brush().SetColor(color);
  c.FillRect(Rect(x, top, x + 1, bottom));
}

void HorizontalLine(TCanvas& c, int left, int right, int y, TColor color) {
  c.Brush().SetColor(color);
  c.FillRect(Rect(left, y, right, y + 1));
}

}  // namespace

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  SetAlign(TAlign::alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
  if (pageControl_ == value) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = value;
  TCustomControl::SetParent(value);
  if (value) value->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  if (auto* pageControl = dynamic_cast<TPageControl*>(AParent)) {
    SetPageControl(pageControl);
    return;
  }
  if (pageControl_) {
    pageControl_->RemovePage(this);
    pageControl_ = nullptr;
  }
  TCustomControl::SetParent(AParent);
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& pages = pageControl_->pages_;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
  if (pageControl_) pageControl_->MovePage(this, value);
}

void TTabSheet::SetTabVisible(bool value) {
  if (tabVisible_ == value) return;
  tabVisible_ = value;
  if (pageControl_) pageControl_->PageTabChanged(this);
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  const std::vector<TTabSheet*> tabs = pageControl_->VisibleTabs();
  return static_cast<int>(std::find(tabs.begin(), tabs.end(), this) - tabs.begin());
}

void TTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      if (pageControl_) pageControl_->Invalidate();
      break;
    case CM_SHOWINGCHANGED:
      TCustomControl::Dispatch(Message);
      if (Showing() ? static_cast<bool>(OnShow) : static_cast<bool>(OnHide)) (Showing() ? OnShow : OnHide)(this);
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TTabSheet::Paint() {
  Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const {
  std::vector<TTabSheet*> tabs;
  for (TTabSheet* page : pages_)
    if (page->TabVisible()) tabs.push_back(page);
  return tabs;
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  page->SetVisible(false);
  if (!activePage_ && page->TabVisible()) SetActivePage(page);
  Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  TTabSheet* next = activePage_ == page ? FindNextPage(page, true, true) : activePage_;
  pages_.erase(it);
  if (next == page) next = nullptr;
  if (activePage_ == page) {
    activePage_ = nullptr;
    SetActivePage(next);
  }
  Invalidate();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  pages_.erase(it);
  index = std::clamp(index, 0, static_cast<int>(pages_.size()));
  pages_.insert(pages_.begin() + index, page);
  Invalidate();
}

void TPageControl::PageTabChanged(TTabSheet* page) {
  if (!page->TabVisible() && page == activePage_) {
    TTabSheet* next = FindNextPage(page, true, true);
    SetActivePage(next == page ? nullptr : next);
  } else if (page->TabVisible() && !activePage_) {
    SetActivePage(page);
  }
  Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && (page->pageControl_ != this || !page->TabVisible())) return;
  if (page == activePage_) return;
  TTabSheet* old = activePage_;
  const TWinControl* focused = Screen().FocusedControl();
  const bool focusInOld = old && focused && (focused == old || old->ContainsControl(focused));
  activePage_ = page;
  if (page) {
    page->BringToFront();
    page->SetVisible(true);
  }
  if (old) old->SetVisible(false);
  if (focusInOld && CanFocus()) SetFocus();
  Invalidate();
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value) {
  SetActivePage(value >= 0 && value < PageCount() ? pages_[static_cast<size_t>(value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool GoForward, bool CheckTabVisible) const {
  if (pages_.empty()) return nullptr;
  const int count = PageCount();
  int start = -1;
  for (int i = 0; i < count; ++i)
    if (pages_[static_cast<size_t>(i)] == current) start = i;
  if (start < 0) start = GoForward ? count - 1 : 0;
  int i = start;
  for (int step = 0; step < count; ++step) {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = pages_[static_cast<size_t>(i)];
    if (!CheckTabVisible || page->TabVisible()) return page;
  }
  return nullptr;
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
  if (!page || page == activePage_) return;
  // OnChanging may free the page or the control.
  const TGuard alive(*this), pageAlive(*page);
  if (!CanChange() || alive.Gone() || pageAlive.Gone()) return;
  SetActivePage(page);
  Change();
}

void TPageControl::SelectNextPage(bool GoForward) { ChangeActivePage(FindNextPage(activePage_, GoForward, true)); }

int TPageControl::TabHeight() {
  Canvas().SetFont(Font());
  return Canvas().TextHeight("Wg") + 6;
}

TRect TPageControl::TabRect(int tabIndex) {
  const std::vector<TTabSheet*> tabs = VisibleTabs();
  if (tabIndex < 0 || tabIndex >= static_cast<int>(tabs.size())) return {};
  Canvas().SetFont(Font());
  const int h = TabHeight();
  int x = 2;
  for (int i = 0; i < tabIndex; ++i) x += CaptionExtent(Canvas(), tabs[static_cast<size_t>(i)]->Caption(), DT_SINGLELINE).cx + kTabPadding;
  const int width = CaptionExtent(Canvas(), tabs[static_cast<size_t>(tabIndex)]->Caption(), DT_SINGLELINE).cx + kTabPadding;
  TRect r = Rect(x, 2, x + width, h);
  if (tabs[static_cast<size_t>(tabIndex)] == activePage_) r = Rect(x - 2, 0, x + width + 2, h + 1);
  return r;
}

int TPageControl::IndexOfTabAt(int X, int Y) {
  const int count = static_cast<int>(VisibleTabs().size());
  // The active tab is drawn over its neighbours, so it answers first.
  if (activePage_ && activePage_->TabIndex() >= 0 && PtInRect(TabRect(activePage_->TabIndex()), TPoint{X, Y}))
    return activePage_->TabIndex();
  for (int i = 0; i < count; ++i)
    if (PtInRect(TabRect(i), TPoint{X, Y})) return i;
  return -1;
}

TRect TPageControl::DisplayRect() {
  TRect r = ClientRect();
  AdjustClientRect(r);
  return r;
}

void TPageControl::AdjustClientRect(TRect& Rect) {
  const int h = TabHeight();
  Rect = platform::Rect(Rect.Left + kFrame, Rect.Top + h + kFrame - 2, std::max(Rect.Left + kFrame, Rect.Right - kFrame),
                        std::max(Rect.Top + h + kFrame - 2, Rect.Bottom - kFrame));
}

void TPageControl::Paint() {
  TCanvas& c = Canvas();
  const TRect client = ClientRect();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(client);
  const int h = TabHeight();
  TRect frame = Rect(0, h, client.Right, client.Bottom);
  DrawEdge(c.Handle(), frame, EDGE_RAISED, BF_RECT);
  const std::vector<TTabSheet*> tabs = VisibleTabs();
  auto drawTab = [&](int i) {
    const TRect r = TabRect(i);
    const bool active = tabs[static_cast<size_t>(i)] == activePage_;
    c.Brush().SetColor(Color());
    c.FillRect(Rect(r.Left, r.Top + 1, r.Right, r.Bottom + (active ? 1 : 0)));
    VerticalLine(c, r.Left, r.Top + 2, r.Bottom, clBtnHighlight);
    c.Brush().SetColor(clBtnHighlight);
    c.FillRect(Rect(r.Left + 1, r.Top + 1, r.Left + 2, r.Top + 2));
    HorizontalLine(c, r.Left + 2, r.Right - 2, r.Top, clBtnHighlight);
    VerticalLine(c, r.Right - 2, r.Top + 1, r.Bottom, clBtnShadow);
    VerticalLine(c, r.Right - 1, r.Top + 2, r.Bottom, cl3DDkShadow);
    c.Brush().SetColor(cl3DDkShadow);
    c.FillRect(Rect(r.Right - 2, r.Top + 1, r.Right - 1, r.Top + 2));
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.SetFont(Font());
    TRect text = Rect(r.Left, r.Top + (active ? 1 : 0), r.Right, r.Bottom - (active ? 2 : 0));
    DrawCaption(c, tabs[static_cast<size_t>(i)]->Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Enabled());
    if (active && Focused()) {
      TRect focus = Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 2);
      c.DrawFocusRect(focus);
    }
    c.Brush().SetStyle(TBrushStyle::bsSolid);
  };
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i)
    if (tabs[static_cast<size_t>(i)] != activePage_) drawTab(i);
  if (activePage_ && activePage_->TabIndex() >= 0) drawTab(activePage_->TabIndex());
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  const int tab = IndexOfTabAt(X, Y);
  if (tab < 0) return;
  if (CanFocus()) SetFocus();
  ChangeActivePage(VisibleTabs()[static_cast<size_t>(tab)]);
}

void TPageControl::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_LEFT || Key == VK_UP) {
    SelectNextPage(false);
    Key = 0;
  } else if (Key == VK_RIGHT || Key == VK_DOWN) {
    SelectNextPage(true);
    Key = 0;
  }
}

void TPageControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case CM_CHILDKEY: {
      const TShiftState shift = KeyboardStateToShiftState();
      if (Message.WParam == static_cast<WPARAM>(VK_TAB) && shift.Contains(TShiftStateFlag::ssCtrl)) {
        SelectNextPage(!shift.Contains(TShiftStateFlag::ssShift));
        Message.Result = 1;
        return;
      }
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case CM_FONTCHANGED:
      Realign();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

}  // namespace platform
