#include "platform/ui/MenuWindows.h"

#include <algorithm>
#include <array>

#include "platform/core/Ascii.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

namespace {

constexpr int kFrame = 3;          // the raised frame of a menu window
constexpr int kCheckColumn = 22;   // check marks and images
constexpr int kArrowColumn = 18;   // the sub-menu arrow
constexpr int kShortCutGap = 24;   // between the caption and the shortcut text
constexpr int kSeparatorHeight = 8;
constexpr int kBarPadding = 6;     // on each side of a menu bar entry

// The menus open at this moment, outermost first, and the menu bar that has the keyboard.
struct MenuState {
  std::vector<TMenuWindow*> open;
  TMenuBar* bar = nullptr;
  bool altAlone = false;  // Alt went down and no other key since
};

MenuState& State() {
  static MenuState* state = new MenuState;  // outlives the windows that unlink at exit
  return *state;
}

// The font menus are drawn in.
const TFont& MenuFont() {
  static const TFont* font = new TFont;
  return *font;
}

bool Selectable(const TMenuItem* item) { return item->Visible() && !item->IsLine(); }

int RowHeight(TCanvas& canvas) { return CaptionExtent(canvas, "M", DT_SINGLELINE).cy + 6; }

// The item of `parent` whose caption has the mnemonic `key`; -1 for none.
int MnemonicIndex(const TMenuItem* parent, WORD key) {
  for (int i = 0; i < parent->Count(); ++i)
    if (Selectable(parent->Items(i)) && IsAccel(key, parent->Items(i)->Caption())) return i;
  return -1;
}

// Closes the menu windows from `depth` on: hidden at once, destroyed by the loop.
void CloseFrom(size_t depth) {
  auto& open = State().open;
  while (open.size() > depth) {
    TMenuWindow* window = open.back();
    open.pop_back();
    window->SetMouseCapture(false);
    window->Hide();
    Application().ReleaseLater(window);
  }
  if (!open.empty()) open.back()->SetMouseCapture(true);
}

// Opens the items of `item` with the window's top-left corner at a screen point, kept on the screen;
// `flipX` is where it goes instead when it would leave the screen at the right.
TMenuWindow* OpenItems(TMenuItem* item, TMenu* menu, TPoint at, int flipX, bool selectFirst) {
  auto* window = new TMenuWindow(item, menu);
  const TRect screen = Backend().ScreenRect();
  if (at.X + window->Width() > screen.Right) at.X = std::max(screen.Left, flipX - window->Width());
  if (at.Y + window->Height() > screen.Bottom) at.Y = std::max(screen.Top, screen.Bottom - window->Height());
  window->SetBounds(at.X, at.Y, window->Width(), window->Height());
  if (selectFirst) window->Select(window->NextSelectable(-1, true));
  if (!State().open.empty()) State().open.back()->SetMouseCapture(false);
  State().open.push_back(window);
  window->Show();
  window->SetMouseCapture(true);
  return window;
}

void OpenSubmenu(TMenuWindow& window, int index, bool selectFirst) {
  const auto& open = State().open;
  const size_t depth = std::find(open.begin(), open.end(), &window) - open.begin() + 1;
  TMenuItem* item = window.ParentItem()->Items(index);
  if (open.size() > depth && open[depth]->ParentItem() == item) return;
  CloseFrom(depth);
  const TRect row = window.ItemRect(index);
  const TPoint topRight = window.ClientToScreen({row.Right + kFrame, row.Top - kFrame});
  OpenItems(item, nullptr, topRight, window.ClientToScreen({0, 0}).X - kFrame, selectFirst);
}

void LeaveMenuMode() {
  CloseFrom(0);
  if (TMenuBar* bar = std::exchange(State().bar, nullptr)) bar->SelectEntry(-1);
}

// Runs a command item once every menu is closed.
void Execute(TMenuItem* item) {
  LeaveMenuMode();
  if (item->Enabled()) item->Click();
}

// Chooses a row: a sub-menu opens, a command runs.
void Choose(TMenuWindow& window, int index) {
  TMenuItem* item = window.ParentItem()->Items(index);
  if (item->Count() > 0) {
    OpenSubmenu(window, index, true);
  } else if (item->Enabled()) {
    Execute(item);
  }
}

TMenuBar* BarOf(const TControl& control) {
  TCustomForm* form = GetParentForm(&control);
  if (!form) return nullptr;
  for (int i = 0; i < form->ControlCount(); ++i)
    if (auto* bar = dynamic_cast<TMenuBar*>(form->Controls(i)); bar && bar->Visible()) return bar;
  return nullptr;
}

// The keys of the innermost open menu.
bool OpenMenuKey(WORD key) {
  TMenuWindow& window = *State().open.back();
  TMenuBar* bar = State().bar;
  const bool outermost = State().open.size() == 1;
  switch (key) {
    case VK_DOWN:
    case VK_UP: window.Select(window.NextSelectable(window.Selected(), key == VK_DOWN)); return true;
    case VK_RIGHT:
      if (window.Selected() >= 0 && window.ParentItem()->Items(window.Selected())->Count() > 0)
        OpenSubmenu(window, window.Selected(), true);
      else if (bar)
        bar->OpenEntry(bar->NextEntry(bar->Selected(), true), true);
      return true;
    case VK_LEFT:
      if (!outermost)
        CloseFrom(State().open.size() - 1);
      else if (bar)
        bar->OpenEntry(bar->NextEntry(bar->Selected(), false), true);
      return true;
    case VK_RETURN:
      if (window.Selected() >= 0) Choose(window, window.Selected());
      return true;
    case VK_ESCAPE:
      if (outermost && bar) {
        bar->SelectEntry(bar->Selected());
      } else if (outermost) {
        LeaveMenuMode();
      } else {
        CloseFrom(State().open.size() - 1);
      }
      return true;
    case VK_MENU:
    case VK_F10: LeaveMenuMode(); return true;
    default:
      if (const int index = MnemonicIndex(window.ParentItem(), key); index >= 0) {
        window.Select(index);
        Choose(window, index);
      }
      return true;  // a menu loop eats every key
  }
}

// The keys of a menu bar that has an entry selected but not open.
bool BarKey(TMenuBar& bar, WORD key) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT: bar.SelectEntry(bar.NextEntry(bar.Selected(), key == VK_RIGHT)); return true;
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN: bar.OpenEntry(bar.Selected(), true); return true;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10: LeaveMenuMode(); return true;
    default:
      if (const int index = MnemonicIndex(bar.Menu().Items(), key); index >= 0) bar.OpenEntry(index, true);
      return true;
  }
}

void DrawCheck(TCanvas& canvas, TRect box, bool radio) {
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(canvas.Font().Color());
  canvas.Pen().SetColor(canvas.Font().Color());
  const int cx = (box.Left + box.Right) / 2;
  const int cy = (box.Top + box.Bottom) / 2;
  if (radio) {
    canvas.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
    return;
  }
  // The classic check: three pixels thick, down to the bottom point and up to the right.
  for (int t = 0; t < 3; ++t) {
    canvas.MoveTo(cx - 3, cy - 1 + t);
    canvas.LineTo(cx - 1, cy + 1 + t);
    canvas.LineTo(cx + 4, cy - 4 + t);
  }
}

void DrawArrow(TCanvas& canvas, int right, int cy) {
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(canvas.Font().Color());
  canvas.Pen().SetColor(canvas.Font().Color());
  const std::array<TPoint, 3> points{TPoint{right - 10, cy - 3}, TPoint{right - 10, cy + 3}, TPoint{right - 7, cy}};
  canvas.Polygon(points);
}

}  // namespace

const std::vector<TMenuWindow*>& OpenMenuWindows() { return State().open; }

void CloseMenus() { LeaveMenuMode(); }

void CloseMenusOf(const TMenu& Menu) {
  const auto& open = State().open;
  if (std::any_of(open.begin(), open.end(), [&](TMenuWindow* w) { return w->ParentItem()->GetParentMenu() == &Menu; }))
    LeaveMenuMode();
}

TMenuWindow::TMenuWindow(TMenuItem* Items, TMenu* Menu) : TCustomControl(nullptr), items_(Items), menu_(Menu) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csCaptureMouse - TControlStyleFlag::csClickEvents -
                  TControlStyleFlag::csDoubleClicks);
  SetVisible(false);
  SetParentColor(false);
  SetColor(clMenu);
  SetParentFont(false);
  Font().Assign(MenuFont());
  if (!menu_) menu_ = Items->GetParentMenu();
  Measure();
}

void TMenuWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

void TMenuWindow::Measure() {
  TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  const int rowHeight = RowHeight(canvas);
  int captionWidth = 0;
  int shortCutWidth = 0;
  for (int i = 0; i < items_->Count(); ++i) {
    const TMenuItem* item = items_->Items(i);
    if (!item->Visible() || item->IsLine()) continue;
    captionWidth = std::max(captionWidth, CaptionExtent(canvas, item->Caption(), DT_SINGLELINE).cx);
    if (item->ShortCut())
      shortCutWidth = std::max(shortCutWidth, CaptionExtent(canvas, ShortCutToText(item->ShortCut()), DT_SINGLELINE).cx);
  }
  const int width = kCheckColumn + captionWidth + (shortCutWidth ? kShortCutGap + shortCutWidth : 0) + kArrowColumn;
  rows_.assign(static_cast<size_t>(items_->Count()), TRect{});
  int top = kFrame;
  for (int i = 0; i < items_->Count(); ++i) {
    const TMenuItem* item = items_->Items(i);
    if (!item->Visible()) continue;
    const int height = item->IsLine() ? kSeparatorHeight : rowHeight;
    rows_[static_cast<size_t>(i)] = Rect(kFrame, top, kFrame + width, top + height);
    top += height;
  }
  SetBounds(Left(), Top(), width + 2 * kFrame, top + kFrame);
}

TRect TMenuWindow::ItemRect(int index) const { return rows_.at(static_cast<size_t>(index)); }

int TMenuWindow::ItemAt(TPoint client) const {
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
    if (PtInRect(rows_[static_cast<size_t>(i)], client)) return items_->Items(i)->IsLine() ? -1 : i;
  return -1;
}

int TMenuWindow::NextSelectable(int from, bool down) const {
  const int count = items_->Count();
  for (int step = 1; step <= count; ++step) {
    const int i = ((from < 0 && !down ? count : from) + (down ? step : -step) % count + count) % count;
    if (Selectable(items_->Items(i))) return i;
  }
  return -1;
}

void TMenuWindow::Select(int index) {
  if (selected_ == index) return;
  selected_ = index;
  Invalidate();
}

void TMenuWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      // With the capture every mouse message comes here: find the open menu (or the bar) under it.
      const TPoint screen = ClientToScreen({LParamX(Message.LParam), LParamY(Message.LParam)});
      const bool down = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN;
      const bool up = Message.Msg == WM_LBUTTONUP || Message.Msg == WM_RBUTTONUP;
      const auto open = State().open;
      for (auto it = open.rbegin(); it != open.rend(); ++it) {
        TMenuWindow& window = **it;
        const TPoint client = window.ScreenToClient(screen);
        if (!PtInRect(window.ClientRect(), client)) continue;
        const int index = window.ItemAt(client);
        if (Message.Msg == WM_MOUSEMOVE) {
          window.Select(index);
          if (index >= 0 && window.ParentItem()->Items(index)->Count() > 0)
            OpenSubmenu(window, index, false);
          else if (index >= 0)
            CloseFrom(static_cast<size_t>(std::find(open.begin(), open.end(), &window) - open.begin()) + 1);
        } else if (up && index >= 0) {
          Choose(window, index);
        }
        return;
      }
      TMenuBar* bar = State().bar;
      if (bar) {
        const TPoint client = bar->ScreenToClient(screen);
        const int entry = PtInRect(bar->ClientRect(), client) ? bar->EntryAt(client) : -1;
        if (entry >= 0) {
          if (down && entry == bar->Selected())
            LeaveMenuMode();
          else if (entry != bar->Selected() && (down || Message.Msg == WM_MOUSEMOVE))
            bar->OpenEntry(entry, false);
          return;
        }
      }
      if (down) LeaveMenuMode();
      return;
    }
    default:
      TCustomControl::Dispatch(Message);
  }
}

void TMenuWindow::Paint() {
  TCanvas& canvas = Canvas();
  TRect frame = ClientRect();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(clMenu);
  canvas.FillRect(frame);
  DrawEdge(canvas.Handle(), frame, EDGE_RAISED, BF_RECT);
  canvas.SetFont(Font());
  TCustomImageList* images = menu_ ? menu_->Images() : nullptr;
  for (int i = 0; i < items_->Count(); ++i) {
    const TMenuItem* item = items_->Items(i);
    TRect row = rows_[static_cast<size_t>(i)];
    if (!item->Visible()) continue;
    if (item->IsLine()) {
      TRect line = Rect(row.Left + 1, (row.Top + row.Bottom) / 2 - 1, row.Right - 1, (row.Top + row.Bottom) / 2 + 1);
      DrawEdge(canvas.Handle(), line, EDGE_ETCHED, BF_TOP);
      continue;
    }
    const bool selected = i == selected_;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(row);
    canvas.Font().SetColor(selected ? clHighlightText : clMenuText);
    const bool enabled = item->Enabled();
    if (!enabled) canvas.Font().SetColor(clGrayText);
    const TRect check = Rect(row.Left, row.Top, row.Left + kCheckColumn, row.Bottom);
    if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
      images->Draw(canvas, check.Left + (kCheckColumn - images->Width()) / 2,
                   check.Top + (check.Height() - images->Height()) / 2, item->ImageIndex(), enabled);
    } else if (item->Checked()) {
      DrawCheck(canvas, check, item->RadioItem());
    }
    TRect text = Rect(row.Left + kCheckColumn, row.Top, row.Right - kArrowColumn, row.Bottom);
    // Disabled items are embossed, except on the highlight, where the grey text stands alone.
    const bool emboss = !enabled && !selected;
    if (emboss) canvas.Font().SetColor(clBtnShadow);
    DrawCaption(canvas, item->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, !emboss);
    if (item->ShortCut())
      DrawCaption(canvas, ShortCutToText(item->ShortCut()), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX,
                  !emboss);
    if (item->Count() > 0) DrawArrow(canvas, row.Right, (row.Top + row.Bottom) / 2);
  }
}

TMenuBar::TMenuBar(TCustomForm& Form, TMainMenu& Menu) : TCustomControl(nullptr), menu_(&Menu) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csCaptureMouse - TControlStyleFlag::csClickEvents -
                  TControlStyleFlag::csDoubleClicks - TControlStyleFlag::csSetCaption);
  SetParentColor(false);
  SetColor(clMenuBar);
  SetParentFont(false);
  Font().Assign(MenuFont());
  Canvas().SetFont(Font());
  // Placed above every other top-aligned control.
  SetBounds(0, -1, Form.ClientWidth(), RowHeight(Canvas()));
  SetAlign(TAlign::alTop);
  SetParent(&Form);
  Menu.FreeNotification(this);
}

TMenuBar::~TMenuBar() {
  if (State().bar == this) LeaveMenuMode();
}

TRect TMenuBar::EntryRect(int index) const {
  TCanvas& canvas = const_cast<TMenuBar*>(this)->Canvas();
  canvas.SetFont(Font());
  int left = 0;
  const TMenuItem* items = menu_->Items();
  for (int i = 0; i < items->Count(); ++i) {
    const TMenuItem* item = items->Items(i);
    if (!item->Visible()) {
      if (i == index) return TRect{};
      continue;
    }
    const int width = CaptionExtent(canvas, item->Caption(), DT_SINGLELINE).cx + 2 * kBarPadding;
    if (i == index) return Rect(left, 0, left + width, Height());
    left += width;
  }
  return TRect{};
}

int TMenuBar::EntryAt(TPoint client) const {
  for (int i = 0; i < menu_->Items()->Count(); ++i)
    if (PtInRect(EntryRect(i), client)) return i;
  return -1;
}

int TMenuBar::NextEntry(int from, bool forward) const {
  const TMenuItem* items = menu_->Items();
  const int count = items->Count();
  for (int step = 1; step <= count; ++step) {
    const int i = ((from < 0 ? (forward ? -1 : count) : from) + (forward ? step : -step) + 2 * count) % count;
    if (Selectable(items->Items(i))) return i;
  }
  return -1;
}

void TMenuBar::SelectEntry(int index) {
  CloseFrom(0);
  open_ = false;
  selected_ = index;
  State().bar = index >= 0 ? this : nullptr;
  Invalidate();
}

void TMenuBar::OpenEntry(int index, bool selectFirst) {
  if (index < 0) return;
  TMenuItem* item = menu_->Items()->Items(index);
  if (item->Count() == 0) {
    Execute(item);
    return;
  }
  SelectEntry(index);
  open_ = true;
  const TRect entry = EntryRect(index);
  OpenItems(item, menu_, ClientToScreen({entry.Left, entry.Bottom}), ClientToScreen({entry.Right, 0}).X, selectFirst);
}

void TMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove || AComponent != menu_) return;
  if (State().bar == this) LeaveMenuMode();
  Hide();
  Application().ReleaseLater(this);
}

void TMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == TMouseButton::mbLeft) OpenEntry(EntryAt({X, Y}), false);
}

void TMenuBar::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect(ClientRect());
  canvas.SetFont(Font());
  canvas.Font().SetColor(clMenuText);
  const TMenuItem* items = menu_->Items();
  for (int i = 0; i < items->Count(); ++i) {
    const TMenuItem* item = items->Items(i);
    if (!item->Visible()) continue;
    TRect r = EntryRect(i);
    if (i == selected_) {
      TRect edge = r;
      DrawEdge(canvas.Handle(), edge, open_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    TRect text = r;
    if (i == selected_ && open_) OffsetRect(text, 1, 1);
    if (!item->Enabled()) canvas.Font().SetColor(clBtnShadow);
    DrawCaption(canvas, item->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER, item->Enabled());
    canvas.Font().SetColor(clMenuText);
  }
}

void TPopupMenu::Popup(int X, int Y) {
  LeaveMenuMode();
  if (OnPopup) OnPopup(this);
  OpenItems(Items(), this, {X, Y}, X, false);
}

void SetMainMenu(TCustomForm& Form, TMainMenu* Menu) {
  TMenuBar* bar = BarOf(Form);
  if (bar && Menu && &bar->Menu() == Menu) return;
  delete bar;
  if (Menu) new TMenuBar(Form, *Menu);
}

TMainMenu* GetMainMenu(const TCustomForm& Form) {
  TMenuBar* bar = BarOf(Form);
  return bar ? &bar->Menu() : nullptr;
}

bool MenuKeyDown(TControl& Focused, WORD Key, TShiftState Shift) {
  MenuState& state = State();
  state.altAlone = Key == VK_MENU;
  if (!state.open.empty()) return OpenMenuKey(Key);
  if (state.bar) return BarKey(*state.bar, Key);
  if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return false;
  if (Key == VK_APPS || (Key == VK_F10 && Shift == TShiftState{TShiftStateFlag::ssShift}))
    return Focused.Perform(WM_CONTEXTMENU, 0, -1) != 0;
  TMenuBar* bar = BarOf(Focused);
  if (bar && Key == VK_F10 && Shift.Empty()) {
    bar->SelectEntry(bar->NextEntry(-1, true));
    return true;
  }
  const bool alnum = (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9');
  if (bar && alnum && Shift == TShiftState{TShiftStateFlag::ssAlt}) {
    if (const int index = MnemonicIndex(bar->Menu().Items(), Key); index >= 0) {
      bar->OpenEntry(index, true);
      return true;
    }
  }
  const TShortCut shortCut = ShortCut(Key, Shift);
  for (TControl* c = &Focused; c; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
  return bar && bar->Menu().IsShortCut(shortCut);
}

bool MenuAltReleased(TControl& Focused) {
  if (!std::exchange(State().altAlone, false)) return false;
  if (State().bar) {
    LeaveMenuMode();
    return true;
  }
  TMenuBar* bar = BarOf(Focused);
  if (!bar) return false;
  bar->SelectEntry(bar->NextEntry(-1, true));
  return true;
}

}  // namespace platform
