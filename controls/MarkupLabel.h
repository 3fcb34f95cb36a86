#pragma once

#include <functional>
#include <memory>
#include <string>

#include "controls/html/PictureContainer.h"
#include "platform/core/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

namespace controls {

using platform::TColor;

enum TAutoSizeType { asVertical, asHorizontal, asBoth };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TVAlignment { tvaTop, tvaCenter, tvaBottom };

using TAnchorClick = std::function<void(platform::TObject* Sender, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(platform::TObject* Sender, std::string& Anchor)>;

// A label whose content is the mini-markup of HTMLText (its lines joined without separator), drawn by
// RenderHTML inside optional bevels and a border, placed at the top, middle or bottom. Anchors whose
// target holds "://" or "mailto:" open through the shell when clicked, others raise OnAnchorClick; the
// anchor under the mouse makes the cursor a hand and, with Hover, alone is underlined and takes the
// hover colours. The label owns its picture cache, which every change of HTMLText empties.
//
// Text and hit-testing agree: both lay the markup out in the client area less the drawn frames (each
// bevel's width, the border's width, and the border's again with bsSingle).
class TMarkupLabel : public platform::TGraphicControl {
public:
  explicit TMarkupLabel(platform::TComponent* AOwner);
  ~TMarkupLabel() override;

  platform::TStringList& HTMLText() { return htmlText_; }
  // Takes the list's text with every CR and LF removed: the lines become one.
  void SetHTMLText(const platform::TStringList& value);

  bool AnchorHint = false;
  bool AutoSizing() const { return autoSizing_; }
  void SetAutoSizing(bool value);
  TAutoSizeType AutoSizeType() const { return autoSizeType_; }
  void SetAutoSizeType(TAutoSizeType value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value) { Change(bevelInner_, value); }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value) { Change(bevelOuter_, value); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value) { Change(bevelWidth_, value); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value) { Change(borderWidth_, value); }
  platform::TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(platform::TFormBorderStyle value) { Change(borderStyle_, value); }
  bool Ellipsis() const { return ellipsis_; }
  void SetEllipsis(bool value) { Change(ellipsis_, value); }
  bool Hover() const { return hover_; }
  void SetHover(bool value) { Change(hover_, value); }
  TColor HoverColor() const { return hoverColor_; }
  void SetHoverColor(TColor value) { Change(hoverColor_, value); }
  TColor HoverFontColor() const { return hoverFontColor_; }
  void SetHoverFontColor(TColor value) { Change(hoverFontColor_, value); }
  platform::TCustomImageList* Images() const { return images_; }
  void SetImages(platform::TCustomImageList* value);
  TPictureContainer* PictureContainer() const { return pictureContainer_; }
  void SetPictureContainer(TPictureContainer* value);
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor value) { Change(shadowColor_, value); }
  int ShadowOffset() const { return shadowOffset_; }
  void SetShadowOffset(int value) { Change(shadowOffset_, value); }
  TColor URLColor() const { return urlColor_; }
  void SetURLColor(TColor value) { Change(urlColor_, value); }
  TVAlignment VAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment value) { Change(vAlignment_, value); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { Change(transparent_, value); }

  TAnchorClick OnAnchorClick;
  TAnchorClick OnAnchorEnter;
  TAnchorClick OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;

  // The plain text of the markup.
  std::string GetText() const;
  // The anchor target at the client point (empty: none) and the anchor's rectangle (all -1: none).
  std::string IsAnchor(int x, int y, platform::TRect& rect);
  void HilightText(const std::string& text, bool caseSensitive) { Retag(text, "hi", caseSensitive); }
  void MarkText(const std::string& text, bool caseSensitive) { Retag(text, "e", caseSensitive); }
  void UnHilightText() { Retag("", "hi", false); }
  void UnMarkText() { Retag("", "e", false); }
  // Draws the content into another canvas (a printer's), with print colours and no hover.
  void HTMLPrint(platform::TCanvas& canvas, const platform::TRect& rect);
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

  void Dispatch(platform::TMessage& Message) override;

protected:
  virtual std::string GetDisplText() const;
  virtual void UpdateDisplText() { Invalidate(); }
  // RenderHTML with the label's picture cache and container, WordWrap unless Ellipsis, no focus anchor.
  virtual bool HTMLPaint(platform::TCanvas& Canvas, const std::string& s, const platform::TRect& Rect, int X, int Y,
                         int HoverLink, int ShadowOffset, bool CheckHotSpot, bool CheckHeight, bool Print,
                         bool HoverStyle, double ResizeFactor, TColor URLColor, TColor HoverColor,
                         TColor HoverFontColor, TColor ShadowColor, std::string& AnchorVal, int& XSize, int& YSize,
                         int& MouseLink, platform::TRect& HoverRect);

  void Paint() override;
  void MouseMove(platform::TShiftState Shift, int X, int Y) override;
  void MouseDown(platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y) override;
  void Loaded() override;
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

private:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  void Retag(const std::string& text, const std::string& tag, bool caseSensitive);
  // The client area less the frames that Paint draws.
  platform::TRect TextRect() const;
  void HTMLTextChanged();

  platform::TStringList htmlText_;
  std::unique_ptr<TMarkupPictureCache> pictureCache_ = std::make_unique<TMarkupPictureCache>();
  platform::TChangeLink imageChangeLink_;
  bool autoSizing_ = false;
  TAutoSizeType autoSizeType_ = asVertical;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  platform::TFormBorderStyle borderStyle_ = platform::TFormBorderStyle::bsNone;
  bool ellipsis_ = false;
  bool hover_ = false;
  TColor hoverColor_ = platform::clNone;
  TColor hoverFontColor_ = platform::clNone;
  platform::TCustomImageList* images_ = nullptr;
  TPictureContainer* pictureContainer_ = nullptr;
  TColor shadowColor_ = platform::clGray;
  int shadowOffset_ = 2;
  TColor urlColor_ = platform::clBlue;
  TVAlignment vAlignment_ = tvaTop;
  bool transparent_ = false;
  int updateCount_ = 0;
  std::string lastAnchor_;
  int hoverAnchor_ = -1;  // 1-based number of the anchor under the mouse
  platform::TPoint mouse_{-1, -1};
};

}  // namespace controls
