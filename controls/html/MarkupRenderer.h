#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/html/MarkupLayoutCache.h"
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

// Switches that carry from line to line with the text; both passes of a line start from the same.
struct Switches {
  bool shadow = false;
  bool hidden = false;
  bool sub = false;
  bool sup = false;
};

// The first "<" of a text at or after a position. The passes go back to the start of each line, so
// the finder keeps its last answer and scans each stretch of the text only a few times in all.
class TagFinder {
public:
  explicit TagFinder(std::string_view text = {}) : text_(text) {}
  size_t From(size_t at);  // npos when there is none

private:
  std::string_view text_;
  size_t from_ = std::string_view::npos;  // the first "<" at or after from_ is at found_
  size_t found_ = std::string_view::npos;
};

// The state of one RenderHTML call: everything lives for the call only.
class MarkupRenderer {
public:
  explicit MarkupRenderer(RenderArgs& args);
  bool Render(const std::string& text);

private:
  // The measuring pass of the line that starts at `at`, which then moves to the next line's start.
  // Without CheckHeight the state that the line's second pass starts from is put back.
  LaidOutLine MeasureLine(size_t& at, const TRect& working, TFont& measureFont);
  LayoutKey Key(const std::string& text);
  // RenderHTMLLine: one pass over the markup of text_ from begin to end at line_.rect. Returns where
  // what the line holds ends; dropsRest_ tells that the pass dropped the text after it.
  size_t RenderLine(Pass pass, size_t begin, size_t end);
  size_t RunLength();
  // One text run at pos_; false when it does not fit and stays for the next line.
  bool PlaceRun();
  // The run's extent: measured in the measuring pass, which records it, taken from the record after.
  RunExtent Extent(const std::string& run, bool endsInBlank);
  bool Reaches(const TRect& r) const;
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
  // Where an IMG source's picture comes from and the room it takes: neither a list nor a picture
  // when it is not found.
  struct ImageSource {
    TCustomImageList* list = nullptr;
    int listIndex = -1;
    TMarkupPicture* picture = nullptr;
    int width = 0, height = 0;
  };
  ImageSource FindImage(const ImageRequest& request);
  bool StillSized(const std::map<ImageRequest, ImageExtent>& images);
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
  bool hitSomething_ = false;  // a pass found the point on an anchor or image: the layout is not kept
  std::map<ImageRequest, ImageExtent> sizedImages_;  // by the measuring passes
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

  // The prepared text and the walk of one pass over it.
  std::string_view text_;
  TagFinder tags_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool dropsRest_ = false;  // an unclosed tag, or a line cut without word wrap
  std::vector<RunExtent> measuredRuns_;      // by the measuring pass of the current line
  const std::vector<RunExtent>* placedRuns_ = nullptr;  // for the second pass
  size_t nextRun_ = 0;
  std::optional<TRect> clipBox_;  // of a drawing pass on an unmapped canvas: what runs can reach

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
