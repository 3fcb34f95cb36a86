#include "platform/dialogs/FontDialogForm.h"

#include <cstdlib>
#include <string>

#include "platform/app/FormLanguage.h"
#include "platform/core/Ascii.h"
#include "platform/gfx/Gdi.h"

namespace platform {

namespace {

constexpr int kWidth = 420;
constexpr const char* kSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"};

struct NamedColor {
  const char* english;
  const char* german;
  TColor color;
};
constexpr NamedColor kColors[] = {
    {"Black", "Schwarz", clBlack},  {"Maroon", "Kastanienbraun", clMaroon}, {"Green", "Grün", clGreen},
    {"Olive", "Olivgrün", clOlive}, {"Navy", "Marineblau", clNavy},        {"Purple", "Violett", clPurple},
    {"Teal", "Blaugrün", clTeal},   {"Gray", "Grau", clGray},              {"Silver", "Silber", clSilver},
    {"Red", "Rot", clRed},          {"Lime", "Hellgrün", clLime},          {"Yellow", "Gelb", clYellow},
    {"Blue", "Blau", clBlue},       {"Fuchsia", "Pink", clFuchsia},        {"Aqua", "Aquamarin", clAqua},
    {"White", "Weiß", clWhite},
};

template <class T>
T* Make(TWinControl* parent, TComponent* owner, int left, int top, int width, int height) {
  auto* control = new T(owner);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace

TFontDialogForm::TFontDialogForm(const TFontRequest& request) : TForm(nullptr) {
  const bool german = ResourceLanguage() == kLanguageGerman;
  SetCaption(!request.Title.empty() ? request.Title : german ? "Schriftart" : "Font");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetPosition(TPosition::poScreenCenter);
  SetClientWidth(kWidth);
  SetClientHeight(252);

  auto label = [&](const char* caption, int left, int top, TWinControl* focus) {
    auto* l = Make<TLabel>(this, this, left, top, 150, 15);
    l->SetCaption(caption);
    l->SetFocusControl(focus);
  };
  family_ = Make<TComboBox>(this, this, 8, 24, 200, 21);
  family_->SetStyle(TComboBoxStyle::csDropDownList);
  family_->SetItems(request.Families);
  family_->SetDropDownCount(12);
  family_->SetTabStop(true);
  for (size_t i = 0; i < request.Families.size(); ++i)
    if (SameText(request.Families[i], request.Name)) family_->SetItemIndex(static_cast<int>(i));
  label(german ? "&Schriftart:" : "&Font:", 8, 8, family_);

  size_ = Make<TComboBox>(this, this, 216, 24, 64, 21);
  size_->SetItems(std::vector<std::string>(std::begin(kSizes), std::end(kSizes)));
  size_->SetText(std::to_string(request.Size));
  size_->SetTabStop(true);
  label(german ? "S&chriftgrad:" : "Si&ze:", 216, 8, size_);

  auto* style = Make<TGroupBox>(this, this, 288, 8, 124, 100);
  style->SetCaption(german ? "Schriftschnitt" : "Style");
  const char* styleNames[4][2] = {{"&Bold", "&Fett"}, {"&Italic", "&Kursiv"}, {"&Underline", "&Unterstrichen"},
                                  {"S&trikeout", "&Durchgestrichen"}};
  for (int i = 0; i < 4; ++i) {
    styles_[i] = Make<TCheckBox>(style, this, 10, 18 + i * 19, 108, 17);
    styles_[i]->SetCaption(styleNames[i][german ? 1 : 0]);
    styles_[i]->SetChecked((request.Style & (1u << i)) != 0);
    styles_[i]->SetTabStop(true);
    styles_[i]->OnClick = [this](TObject*) { sample_->Invalidate(); };
  }

  color_ = Make<TComboBox>(this, this, 8, 72, 200, 21);
  color_->SetStyle(TComboBoxStyle::csDropDownList);
  color_->SetTabStop(true);
  std::vector<std::string> names;
  for (const NamedColor& c : kColors) {
    names.emplace_back(german ? c.german : c.english);
    colors_.push_back(c.color);
  }
  int chosenColor = -1;
  for (size_t i = 0; i < colors_.size(); ++i)
    if (ColorToRGB(colors_[i]) == ColorToRGB(request.Color)) chosenColor = static_cast<int>(i);
  if (chosenColor < 0) {
    names.emplace_back(german ? "Benutzerdefiniert" : "Custom");
    colors_.push_back(request.Color);
    chosenColor = static_cast<int>(colors_.size()) - 1;
  }
  color_->SetItems(names);
  color_->SetItemIndex(chosenColor);
  label(german ? "F&arbe:" : "&Color:", 8, 56, color_);

  auto* sampleBox = Make<TGroupBox>(this, this, 8, 116, kWidth - 16, 92);
  sampleBox->SetCaption(german ? "Beispiel" : "Sample");
  sample_ = Make<TPaintBox>(sampleBox, this, 8, 18, kWidth - 32, 66);
  sample_->OnPaint = [this](TObject*) { PaintSample(); };
  for (TComboBox* box : {family_, size_, color_}) box->OnChange = [this](TObject*) { sample_->Invalidate(); };

  ok_ = Make<TButton>(this, this, kWidth - 176, 218, 80, 25);
  ok_->SetCaption("OK");
  ok_->SetDefault(true);
  ok_->SetTabStop(true);
  ok_->OnClick = [this](TObject*) { Accept(); };
  auto* cancel = Make<TButton>(this, this, kWidth - 88, 218, 80, 25);
  cancel->SetCaption(german ? "Abbrechen" : "Cancel");
  cancel->SetCancel(true);
  cancel->SetTabStop(true);
  cancel->SetModalResult(mrCancel);
}

TFontAnswer TFontDialogForm::Chosen() const {
  TFontAnswer font;
  font.Name = family_->Text();
  const std::string& size = size_->Text();
  char* end = nullptr;
  const long points = std::strtol(size.c_str(), &end, 10);
  font.Size = !size.empty() && end && *end == '\0' && points > 0 && points <= 1638 ? static_cast<int>(points) : 0;
  for (int i = 0; i < 4; ++i)
    if (styles_[i]->Checked()) font.Style |= 1u << i;
  const int color = color_->ItemIndex();
  font.Color = color >= 0 ? colors_[static_cast<size_t>(color)] : clBlack;
  return font;
}

void TFontDialogForm::PaintSample() {
  TCanvas& c = sample_->Canvas();
  const TFontAnswer font = Chosen();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clWindow);
  TRect r = sample_->ClientRect();
  c.FillRect(r);
  DrawEdge(c.Handle(), r, EDGE_SUNKEN, BF_RECT);
  if (font.Size == 0) return;
  c.Font().SetName(font.Name);
  c.Font().SetSize(font.Size);
  TFontStyles styles;
  constexpr TFontStyle kOrder[] = {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
                                   TFontStyle::fsStrikeOut};
  for (int i = 0; i < 4; ++i)
    if (font.Style & (1u << i)) styles = styles + kOrder[i];
  c.Font().SetStyle(styles);
  c.Font().SetColor(font.Color);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  DrawText(c.Handle(), "AaBbYyZz", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void TFontDialogForm::Accept() {
  const TFontAnswer font = Chosen();
  if (font.Size == 0) {
    size_->SetFocus();
    return;
  }
  answer_ = font;
  SetModalResult(mrOk);
}

std::optional<TFontAnswer> TFontDialogForm::Execute() {
  answer_.reset();
  ShowModal();
  return answer_;
}

}  // namespace platform
