// libFuzzer target: random bytes through the RTF reader, the writer and the rich text model and layout.
// Besides crashes, hangs and sanitizer reports it traps when rich text that the reader made does not
// read back to the same text and paragraph alignments after writing.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/TestFont.h"
#include "platform/edits/RichLayout.h"
#include "platform/edits/RtfReader.h"
#include "platform/edits/RtfWriter.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TBitmap bitmap(64, 64);
  const std::string input(reinterpret_cast<const char*>(data), size);
  TRichCharFormat defaults;
  defaults.FaceName = kTestFontName;
  TRichText doc = ReadRtf(input, defaults);

  if (LooksLikeRtf(input)) {
    const TRichText back = ReadRtf(WriteRtf(doc), defaults);
    if (back.Text() != doc.Text() || back.ParagraphCount() != doc.ParagraphCount()) __builtin_trap();
    for (int p = 0; p < doc.ParagraphCount(); ++p)
      if (back.Alignment(p) != doc.Alignment(p)) __builtin_trap();
  }

  // Edits at places the input chooses, then a layout in the test font at a small size.
  const size_t length = doc.Text().size();
  const size_t a = length ? data[0] % (length + 1) : 0, b = length && size > 1 ? data[1] % (length + 1) : 0;
  const TRichText part = doc.Range(std::min(a, b), std::max(a, b));
  doc.Insert(a, part);
  doc.SetFormat(0, doc.Text().size(), defaults, rfmFace | rfmHeight);
  TRichLayout layout;
  layout.Build(doc, bitmap.Canvas(), size % 3 == 0 ? 0 : 40);
  if (layout.LineCount() == 0) __builtin_trap();
  (void)layout.PosAtPoint({static_cast<int>(a), static_cast<int>(b)});
  return 0;
}
