#include "platform/ui/Backend.h"
#include "platform/ui/EditText.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/RtfReader.h"
#include "platform/ui/RtfWriter.h"

// The rich edit and the clipboard: the one place where it talks to the clipboard service. A copy
// offers the selection as plain text and as rich text; a paste takes rich text when the clipboard
// has it, else plain text.

namespace platform {

void TCustomRichEdit::CopySelection() {
  if (anchor_ == caret_) return;
  Backend().SetClipboard(kClipboardText, SelText(), TBackend::TClipboardWrite::Replace);
  Backend().SetClipboard(kClipboardRichText, WriteRtf(doc_.Range(SelFirst(), SelLast())), TBackend::TClipboardWrite::Add);
}

void TCustomRichEdit::Paste() {
  if (std::optional<std::string> rtf = Backend().GetClipboard(kClipboardRichText); rtf && !rtf->empty()) {
    ReplaceSelection(ReadRtf(*rtf, doc_.FormatAt(SelFirst())), true);
    return;
  }
  std::optional<std::string> text = Backend().GetClipboard(kClipboardText);
  if (!text || text->empty()) return;
  InsertTyped(WithCrLfBreaks(WithoutControlCharacters(*text, true)));
}

}  // namespace platform
