#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Graphic.h"
#include "platform/app/Component.h"

namespace controls {

using platform::TCanvas;
using platform::TComponent;
using platform::TObject;
using platform::TRect;

// A picture that the mini-markup shows besides image-list images: the raw bytes of a GIF, JPEG, BMP,
// ICO or WMF image, decoded for drawing. Of an animated GIF only the current frame (1-based) is
// decoded: the data from the header up to the first frame, followed by the data from the current
// frame on, so the decoder sees that frame first. Frames are found by their graphic control extension
// followed by an image descriptor; a GIF without any counts as a still picture.
//
// Loading raises platform::EInvalidGraphic "Could not load image. Invalid format" for data that cannot
// be decoded; the picture then keeps the data, is not Empty, and has no size and draws nothing.
class TMarkupPicture : public platform::TGraphic {
public:
  TMarkupPicture();
  ~TMarkupPicture() override;

  // Every load fills the data, clears Empty, decodes and fires OnChange.
  void LoadFromBytes(std::string_view data) override;
  std::string SaveToBytes() const override { return data_; }
  // A resource of type RCDATA compiled into the program; an unknown name changes nothing.
  void LoadFromResourceName(const std::string& ResName);
  void LoadFromResourceID(int ResID);
  // Upper-cases the URL. "RES://name" loads that resource, "FILE://path" that regular file (ID := the
  // URL; a name that is no resource or regular file changes nothing else);
  // no other scheme is fetched: with Asynch the URL is recorded as pending, without it the URL
  // becomes the ID too, and the picture stays empty.
  void LoadFromURL(const std::string& url);
  // Copies the data of source (empties this one for none) and shows its first frame.
  void Assign(const TMarkupPicture* source);
  // Stream persistence of the data: ReadData loads like LoadFromStream but fires no OnChange.
  void ReadData(platform::TStream& stream);
  void WriteData(platform::TStream& stream) const { SaveToStream(stream); }

  bool IsGIFFile() const;
  // The number of frames of a GIF (counted once), -1 for other data.
  int GetFrameCount();
  // The delay of frame n in hundredths of a second; -1 when there is no such frame or no GIF.
  int GetFrameTime(int n);
  // The GIF's logical screen size when it has one, else the picture's size.
  int GetMaxWidth();
  int GetMaxHeight();
  // The current frame's place on the GIF's logical screen.
  int FrameXPos() const { return frameLeft_; }
  int FrameYPos() const { return frameTop_; }

  int Frame() const { return frame_; }
  // Selects frame n (kept within 1..frame count) and, when there is data, decodes it and fires
  // OnFrameChange.
  void SetFrame(int n);
  // Next and previous frame, wrapping; they do not decode.
  void FrameNext();
  void FramePrev();
  // One animation step, meant for every 100 ms: once the steps' time (10 hundredths each) reaches
  // the current frame's end, the next frame is decoded and true returned. False for fewer than 2
  // frames.
  bool Step();

  // Logical resolution for the size (96 at creation).
  void SetLogPixels(int x, int y);

  bool Stretch = false;  // Draw fills the rectangle; else the picture keeps its natural size
  bool Asynch = true;
  std::string URL;
  std::string ID;

  platform::TNotifyEvent OnFrameChange;
  std::function<void(TObject* Sender, const std::string& err)> OnDownLoadError;
  platform::TNotifyEvent OnDownLoadComplete;
  std::function<void(TObject* Sender, bool& Cancel)> OnDownLoadCancel;
  std::function<void(TObject* Sender, int dwSize, int dwTotalSize)> OnDownLoadProgress;

protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  int GetWidth() const override;
  int GetHeight() const override;
  bool GetEmpty() const override { return empty_; }

private:
  void Load(std::string_view data);
  void LoadPicture();
  void ResetAnimation();

  std::string data_;
  bool empty_ = true;
  std::shared_ptr<platform::TGraphic> picture_;  // the decoded current frame
  int logPixelsX_ = 96;
  int logPixelsY_ = 96;
  bool busy_ = false;  // a download is pending; nothing fetches it
  int frame_ = 1;
  int frameCount_ = -1;  // not yet counted
  int frameLeft_ = 0;
  int frameTop_ = 0;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  int nextFrameTime_ = -1;
  int tickCount_ = -1;
};

// The pictures that IMG sources with "://" name, kept by ID (the upper-cased URL). Its owner (a label,
// a hint, the grid) keeps it across paints; the cache owns its pictures.
class TMarkupPictureCache {
public:
  TMarkupPicture* AddPicture();
  // The first picture whose ID equals url exactly; none otherwise.
  TMarkupPicture* FindPicture(std::string_view url) const;
  int Count() const { return static_cast<int>(pictures_.size()); }
  // Indexes outside the cache give none and store nothing.
  TMarkupPicture* GetPicture(int index) const;
  void SetPicture(int index, std::unique_ptr<TMarkupPicture> picture);
  void ClearPictures() { pictures_.clear(); }
  // Steps every picture; true when any changed its frame.
  bool Animate();

private:
  std::vector<std::unique_ptr<TMarkupPicture>> pictures_;
};

// A named picture of a container.
class TPictureItem {
public:
  TMarkupPicture& Picture() { return picture_; }
  const TMarkupPicture& Picture() const { return picture_; }
  void SetPicture(const TMarkupPicture& value) { picture_.Assign(&value); }
  std::string Name;
  int Tag = 0;

private:
  TMarkupPicture picture_;
};

class TPictureCollection {
public:
  TPictureItem* Add();
  // Inserts before index (kept within 0..Count).
  TPictureItem* Insert(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  // Indexes outside the collection give none and change nothing.
  TPictureItem* GetItem(int index) const;
  void SetItem(int index, const TPictureItem& value);
  bool Animate();

private:
  std::vector<std::unique_ptr<TPictureItem>> items_;
};

// A component holding named pictures for IMG sources without ":".
class TPictureContainer : public TComponent {
public:
  explicit TPictureContainer(TComponent* AOwner);

  TPictureCollection& Items() { return *items_; }
  void SetItems(std::unique_ptr<TPictureCollection> value);
  // The picture of the first item whose upper-cased Name equals name exactly (callers pass upper-case
  // names); none otherwise.
  TMarkupPicture* FindPicture(std::string_view name) const;

private:
  std::unique_ptr<TPictureCollection> items_ = std::make_unique<TPictureCollection>();
};

}  // namespace controls
