#include "controls/MarkupLabel.h"

#include "controls/html/MarkupText.h"
#include "controls/html/RenderHTML.h"
#include "platform/shell/ShellApi.h"
#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"

namespace controls {

using platform::TRect;

namespace {

// A 3D frame of `width` drawn inward: top and left in `topLeft`, bottom and right in `bottomRight`.
// Shrinks r by the width.
void Frame3D(platform::TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
  canvas.Brush().SetStyle(platform::TBrushStyle::bsSolid);
  for (int i = 0; i < width; ++i) {
    canvas.Brush().SetColor(topLeft);
    canvas.FillRect(platform::Rect(r.Left, r.Top, r.Right, r.Top + 1));
    canvas.FillRect(platform::Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    canvas.Brush().SetColor(bottomRight);
    canvas.FillRect(platform::Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    canvas.FillRect(platform::Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
    platform::InflateRect(r, -1, -1);
  }
}

void Bevel(platform::TCanvas& canvas, TRect& r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  const bool lowered = cut == bvLowered;
  if (cut == bvSpace) {
    Frame3D(canvas, r, canvas.Brush().Color(), canvas.Brush().Color(), width);
  } else {
    Frame3D(canvas, r, lowered ? platform::clBtnShadow : platform::clBtnHighlight,
            lowered ? platform::clBtnHighlight : platform::clBtnShadow, width);
  }
}

}  // namespace

TMarkupLabel::TMarkupLabel(platform::TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 100, 17);
  htmlText_.OnChange = [this](platform::TStringList&) { HTMLTextChanged(); };
  imageChangeLink_.OnChange = [this](platform::TObject*) { Invalidate(); };
}

TMarkupLabel::~TMarkupLabel() { pictureCache_->ClearPictures(); }

void TMarkupLabel::SetHTMLText(const platform::TStringList& value) {
  std::string text = value.Text();
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  htmlText_.SetText(text);
  UpdateDisplText();
}

void TMarkupLabel::HTMLTextChanged() {
  pictureCache_->ClearPictures();
  Invalidate();
}

void TMarkupLabel::SetAutoSizing(bool value) {
  autoSizing_ = value;
  if (value) {
    if (Align() == platform::TAlign::alLeft || Align() == platform::TAlign::alRight) SetWidth(6);
    if (Align() == platform::TAlign::alTop || Align() == platform::TAlign::alBottom) SetHeight(6);
  }
  Invalidate();
}

void TMarkupLabel::SetAutoSizeType(TAutoSizeType value) {
  autoSizeType_ = value;
  SetAutoSizing(autoSizing_);
}

void TMarkupLabel::SetImages(platform::TCustomImageList* value) {
  if (images_) images_->UnRegisterChanges(&imageChangeLink_);
  images_ = value;
  if (images_) {
    images_->RegisterChanges(&imageChangeLink_);
    images_->FreeNotification(this);
  }
  Invalidate();
}

void TMarkupLabel::SetPictureContainer(TPictureContainer* value) {
  pictureContainer_ = value;
  if (value) value->FreeNotification(this);
  Invalidate();
}

std::string TMarkupLabel::GetDisplText() const {
  std::string text;
  for (int i = 0; i < htmlText_.Count(); ++i) text += htmlText_.Strings(i);
  return text;
}

std::string TMarkupLabel::GetText() const { return StripHTML(GetDisplText()); }

void TMarkupLabel::Retag(const std::string& text, const std::string& tag, bool caseSensitive) {
  std::string result;
  if (text.empty()) {
    UnHilightHTML(GetDisplText(), tag, result);
  } else {
    HilightHTML(GetDisplText(), text, tag, result, caseSensitive);
  }
  htmlText_.SetText(result);
}

void TMarkupLabel::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) Invalidate();
}

bool TMarkupLabel::HTMLPaint(platform::TCanvas& Canvas, const std::string& s, const TRect& Rect, int X, int Y,
                             int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CheckHeight, bool Print,
                             bool HoverStyle, double ResizeFactor, TColor URLColor, TColor HoverColor,
                             TColor HoverFontColor, TColor ShadowColor, std::string& AnchorVal, int& XSize,
                             int& YSize, int& MouseLink, TRect& HoverRect) {
  std::string strip;
  std::string focusAnchor;
  int hyperLinks = 0;
  return RenderHTML(Canvas, s, Rect, images_, X, Y, -1, HoverLink, ShadowOffset, CheckHotSpot, CheckHeight, Print,
                    false, false, HoverStyle, !ellipsis_, ResizeFactor, URLColor, HoverColor, HoverFontColor,
                    ShadowColor, AnchorVal, strip, focusAnchor, XSize, YSize, hyperLinks, MouseLink, HoverRect,
                    pictureCache_.get(), pictureContainer_);
}

TRect TMarkupLabel::TextRect() const {
  TRect r = ClientRect();
  int inset = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  if (bevelOuter_ != bvNone || bevelInner_ != bvNone) inset += borderWidth_;
  if (borderStyle_ == platform::TFormBorderStyle::bsSingle) inset += borderWidth_;
  platform::InflateRect(r, -inset, -inset);
  return r;
}

void TMarkupLabel::Paint() {
  platform::TCanvas& canvas = Canvas();
  canvas.SetFont(Font());
  if (!transparent_) {
    canvas.Brush().SetStyle(platform::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
  }
  if (updateCount_ > 0) return;

  TRect r = ClientRect();
  Bevel(canvas, r, bevelOuter_, bevelWidth_);
  if (bevelOuter_ != bvNone || bevelInner_ != bvNone) Frame3D(canvas, r, Color(), Color(), borderWidth_);
  Bevel(canvas, r, bevelInner_, bevelWidth_);
  if (borderStyle_ == platform::TFormBorderStyle::bsSingle && borderWidth_ > 0) {
    Frame3D(canvas, r, platform::clBlack, platform::clBlack, borderWidth_);
  }
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(transparent_ ? platform::TBrushStyle::bsClear : platform::TBrushStyle::bsSolid);

  const platform::TAlign align = Align();
  const bool free = align == platform::TAlign::alNone;
  const bool growsWide = autoSizing_ && (free || align == platform::TAlign::alLeft || align == platform::TAlign::alRight) &&
                         autoSizeType_ != asVertical;
  const bool growsHigh = autoSizing_ && (free || align == platform::TAlign::alTop || align == platform::TAlign::alBottom) &&
                         autoSizeType_ != asHorizontal;
  if (growsWide) r.Right += 65535;
  if (growsHigh) r.Bottom += 65535;

  const std::string text = GetDisplText();
  std::string anchor;
  int xSize = 0;
  int ySize = 0;
  int mouseLink = -1;
  TRect hoverRect;
  if (vAlignment_ != tvaTop) {
    HTMLPaint(canvas, text, r, mouse_.X, mouse_.Y, -1, shadowOffset_, true, false, false, hover_, 1.0, urlColor_,
              hoverColor_, hoverFontColor_, shadowColor_, anchor, xSize, ySize, mouseLink, hoverRect);
    if (ySize < r.Height()) r.Top = vAlignment_ == tvaCenter ? r.Top + (r.Height() - ySize) / 2 : r.Bottom - ySize;
  }
  HTMLPaint(canvas, text, r, mouse_.X, mouse_.Y, hoverAnchor_, shadowOffset_, false, false, false, hover_, 1.0,
            urlColor_, hoverColor_, hoverFontColor_, shadowColor_, anchor, xSize, ySize, mouseLink, hoverRect);
  if (growsHigh && Height() != ySize + 6) SetHeight(ySize + 6);
  if (growsWide && Width() != xSize + 6) SetWidth(xSize + 6);
}

std::string TMarkupLabel::IsAnchor(int x, int y, TRect& rect) {
  rect = platform::Rect(-1, -1, -1, -1);
  std::string anchor;
  int xSize = 0;
  int ySize = 0;
  Canvas().SetFont(Font());
  if (HTMLPaint(Canvas(), GetDisplText(), TextRect(), x, y, -1, 0, true, false, false, hover_, 1.0, platform::clWhite,
                platform::clNone, platform::clNone, platform::clNone, anchor, xSize, ySize, hoverAnchor_, rect)) {
    return anchor;
  }
  hoverAnchor_ = -1;
  return "";
}

void TMarkupLabel::MouseMove(platform::TShiftState Shift, int X, int Y) {
  TGuard guard(*this);
  TGraphicControl::MouseMove(Shift, X, Y);
  if (guard.Gone()) return;
  mouse_ = {X, Y};
  const int previous = hoverAnchor_;
  TRect rect;
  const std::string anchor = IsAnchor(X, Y, rect);
  if (!anchor.empty()) {
    if (Cursor() != platform::crHandPoint || anchor != lastAnchor_ || hoverAnchor_ != previous) {
      if (AnchorHint) platform::ApplicationHints().CancelHint();
      SetCursor(platform::crHandPoint);
      lastAnchor_ = anchor;
      if (hover_) Invalidate();
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
    }
  } else if (Cursor() == platform::crHandPoint) {
    SetCursor(platform::crDefault);
    lastAnchor_.clear();
    if (hover_) Invalidate();
    if (OnAnchorExit) OnAnchorExit(this, "");
  }
}

void TMarkupLabel::MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) {
  TGuard guard(*this);
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (guard.Gone()) return;
  TRect rect;
  const std::string anchor = IsAnchor(X, Y, rect);
  if (anchor.find("://") != std::string::npos || anchor.find("mailto:") != std::string::npos) {
    platform::ShellExecute(nullptr, "open", anchor, "", "", platform::SW_SHOWNORMAL);
  } else if (OnAnchorClick) {
    OnAnchorClick(this, anchor);
  }
}

void TMarkupLabel::Dispatch(platform::TMessage& Message) {
  switch (Message.Msg) {
    case platform::CM_MOUSELEAVE:
      if (hover_ && hoverAnchor_ != -1) Invalidate();
      hoverAnchor_ = -1;
      mouse_ = {-1, -1};
      break;
    case platform::CM_HINTSHOW: {
      TGraphicControl::Dispatch(Message);
      auto* info = reinterpret_cast<platform::THintInfo*>(Message.LParam);
      TRect rect;
      std::string anchor = AnchorHint ? IsAnchor(info->CursorPos.X, info->CursorPos.Y, rect) : "";
      if (!anchor.empty()) {
        if (OnAnchorHint) OnAnchorHint(this, anchor);
        info->HintPos = ClientToScreen(info->CursorPos);
        info->HintPos.X += 10;
        info->HintPos.Y -= 10;
        info->HintStr = anchor;
      }
      Message.Result = 0;
      return;
    }
  }
  TGraphicControl::Dispatch(Message);
}

void TMarkupLabel::Loaded() {
  TGraphicControl::Loaded();
  SetCaption("");
}

void TMarkupLabel::Notification(platform::TComponent* AComponent, platform::TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != platform::TOperation::opRemove) return;
  if (AComponent == images_) images_ = nullptr;
  if (AComponent == pictureContainer_) pictureContainer_ = nullptr;
}

void TMarkupLabel::HTMLPrint(platform::TCanvas& canvas, const TRect& rect) {
  std::string anchor;
  int xSize = 0;
  int ySize = 0;
  int mouseLink = -1;
  TRect hoverRect;
  canvas.SetFont(Font());
  HTMLPaint(canvas, GetDisplText(), rect, -1, -1, -1, 1, false, false, true, false, 1.0, platform::clBlue,
            platform::clNone, platform::clNone, platform::clGray, anchor, xSize, ySize, mouseLink, hoverRect);
}

}  // namespace controls
