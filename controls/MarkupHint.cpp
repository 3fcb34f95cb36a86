#include "controls/MarkupHint.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "controls/FormComponent.h"
#include "controls/html/RenderHTML.h"
#include "platform/ui/Backend.h"

namespace controls {

using platform::Application;
using platform::ApplicationHints;
using platform::TPoint;
using platform::TRect;

namespace {

// Hint window geometry: the window is this much wider and taller than the text, stays this far inside
// the screen, and rounds its corners with this ellipse.
constexpr int kExtraWidth = 16;
constexpr int kExtraHeight = 4;
constexpr int kScreenGap = 2;
constexpr int kCorner = 16;

// The outline of a width x height rectangle with corners rounded by quarter circles of the corner
// ellipse, as the polygon the backend shapes a window with.
std::vector<TPoint> RoundedOutline(int width, int height) {
  constexpr int kSteps = 8;
  const double r = kCorner / 2.0;
  // Each corner's centre and the angle its quarter starts at, clockwise from the top-right.
  const struct {
    double x, y, from;
  } corners[] = {{width - r, r, -90}, {width - r, height - r, 0}, {r, height - r, 90}, {r, r, 180}};
  std::vector<TPoint> outline;
  for (const auto& corner : corners) {
    for (int i = 0; i <= kSteps; ++i) {
      const double a = (corner.from + 90.0 * i / kSteps) * std::numbers::pi / 180;
      outline.push_back({static_cast<int>(std::lround(corner.x + r * std::cos(a))),
                         static_cast<int>(std::lround(corner.y + r * std::sin(a)))});
    }
  }
  return outline;
}

}  // namespace

TMarkupHint::TMarkupHint(platform::TComponent* AOwner) : TComponent(AOwner) {
  OwningForm<EMarkupHintError>(*this, "Only one instance of TMarkupHint allowed on form");
  hintFont_.SetName("Tahoma");
  hintFont_.SetColor(platform::clInfoText);
  if (!Running()) return;
  previousWindowClass_ = ApplicationHints().HintWindowClass();
  previousOnShowHint_ = ApplicationHints().OnShowHint;
  ApplicationHints().SetHintWindowClass(platform::HintWindowClassOf<TMarkupHintWindow>());
  RenewHintWindow();
  ApplicationHints().OnShowHint = [this](std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo) {
    GetHintInfo(HintStr, CanShow, HintInfo);
  };
}

TMarkupHint::~TMarkupHint() {
  if (!Running()) return;
  ApplicationHints().SetHintWindowClass(previousWindowClass_);
  ApplicationHints().OnShowHint = previousOnShowHint_;
  RenewHintWindow();
}

void TMarkupHint::RenewHintWindow() {
  const bool shown = ApplicationHints().ShowHint();
  ApplicationHints().SetShowHint(false);
  ApplicationHints().SetShowHint(shown);
}

void TMarkupHint::SetImages(platform::TCustomImageList* value) {
  images_ = value;
  if (value) value->FreeNotification(this);
}

void TMarkupHint::SetPictureContainer(TPictureContainer* value) {
  pictureContainer_ = value;
  if (value) value->FreeNotification(this);
}

void TMarkupHint::Notification(platform::TComponent* AComponent, platform::TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != platform::TOperation::opRemove) return;
  if (AComponent == images_) images_ = nullptr;
  if (AComponent == pictureContainer_) pictureContainer_ = nullptr;
}

void TMarkupHint::GetHintInfo(std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo) {
  HintInfo.HintColor = HintColor;
  if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
  hintInfo_ = HintInfo;
}

TMarkupHint* TMarkupHint::FindHintControl() {
  platform::TCustomForm* form = Application().MainForm();
  if (!form) return nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    if (auto* hint = dynamic_cast<TMarkupHint*>(form->Components(i))) return hint;
  }
  return nullptr;
}

void TMarkupHintWindow::CreateParams(platform::TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~platform::WS_BORDER;
}

platform::TSize TMarkupHintWindow::Render(TMarkupHint& hint, const std::string& text, const TRect& r,
                                          bool measureOnly) {
  std::string anchor, stripped, focusAnchor;
  int xSize = 0, ySize = 0, hyperLinks = 0, mouseLink = -1;
  TRect hoverRect;
  // Measuring takes the shadow as 1 pixel and gray, whatever the drawing then uses.
  RenderHTML(Canvas(), text, r, hint.Images(), 0, 0, -1, -1,
             measureOnly ? 1 : hint.ShadowOffset, false, measureOnly, false, false, true, false, false, 1.0,
             hint.URLColor, platform::clNone, platform::clNone, measureOnly ? platform::clGray : hint.ShadowColor,
             anchor, stripped, focusAnchor, xSize, ySize, hyperLinks, mouseLink, hoverRect, &hint.PictureCache(),
             hint.PictureContainer());
  return {xSize, ySize};
}

void TMarkupHintWindow::MeasureText(TMarkupHint& hint, const std::string& AHint, int maxWidth) {
  Canvas().Font().Assign(hint.HintFont());
  const TRect r = platform::Rect(0, 0, maxWidth - kExtraWidth, 0);
  const platform::TSize size = Render(hint, AHint, r, true);
  textWidth_ = size.cx + 2 * hint.XMargin;
  textHeight_ = size.cy + 2 * hint.YMargin;
}

TRect TMarkupHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) {
  TMarkupHint* hint = TMarkupHint::FindHintControl();
  if (!hint) return THintWindow::CalcHintRect(MaxWidth, AHint, AData);
  MeasureText(*hint, AHint, MaxWidth);
  return platform::Rect(0, 0, textWidth_ + kExtraWidth, textHeight_ + kExtraHeight);
}

void TMarkupHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  TMarkupHint* hint = TMarkupHint::FindHintControl();
  if (!hint) {
    THintWindow::ActivateHint(Rect, AHint);
    return;
  }
  if (Visible()) SetVisible(false);
  SetCaption(AHint);
  SetColor(hint->HintColor);
  MeasureText(*hint, AHint, hint->HintInfo().HintMaxWidth);
  const TPoint at = hint->HintInfo().HintPos;
  const TRect r = KeptOnScreen(
      platform::Rect(at.X, at.Y, at.X + textWidth_ + kExtraWidth, at.Y + textHeight_ + kExtraHeight), kScreenGap);
  SetBoundsRect(r);
  SetVisible(true);
  const std::vector<TPoint> outline =
      hint->HintStyle == hsRounded ? RoundedOutline(r.Width(), r.Height()) : std::vector<TPoint>{};
  platform::Backend().SetShape(BackendWindow(), outline);
  Invalidate();
}

void TMarkupHintWindow::PaintPlain() {
  TRect r = ClientRect();
  platform::TCanvas& c = Canvas();
  c.Brush().SetColor(Color());
  c.FillRect(r);
  c.Pen().SetColor(platform::clWindowFrame);
  c.Brush().SetStyle(platform::TBrushStyle::bsClear);
  c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  THintWindow::Paint();
}

void TMarkupHintWindow::Paint() {
  TMarkupHint* hint = TMarkupHint::FindHintControl();
  if (!hint) {
    PaintPlain();
    return;
  }
  platform::TCanvas& c = Canvas();
  const TRect client = ClientRect();
  const TColor color = hint->HintInfo().HintColor;
  c.Brush().SetStyle(platform::TBrushStyle::bsSolid);
  c.Brush().SetColor(color);
  c.FillRect(client);
  if (hint->HintStyle == hsRounded) {
    c.Pen().SetColor(platform::clGray);
    c.Brush().SetStyle(platform::TBrushStyle::bsClear);
    c.RoundRect(client.Left, client.Top, client.Right - 1, client.Bottom - 1, kCorner, kCorner);
  } else {
    c.Pen().SetColor(platform::cl3DLight);
    c.MoveTo(client.Left, client.Bottom - 2);
    c.LineTo(client.Left, client.Top);
    c.LineTo(client.Right - 1, client.Top);
    c.Pen().SetColor(platform::cl3DDkShadow);
    c.MoveTo(client.Left, client.Bottom - 1);
    c.LineTo(client.Right - 1, client.Bottom - 1);
    c.LineTo(client.Right - 1, client.Top - 1);
  }
  TRect text = client;
  text.Left += 4 + hint->XMargin;
  text.Top += (client.Height() - textHeight_) / 2 + hint->YMargin;
  text.Bottom = text.Top + textHeight_ + 8;
  text.Right -= 4;
  c.Font().Assign(hint->HintFont());
  c.Brush().SetStyle(platform::TBrushStyle::bsSolid);
  c.Brush().SetColor(color);
  Render(*hint, Caption(), text, false);
}

}  // namespace controls
