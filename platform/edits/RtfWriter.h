#pragma once

#include <string>

#include "platform/edits/RichText.h"

namespace platform {

// Writes a document as Rich Text Format in the subset that ReadRtf reads: a font table of the faces
// used, a colour table of the colours used, every run with its whole format and every paragraph with
// its alignment. Characters outside ASCII are written as \uN with a Windows-1252 fallback byte
// (or "?"), so older readers still get Western text.
std::string WriteRtf(const TRichText& text);

}  // namespace platform
