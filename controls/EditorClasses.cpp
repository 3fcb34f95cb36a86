#include "controls/EditorClasses.h"

#include "controls/SpinClasses.h"
#include "controls/ZGEdit.h"
#include "controls/zgcombo.h"
#include "controls/zgspin.h"
#include "platform/edits/EditClasses.h"
#include "platform/app/PublishedClasses.h"

namespace controls {

using platform::TBitmap;
using platform::TClassPublisher;

namespace {

void PublishCombo() {
  TClassPublisher<TZGCustomCombo, platform::TCustomComboBox>("TZGCustomCombo")
      .Property("AutoFocus", &TZGCustomCombo::SetAutoFocus)
      .Property("ButtonWidth", &TZGCustomCombo::SetButtonWidth)
      .Property("Flat", &TZGCustomCombo::SetFlat)
      .Property("Etched", &TZGCustomCombo::SetEtched)
      .Property("FocusBorder", &TZGCustomCombo::SetFocusBorder)
      .Property("DropWidth", &TZGCustomCombo::SetDropWidth);
  TClassPublisher<TZGComboBox, TZGCustomCombo>("TZGComboBox");
}

// A glyph given as the bytes of a bitmap file.
void LoadGlyph(TBitmap& glyph, const std::vector<uint8_t>& data) {
  glyph.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

void PublishEditButtons() {
  TClassPublisher<TZgEditButton, platform::TWinControl>("TZgEditButton")
      .Property("FocusControl", &TZgEditButton::SetFocusControl)
      .Property("OnClick", &TZgEditButton::OnClick)
      .Property("Flat", &TZgEditButton::SetFlat)
      .Property("Glyph", [](TZgEditButton& c, const std::vector<uint8_t>& data) { LoadGlyph(c.Glyph(), data); })
      .Property("ButtonCaption", &TZgEditButton::SetButtonCaption)
      .Property("NumGlyphs", &TZgEditButton::SetNumGlyphs);
  TClassPublisher<TZgEditBtn, platform::TCustomEdit>("TZgEditBtn")
      .Property("RightAlign", &TZgEditBtn::SetRightAlign)
      .Property("EditorEnabled", &TZgEditBtn::SetEditorEnabled)
      .Property("OnClickBtn", &TZgEditBtn::OnClickBtn)
      .Property("ButtonWidth", &TZgEditBtn::SetButtonWidth)
      .Property("Glyph", [](TZgEditBtn& c, const std::vector<uint8_t>& data) { LoadGlyph(c.Glyph(), data); })
      .Property("ButtonCaption", &TZgEditBtn::SetButtonCaption);
  TClassPublisher<TZgUnitEditBtn, TZgEditBtn>("TZgUnitEditBtn")
      .Property("UnitID", &TZgUnitEditBtn::SetUnitID)
      .Property("Units", [](TZgUnitEditBtn& c, const std::vector<std::string>& lines) {
        c.Units().Clear();
        for (const std::string& line : lines) c.Units().Add(line);
      })
      .Property("UnitSpace", &TZgUnitEditBtn::SetUnitSpace);
}

// The unit's classes go under "zgspin.", as the spin edit unit ExSpin has a TExMaskSpinEdit too. The
// mask spin edit's EditMask is the masked edit's, published with TCustomMaskEdit.
void PublishSpinEditors() {
  using namespace zgspin;
  PublishSpinEditBase();
  platform::PublishEnum<TZgSpinType>(
      {{"sptNormal", sptNormal}, {"sptFloat", sptFloat}, {"sptDate", sptDate}, {"sptTime", sptTime}});
  TClassPublisher<TZgSpinEdit, TSpinEditBase>("zgspin.TZgSpinEdit").Property("SpinType", &TZgSpinEdit::SetSpinType);
  TClassPublisher<TExMaskSpinEdit, TZgSpinEdit>("zgspin.TExMaskSpinEdit");
}

}  // namespace

void PublishEditorClasses() {
  platform::PublishEditClasses();
  PublishCombo();
  PublishEditButtons();
  PublishSpinEditors();
}

}  // namespace controls
