#pragma once

#include <cstdint>
#include <memory>

#include "grid/DovAdizTypes.h"
#include "grid/VovUra.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/Picture.h"

namespace velmora {

// Where a cell graphic sits in its cell, beside or instead of the text.
enum class TCellHAlign : uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum class TCellVAlign : uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
// How a picture fills its cell.
enum class TStretchMode : uint8_t { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

// The colours of a progress bar: the filled part, the rest, and the text over each.
struct TProgressColors {
  platform::TColor Bar = platform::clNone;
  platform::TColor Background = platform::clNone;
  platform::TColor BarText = platform::clNone;
  platform::TColor Text = platform::clNone;
};

// An object that a cell graphic either owns (made by the grid) or borrows from the caller, who keeps
// it alive as long as the graphic refers to it.
template <class T>
class TCellContent {
public:
  TCellContent() = default;
  TCellContent(const TCellContent&) = delete;
  TCellContent& operator=(const TCellContent&) = delete;
  ~TCellContent() { Reset(); }

  T* Get() const { return object_; }
  bool Owned() const { return owned_; }
  T& Own(std::unique_ptr<T> object) {
    Reset();
    owned_ = true;
    object_ = object.release();
    return *object_;
  }
  void Borrow(T* object) {
    Reset();
    object_ = object;
  }

private:
  void Reset() {
    if (owned_) delete object_;
    object_ = nullptr;
    owned_ = false;
  }

  T* object_ = nullptr;
  bool owned_ = false;
};

// The graphic or control that a cell shows beside or instead of its text, hung on the cell's property
// object (GraphicObject) and owned by the grid, which frees it with the property object wherever the
// cell goes. Each kind uses its own members; the kind is set only by the grid when it makes the graphic,
// so the grid's count of node cells always matches the graphics alive. Objects the grid made (or
// copied, as a bit button's glyph) are freed with the graphic; objects an Add variant was handed stay
// the caller's.
class TCellGraphic : public platform::TObject {
public:
  explicit TCellGraphic(TCellType AType) : cellType_(AType) {}

  TCellType CellType() const { return cellType_; }

  TCellHAlign HAlign = TCellHAlign::haLeft;
  TCellVAlign VAlign = TCellVAlign::vaTop;
  // A bitmap or picture is drawn transparent.
  bool Transparent = false;
  // Check-box checked, node contracted, button pushed; radio and multi-image laid out horizontally.
  bool State = false;
  platform::TColor Color = platform::clNone;
  uint16_t Marker1 = 0;
  uint16_t Marker2 = 0;

  TCellContent<platform::TBitmap> Bitmap;  // ctBitmap; the glyph of ctBitButton (always owned)
  TCellContent<platform::TPicture> Picture;
  TCellContent<TFilePicture> FilePicture;
  TCellContent<platform::TIcon> Icon;
  // Radio items (owned or borrowed); the caption of a button, the text of a comment (owned).
  TCellContent<platform::TStringList> Strings;
  std::unique_ptr<TIntList> Images;  // ctImages: the image list indices

  int ImageIndex = 0;  // ctImageList, ctDataImage
  int NodeSpan = 0;    // ctNode: the rows under the node, 0 up to the next node
  int NodeHold = 0;    // ctNode while contracted: the id of the holds it took on the rows it hid
  // ctRadio: the chosen item; negative: the choice follows the cell text.
  int RadioIndex = 0;
  int Padding = 0;  // ctPicture, ctFilePicture
  TStretchMode StretchMode = TStretchMode::noStretch;
  int Angle = 0;  // ctRotated: 0 .. 360
  platform::TSize ButtonSize;
  // Where painting last placed the button, relative to the cell's top-left corner (may be negative).
  platform::TPoint ButtonPos;
  TProgressColors Progress;  // State: the text colours are the graphic's own

private:
  TCellType cellType_;
};

}  // namespace velmora
