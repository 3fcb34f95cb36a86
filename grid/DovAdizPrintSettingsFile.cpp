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

enum class TDirection { Save, Load };

// One section of an INI file with the value forms of the print settings, saving the fields it is
// handed or loading them (each with its default and its rule), so that both directions walk one list
// of keys in the file's order.
class PrintSection {
public:
  PrintSection(TCustomIniFile& ini, std::string section, TDirection direction)
      : ini_(ini), section_(std::move(section)), saving_(direction == TDirection::Save) {}

  void Int(const std::string& key, int& value, int defaultValue) {
    if (saving_) ini_.WriteInteger(section_, key, value);
    else value = ini_.ReadInteger(section_, key, defaultValue);
  }
  // A text that reading would trim or unquote is saved in quotes, so it loads as it was.
  void Text(const std::string& key, std::string& value) {
    if (!saving_) {
      value = ini_.ReadString(section_, key, "");
      return;
    }
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const bool quote = !value.empty() && (blank(value.front()) || blank(value.back()) ||
                                          (value.size() >= 2 && value.front() == value.back() &&
                                           (value.front() == '"' || value.front() == '\'')));
    ini_.WriteString(section_, key, quote ? "\"" + value + "\"" : value);
  }
  // "Y" or "N"; true exactly when "Y" is stored.
  void Flag(const std::string& key, bool& value, bool defaultValue) {
    if (saving_) ini_.WriteString(section_, key, value ? "Y" : "N");
    else value = ini_.ReadString(section_, key, defaultValue ? "Y" : "N") == "Y";
  }
  // An ordinal; on loading one within 0..last sets the value and any other leaves it.
  template <typename E>
  void Ordinal(const std::string& key, E& value, E last) {
    int stored = static_cast<int>(value);
    Int(key, stored, 0);
    if (stored >= 0 && stored <= static_cast<int>(last)) value = static_cast<E>(stored);
  }
  // On loading, any value outside 1..6 is ppNone.
  void Position(const std::string& key, TPrintPosition& value) {
    int stored = static_cast<int>(value);
    Int(key, stored, 0);
    value = stored >= 1 && stored <= 6 ? static_cast<TPrintPosition>(stored) : TPrintPosition::ppNone;
  }
  // The style loads as stored when the key holds a number, else the font keeps its own.
  void Font(const std::string& prefix, TFont& font) {
    std::string name = font.Name();
    int size = font.Size(), bits = StyleBits(font.Style()), color = static_cast<int>(font.Color());
    if (!saving_) name = ini_.ReadString(section_, prefix + "FontName", "Arial");
    else Text(prefix + "FontName", name);
    Int(prefix + "FontSize", size, 10);
    Int(prefix + "FontStyle", bits, -1);
    Int(prefix + "FontColor", color, 0);
    if (saving_) return;
    font.SetName(name);
    font.SetSize(size);
    if (bits >= 0) {
      TFontStyles style;
      for (int i = 0; i < 4; ++i) {
        if (bits & (1 << i)) style = style + kStyleBits[i];
      }
      font.SetStyle(style);
    }
    font.SetColor(static_cast<TColor>(color));
  }
  void Lines(const std::string& key, TStringList& lines) {
    if (saving_) ini_.WriteString(section_, key, EncodeTitleLines(lines));
    else lines.SetText(DecodeTitleLines(ini_.ReadString(section_, key, "")));
  }

private:
  TCustomIniFile& ini_;
  std::string section_;
  bool saving_;
};

// Every stored property in the file's order.
void Exchange(PrintSection& s, TPrintSettings& p) {
  s.Int("ColumnSpacing", p.ColumnSpacing, 20);
  s.Int("RowSpacing", p.RowSpacing, 20);
  s.Int("TitleSpacing", p.TitleSpacing, 20);
  s.Int("FixedHeight", p.FixedHeight, 0);
  s.Int("FixedWidth", p.FixedWidth, 0);
  s.Flag("Centered", p.Centered, true);
  s.Flag("NoAutoSize", p.NoAutoSize, false);
  s.Flag("UseFixedHeight", p.UseFixedHeight, false);
  s.Flag("UseFixedWidth", p.UseFixedWidth, false);
  s.Flag("RepeatFixedRows", p.RepeatFixedRows, false);
  s.Flag("RepeatFixedCols", p.RepeatFixedCols, false);
  s.Ordinal("Borders", p.Borders, TPrintBorders::pbCustom);
  s.Ordinal("BorderStyle", p.BorderStyle, TPenStyle::psInsideFrame);
  s.Position("Date", p.Date);
  s.Position("PageNr", p.PageNr);
  s.Position("Title", p.Title);
  s.Position("Time", p.Time);
  s.Text("DateFormat", p.DateFormat);
  s.Text("TitleText", p.TitleText);
  s.Int("FooterSize", p.FooterSize, 100);
  s.Int("HeaderSize", p.HeaderSize, 100);
  s.Int("LeftSize", p.LeftSize, 100);
  s.Int("RightSize", p.RightSize, 100);
  s.Ordinal("FitToPage", p.FitToPage, TFitToPage::fpCustom);
  s.Font("", p.Font());
  s.Font("Header", p.HeaderFont());
  s.Font("Footer", p.FooterFont());
  s.Text("PageNumSep", p.PageNumSep);
  s.Text("PageSuffix", p.PageSuffix);
  s.Text("PagePrefix", p.PagePrefix);
  s.Ordinal("Orientation", p.Orientation, TPrinterOrientation::poLandscape);
  s.Lines("TitleLines", p.TitleLines());
}

}  // namespace

void VUraRazuduVova::SavePrintSettings(const std::string& FileName, const std::string& Section) {
  TMemIniFile ini(GridSettingsFileName(FileName));
  PrintSection section(ini, Section, TDirection::Save);
  Exchange(section, printSettings_);
  ini.UpdateFile();
}

void VUraRazuduVova::LoadPrintSettings(const std::string& FileName, const std::string& Section) {
  TMemIniFile ini(GridSettingsFileName(FileName));
  PrintSection section(ini, Section, TDirection::Load);
  Exchange(section, printSettings_);
}

}  // namespace velmora
