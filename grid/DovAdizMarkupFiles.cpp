#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "grid/GridTextFiles.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/gfx/Brush.h"
#include "platform/gfx/Font.h"
#include "platform/office/Xml.h"

// The grid's HTML table and XML document. Texts that the grid paints as plain text are escaped, so
// that every character of a cell shows as it is; cells of markup are the page's markup.

using namespace platform;

namespace velmora {

namespace {

// The font and brush colour a handler leaves alone: the cell has no colour of its own.
constexpr TColor kNoColor = 0x7FFFFFFF;
// The background of header and fixed cells.
constexpr TColor kFixedBackground = clActiveBorder;

std::string Quoted(std::string_view value) { return "\"" + std::string(value) + "\""; }
std::string BgColor(TColor color) { return " BGCOLOR=" + Quoted("#" + HTMLColor(color)); }

// Plain text as HTML: markup characters escaped, each CR a "<br>" (with the LF of CR LF kept).
std::string EscapedHtml(std::string_view text) {
  std::string html;
  for (size_t begin = 0;;) {
    const size_t cr = std::min(text.find('\r', begin), text.size());
    AppendEscaped(html, text.substr(begin, cr - begin), false);
    if (cr == text.size()) return html;
    html += "<br>";
    begin = cr + 1;
  }
}

// The characters of the text after the scheme marker, at most 255.
std::string AfterMarker(std::string_view text, std::string_view marker) {
  std::string_view rest = text.substr(text.find(marker) + marker.size());
  size_t end = 0;
  for (int i = 0; i < 255 && end < rest.size(); ++i) end = NextCodePoint(rest, end);
  return std::string(rest.substr(0, end));
}

bool IsXmlNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == ':' || c >= 0x80; }
bool IsXmlNameChar(unsigned char c) { return IsXmlNameStart(c) || std::isdigit(c) || c == '-' || c == '.'; }

void CheckXmlName(const std::string& name) {
  const bool valid = !name.empty() && IsXmlNameStart(static_cast<unsigned char>(name[0])) &&
                     std::all_of(name.begin(), name.end(), [](char c) { return IsXmlNameChar(static_cast<unsigned char>(c)); }) &&
                     IsValidUtf8(name);
  if (!valid) throw EDovAdizError("Invalid XML tag name \"" + name + "\"");
}

// Builds the HTML table of a grid.
class HtmlTable {
public:
  explicit HtmlTable(VUraRazuduVova& grid) : grid_(grid), settings_(grid.HTMLSettings()) {}

  std::string Lines() {
    const int colOffset = grid_.ExportFixedCells ? 0 : grid_.FixedCols();
    const int rowOffset = grid_.ExportFixedCells ? 0 : grid_.FixedRows();
    noWrap_ = grid_.WordWrap() ? "" : " nowrap";
    if (!settings_.PrefixTag.empty()) Add(settings_.PrefixTag);
    std::string table = "<table border=" + Quoted(IntToStr(settings_.BorderSize)) + " cellspacing=" +
                        Quoted(IntToStr(settings_.CellSpacing)) + " cellpadding=" +
                        Quoted(IntToStr(settings_.CellPadding)) + " Width=" + Quoted(IntToStr(settings_.Width) + "%");
    if (!settings_.TableStyle.empty()) table += " " + settings_.TableStyle;
    Add(table + ">");
    const bool headerRow = grid_.FixedRows() > 0 && grid_.ExportFixedCells;
    if (headerRow) {
      Add("<tr>");
      for (int c = colOffset; c < grid_.ColCount(); ++c) Add(HeaderCell(c));
      Add("</tr>");
    }
    for (int r = headerRow ? 1 : rowOffset; r < grid_.RowCount(); ++r) {
      Add("<tr>");
      for (int c = colOffset; c < grid_.ColCount(); ++c) {
        const int col = grid_.RealColIndex(c);
        if (grid_.IsBaseCell(col, r)) Add(DataCell(c, r, headerRow ? -1 : c - colOffset));
      }
      Add("</tr>");
    }
    Add("</table><p>");
    if (!settings_.SuffixTag.empty()) Add(settings_.SuffixTag);
    return lines_;
  }

private:
  void Add(const std::string& line) { lines_ += line + "\r\n"; }

  // The cell's text as HTML: a link, plain text escaped, or markup as it is; "<br>" when empty.
  std::string Text(int col, int row) {
    const std::string text = grid_.SaveCell(col, row);
    if (text.empty()) return "<br>";
    if (grid_.URLShow && text.find("</") == std::string::npos) {
      for (std::string_view marker : {"mailto:", "://"}) {
        if (text.find(marker) == std::string::npos) continue;
        std::string link = "<A HREF=\"";
        AppendEscaped(link, text, true);
        return link + "\">" + EscapedHtml(grid_.URLFull ? text : AfterMarker(text, marker)) + "</A>";
      }
    }
    return TextType(text, grid_.EnableHTML) == 1 ? HTMLLineBreaks(text) : EscapedHtml(text);
  }

  std::string Alignment(int col, int row) {
    if (grid_.SaveCell(col, row).empty()) return {};
    TAlignment hAlign;
    TVAlignment vAlign;
    grid_.GetCellAlignment(col, row, hAlign, vAlign);
    if (hAlign == TAlignment::taRightJustify) return " align=\"right\"";
    if (hAlign == TAlignment::taCenter) return " align=\"center\"";
    return {};
  }

  std::string Width(int index) const {
    const TIntList& widths = settings_.ColWidths;
    return index >= 0 && index < widths.Count() ? " WIDTH=" + IntToStr(widths.GetInteger(index)) : std::string();
  }

  std::string HeaderCell(int c) {
    const int col = grid_.RealColIndex(c);
    return "<td" + noWrap_ + Alignment(col, 0) + BgColor(kFixedBackground) + Width(c) + "><B>" + Text(col, 0) +
           "</B></td>";
  }

  std::string DataCell(int c, int r, int widthIndex) {
    const int col = grid_.RealColIndex(c);
    std::string span;
    const TPoint extent = grid_.CellSpan(col, r);
    if (extent.X > 0) span += " COLSPAN=" + IntToStr(extent.X + 1);
    if (extent.Y > 0) span += " ROWSPAN=" + IntToStr(extent.Y + 1);

    const bool fixed = r < grid_.FixedRows() || c < grid_.FixedCols();
    std::string background = fixed ? BgColor(kFixedBackground) : std::string();
    TBrush brush;
    brush.SetColor(fixed ? grid_.FixedColor() : kNoColor);
    if (const TCellProperties* props = grid_.GetGridObject(col, r); props && props->BrushColor() != clNone) {
      brush.SetColor(props->BrushColor());
    }
    TFont font;
    font.SetColor(kNoColor);
    font.SetStyle({});
    TGridDrawState state;
    if (fixed) state.Include(TGridDrawStateFlag::gdFixed);
    grid_.GetCellColor(col, r, state, brush, font);

    std::string fontOpen, fontClose, styleOpen, styleClose;
    if (settings_.SaveColor && brush.Color() != kNoColor) background = BgColor(brush.Color());
    if (settings_.SaveColor && font.Color() != kNoColor) {
      fontOpen = "<Font Color=" + Quoted("#" + HTMLColor(font.Color())) + ">";
      fontClose = "</Font>";
    }
    if (settings_.SaveFonts) {
      const TFontStyles style = font.Style();
      if (style.Contains(TFontStyle::fsBold)) styleOpen += "<B>", styleClose.insert(0, "</B>");
      if (style.Contains(TFontStyle::fsItalic)) styleOpen += "<I>", styleClose.insert(0, "</I>");
      if (style.Contains(TFontStyle::fsUnderline)) styleOpen += "<U>", styleClose.insert(0, "</U>");
    }
    return "<td" + span + noWrap_ + Alignment(col, r) + background + Width(widthIndex) + ">" + fontOpen + styleOpen +
           Text(col, r) + styleClose + fontClose + "</td>";
  }

  VUraRazuduVova& grid_;
  const TMarkupSettings& settings_;
  std::string noWrap_;
  std::string lines_;
};

void WriteHtml(VUraRazuduVova& grid, const std::string& FileName, TGridFileWrite mode) {
  const TMarkupSettings& settings = grid.HTMLSettings();
  std::string page;
  // Header and footer files are copied line by line; one that cannot be read is left out.
  const auto copyLines = [&](const std::string& file) {
    if (file.empty()) return;
    const std::string text = ReadOptionalTextFile(file);
    for (std::string_view line : TextLines(text)) page.append(line).append("\r\n");
  };
  copyLines(settings.HeaderFile);
  page += HtmlTable(grid).Lines();
  copyLines(settings.FooterFile);
  WriteGridFile(FileName, page, mode);
}

}  // namespace

void VUraRazuduVova::SaveToHTML(const std::string& FileName) { WriteHtml(*this, FileName, TGridFileWrite::Replace); }

void VUraRazuduVova::AppendToHTML(const std::string& FileName) { WriteHtml(*this, FileName, TGridFileWrite::Append); }

void VUraRazuduVova::SaveToXML(const std::string& FileName, const std::string& ListTag, const std::string& RecordTag,
                               const TStringList* FieldTags) {
  CheckXmlName(ListTag);
  CheckXmlName(RecordTag);
  std::vector<std::string> fieldTags;
  for (int c = GetSaveStartCol(); c <= GetSaveEndCol(); ++c) {
    const int i = c - GetSaveStartCol();
    fieldTags.push_back(FieldTags && i < FieldTags->Count() ? FieldTags->Strings(i) : "FIELD" + IntToStr(i));
    CheckXmlName(fieldTags.back());
  }
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<" + ListTag + ">\r\n";
  for (int r = GetSaveStartRow(); r <= GetSaveEndRow(); ++r) {
    xml += "<" + RecordTag + ">\r\n";
    for (int c = GetSaveStartCol(); c <= GetSaveEndCol(); ++c) {
      const std::string& tag = fieldTags[c - GetSaveStartCol()];
      xml += "<" + tag + ">";
      AppendEscaped(xml, SaveCell(RealColIndex(c), r), false);
      xml += "</" + tag + ">\r\n";
    }
    xml += "</" + RecordTag + ">\r\n";
  }
  xml += "</" + ListTag + ">\r\n";
  WriteGridFile(FileName, xml, TGridFileWrite::Replace);
}

}  // namespace velmora
