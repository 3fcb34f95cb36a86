#include "platform/ui/Backend.h"
#include "platform/ui/Clipbrd.h"
#include "platform/edits/EditText.h"
#include "platform/edits/RichEdit.h"
#include "platform/edits/RtfReader.h"
#include "platform/edits/RtfWriter.h"

// The rich edit and the clipboard service. A copy offers the selection as plain text and as rich text
// together; a paste takes rich text when the clipboard has it, else plain text.

namespace platform {

namespace {

TClipboardFormat RichTextFormat() { return RegisterClipboardFormat("Rich Text Format"); }

}  // namespace

void TCustomRichEdit::CopySelection() {
  if (anchor_ == caret_) return;
  const std::string text = SelText();
  const std::string rtf = WriteRtf(doc_.Range(SelFirst(), SelLast()));
  TClipboard& clipboard = Clipboard();
  clipboard.Open();
  clipboard.SetAsText(text);
  clipboard.SetBuffer(RichTextFormat(), rtf);
  clipboard.Close();
}

void TCustomRichEdit::Paste() {
  if (std::optional<std::string> rtf = Clipboard().GetBuffer(RichTextFormat()); rtf && !rtf->empty()) {
    const TRichText pasted = ReadRtf(*rtf, doc_.FormatAt(SelFirst()));
    const size_t kept = ByteOfChar(pasted.Text(), CharactersAllowed());
    if (kept == 0 && !pasted.Empty()) Backend().Beep();
    else ReplaceSelection(pasted.Range(0, kept), TUndo::Record);
    return;
  }
  const std::string text = Clipboard().AsText();
  if (!text.empty()) InsertTyped(WithCrLfBreaks(WithoutControlCharacters(text, true)));
}

}  // namespace platform
