#include "controls/html/MarkupRenderer.h"
#include "controls/html/MarkupText.h"

namespace controls::markup {

using namespace platform;

// With HoverStyle only the hovered anchor is underlined and takes the hover colours.
bool MarkupRenderer::HoverApplies() const { return !(a_.HoverStyle && a_.HyperLinks != a_.HoverLink); }

void MarkupRenderer::OpenAnchor(std::string_view tag) {
  if (Drawing() && a_.HyperLinks == a_.FocusLink) {
    focusOpen_ = true;
    focusRect_ = platform::Rect(pen_, line_.rect.Top, pen_, line_.rect.Top);
  }
  ++a_.HyperLinks;
  TFont& font = canvas_.Font();
  bool hoverFont = false;
  if (HoverApplies() && Drawing()) {
    font.SetStyle(font.Style() + TFontStyle::fsUnderline);
    if (a_.HoverColor != clNone) {
      anchorBrush_ = BrushColorOrNone();
      canvas_.Brush().SetColor(a_.HoverColor);
    }
    if (a_.HoverFontColor != clNone) {
      anchorText_ = font.Color();
      SetTextColor(a_.HoverFontColor);
      hoverFont = a_.HoverStyle;
    }
  }
  if (!a_.Selected && !hoverFont) SetTextColor(a_.URLColor);
  if (a_.PanelDialect) {
    const size_t href = FindText(tag, "href");
    anchorTarget_ = href == std::string_view::npos ? std::string{} : FirstQuoted(tag.substr(href));
  } else {
    anchorTarget_ = FirstQuoted(tag);
  }
  inAnchor_ = true;
  hoverStart_ = {AddClamped(line_.rect.Left, line_.width), line_.rect.Top};
}

void MarkupRenderer::CloseAnchor() {
  if (HoverApplies() && Drawing()) {
    TFont& font = canvas_.Font();
    font.SetStyle(font.Style() - TFontStyle::fsUnderline);
    if (a_.HoverColor != clNone) SetBrushColorOrClear(anchorBrush_);
    if (a_.HoverFontColor != clNone && anchorText_ != clNone) SetTextColor(anchorText_);
  }
  if (!a_.Selected) SetTextColor(base_.Color());
  if (hover_) {
    a_.HoverRect = platform::Rect(hoverStart_.X, hoverStart_.Y, AddClamped(line_.rect.Left, line_.width), line_.Bottom());
    a_.MouseLink = a_.HyperLinks;
    hover_ = false;
  }
  if (focusOpen_ && a_.HyperLinks == a_.FocusLink + 1) {
    focusRect_.Right = pen_;
    DrawFocusRect();
    focusOpen_ = false;
  }
  inAnchor_ = false;
}

void MarkupRenderer::DrawFocusRect() {
  TRect r = focusRect_;
  r.Bottom = RunBottom();
  r.Top = r.Bottom - TextHeightGh();
  InflateRect(r, 1, 0);
  if (Drawing()) canvas_.DrawFocusRect(r);
}

}  // namespace controls::markup
