#include "platform/edits/MaskEdit.h"

#include <algorithm>

#include "platform/core/Utf8.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/VirtualKeys.h"

namespace platform {

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SETTEXT && IsMasked()) {
    const auto* text = reinterpret_cast<const char*>(Message.LParam);
    const std::string formatted = EncodeText(mask_.EditTextOf(DecodeText(text ? text : "")));
    Message.LParam = reinterpret_cast<LPARAM>(formatted.c_str());
    TCustomEdit::Dispatch(Message);
    return;
  }
  TCustomEdit::Dispatch(Message);
}

void TCustomMaskEdit::DefaultHandler(TMessage& Message) {
  if (IsMasked()) {
    switch (Message.Msg) {
      case WM_CHAR:
        if (MaskedChar(static_cast<char32_t>(Message.WParam))) return;
        break;
      case WM_KEYDOWN:
        if (MaskedKey(static_cast<WORD>(Message.WParam), KeyboardStateToShiftState())) return;
        break;
      case WM_CUT:
        if (ReadOnly() || SelLength() == 0) return;
        CopyToClipboard();
        ClearSelectedPositions();
        return;
      case WM_CLEAR:
        if (!ReadOnly()) ClearSelectedPositions();
        return;
      case WM_PASTE:
        if (!ReadOnly()) Paste();
        return;
      default:
        break;
    }
  }
  TCustomEdit::DefaultHandler(Message);
}

void TCustomMaskEdit::SetEditMask(const std::string& value) {
  if (editMask_ == value) return;
  const std::u32string text = DecodeText(Text());
  editMask_ = value;
  mask_ = TEditMask(value);
  TCustomEdit::SetText(IsMasked() ? EncodeText(mask_.EditTextOfText(text)) : EncodeText(text));
}

bool TCustomMaskEdit::HasBlanks() const { return IsMasked() && mask_.HasBlanks(DecodeText(EditText())); }

std::string TCustomMaskEdit::Text() const {
  return IsMasked() ? EncodeText(mask_.TextOf(DecodeText(EditText()))) : EditText();
}

void TCustomMaskEdit::SetText(const std::string& value) {
  TCustomEdit::SetText(IsMasked() ? EncodeText(mask_.EditTextOfText(DecodeText(value))) : value);
}

size_t TCustomMaskEdit::NextInput(size_t position) const {
  while (position < mask_.Length() && mask_.IsLiteral(position)) ++position;
  return position;
}

bool TCustomMaskEdit::MaskedChar(char32_t c) {
  if (c == 0x08) {  // Backspace
    if (ReadOnly()) return true;
    if (SelLength() > 0) {
      ClearSelectedPositions();
      return true;
    }
    size_t position = static_cast<size_t>(SelStart());
    while (position > 0 && mask_.IsLiteral(position - 1)) --position;
    if (position == 0) {
      SetSelStart(0);
      return true;
    }
    ReplacePositions(position - 1, position, std::u32string(1, mask_.Blank()), position - 1);
    return true;
  }
  // Line breaks and tabs never enter a masked text, also where a descendant makes the edit multi-line.
  if (c == '\r' || c == '\n' || c == '\t') return true;
  if (c < 0x20 || c == 0x7F) return false;  // the edit's own keys: Ctrl+A, Ctrl+C, ...
  if (ReadOnly() || !TypeOverSelection(std::u32string(1, c))) Backend().Beep();
  return true;
}

bool TCustomMaskEdit::MaskedKey(WORD key, TShiftState shift) {
  if (key != VK_DELETE || shift.Contains(TShiftStateFlag::ssShift)) return false;
  if (ReadOnly()) return true;
  if (SelLength() > 0) {
    ClearSelectedPositions();
    return true;
  }
  const size_t position = NextInput(static_cast<size_t>(SelStart()));
  if (position < mask_.Length())
    ReplacePositions(position, position + 1, std::u32string(1, mask_.Blank()), static_cast<size_t>(SelStart()));
  return true;
}

void TCustomMaskEdit::ClearSelectedPositions() {
  const auto first = static_cast<size_t>(SelStart());
  const size_t last = first + static_cast<size_t>(SelLength());
  const std::u32string empty = mask_.EmptyEditText();
  ReplacePositions(first, last, std::u32string_view(empty).substr(first, last - first), first);
}

void TCustomMaskEdit::Paste() {
  const std::string clipboard = Clipboard().AsText();
  if (clipboard.empty()) return;
  if (!TypeOverSelection(DecodeText(FirstLine(clipboard)))) Backend().Beep();
}

bool TCustomMaskEdit::TypeOverSelection(std::u32string_view typed) {
  const auto first = static_cast<size_t>(SelStart());
  const size_t last = first + static_cast<size_t>(SelLength());
  std::u32string edit = DecodeText(EditText());
  const std::u32string empty = mask_.EmptyEditText();
  std::copy(empty.begin() + static_cast<ptrdiff_t>(first), empty.begin() + static_cast<ptrdiff_t>(last),
            edit.begin() + static_cast<ptrdiff_t>(first));
  size_t position = first;
  bool filled = false;
  for (char32_t c : typed) {
    const size_t input = NextInput(position);
    if (input < mask_.Length() && mask_.Accepts(input, c)) {
      edit[input] = c;
      position = input + 1;
      filled = true;
      continue;
    }
    // A character that is the next literal moves past it ("1:" in a time goes on after the colon).
    size_t literal = position;
    while (literal < mask_.Length() && !mask_.IsLiteral(literal)) ++literal;
    if (literal >= mask_.Length() || edit[literal] != c) break;
    position = literal + 1;
  }
  if (position == first) return false;
  if (!filled && last == first) {
    SetSelStart(static_cast<int>(NextInput(position)));
    return true;
  }
  const size_t end = std::max(last, position);
  ReplacePositions(first, end, std::u32string_view(edit).substr(first, end - first), NextInput(position));
  return true;
}

void TCustomMaskEdit::ReplacePositions(size_t from, size_t to, std::u32string_view with, size_t caret) {
  const std::string replacement = EncodeText(with);
  Perform(EM_SETSEL, from, static_cast<LPARAM>(to));
  TGuard guard(*this);
  Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(replacement.c_str()));  // its OnChange may free the edit
  if (guard.Alive()) Perform(EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

}  // namespace platform
