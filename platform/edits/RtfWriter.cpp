#include "platform/edits/RtfWriter.h"

#include <algorithm>
#include <vector>

#include "platform/core/CodePages.h"
#include "platform/core/Utf8.h"

namespace platform {

namespace {

constexpr int kCodePage = 1252;

// Text as RTF: the syntax characters escaped, ASCII as it is, everything else as \uN with its
// code-page byte (or "?") for readers that know no Unicode.
void AppendEscaped(std::string& out, std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const CodePoint c = DecodeCodePoint(text, pos);
    pos += c.length;
    const char32_t value = c.valid ? c.value : CodePageChar(kCodePage, static_cast<unsigned char>(c.value));
    if (value == '\\' || value == '{' || value == '}') {
      out += '\\';
      out += static_cast<char>(value);
    } else if (value == '\t') {
      out += "\\tab ";
    } else if (value == '\v') {
      out += "\\line ";
    } else if (value >= 0x20 && value < 0x7F) {
      out += static_cast<char>(value);
    } else if (value >= 0x80) {
      auto unit = [&](unsigned u) { out += "\\u" + std::to_string(static_cast<int16_t>(u)); };
      if (value >= 0x10000) {
        unit(0xD800 + ((value - 0x10000) >> 10));
        out += '?';
        unit(0xDC00 + ((value - 0x10000) & 0x3FF));
      } else {
        unit(value);
      }
      const auto fallback = CodePageByte(kCodePage, value);
      static constexpr char kHex[] = "0123456789abcdef";
      if (fallback) out += std::string("\\'") + kHex[*fallback >> 4] + kHex[*fallback & 15];
      else out += '?';
    }
  }
}

template <typename T>
int IndexIn(std::vector<T>& list, const T& value) {
  auto found = std::find(list.begin(), list.end(), value);
  if (found != list.end()) return static_cast<int>(found - list.begin());
  list.push_back(value);
  return static_cast<int>(list.size()) - 1;
}

}  // namespace

std::string WriteRtf(const TRichText& text) {
  const std::string& s = text.Text();
  // The tables first: every face and colour the runs use (colour 0 is the automatic one).
  std::vector<std::string> faces;
  std::vector<TColor> colors{clNone};
  for (size_t pos = 0; pos < s.size(); pos = text.RunEnd(pos)) {
    IndexIn(faces, text.FormatAt(pos).FaceName);
    IndexIn(colors, text.FormatAt(pos).Color == clNone ? clNone : ColorToRGB(text.FormatAt(pos).Color));
  }
  if (faces.empty()) faces.push_back(text.DefaultFormat().FaceName);

  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
  for (size_t i = 0; i < faces.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil ";
    AppendEscaped(out, faces[i]);
    out += ";}";
  }
  out += "}{\\colortbl ;";
  for (size_t i = 1; i < colors.size(); ++i)
    out += "\\red" + std::to_string(colors[i] & 0xFF) + "\\green" + std::to_string((colors[i] >> 8) & 0xFF) + "\\blue" +
           std::to_string((colors[i] >> 16) & 0xFF) + ";";
  out += "}\n";

  static constexpr const char* kAlignments[] = {"\\ql", "\\qr", "\\qc"};
  int paragraph = 0;
  out += "\\pard";
  out += kAlignments[static_cast<int>(text.Alignment(0))];
  for (size_t pos = 0; pos < s.size();) {
    const TRichCharFormat& f = text.FormatAt(pos);
    out += "\\plain\\f" + std::to_string(IndexIn(faces, f.FaceName)) + "\\fs" + std::to_string(std::max(1, (f.Height + 5) / 10));
    if (f.Color != clNone) out += "\\cf" + std::to_string(IndexIn(colors, ColorToRGB(f.Color)));
    if (f.Style.Contains(TFontStyle::fsBold)) out += "\\b";
    if (f.Style.Contains(TFontStyle::fsItalic)) out += "\\i";
    if (f.Style.Contains(TFontStyle::fsUnderline)) out += "\\ul";
    if (f.Style.Contains(TFontStyle::fsStrikeOut)) out += "\\strike";
    if (f.Offset > 0) out += "\\up" + std::to_string((f.Offset + 5) / 10);
    if (f.Offset < 0) out += "\\dn" + std::to_string((-f.Offset + 5) / 10);
    out += ' ';
    const size_t end = text.RunEnd(pos);
    // Paragraph breaks inside the run end the paragraph and set the next one's alignment.
    for (size_t from = pos; from < end;) {
      const size_t brk = s.find(TRichText::kParagraphBreak, from);
      const size_t stop = brk == std::string::npos || brk >= end ? end : brk;
      AppendEscaped(out, std::string_view(s).substr(from, stop - from));
      if (stop == end) break;
      out += "\\par\n\\pard";
      out += kAlignments[static_cast<int>(text.Alignment(++paragraph))];
      out += ' ';
      from = stop + TRichText::kParagraphBreak.size();
    }
    pos = end;
  }
  out += "}";
  return out;
}

}  // namespace platform
