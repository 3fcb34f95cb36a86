#include "platform/dialogs/MessageForm.h"

#include <algorithm>

#include "platform/gfx/Gdi.h"
#include "platform/ui/ClassicLook.h"
#include "platform/app/FormLanguage.h"

namespace platform {

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMaxTextWidth = 420;
constexpr TModalResult kFirstButtonResult = 100;  // the result of button b is 100 + b

std::string ButtonCaption(TMsgDlgBtn button) {
  static const char* const german[] = {"&Ja",    "&Nein", "OK",            "Abbrechen",     "&Abbrechen", "&Wiederholen",
                                       "&Ignorieren", "&Alle", "N&ein für alle", "J&a für alle", "&Hilfe"};
  static const char* const english[] = {"&Yes",   "&No",  "OK",         "Cancel",      "&Abort", "&Retry",
                                        "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"};
  return (ResourceLanguage() == kLanguageGerman ? german : english)[button];
}

}  // namespace

TMessageForm::TMessageForm(const TMessageRequest& request) : TForm(nullptr), request_(request) {
  SetCaption(request.Caption);
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poScreenCenter);
  Font().SetName("Tahoma");
  Font().SetSize(8);

  const bool icon = request.Type != mtCustom;
  const int textLeft = kMargin + (icon ? kIconSize + kMargin : 0);
  auto* text = new TLabel(this);
  text->SetParent(this);
  text->SetShowAccelChar(false);
  // As wide as its longest line, within the limit; lines break at the text's breaks and, past the
  // limit, at blanks.
  TCanvas& measure = Canvas();
  measure.SetFont(Font());
  int widest = 0;
  for (size_t start = 0; start <= request.Text.size();) {
    const size_t end = std::min(request.Text.find('\n', start), request.Text.size());
    widest = std::max(widest, measure.TextWidth(request.Text.substr(start, end - start)));
    start = end + 1;
  }
  text->SetWordWrap(true);
  text->SetWidth(std::min(widest + 2, kMaxTextWidth));
  text->SetCaption(request.Text);
  text->SetLeft(textLeft);
  text->SetTop(kMargin + (icon && text->Height() < kIconSize ? (kIconSize - text->Height()) / 2 : 0));

  std::vector<TMsgDlgBtn> shown;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (request.Buttons.Contains(static_cast<TMsgDlgBtn>(b))) shown.push_back(static_cast<TMsgDlgBtn>(b));
  for (TMsgDlgBtn preferred : {mbCancel, mbNo, mbOK})
    if (request.Buttons.Contains(preferred)) {
      escape_ = preferred;
      break;
    }
  const int rowWidth = static_cast<int>(shown.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  const int contentBottom = std::max(text->Top() + text->Height(), icon ? kMargin + kIconSize : 0);
  SetClientWidth(std::max(textLeft + text->Width(), rowWidth) + 2 * kMargin);
  SetClientHeight(contentBottom + kMargin + kButtonHeight + kMargin);
  int left = (ClientWidth() - rowWidth) / 2;
  for (TMsgDlgBtn b : shown) {
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetCaption(ButtonCaption(b));
    button->SetBounds(left, contentBottom + kMargin, kButtonWidth, kButtonHeight);
    button->SetModalResult(kFirstButtonResult + b);
    button->SetDefault(b == request.DefaultButton);
    button->SetCancel(b == escape_);
    buttons_[b] = button;
    left += kButtonWidth + kButtonGap;
  }
}

void TMessageForm::DoShow() {
  TForm::DoShow();
  if (TButton* defaultButton = buttons_[request_.DefaultButton]; defaultButton && defaultButton->CanFocus())
    SetActiveControl(defaultButton);
}

TMsgDlgBtn TMessageForm::Execute() {
  const TModalResult result = ShowModal();
  if (result >= kFirstButtonResult && result <= kFirstButtonResult + mbHelp)
    return static_cast<TMsgDlgBtn>(result - kFirstButtonResult);
  return escape_;
}

void TMessageForm::Paint() {
  TForm::Paint();
  if (request_.Type == mtCustom) return;
  // The classic icons: a red disc with a cross, a yellow disc with "!", a blue disc with "i" or "?".
  TCanvas& canvas = Canvas();
  const TRect box = Bounds(kMargin, kMargin, kIconSize, kIconSize);
  TColor fill = TColor(0xC06000);
  const char* mark = "i";
  switch (request_.Type) {
    case mtError: fill = TColor(0x0000E0); mark = "X"; break;
    case mtWarning: fill = TColor(0x00C8FF); mark = "!"; break;
    case mtConfirmation: mark = "?"; break;
    default: break;
  }
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(fill);
  canvas.Pen().SetColor(clBtnShadow);
  canvas.Ellipse(box);
  canvas.Font().Assign(Font());
  canvas.Font().SetStyle({TFontStyle::fsBold});
  canvas.Font().SetSize(16);
  canvas.Font().SetColor(request_.Type == mtWarning ? clBlack : clWhite);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  TRect text = box;
  DrawText(canvas.Handle(), mark, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace platform
