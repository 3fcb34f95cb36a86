#include <string>

#include "grid/DovAdiz.h"
#include "grid/GridTextFiles.h"
#include "platform/core/IniFile.h"
#include "platform/core/StrUtils.h"

// The print settings in one section of an INI file. Booleans are "Y" and "N", enumerations their
// ordinal, font styles a bit sum (1 bold, 2 italic, 4 underline, 8 strike-out), colours signed
// integers; the title lines are one value in which "\n" separates lines and "\\" is a backslash.

using namespace platform;

namespace velmora {

namespace {

std::string EncodeTitleLines(const TStringList& lines) {
  std::string value;
  for (int i = 0; i < lines.Count(); ++i) {
    if (i > 0) value += "\\n";
    for (char c : lines.Strings(i)) value += c == '\\' ? std::string("\\\\") : std::string(1, c);
  }
  return value;
}

// "\n" a line break and "\\" a backslash; any other backslash stands for itself, as older files
// wrote it.
std::string DecodeTitleLines(std::string_view value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == 'n' || value[i + 1] == '\\')) {
      text += value[++i] == 'n' ? '\r' : '\\';
    } else {
      text += value[i];
    }
  }
  return text;
}

constexpr TFontStyle kStyleBits[] = {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
                                     TFontStyle::fsStrikeOut};

int StyleBits(TFontStyles style) {
  int bits = 0;
  for (int i = 0; i < 4; ++i) bits |= style.Contains(kStyleBits[i]) ? 1 << i : 0;
  return bits;
}

// One section of an INI file with the value forms of the print settings.
class PrintSection {
public:
  PrintSection(TCustomIniFile& ini, std::string section) : ini_(ini), section_(std::move(section)) {}

  void Write(const char* key, int value) { ini_.WriteInteger(section_, key, value); }
  // A value that reading would trim or unquote goes in quotes, so it reads back as it was.
  void Write(const char* key, const std::string& value) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const bool quote = !value.empty() && (blank(value.front()) || blank(value.back()) ||
                                          (value.size() >= 2 && value.front() == value.back() &&
                                           (value.front() == '"' || value.front() == '\'')));
    ini_.WriteString(section_, key, quote ? "\"" + value + "\"" : value);
  }
  void WriteFlag(const char* key, bool value) { ini_.WriteString(section_, key, value ? "Y" : "N"); }
  void WriteFont(const std::string& prefix, const TFont& font) {
    Write((prefix + "FontName").c_str(), font.Name());
    Write((prefix + "FontSize").c_str(), font.Size());
    Write((prefix + "FontStyle").c_str(), StyleBits(font.Style()));
    Write((prefix + "FontColor").c_str(), static_cast<int>(font.Color()));
  }

  int Read(const char* key, int defaultValue) const { return ini_.ReadInteger(section_, key, defaultValue); }
  std::string Read(const char* key, const char* defaultValue) const {
    return ini_.ReadString(section_, key, defaultValue);
  }
  bool ReadFlag(const char* key, bool defaultValue) const { return Read(key, defaultValue ? "Y" : "N") == "Y"; }
  // An ordinal within 0..last sets the value; any other leaves it.
  template <typename E>
  void ReadOrdinal(const char* key, int last, E& value) const {
    const int stored = Read(key, 0);
    if (stored >= 0 && stored <= last) value = static_cast<E>(stored);
  }
  TPrintPosition ReadPosition(const char* key) const {
    const int stored = Read(key, 0);
    return stored >= 1 && stored <= 6 ? static_cast<TPrintPosition>(stored) : TPrintPosition::ppNone;
  }
  // The style is the stored one when the key holds a number, else the font's own.
  void ReadFont(const std::string& prefix, TFont& font) const {
    font.SetName(Read((prefix + "FontName").c_str(), "Arial"));
    font.SetSize(Read((prefix + "FontSize").c_str(), 10));
    const int bits = Read((prefix + "FontStyle").c_str(), -1);
    if (bits >= 0) {
      TFontStyles style;
      for (int i = 0; i < 4; ++i) {
        if (bits & (1 << i)) style = style + kStyleBits[i];
      }
      font.SetStyle(style);
    }
    font.SetColor(static_cast<TColor>(Read((prefix + "FontColor").c_str(), 0)));
  }

private:
  TCustomIniFile& ini_;
  std::string section_;
};

}  // namespace

void VUraRazuduVova::SavePrintSettings(const std::string& FileName, const std::string& Section) {
  const TPrintSettings& p = printSettings_;
  TMemIniFile ini(GridSettingsFileName(FileName));
  PrintSection s(ini, Section);
  s.Write("ColumnSpacing", p.ColumnSpacing);
  s.Write("RowSpacing", p.RowSpacing);
  s.Write("TitleSpacing", p.TitleSpacing);
  s.Write("FixedHeight", p.FixedHeight);
  s.Write("FixedWidth", p.FixedWidth);
  s.WriteFlag("Centered", p.Centered);
  s.WriteFlag("NoAutoSize", p.NoAutoSize);
  s.WriteFlag("UseFixedHeight", p.UseFixedHeight);
  s.WriteFlag("UseFixedWidth", p.UseFixedWidth);
  s.WriteFlag("RepeatFixedRows", p.RepeatFixedRows);
  s.WriteFlag("RepeatFixedCols", p.RepeatFixedCols);
  s.Write("Borders", static_cast<int>(p.Borders));
  s.Write("BorderStyle", static_cast<int>(p.BorderStyle));
  s.Write("Date", static_cast<int>(p.Date));
  s.Write("PageNr", static_cast<int>(p.PageNr));
  s.Write("Title", static_cast<int>(p.Title));
  s.Write("Time", static_cast<int>(p.Time));
  s.Write("DateFormat", p.DateFormat);
  s.Write("TitleText", p.TitleText);
  s.Write("FooterSize", p.FooterSize);
  s.Write("HeaderSize", p.HeaderSize);
  s.Write("LeftSize", p.LeftSize);
  s.Write("RightSize", p.RightSize);
  s.Write("FitToPage", static_cast<int>(p.FitToPage));
  s.WriteFont("", p.Font());
  s.WriteFont("Header", p.HeaderFont());
  s.WriteFont("Footer", p.FooterFont());
  s.Write("PageNumSep", p.PageNumSep);
  s.Write("PageSuffix", p.PageSuffix);
  s.Write("PagePrefix", p.PagePrefix);
  s.Write("Orientation", static_cast<int>(p.Orientation));
  s.Write("TitleLines", EncodeTitleLines(p.TitleLines()));
  ini.UpdateFile();
}

void VUraRazuduVova::LoadPrintSettings(const std::string& FileName, const std::string& Section) {
  TPrintSettings& p = printSettings_;
  TMemIniFile ini(GridSettingsFileName(FileName));
  const PrintSection s(ini, Section);
  p.ColumnSpacing = s.Read("ColumnSpacing", 20);
  p.RowSpacing = s.Read("RowSpacing", 20);
  p.TitleSpacing = s.Read("TitleSpacing", 20);
  p.FixedHeight = s.Read("FixedHeight", 0);
  p.FixedWidth = s.Read("FixedWidth", 0);
  p.Centered = s.ReadFlag("Centered", true);
  p.NoAutoSize = s.ReadFlag("NoAutoSize", false);
  p.UseFixedHeight = s.ReadFlag("UseFixedHeight", false);
  p.UseFixedWidth = s.ReadFlag("UseFixedWidth", false);
  p.RepeatFixedRows = s.ReadFlag("RepeatFixedRows", false);
  p.RepeatFixedCols = s.ReadFlag("RepeatFixedCols", false);
  s.ReadOrdinal("Borders", static_cast<int>(TPrintBorders::pbCustom), p.Borders);
  s.ReadOrdinal("BorderStyle", static_cast<int>(TPenStyle::psInsideFrame), p.BorderStyle);
  p.Date = s.ReadPosition("Date");
  p.PageNr = s.ReadPosition("PageNr");
  p.Title = s.ReadPosition("Title");
  p.Time = s.ReadPosition("Time");
  p.DateFormat = s.Read("DateFormat", "");
  p.TitleText = s.Read("TitleText", "");
  p.FooterSize = s.Read("FooterSize", 100);
  p.HeaderSize = s.Read("HeaderSize", 100);
  p.LeftSize = s.Read("LeftSize", 100);
  p.RightSize = s.Read("RightSize", 100);
  s.ReadOrdinal("FitToPage", static_cast<int>(TFitToPage::fpCustom), p.FitToPage);
  s.ReadFont("", p.Font());
  s.ReadFont("Header", p.HeaderFont());
  s.ReadFont("Footer", p.FooterFont());
  p.PageNumSep = s.Read("PageNumSep", "");
  p.PageSuffix = s.Read("PageSuffix", "");
  p.PagePrefix = s.Read("PagePrefix", "");
  p.TitleLines().SetText(DecodeTitleLines(s.Read("TitleLines", "")));
  s.ReadOrdinal("Orientation", static_cast<int>(TPrinterOrientation::poLandscape), p.Orientation);
}

}  // namespace velmora
