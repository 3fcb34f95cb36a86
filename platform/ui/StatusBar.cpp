#include "platform/ui/StatusBar.h"

#include <algorithm>

#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/ClassicLook.h"
#include "platform/ui/Forms.h"
#include "platform/ui/TopLevelWindow.h"

namespace platform {

namespace {

constexpr int kTopBorder = 2;   // above the parts
constexpr int kPartGap = 2;     // between a part's frame and the next part
constexpr int kTextMargin = 2;  // between a part's frame and its text
constexpr int kGripWidth = 16;
constexpr int kMaxParts = 256;

// A part's text split at its TABs: left, centred and right-aligned pieces.
struct TAlignedText {
  std::string left, center, right;
};

TAlignedText SplitAtTabs(const std::string& text) {
  TAlignedText pieces;
  std::string* piece = &pieces.left;
  for (char c : text) {
    if (c == '\t' && piece != &pieces.right) {
      piece = piece == &pieces.left ? &pieces.center : &pieces.right;
      continue;
    }
    *piece += c;
  }
  return pieces;
}

}  // namespace

TStatusBarControl::TStatusBarControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() - TControlStyleFlag::csSetCaption + TControlStyleFlag::csOpaque);
  SetBounds(0, 0, 150, 19);
  SetParentColor(false);
  SetColor(clBtnFace);
}

void TStatusBarControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WinClassName = "msctls_statusbar32";
}

bool TStatusBarControl::HasGrip() {
  TCreateParams params;
  CreateParams(params);
  // A maximised form cannot be sized: its bar shows no grip.
  const TCustomForm* form = GetParentForm(this);
  return (params.Style & SBARS_SIZEGRIP) != 0 && !(form && form->WindowState() == TWindowState::wsMaximized);
}

TRect TStatusBarControl::GripRect() {
  if (!HasGrip()) return {};
  const TRect client = ClientRect();
  return Rect(std::max(client.Left, client.Right - kGripWidth), client.Top, client.Right, client.Bottom);
}

TRect TStatusBarControl::SimpleRect() {
  const TRect client = ClientRect();
  const int right = HasGrip() ? GripRect().Left : client.Right;
  return Rect(client.Left, client.Top + kTopBorder, std::max(client.Left, right), client.Bottom);
}

TRect TStatusBarControl::PartRect(int index) {
  const TRect whole = SimpleRect();
  auto edge = [&](int i) {
    const int right = parts_[static_cast<size_t>(i)].right;
    return right < 0 ? whole.Right : std::min(right, whole.Right);
  };
  const int left = index == 0 ? whole.Left : std::min(edge(index - 1), whole.Right);
  return Rect(left, whole.Top, std::max(left, edge(index)), whole.Bottom);
}

TRect TStatusBarControl::ItemRect(int part) {
  const bool simple = part == static_cast<int>(SB_SIMPLEID);
  if (!simple && (part < 0 || part >= static_cast<int>(parts_.size()))) return {};
  TRect rect = simple ? SimpleRect() : PartRect(part);
  rect.Right = std::max(rect.Left, rect.Right - kPartGap);
  InflateRect(rect, -1, -1);
  return rect;
}

void TStatusBarControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      break;
    case WM_SETCURSOR:
      if (HasGrip() && PtInRect(GripRect(), ScreenToClient(Backend().CursorPos()))) {
        if (TTopLevelWindow* top = TopLevelOf(this)) Backend().SetCursor(top->Window(), BackendCursorOf(crSizeNWSE));
        Message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TStatusBarControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case SB_SETPARTS: {
      const auto count = static_cast<int>(Message.WParam);
      const auto* edges = reinterpret_cast<const int*>(Message.LParam);
      if (count < 1 || count > kMaxParts || !edges) {
        Message.Result = 0;
        return;
      }
      parts_.resize(static_cast<size_t>(count));
      for (int i = 0; i < count; ++i) parts_[static_cast<size_t>(i)].right = edges[i];
      Invalidate();
      Message.Result = 1;
      return;
    }
    case SB_GETPARTS: {
      auto* edges = reinterpret_cast<int*>(Message.LParam);
      for (size_t i = 0; edges && i < std::min<size_t>(Message.WParam, parts_.size()); ++i) edges[i] = parts_[i].right;
      Message.Result = static_cast<LRESULT>(parts_.size());
      return;
    }
    case SB_SETTEXT: {
      const UINT id = Message.WParam & 0xFF;
      TPart* part = id == SB_SIMPLEID ? &simple_ : id < parts_.size() ? &parts_[id] : nullptr;
      if (!part) {
        Message.Result = 0;
        return;
      }
      part->type = Message.WParam & 0xFF00;
      if (part->type & SBT_OWNERDRAW) {
        part->text.clear();
        part->data = static_cast<uintptr_t>(Message.LParam);
      } else {
        const auto* text = reinterpret_cast<const char*>(Message.LParam);
        part->text = text ? text : "";
        part->data = 0;
      }
      Invalidate();
      Message.Result = 1;
      return;
    }
    case SB_SIMPLE:
      if (simpleMode_ != (Message.WParam != 0)) {
        simpleMode_ = Message.WParam != 0;
        Invalidate();
      }
      return;
    case SB_ISSIMPLE:
      Message.Result = simpleMode_ ? 1 : 0;
      return;
    case SB_GETRECT: {
      auto* rect = reinterpret_cast<TRect*>(Message.LParam);
      const bool simple = Message.WParam == SB_SIMPLEID;
      Message.Result = rect && (simple || Message.WParam < parts_.size()) ? 1 : 0;
      if (Message.Result) *rect = simple ? SimpleRect() : PartRect(static_cast<int>(Message.WParam));
      return;
    }
    case SB_SETBKCOLOR:
      Message.Result = static_cast<LRESULT>(std::exchange(background_, static_cast<TColor>(Message.LParam)));
      Invalidate();
      return;
    default:
      break;
  }
  TCustomControl::DefaultHandler(Message);
}

void TStatusBarControl::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(background_ == CLR_DEFAULT ? Color() : background_);
  canvas.FillRect(ClientRect());
  if (simpleMode_) {
    PaintPart(simple_, SB_SIMPLEID, SimpleRect());
  } else {
    for (size_t i = 0; i < parts_.size(); ++i) PaintPart(parts_[i], static_cast<int>(i), PartRect(static_cast<int>(i)));
  }
  if (!HasGrip()) return;
  // Three ridges across the corner, each a light line and two dark ones.
  const TRect grip = GripRect();
  for (int d = 1; d < 12; ++d) {
    const int phase = d % 4;
    if (phase == 0) continue;
    canvas.Pen().SetColor(phase == 1 ? clBtnHighlight : clBtnShadow);
    canvas.MoveTo(grip.Right - 1 - d, grip.Bottom - 1);
    canvas.LineTo(grip.Right, grip.Bottom - 2 - d);
  }
}

void TStatusBarControl::PaintPart(const TPart& part, int id, TRect rect) {
  TCanvas& canvas = Canvas();
  rect.Right = std::max(rect.Left, rect.Right - kPartGap);
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  if (!(part.type & SBT_NOBORDERS)) {
    const bool raised = part.type & SBT_POPOUT;
    TRect frame = rect;
    Frame3D(canvas, frame, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, 1);
  }
  rect = ItemRect(id);
  if (part.type & SBT_OWNERDRAW) {
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_STATIC;
    item.itemID = static_cast<UINT>(id);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = Handle();
    item.hDC = &canvas;
    item.rcItem = rect;
    item.itemData = part.data;
    CanvasStateGuard state(canvas);
    IntersectClipRect(&canvas, rect.Left, rect.Top, rect.Right, rect.Bottom);
    Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    return;
  }
  const TAlignedText pieces = SplitAtTabs(part.text);
  TRect text = rect;
  InflateRect(text, -kTextMargin, 0);
  canvas.SetFont(Font());
  CanvasStateGuard state(canvas);
  IntersectClipRect(&canvas, rect.Left, rect.Top, rect.Right, rect.Bottom);
  constexpr unsigned kFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  DrawCaption(canvas, pieces.left, text, kFlags | DT_LEFT, true);
  DrawCaption(canvas, pieces.center, text, kFlags | DT_CENTER, true);
  DrawCaption(canvas, pieces.right, text, kFlags | DT_RIGHT, true);
}

void TStatusBarControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft && HasGrip() && PtInRect(GripRect(), {X, Y})) {
    if (TCustomForm* form = GetParentForm(this)) {
      gripStart_ = ClientToScreen({X, Y});
      gripSize_ = {form->Width(), form->Height()};
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TStatusBarControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (gripSize_.cx >= 0) {
    if (TCustomForm* form = GetParentForm(this)) {
      const TPoint at = ClientToScreen({X, Y});
      form->SetBounds(form->Left(), form->Top(), std::max(1, gripSize_.cx + at.X - gripStart_.X),
                      std::max(1, gripSize_.cy + at.Y - gripStart_.Y));
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TStatusBarControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft) gripSize_ = {-1, -1};
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  if (bevel_ == value) return;
  bevel_ = value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
  if (style_ == value) return;
  style_ = value;
  Changed(false);
}

void TStatusPanel::SetText(const std::string& value) {
  if (text_ == value) return;
  text_ = value;
  Changed(false);
}

void TStatusPanel::SetWidth(int value) {
  if (width_ == value) return;
  width_ = value;
  Changed(true);
}

void TStatusPanel::Assign(const TPersistent* Source) {
  if (const auto* panel = dynamic_cast<const TStatusPanel*>(Source)) {
    text_ = panel->text_;
    width_ = panel->width_;
    alignment_ = panel->alignment_;
    bevel_ = panel->bevel_;
    style_ = panel->style_;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(Source);
}

std::string TStatusPanel::DisplayName() const { return text_.empty() ? TCollectionItem::DisplayName() : text_; }

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TOwnedCollection(StatusBar, CollectionItemClass<TStatusPanel>()), bar_(StatusBar) {}

void TStatusPanels::Update(TCollectionItem* Item) {
  if (Item)
    bar_->UpdatePanel(Item->Index());
  else
    bar_->UpdatePanels(true);
}

TCustomStatusBar::TCustomStatusBar(TComponent* AOwner) : TStatusBarControl(AOwner) {}

void TCustomStatusBar::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    TCanvas& canvas = *item.hDC;
    canvas.SetFont(Font());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    DrawItem(static_cast<int>(item.itemID), item.rcItem);
    Message.Result = 1;
    return;
  }
  TStatusBarControl::Dispatch(Message);
}

void TCustomStatusBar::CreateParams(TCreateParams& Params) {
  TStatusBarControl::CreateParams(Params);
  const auto* form = dynamic_cast<const TCustomForm*>(Parent());
  if (sizeGrip_ && form &&
      (form->BorderStyle() == TFormBorderStyle::bsSizeable || form->BorderStyle() == TFormBorderStyle::bsSizeToolWin))
    Params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::SetSimplePanel(bool value) {
  if (simplePanel_ == value) return;
  simplePanel_ = value;
  Perform(SB_SIMPLE, value ? 1 : 0);
}

void TCustomStatusBar::SetSimpleText(const std::string& value) {
  if (simpleText_ == value) return;
  simpleText_ = value;
  Perform(SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool value) {
  if (sizeGrip_ == value) return;
  sizeGrip_ = value;
  Invalidate();
}

void TCustomStatusBar::SetPartWidths(const std::vector<int>& widths) {
  std::vector<int> edges;
  int right = 0;
  for (size_t i = 0; i < widths.size(); ++i) {
    right += widths[i];
    edges.push_back(i + 1 == widths.size() ? -1 : right);
  }
  if (edges.empty()) {
    edges.push_back(-1);
    Perform(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges.data()));
    Perform(SB_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  } else {
    Perform(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  }
}

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomStatusBar(AOwner), panels_(this) {
  SetAlign(TAlign::alBottom);
  UpdatePanels(true);
}

void TStatusBar::DrawItem(int index, const TRect& rect) {
  if (index < panels_.Count()) DrawPanel(panels_.Items(index), rect);
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
  if (OnDrawPanel)
    OnDrawPanel(this, Panel, Rect);
  else
    Canvas().FillRect(Rect);
}

void TStatusBar::UpdatePanels(bool rects) {
  const int count = std::min(panels_.Count(), kMaxParts);
  if (rects) {
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) widths.push_back(panels_.Items(i)->Width());
    SetPartWidths(widths);
  }
  for (int i = 0; i < count; ++i) UpdatePanel(i);
}

void TStatusBar::UpdatePanel(int index) {
  if (index >= kMaxParts) return;
  const TStatusPanel* panel = panels_.Items(index);
  UINT type = 0;
  if (panel->Bevel() == TStatusPanelBevel::pbNone) type |= SBT_NOBORDERS;
  if (panel->Bevel() == TStatusPanelBevel::pbRaised) type |= SBT_POPOUT;
  if (panel->Style() == TStatusPanelStyle::psOwnerDraw) type |= SBT_OWNERDRAW;
  const std::string tabs = panel->Alignment() == TAlignment::taCenter        ? "\t"
                           : panel->Alignment() == TAlignment::taRightJustify ? "\t\t"
                                                                               : "";
  const std::string text = tabs + panel->Text();
  const LPARAM textOrData = (type & SBT_OWNERDRAW) ? 0 : reinterpret_cast<LPARAM>(text.c_str());
  Perform(SB_SETTEXT, static_cast<WPARAM>(index) | type, textOrData);
}

}  // namespace platform
