#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/html/RenderHTML.h"
#include "platform/gfx/Font.h"

namespace controls::markup {

using platform::TPoint;

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

// Everything the layout of one call depends on but the sizes of its pictures: the text, every
// argument, the canvas's font with all its attributes, its resolution, mapping mode and origin.
struct LayoutKey {
  TRect rect;
  TCustomImageList* images;
  TMarkupPictureCache* pictureCache;
  TPictureContainer* pictureContainer;
  int x, y, focusLink, hoverLink, shadowOffset;
  bool checkHotSpot, checkHeight, print, selected, blink, hoverStyle, wordWrap, panelDialect;
  double resizeFactor;
  TColor urlColor, hoverColor, hoverFontColor, shadowColor;
  std::string fontName;
  int fontHeight;
  platform::TFontStyles fontStyle;
  TColor fontColor;
  int fontOrientation, fontPixelsPerInch;
  int pixelsPerInchX, pixelsPerInchY, mapMode;
  TPoint viewportOrigin;
  std::string text;  // last, so that keys differing elsewhere compare fast
  friend bool operator==(const LayoutKey&, const LayoutKey&) = default;
};

// An IMG source as the measuring passes looked it up, and the room its picture took.
struct ImageRequest {
  std::string source;
  int givenWidth, givenHeight;
  friend auto operator<=>(const ImageRequest&, const ImageRequest&) = default;
};
struct ImageExtent {
  bool found;
  int width, height;
  friend bool operator==(const ImageExtent&, const ImageExtent&) = default;
};

// The width of a text run that the measuring pass placed, and of the blank it ends in (0 none).
struct RunExtent {
  int width, blank;
};

// One line as its measuring pass laid it out.
struct LaidOutLine {
  size_t begin = 0, end = 0;    // its markup in the prepared text
  Line line;                    // placed at its aligned left edge
  std::vector<RunExtent> runs;  // in order: the second pass places the same runs
  std::string strip;            // what the measuring pass added to StripVal
};

// The measuring passes' results of one call.
struct Layout {
  std::vector<LaidOutLine> lines;
  std::map<ImageRequest, ImageExtent> images;
  int hyperLinks = 0;  // the anchors the measuring passes met, as a CheckHeight call reports them
};

// The layouts of the latest calls on one thread, most recent first, at most kMaxLayouts of them and
// kMaxBytes in all; the oldest go first. Nothing else removes one: a key that differs, or a picture
// whose size differs, simply finds none.
class LayoutCache {
public:
  static constexpr size_t kMaxLayouts = 32;
  static constexpr size_t kMaxBytes = 32u << 20;

  // The layout of the key, if its pictures still take the room it measured (StillSized tells);
  // a layout found becomes the most recent, and stays valid for its user when it leaves the cache.
  std::shared_ptr<const Layout> Find(const LayoutKey& key, const std::function<bool(const Layout&)>& StillSized);
  void Keep(LayoutKey key, Layout layout);
  void Clear();
  size_t Found() const { return found_; }  // layouts found since the thread began

private:
  struct Entry {
    LayoutKey key;
    std::shared_ptr<const Layout> layout;
    size_t bytes;
  };
  std::list<Entry> entries_;
  size_t bytes_ = 0;
  size_t found_ = 0;
};

// The calling thread's cache.
LayoutCache& ThreadLayoutCache();

}  // namespace controls::markup
