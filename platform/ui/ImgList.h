#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/app/Component.h"

namespace platform {

class TCustomImageList;

// How a user of an image list hears of its changes: register a link with RegisterChanges and set
// OnChange. A link unregisters itself when destroyed; a list destroyed first leaves its links with no
// Sender.
class TChangeLink {
public:
  TChangeLink() = default;
  ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  TCustomImageList* Sender() const { return sender_; }
  TNotifyEvent OnChange;

private:
  friend class TCustomImageList;
  TCustomImageList* sender_ = nullptr;
};

// A list of images of one size (16 x 16 at creation), each kept with its transparency. Images are
// added one by one or as a horizontal strip that is cut into images of the list's width. A change of
// the images or the size fires OnChange and the registered links' OnChange.
class TCustomImageList : public TComponent {
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Setting a different size removes every image.
  void SetWidth(int value);
  void SetHeight(int value);
  int Count() const { return static_cast<int>(images_.size()); }

  // Adds the images of a strip and returns the index of the first, or -1 when the strip is narrower
  // than one image. Add takes the transparency from a mask (white pixels transparent; none: the
  // strip's own alpha when its alpha format is defined, else opaque);
  // AddMasked leaves out the pixels of MaskColor (clDefault: the colour of the bottom-left pixel).
  // A strip of another height is cut or filled with transparent pixels at the bottom.
  int Add(const TBitmap& Image, const TBitmap* Mask);
  int AddMasked(const TBitmap& Image, TColor MaskColor);
  void Delete(int Index);  // an index outside the list changes nothing
  void Clear();

  // Draws image Index with its top-left corner at (X, Y); disabled, it shows in the classic embossed
  // look (highlight one pixel down and right, shadow over it). An index outside the list draws nothing.
  void Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled = true);
  // Image Index drawn on white into Image, which takes the list's size; false outside the list.
  bool GetBitmap(int Index, TBitmap& Image);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  TNotifyEvent OnChange;

private:
  int AddStrip(const TBitmap& Image, const std::vector<bool>& transparent);
  void Resize(int width, int height);
  void Change();

  int width_ = 16;
  int height_ = 16;
  std::vector<std::unique_ptr<TBitmap>> images_;  // alpha 0 on transparent pixels, alpha format defined
  std::vector<TChangeLink*> links_;
};

// The image list component as forms place it.
class TImageList : public TCustomImageList {
public:
  using TCustomImageList::TCustomImageList;
};

}  // namespace platform
