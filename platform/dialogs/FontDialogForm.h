#pragma once

#include <optional>

#include "platform/app/DialogService.h"
#include "platform/edits/ComboBox.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace platform {

// The font dialog as a modal form of our own: the family (the request's families), the size in points
// (a list of the usual sizes in which any number may be typed), the style as four check boxes, the
// colour from the sixteen named colours (the request's own colour added when it is none of them), a
// sample drawn in the font as chosen, OK and Cancel. OK with a size that is no number above 0 keeps
// the dialog open.
class TFontDialogForm : public TForm {
public:
  explicit TFontDialogForm(const TFontRequest& request);

  // Shows the form modally; the chosen font, or none when cancelled.
  std::optional<TFontAnswer> Execute();

  TComboBox& Family() { return *family_; }
  TComboBox& Size() { return *size_; }
  TCheckBox& Bold() { return *styles_[0]; }
  TCheckBox& Italic() { return *styles_[1]; }
  TCheckBox& Underline() { return *styles_[2]; }
  TCheckBox& StrikeOut() { return *styles_[3]; }
  TComboBox& ColorBox() { return *color_; }
  TPaintBox& Sample() { return *sample_; }
  TButton& OkButton() { return *ok_; }
  // The font as the controls now say (the size 0 when it is no number).
  TFontAnswer Chosen() const;

private:
  void Accept();
  void PaintSample();

  std::vector<uint32_t> colors_;  // per item of the colour box
  std::optional<TFontAnswer> answer_;
  TComboBox* family_;
  TComboBox* size_;
  TCheckBox* styles_[4];
  TComboBox* color_;
  TPaintBox* sample_;
  TButton* ok_;
};

}  // namespace platform
