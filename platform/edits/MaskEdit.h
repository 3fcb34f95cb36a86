#pragma once

#include <string>

#include "platform/edits/Edit.h"
#include "platform/edits/EditMask.h"

namespace platform {

// The masked edit: an edit whose text follows an edit mask (EditMask.h). Without a mask it is the
// plain edit. With one, the control shows the edit text: literals in place and the blank character in
// positions not yet filled; typing overwrites the position at the caret (the caret skips literals),
// and a character the position does not take is refused with a beep; Backspace, Delete, cutting and
// clearing put blanks back; pasting types the clipboard's characters in turn. Text set from outside
// (the control's text, as TControl::SetText sets it) is taken position by position as edit text.
//
// Text here is the masked text (blanks as spaces, literals left out unless the mask keeps them); the
// control's own text, as TControl reads it, is EditText.
class TCustomMaskEdit : public TCustomEdit {
public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  const std::string& EditMask() const { return editMask_; }
  // Reformats the present text for the new mask.
  void SetEditMask(const std::string& value);
  bool IsMasked() const { return !mask_.Empty(); }
  // Whether the mask's Text keeps its literal characters.
  bool SavesLiterals() const { return mask_.SavesLiterals(); }
  // The character shown in a position not yet filled.
  char32_t MaskBlank() const { return mask_.Blank(); }
  // True while a position of the mask still shows the blank.
  bool HasBlanks() const;

  const std::string& EditText() const { return TCustomEdit::Text(); }
  void SetEditText(const std::string& value) { TCustomEdit::SetText(value); }
  std::string Text() const;
  void SetText(const std::string& value);

private:
  // Typing and deleting with a mask; false for what the plain edit handles.
  bool MaskedChar(char32_t c);
  bool MaskedKey(WORD key, TShiftState shift);
  void Paste();
  // Puts blanks into the selected positions and leaves the caret at the selection's start.
  void ClearSelectedPositions();
  // Types the characters over the selection (its positions blank first), stopping at the first one
  // refused; false (and nothing changed) when the first is refused.
  bool TypeOverSelection(std::u32string_view typed);
  // Replaces the characters [from, to) of the edit text, as one undo step, and puts the caret at `caret`.
  void ReplacePositions(size_t from, size_t to, std::u32string_view with, size_t caret);
  size_t NextInput(size_t position) const;

  std::string editMask_;
  TEditMask mask_;
};

// The masked edit as forms use it.
class TMaskEdit : public TCustomMaskEdit {
public:
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace platform
