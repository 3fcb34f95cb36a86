#include "platform/gfx/CanvasDevice.h"

namespace platform {

namespace {

// Characters of the Windows-1252 code page at 0x80..0x9F (0 where it has none: the byte's own code).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Cp1252(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80]) return kCp1252High[b - 0x80];
  return b;
}

}  // namespace

std::u32string DecodeText(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    int length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    bool valid = length > 0 && i + length <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto cb = static_cast<unsigned char>(text[i + k]);
      valid = (cb & 0xC0) == 0x80;
      c = (c << 6) | (cb & 0x3F);
    }
    // Reject overlong forms, surrogates and values beyond Unicode.
    if (valid && length > 1) {
      static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
      valid = c >= kMin[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    }
    if (valid) {
      out.push_back(c);
      i += static_cast<size_t>(length);
    } else {
      out.push_back(Cp1252(b));
      ++i;
    }
  }
  return out;
}

}  // namespace platform
