#include <algorithm>

#include "controls/html/MarkupRenderer.h"
#include "platform/core/Ascii.h"
#include "platform/core/StrUtils.h"
#include "platform/gfx/Gdi.h"

namespace controls::markup {

using namespace platform;

namespace {

// Point sizes of FONT SIZE 1 to 5; other numbers are points themselves, up to kMaxFontSize.
constexpr int kFontSizes[] = {8, 10, 12, 14, 16};
constexpr int kMaxFontSize = 1000;
constexpr int kListIndent = 12;

}  // namespace

void MarkupRenderer::Tag(std::string_view tag) {
  const std::string upper = UpperCase(tag);
  if (upper.size() > 3 && upper[1] == '/')
    ClosingTag(upper);
  else
    OpeningTag(tag, upper);
}

void MarkupRenderer::OpeningTag(std::string_view tag, const std::string& upper) {
  TFont& font = canvas_.Font();
  const char next = upper[2];
  switch (upper[1]) {
    case 'A':
      OpenAnchor(tag);
      break;
    case 'B':
      if (next == '>') {
        font.SetStyle(font.Style() + TFontStyle::fsBold);
      } else if (next == 'R') {
        lineEnded_ = true;
        a_.StripVal += '\r';
      } else if (next == 'L') {
        if (!a_.Blink) SetTextColor(entryBrush_);
      } else if (next == 'O') {
        BodyTag(upper);
      }
      break;
    case 'E':
      if (Drawing() && !a_.PanelDialect) error_ = true;
      break;
    case 'F':
      FontTag(upper);
      break;
    case 'H':
      if (next == 'I' && Drawing() && !a_.PanelDialect) {
        hiText_ = font.Color();
        hiBrush_ = BrushColorOrNone();
        canvas_.Brush().SetColor(clHighlight);
        SetTextColor(clHighlightText);
      } else if (next == 'R' || a_.PanelDialect) {
        lineEnded_ = true;
        if (Drawing()) {
          const int y = RunBottom() + 1;
          TPen saved;
          saved.Assign(canvas_.Pen());
          canvas_.Pen().SetColor(clBlack);
          canvas_.MoveTo(line_.rect.Left, y);
          canvas_.LineTo(line_.rect.Right, y);
          canvas_.Pen().Assign(saved);
        }
      }
      break;
    case 'I':
      if (next == '>') {
        font.SetStyle(font.Style() + TFontStyle::fsItalic);
      } else if (next == 'N') {
        const int x = LeadingNumber(AttributeValue(upper, "X"));
        if (x > line_.width) {
          line_.width = x;
          pen_ = std::max(pen_, AddClamped(line_.rect.Left, x));
        }
      } else if (next == 'M') {
        Image(upper);
      }
      break;
    case 'L':
      ListItem();
      break;
    case 'P':
      ParagraphTag(upper);
      break;
    case 'R':
      Rotate(upper);
      break;
    case 'S':
      if (next == '>')
        font.SetStyle(font.Style() + TFontStyle::fsStrikeOut);
      else if (next == 'H')
        switches_.shadow = true;
      else if (upper.starts_with("<SUB>"))
        switches_.sub = true;
      else if (upper.starts_with("<SUP>"))
        switches_.sup = true;
      break;
    case 'U':
      if (next == '>')
        font.SetStyle(font.Style() + TFontStyle::fsUnderline);
      else
        ++listLevel_;
      break;
    case 'Z':
      switches_.hidden = true;
      break;
    default:
      break;
  }
}

void MarkupRenderer::ClosingTag(const std::string& upper) {
  TFont& font = canvas_.Font();
  const char next = upper[3];
  switch (upper[2]) {
    case 'A':
      CloseAnchor();
      break;
    case 'B':
      if (next == '>' || (a_.PanelDialect && next != 'L'))
        font.SetStyle(font.Style() - TFontStyle::fsBold);
      else
        SetTextColor(base_.Color());
      break;
    case 'E':
      if (Drawing()) error_ = false;
      break;
    case 'F':
      font.SetName(base_.Name());
      font.SetHeight(base_.Height());
      if (!a_.Selected && Drawing()) {
        SetTextColor(base_.Color());
        SetBrushColorOrClear(fontBrush_);
      }
      break;
    case 'H':
      if (Drawing()) {
        if (hiText_ != clNone) SetTextColor(hiText_);
        SetBrushColorOrClear(hiBrush_);
      }
      break;
    case 'I':
      font.SetStyle(font.Style() - TFontStyle::fsItalic);
      break;
    case 'P':
      lineEnded_ = true;
      if (Drawing()) {
        SetBrushColorOrClear(paragraphBrush_);
        paragraphBackground_ = false;
      }
      break;
    case 'R':
      if (!rotated_.empty()) {
        SelectFont(canvas_.Handle(), rotated_.back());
        rotated_.pop_back();
      }
      break;
    case 'S':
      if (next == 'U')
        switches_.sub = switches_.sup = false;
      else if (next == 'H')
        switches_.shadow = false;
      else
        font.SetStyle(font.Style() - TFontStyle::fsStrikeOut);
      break;
    case 'U':
      if (upper == "</U>" || listLevel_ == 0)
        font.SetStyle(font.Style() - TFontStyle::fsUnderline);
      else
        --listLevel_;
      break;
    case 'Z':
      switches_.hidden = false;
      break;
    default:
      break;
  }
}

void MarkupRenderer::FontTag(const std::string& upper) {
  TFont& font = canvas_.Font();
  // Attributes are looked for after the tag's name.
  const std::string_view attributes = std::string_view(upper).substr(std::min<size_t>(upper.size(), 5));
  if (const std::string face = AttributeValue(attributes, "FACE"); !face.empty()) font.SetName(face);
  if (const std::string color = AttributeValue(attributes, "COLOR"); !color.empty() && !a_.Selected)
    SetTextColor(MarkupColor(color));
  if (const std::string background = AttributeValue(attributes, "BGCOLOR");
      !background.empty() && !a_.Selected && Drawing()) {
    fontBrush_ = BrushColorOrNone();
    SetBrushColorOrClear(MarkupColor(background));
  }
  if (const std::string size = AttributeValue(attributes, "SIZE"); !size.empty()) {
    const int n = LeadingNumber(size);
    font.SetSize(n >= 1 && n <= 5 && !a_.PanelDialect ? kFontSizes[n - 1] : std::clamp(n, 0, kMaxFontSize));
  }
}

void MarkupRenderer::ParagraphTag(const std::string& upper) {
  const std::string_view attributes = std::string_view(upper).substr(2);
  const std::string align = AttributeValue(attributes, "ALIGN");
  if (align.find("RIGHT") != std::string::npos) align_ = 1;
  if (align.find("LEFT") != std::string::npos) align_ = 0;
  if (align.find("CENTER") != std::string::npos) align_ = 2;
  if (const std::string indent = AttributeValue(attributes, "INDENT"); !indent.empty())
    indent_ = LeadingNumber(indent);
  if (const std::string color = AttributeValue(attributes, "BGCOLOR"); !color.empty() && Drawing()) {
    paragraphBrush_ = BrushColorOrNone();
    paragraphColor_ = MarkupColor(color);
    SetBrushColorOrClear(paragraphColor_);
    canvas_.Pen().SetColor(paragraphColor_);
    paragraphBackground_ = true;
    FillBand(paragraphColor_);
  }
}

void MarkupRenderer::BodyTag(const std::string& upper) {
  if (!Drawing()) return;
  const std::string color = AttributeValue(upper, "BGCOLOR");
  const bool name = color.find("CL") != std::string::npos;
  const bool hex = color.find('#') != std::string::npos;
  if (name || hex) {
    const TColor c = name ? ColorFromName(LowerCase(color)) : ColorFromHex(color.substr(color.find('#')));
    canvas_.Brush().SetColor(c);
    canvas_.Pen().SetColor(c);
    canvas_.FillRect(a_.Rect);
    fontBrush_ = c;
  }
  if (const std::string source = AttributeValue(upper, "BACKGROUND"); !source.empty()) TileBackground(source);
}

void MarkupRenderer::ListItem() {
  if (++listItems_ > 1 && placedAny_) {
    lineEnded_ = deferred_ = true;
    return;
  }
  line_.width = AddClamped(line_.width, listLevel_ * kListIndent);
  pen_ = AddClamped(pen_, (listLevel_ - 1) * kListIndent);
  if (Drawing()) {
    TFont& font = canvas_.Font();
    const std::string name = font.Name();
    font.SetName("Symbol");
    // In the Symbol face, character 0xB7 is the bullet.
    canvas_.TextOut(pen_, line_.rect.Top, listLevel_ % 2 == 1 ? "\xC2\xB7" : "o");
    font.SetName(name);
  }
  pen_ = AddClamped(pen_, kListIndent);
}

void MarkupRenderer::Rotate(const std::string& upper) {
  const int angle = LeadingNumber(AttributeValue(upper, "A"));
  TLogFont rotated = canvas_.Font().LogFont();
  rotated.Escapement = angle * 10;
  rotated_.push_back(SelectFont(canvas_.Handle(), rotated));
}

}  // namespace controls::markup
