#include "platform/edits/EditClasses.h"

#include "platform/core/Utf8.h"
#include "platform/edits/ComboBox.h"
#include "platform/edits/Edit.h"
#include "platform/edits/MaskEdit.h"
#include "platform/edits/Memo.h"
#include "platform/app/PublishedClasses.h"
#include "platform/edits/RichEdit.h"

namespace platform {

void PublishEditClasses() {
  PublishEnum<TEditCharCase>({{"ecNormal", TEditCharCase::ecNormal},
                              {"ecUpperCase", TEditCharCase::ecUpperCase},
                              {"ecLowerCase", TEditCharCase::ecLowerCase}});
  PublishEnum<TScrollStyle>({{"ssNone", TScrollStyle::ssNone},
                             {"ssHorizontal", TScrollStyle::ssHorizontal},
                             {"ssVertical", TScrollStyle::ssVertical},
                             {"ssBoth", TScrollStyle::ssBoth}});
  TClassPublisher<TCustomEdit, TCustomControl>("TCustomEdit")
      .Property("AutoSelect", &TCustomEdit::AutoSelect)
      .Property("HideSelection", &TCustomEdit::HideSelection)
      .Property("BorderStyle", &TCustomEdit::SetBorderStyle)
      .Property("CharCase", &TCustomEdit::SetCharCase)
      .Property("MaxLength", &TCustomEdit::SetMaxLength)
      .Property("PasswordChar",
                [](TCustomEdit& edit, const std::string& value) {
                  edit.SetPasswordChar(value.empty() ? 0 : DecodeText(value)[0]);
                })
      .Property("ReadOnly", &TCustomEdit::SetReadOnly)
      .Property("Text", &TCustomEdit::SetText)
      .Property("OnChange", &TCustomEdit::OnChange);
  TClassPublisher<TEdit, TCustomEdit>("TEdit");
  TClassPublisher<TCustomMaskEdit, TCustomEdit>("TCustomMaskEdit")
      .Property("EditMask", &TCustomMaskEdit::SetEditMask)
      .Property("Text", [](TCustomMaskEdit& edit, const std::string& value) { edit.SetText(value); });
  TClassPublisher<TMaskEdit, TCustomMaskEdit>("TMaskEdit");
  TClassPublisher<TCustomMemo, TCustomEdit>("TCustomMemo")
      .Property("Lines", &TCustomMemo::SetLines)
      .Property("ScrollBars", &TCustomMemo::SetScrollBars)
      .Property("WordWrap", &TCustomMemo::SetWordWrap)
      .Property("WantReturns", &TCustomMemo::WantReturns)
      .Property("WantTabs", &TCustomMemo::WantTabs);
  TClassPublisher<TMemo, TCustomMemo>("TMemo");
  PublishEnum<TComboBoxStyle>({{"csDropDown", TComboBoxStyle::csDropDown},
                               {"csSimple", TComboBoxStyle::csSimple},
                               {"csDropDownList", TComboBoxStyle::csDropDownList},
                               {"csOwnerDrawFixed", TComboBoxStyle::csOwnerDrawFixed},
                               {"csOwnerDrawVariable", TComboBoxStyle::csOwnerDrawVariable}});
  TClassPublisher<TCustomComboBox, TCustomControl>("TCustomComboBox")
      .Property("Style", &TCustomComboBox::SetStyle)
      .Property("Items", &TCustomComboBox::SetItems)
      .Property("Sorted", &TCustomComboBox::SetSorted)
      .Property("ItemIndex", &TCustomComboBox::SetItemIndex)
      .Property("DropDownCount", &TCustomComboBox::SetDropDownCount)
      .Property("ItemHeight", &TCustomComboBox::SetItemHeight)
      .Property("DroppedWidth", &TCustomComboBox::SetDroppedWidth)
      .Property("MaxLength", &TCustomComboBox::SetMaxLength)
      .Property("OnChange", &TCustomComboBox::OnChange)
      .Property("OnSelect", &TCustomComboBox::OnSelect)
      .Property("OnDropDown", &TCustomComboBox::OnDropDown)
      .Property("OnCloseUp", &TCustomComboBox::OnCloseUp)
      .Property("OnDrawItem", &TCustomComboBox::OnDrawItem)
      .Property("OnMeasureItem", &TCustomComboBox::OnMeasureItem);
  TClassPublisher<TComboBox, TCustomComboBox>("TComboBox");
  TClassPublisher<TCustomRichEdit, TCustomControl>("TCustomRichEdit")
      .Property("BorderStyle", &TCustomRichEdit::SetBorderStyle)
      .Property("HideSelection", &TCustomRichEdit::HideSelection)
      .Property("MaxLength", &TCustomRichEdit::MaxLength)
      .Property("PlainText", &TCustomRichEdit::PlainText)
      .Property("ReadOnly", &TCustomRichEdit::SetReadOnly)
      .Property("WordWrap", &TCustomRichEdit::SetWordWrap)
      .Property("ScrollBars", &TCustomRichEdit::SetScrollBars)
      .Property("RichText", [](TCustomRichEdit& edit, const std::string& value) { edit.SetRichText(value); })
      .Property("OnChange", &TCustomRichEdit::OnChange);
  TClassPublisher<TRichEdit, TCustomRichEdit>("TRichEdit");
}

}  // namespace platform
