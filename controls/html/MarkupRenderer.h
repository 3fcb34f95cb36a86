#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "controls/html/RenderHTML.h"
#include "platform/gfx/Font.h"

namespace controls::markup {

using platform::TFont;
using platform::TLogFont;
using platform::TPoint;

// The arguments of one RenderHTML call.
struct RenderArgs {
  TCanvas& Canvas;
  TRect Rect;
  TCustomImageList* Images;
  int X, Y, FocusLink, HoverLink, ShadowOffset;
  bool CheckHotSpot, CheckHeight, Print, Selected, Blink, HoverStyle, WordWrap;
  double ResizeFactor;
  TColor URLColor, HoverColor, HoverFontColor, ShadowColor;
  std::string& AnchorVal;
  std::string& StripVal;
  std::string& FocusAnchor;
  int& XSize;
  int& YSize;
  int& HyperLinks;
  int& MouseLink;
  TRect& HoverRect;
  TMarkupPictureCache* PictureCache;
  TPictureContainer* PictureContainer;
  // The status bar's older dialect (RenderPanelHTML): line ends dropped, every "<#...>" unbracketed,
  // four entities decoded per run, "&" drawn as itself, any H tag a rule, FONT SIZE always in points,
  // no E tag, the anchor target after "href".
  bool PanelDialect = false;
};

// Runs one call: renders text and leaves the canvas's font, brush and pen as they were.
bool RenderMarkup(RenderArgs& args, const std::string& text);

// The passes a line goes through: the measuring pass decides the line; the second pass, at the
// line's aligned place, draws it or (HotSpot) measures and hit-tests it again.
enum class Pass { Measure, HotSpot, Draw };

// Where a line lies and what its measuring pass found. The second pass reads the height, the SUB and
// SUP heights and the descent as the measuring pass left them.
struct Line {
  TRect rect;  // the line's rectangle; its left edge is the aligned one in the second pass
  int height = 0;
  int subHeight = 0;
  int supHeight = 0;
  int descent = 0;  // raised by IMG ALIGN: text runs sit this much higher
  int available = 0;  // the width the measuring pass fits the line into
  int width = 0;
  int Bottom() const { return rect.Top + height + subHeight + supHeight; }
};

// Switches that carry from line to line with the text; both passes of a line start from the same.
struct Switches {
  bool shadow = false;
  bool hidden = false;
  bool sub = false;
  bool sup = false;
};

// The state of one RenderHTML call: everything lives for the call only.
class MarkupRenderer {
public:
  explicit MarkupRenderer(RenderArgs& args);
  bool Render(const std::string& text);

private:
  // RenderHTMLLine: one pass over the line's text at line_.rect. Consumes from text what the line
  // holds and returns it as written (text and tags).
  std::string RenderLine(Pass pass, std::string& text);
  // One text run; false when it does not fit and stays for the next line.
  bool PlaceRun(std::string& text, std::string& consumed);
  void DrawRun(const std::string& run, int width);
  int RunBottom() const;
  void Tag(std::string_view tag);
  void OpeningTag(std::string_view tag, const std::string& upper);
  void ClosingTag(const std::string& upper);
  void FontTag(const std::string& upper);
  void ParagraphTag(const std::string& upper);
  void BodyTag(const std::string& upper);
  void ListItem();
  void Rotate(const std::string& upper);

  // Images and anchors.
  void Image(const std::string& upper);
  TMarkupPicture* FindPicture(const std::string& source);
  void TileBackground(const std::string& source);
  void OpenAnchor(std::string_view tag);
  void CloseAnchor();
  bool HoverApplies() const;
  void DrawFocusRect();

  // Canvas state helpers.
  TColor BrushColorOrNone();
  void SetBrushColorOrClear(TColor color);
  void SetTextColor(TColor color);
  void FillBand(TColor color);
  int TextHeightGh();
  unsigned TextFormat() const;
  bool Drawing() const { return pass_ == Pass::Draw; }
  bool Measuring() const { return pass_ != Pass::Draw; }

  RenderArgs& a_;
  TCanvas& canvas_;
  TFont base_;
  TColor entryBrush_;

  Pass pass_ = Pass::Measure;
  Line line_;
  Switches switches_;
  bool error_ = false;  // E: drawing passes only
  int align_ = 0;       // 0 left, 1 right, 2 centre; holds from one P to the next
  int indent_ = 0;
  int listLevel_ = 0;
  int imageCount_ = 0;
  int imageUnderPoint_ = -1;
  bool paragraphBackground_ = false;
  TColor paragraphColor_ = platform::clNone;

  // Anchors.
  bool inAnchor_ = false;
  std::string anchorTarget_;
  bool hover_ = false;
  TPoint hoverStart_;
  bool focusOpen_ = false;
  TRect focusRect_;

  // Colours saved by tags; clNone until saved.
  TColor anchorBrush_ = platform::clNone;
  TColor anchorText_ = platform::clNone;
  TColor fontBrush_ = platform::clNone;
  TColor hiText_ = platform::clNone;
  TColor hiBrush_ = platform::clNone;
  TColor paragraphBrush_ = platform::clNone;
  std::vector<TLogFont> rotated_;  // the fonts that R tags replaced, innermost last

  // One pass.
  int pen_ = 0;  // horizontal pen position
  int trailingBlank_ = 0;
  bool lineEnded_ = false;
  bool deferred_ = false;  // the current tag stays for the next line
  bool placedAny_ = false;  // something of the line was consumed: a pass always consumes something
  bool lastRunEndsInBlank_ = false;
  int listItems_ = 0;
  bool anchorHit_ = false;
  bool imageHit_ = false;
  bool result_ = false;
};

// Markup attributes and numbers.
// The value of attribute `name` in an upper-cased tag: the quoted text after name="; "" when the tag
// has no such attribute (names inside quoted values do not count) or its value is not quoted.
std::string AttributeValue(std::string_view tag, std::string_view name);
// The first double-quoted text anywhere in the tag; "" when there is none.
std::string FirstQuoted(std::string_view tag);
// An optional "-" and the decimal digits that follow it, up to the first other character (0 when
// there are none), kept within +-2^20 so that markup cannot overflow the layout's arithmetic.
int LeadingNumber(std::string_view s);
// A colour value of the markup: hex when it starts with "#", else a colour name.
TColor MarkupColor(std::string_view value);
// a + b, kept within the int range.
int AddClamped(int a, int b);

}  // namespace controls::markup
