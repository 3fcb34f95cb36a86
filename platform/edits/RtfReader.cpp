#include "platform/edits/RtfReader.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "platform/core/Ascii.h"
#include "platform/core/CodePages.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/edits/EditText.h"

namespace platform {

namespace {

// Groups deeper than this keep no state of their own: their content is skipped.
constexpr size_t kMaxDepth = 200;
// Letters of a control word beyond this make it an unknown word; its parameter saturates here.
constexpr size_t kMaxWordLength = 32;
constexpr int kMaxParameter = 1 << 30;

// Destinations whose content is no text of the document.
constexpr std::array kSkippedDestinations = {
    "stylesheet", "info",     "pict",       "object",     "header",    "headerl",   "headerr",
    "headerf",    "footer",   "footerl",    "footerr",    "footerf",   "footnote",  "annotation",
    "listtable",  "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl", "fldinst", "themedata",
    "colorschememapping", "latentstyles", "datastore", "generator", "shppict", "nonshppict", "pn",
    "xe",         "tc",       "txe",        "filetbl",    "template",  "docvar",    "bkmkstart",
    "bkmkend",    "mmathPr"};

// Control words that stand for one character.
const std::map<std::string_view, char32_t>& SymbolWords() {
  static const std::map<std::string_view, char32_t> words = {
      {"tab", U'\t'},       {"line", U'\v'},        {"emdash", 0x2014},    {"endash", 0x2013},
      {"bullet", 0x2022},   {"lquote", 0x2018},     {"rquote", 0x2019},    {"ldblquote", 0x201C},
      {"rdblquote", 0x201D}, {"emspace", 0x2003},   {"enspace", 0x2002},   {"qmspace", 0x2005}};
  return words;
}

enum class TDestination { Text, Skip, FontTable, ColorTable };

// What a group inherits from its parent and gets back when it ends.
struct TGroupState {
  TRichCharFormat format;
  TAlignment alignment = TAlignment::taLeftJustify;
  TDestination destination = TDestination::Text;
  int fallbackCount = 1;  // \ucN: characters that stand in for each \uN
};

int HexValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  const char lower = AsciiLower(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

bool IsUnderlineWord(std::string_view word) {
  return word == "ul" || (word.starts_with("ul") && word != "ulnone" && !word.starts_with("ulc"));
}

class TRtfReader {
public:
  TRtfReader(std::string_view rtf, const TRichCharFormat& defaults) : in_(rtf), defaults_(defaults) {
    state_.format = defaults;
    doc_.SetDefaultFormat(defaults);
  }

  TRichText Read();

private:
  void OpenGroup();
  bool CloseGroup();  // false when the document's group ended
  void ControlWord(std::string_view word, bool hasParameter, int parameter);
  void ControlSymbol(char c);
  void Destination(std::string_view word);
  void Byte(unsigned char b);
  void Character(char32_t c);
  void Unicode(int parameter);
  void ParagraphBreak();
  void Flush();
  void EndFontTable();

  std::string_view in_;
  size_t pos_ = 0;
  TRichCharFormat defaults_;
  TGroupState state_;
  std::vector<TGroupState> stack_;
  size_t unkeptDepth_ = 0;  // open groups beyond kMaxDepth
  bool starred_ = false;    // "\*" seen at the start of this group

  TRichText doc_;
  std::string pending_;  // text not yet added to the document, all in pendingFormat_
  TRichCharFormat pendingFormat_;
  TAlignment textAlignment_ = TAlignment::taLeftJustify;  // in force at the last character
  bool cellPending_ = false;  // a table cell ended: a tab goes before the next text of its row

  int codePage_ = 1252;
  int fallbackLeft_ = 0;        // fallback characters of the last \uN still to skip
  char16_t highSurrogate_ = 0;  // the first half of a pair from \uN
  std::map<int, std::string> fonts_;
  int fontIndex_ = 0;
  std::string fontName_;
  int defaultFont_ = -1;
  std::vector<TColor> colors_;
  std::array<int, 3> rgb_{};
  bool rgbSet_ = false;
};

TRichText TRtfReader::Read() {
  while (pos_ < in_.size()) {
    const char c = in_[pos_++];
    if (c == '{') {
      OpenGroup();
    } else if (c == '}') {
      if (!CloseGroup()) break;
    } else if (c == '\\') {
      if (pos_ >= in_.size()) break;
      if (!IsAsciiLetter(in_[pos_])) {
        const char symbol = in_[pos_++];
        if (unkeptDepth_ == 0) ControlSymbol(symbol);
        continue;
      }
      const size_t start = pos_;
      while (pos_ < in_.size() && IsAsciiLetter(in_[pos_])) ++pos_;
      std::string_view word = in_.substr(start, pos_ - start);
      if (word.size() > kMaxWordLength) word = {};
      bool negative = false, hasParameter = false;
      if (pos_ < in_.size() && in_[pos_] == '-') {
        negative = true;
        ++pos_;
      }
      long long value = 0;
      while (pos_ < in_.size() && IsAsciiDigit(in_[pos_])) {
        hasParameter = true;
        value = std::min<long long>(value * 10 + (in_[pos_++] - '0'), kMaxParameter);
      }
      if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
      if (word == "bin") {  // binary data (of a picture): its bytes are no RTF, whatever they hold
        pos_ += static_cast<size_t>(std::min<long long>(negative ? 0 : value, static_cast<long long>(in_.size() - pos_)));
        continue;
      }
      if (unkeptDepth_ == 0) ControlWord(word, hasParameter, static_cast<int>(negative ? -value : value));
    } else if (unkeptDepth_ > 0 || c == '\r' || c == '\n') {
      continue;
    } else {
      Byte(static_cast<unsigned char>(c));
    }
  }
  Flush();
  if (!doc_.Text().ends_with(TRichText::kParagraphBreak)) doc_.SetLastAlignment(textAlignment_);
  return std::move(doc_);
}

void TRtfReader::OpenGroup() {
  fallbackLeft_ = 0;
  if (unkeptDepth_ > 0 || stack_.size() >= kMaxDepth) {
    ++unkeptDepth_;
    return;
  }
  stack_.push_back(state_);
  starred_ = false;
}

bool TRtfReader::CloseGroup() {
  fallbackLeft_ = 0;
  if (unkeptDepth_ > 0) {
    --unkeptDepth_;
    return true;
  }
  if (stack_.empty()) return false;
  const bool fontTableEnds = state_.destination == TDestination::FontTable &&
                             stack_.back().destination != TDestination::FontTable;
  state_ = stack_.back();
  stack_.pop_back();
  if (fontTableEnds) EndFontTable();
  return !stack_.empty();
}

void TRtfReader::EndFontTable() {
  auto font = fonts_.find(defaultFont_);
  if (font != fonts_.end()) state_.format.FaceName = font->second;
}

void TRtfReader::ControlSymbol(char c) {
  if (state_.destination == TDestination::Skip) return;
  switch (c) {
    case '\\':
    case '{':
    case '}':
      Byte(static_cast<unsigned char>(c));
      return;
    case '\'': {
      int value = 0, digits = 0;
      while (digits < 2 && pos_ < in_.size() && HexValue(in_[pos_]) >= 0) {
        value = value * 16 + HexValue(in_[pos_++]);
        ++digits;
      }
      if (digits == 2) Byte(static_cast<unsigned char>(value));
      return;
    }
    case '*':
      starred_ = true;
      return;
    case '~': Character(0x00A0); return;
    case '_': Character(0x2011); return;
    case '\r':
    case '\n':
      ControlWord("par", false, 0);
      return;
    default:
      return;  // \- (optional hyphen), \| and the rest: nothing to show
  }
}

void TRtfReader::ControlWord(std::string_view word, bool hasParameter, int parameter) {
  if (state_.destination == TDestination::Skip) return;
  if (starred_ || word == "fonttbl" || word == "colortbl" ||
      std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) != kSkippedDestinations.end()) {
    Destination(word);
    return;
  }
  const bool on = !hasParameter || parameter != 0;
  TRichCharFormat& f = state_.format;
  if (state_.destination == TDestination::FontTable) {
    if (word == "f") {  // a new entry
      fontIndex_ = parameter;
      fontName_.clear();
    }
    return;
  }
  if (state_.destination == TDestination::ColorTable) {
    static constexpr std::array<std::string_view, 3> kComponents = {"red", "green", "blue"};
    for (size_t k = 0; k < kComponents.size(); ++k)
      if (word == kComponents[k]) {
        rgb_[k] = std::clamp(parameter, 0, 255);
        rgbSet_ = true;
      }
    return;
  }
  if (word == "par") {
    ParagraphBreak();
  } else if (word == "row") {
    cellPending_ = false;
    ParagraphBreak();
  } else if (word == "cell") {
    cellPending_ = true;
  } else if (auto symbol = SymbolWords().find(word); symbol != SymbolWords().end()) {
    Character(symbol->second);
  } else if (word == "u") {
    Unicode(parameter);
  } else if (word == "uc") {
    state_.fallbackCount = std::clamp(parameter, 0, 16);
  } else if (word == "b") {
    f.Style = on ? f.Style + TFontStyle::fsBold : f.Style - TFontStyle::fsBold;
  } else if (word == "i") {
    f.Style = on ? f.Style + TFontStyle::fsItalic : f.Style - TFontStyle::fsItalic;
  } else if (word == "strike" || word == "striked") {
    f.Style = on ? f.Style + TFontStyle::fsStrikeOut : f.Style - TFontStyle::fsStrikeOut;
  } else if (word == "ulnone") {
    f.Style = f.Style - TFontStyle::fsUnderline;
  } else if (IsUnderlineWord(word)) {
    f.Style = on ? f.Style + TFontStyle::fsUnderline : f.Style - TFontStyle::fsUnderline;
  } else if (word == "fs") {
    if (parameter > 0) f.Height = std::min(parameter, 3276) * 10;
  } else if (word == "f") {
    if (auto font = fonts_.find(parameter); font != fonts_.end()) f.FaceName = font->second;
  } else if (word == "cf") {
    f.Color = parameter >= 0 && static_cast<size_t>(parameter) < colors_.size() ? colors_[parameter] : clNone;
  } else if (word == "super") {
    f.Offset = f.Height / 3;
  } else if (word == "sub") {
    f.Offset = -f.Height / 3;
  } else if (word == "nosupersub") {
    f.Offset = 0;
  } else if (word == "up" || word == "dn") {
    const int halfPoints = hasParameter ? std::clamp(parameter, 0, 1000) : 6;
    f.Offset = (word == "up" ? 10 : -10) * halfPoints;
  } else if (word == "plain") {
    f = defaults_;
    EndFontTable();
  } else if (word == "pard") {
    state_.alignment = TAlignment::taLeftJustify;
  } else if (word == "ql" || word == "qj" || word == "qd") {
    state_.alignment = TAlignment::taLeftJustify;
  } else if (word == "qr") {
    state_.alignment = TAlignment::taRightJustify;
  } else if (word == "qc") {
    state_.alignment = TAlignment::taCenter;
  } else if (word == "ansicpg") {
    codePage_ = parameter;
  } else if (word == "ansi") {
    codePage_ = 1252;
  } else if (word == "pca") {
    codePage_ = 850;
  } else if (word == "deff") {
    defaultFont_ = parameter;
  }
}

void TRtfReader::Destination(std::string_view word) {
  if (word == "fonttbl") {
    state_.destination = TDestination::FontTable;
    fontName_.clear();
  } else if (word == "colortbl") {
    state_.destination = TDestination::ColorTable;
  } else {
    state_.destination = TDestination::Skip;
  }
  starred_ = false;
}

void TRtfReader::Byte(unsigned char b) {
  if (state_.destination == TDestination::Skip) return;
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  if (state_.destination == TDestination::ColorTable) {
    if (b != ';') return;
    colors_.push_back(rgbSet_ ? static_cast<TColor>(rgb_[0] | (rgb_[1] << 8) | (rgb_[2] << 16)) : clNone);
    rgb_ = {};
    rgbSet_ = false;
    return;
  }
  if (state_.destination == TDestination::FontTable) {
    if (b == ';') {
      fonts_[fontIndex_] = Trim(fontName_);
      fontName_.clear();
    } else if (fontName_.size() < 256) {
      AppendCodePoint(fontName_, CodePageChar(codePage_, b));
    }
    return;
  }
  if (b == '\t') Character(U'\t');
  else if (b >= 0x20) Character(CodePageChar(codePage_, b));
}

void TRtfReader::Unicode(int parameter) {
  auto unit = static_cast<char16_t>(static_cast<unsigned>(parameter) & 0xFFFF);
  fallbackLeft_ = 0;
  if (unit >= 0xD800 && unit < 0xDC00) {
    highSurrogate_ = unit;
  } else if (unit >= 0xDC00 && unit < 0xE000) {
    if (highSurrogate_) Character(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
    else Character(0xFFFD);
  } else {
    Character(unit);
  }
  fallbackLeft_ = state_.fallbackCount;
}

void TRtfReader::Character(char32_t c) {
  if (state_.destination != TDestination::Text) return;
  if (highSurrogate_ && (c < 0x10000)) {
    highSurrogate_ = 0;
    if (c >= 0xDC00 && c < 0xE000) return;
    Character(0xFFFD);
  }
  highSurrogate_ = 0;
  if ((c < 0x20 && c != U'\t' && c != U'\v') || c == 0x7F || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) return;
  if (cellPending_) {
    cellPending_ = false;
    Character(U'\t');
  }
  if (!pending_.empty() && !(pendingFormat_ == state_.format)) Flush();
  if (pending_.empty()) pendingFormat_ = state_.format;
  AppendCodePoint(pending_, c);
  textAlignment_ = state_.alignment;
}

void TRtfReader::ParagraphBreak() {
  Flush();
  doc_.SetLastAlignment(state_.alignment);
  doc_.Append(TRichText::kParagraphBreak, state_.format);
}

void TRtfReader::Flush() {
  if (pending_.empty()) return;
  doc_.Append(pending_, pendingFormat_);
  pending_.clear();
}

}  // namespace

bool LooksLikeRtf(std::string_view text) { return text.starts_with("{\\rtf"); }

TRichText ReadRtf(std::string_view rtf, const TRichCharFormat& defaults) {
  if (!LooksLikeRtf(rtf)) {
    TRichText plain;
    plain.SetDefaultFormat(defaults);
    plain.Append(WithCrLfBreaks(rtf), defaults);
    return plain;
  }
  return TRtfReader(rtf, defaults).Read();
}

}  // namespace platform
