#pragma once

#include <memory>
#include <string>

#include "controls/html/PictureContainer.h"
#include "platform/core/Exception.h"
#include "platform/gfx/Font.h"
#include "platform/app/Application.h"
#include "platform/ui/ApplicationHints.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

namespace controls {

using platform::TColor;

enum THintStyle { hsRectangle, hsRounded };

class EMarkupHintError : public platform::Exception {
public:
  using Exception::Exception;
};

// Makes every hint of the application a text of the mini-markup: while it lives, the application's hint
// window class is TMarkupHintWindow and its OnShowHint is GetHintInfo; its destructor puts back the
// class and the handler that were there before. One per form; the hint windows are served by the one on
// the application's main form.
class TMarkupHint : public platform::TComponent {
public:
  // Throws EMarkupHintError when the owner is not a form or already holds a TMarkupHint.
  explicit TMarkupHint(platform::TComponent* AOwner);
  ~TMarkupHint() override;

  TColor HintColor = platform::clInfoBk;
  platform::TFont& HintFont() { return hintFont_; }
  void SetHintFont(const platform::TFont& value) { hintFont_.Assign(value); }
  THintStyle HintStyle = hsRectangle;
  platform::TCustomImageList* Images() const { return images_; }
  void SetImages(platform::TCustomImageList* value);
  TPictureContainer* PictureContainer() const { return pictureContainer_; }
  void SetPictureContainer(TPictureContainer* value);
  TColor URLColor = platform::clBlack;
  TColor ShadowColor = platform::clBlack;
  int ShadowOffset = 0;
  int XMargin = 0;  // added left of the text and to its width on both sides
  int YMargin = 0;  // added above and below the text
  bool Ellipsis = false;  // kept for the form; hints are laid out without word wrap in any case
  platform::TShowHintEvent OnShowHint;  // called before every hint

  // The application's show-hint handler: gives the hint HintColor, calls OnShowHint and remembers the
  // hint info for the window.
  void GetHintInfo(std::string& HintStr, bool& CanShow, platform::THintInfo& HintInfo);
  // The hint info of the last hint.
  const platform::THintInfo& HintInfo() const { return hintInfo_; }
  TMarkupPictureCache& PictureCache() { return *pictureCache_; }
  // The TMarkupHint among the components of the application's main form, or null.
  static TMarkupHint* FindHintControl();

protected:
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

private:
  bool Running() const { return !ComponentState().Contains(platform::csDesigning); }
  // Makes the application make a hint window of its current class for the next hint.
  static void RenewHintWindow();

  platform::TFont hintFont_;
  std::unique_ptr<TMarkupPictureCache> pictureCache_ = std::make_unique<TMarkupPictureCache>();
  platform::TCustomImageList* images_ = nullptr;
  TPictureContainer* pictureContainer_ = nullptr;
  platform::THintInfo hintInfo_;
  platform::THintWindowClass previousWindowClass_;
  platform::TShowHintEvent previousOnShowHint_;
};

// A hint window that lays its text out with RenderHTML in the font, colours and margins of the
// TMarkupHint that serves it, sized to the text and kept 2 pixels inside the screen; with hsRounded its
// outline has 16-pixel corners. Without a serving TMarkupHint it shows the hint as plain text.
class TMarkupHintWindow : public platform::THintWindow {
public:
  explicit TMarkupHintWindow(platform::TComponent* AOwner) : THintWindow(AOwner) {}

  platform::TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
  void ActivateHint(platform::TRect Rect, const std::string& AHint) override;

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void Paint() override;

private:
  // Lays AHint out for `hint`, at most maxWidth less the window's extra width wide, and stores the
  // text's size with the margins.
  void MeasureText(TMarkupHint& hint, const std::string& AHint, int maxWidth);
  // The plain hint window's look: a 1-pixel raised frame around the base class's text.
  void PaintPlain();
  // Draws (or with measureOnly measures) the markup in r; returns the laid-out size.
  platform::TSize Render(TMarkupHint& hint, const std::string& text, const platform::TRect& r, bool measureOnly);

  int textWidth_ = 0;   // the measured text plus 2 * XMargin
  int textHeight_ = 0;  // the measured text plus 2 * YMargin
};

}  // namespace controls
