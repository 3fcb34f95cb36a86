#pragma once

#include <string>
#include <string_view>

#include "platform/core/Streams.h"
#include "platform/app/Component.h"

namespace mailnet {

// The two encodings of attachments: Base64 (uuMime) and UU (uuCode).
enum UUMethods { uuMime, uuCode };

// Encodes InputStream into OutputStream (or decodes it back) with Method. Both streams belong to the
// caller. Encoded text is lines of 45 input bytes each (60 characters; 61 for UU with its length
// character), every line ended by CR LF; UU ends with a line holding the character for 0.
class TMlUUProcessor : public platform::TComponent {
public:
  explicit TMlUUProcessor(platform::TComponent* AOwner) : TComponent(AOwner) {}

  UUMethods Method = uuMime;
  platform::TStream* InputStream = nullptr;
  platform::TStream* OutputStream = nullptr;

  platform::TNotifyEvent OnBeginEncode;
  platform::TNotifyEvent OnEndEncode;
  platform::TNotifyEvent OnBeginDecode;
  platform::TNotifyEvent OnEndDecode;

  // Rewinds InputStream, encodes all of it at OutputStream's position, then rewinds OutputStream.
  // OnEndEncode runs after a failure too.
  void Encode();
  // Decodes from InputStream's position to its end, line by line; lines of two bytes or fewer (and, for
  // Base64, lines beginning with "====") carry no data and are skipped.
  void Decode();
};

// The Base64 text of bytes, without line breaks (for encoded words in header lines).
std::string Base64Text(std::string_view bytes);

}  // namespace mailnet
