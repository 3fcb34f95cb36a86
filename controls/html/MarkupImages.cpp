#include <algorithm>
#include <cmath>

#include "controls/html/MarkupRenderer.h"
#include "platform/core/Exception.h"
#include "platform/gfx/CanvasStateGuard.h"
#include "platform/gfx/Gdi.h"
#include "platform/ui/SystemImageList.h"

namespace controls::markup {

using namespace platform;

namespace {

int Scaled(int size, TCanvas& canvas, int index) { return MulDiv(size, GetDeviceCaps(canvas.Handle(), index), 96); }

// The system icon index of an SSYS or LSYS source: a number is the index itself, anything else names
// a file or folder (or a type, by its name); -1 when a number lies outside the lists.
int SystemIconIndex(const std::string& path) {
  const bool number = !path.empty() && std::all_of(path.begin(), path.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!number) return SystemImageList().IconIndex(path);
  return path.size() <= 9 && std::stoi(path) < SystemImageList().Count() ? std::stoi(path) : -1;
}

void FillWith(TCanvas& canvas, const TRect& r, TColor color) {
  TBrush saved;
  saved.Assign(canvas.Brush());
  canvas.Brush().SetColor(color);
  canvas.FillRect(r);
  canvas.Brush().Assign(saved);
}

}  // namespace

MarkupRenderer::ImageSource MarkupRenderer::FindImage(const ImageRequest& request) {
  const std::string& source = request.source;
  const bool givenSize = request.givenWidth >= 1 && request.givenHeight >= 1;
  ImageSource found;
  if (source.starts_with("IDX:")) {
    const int n = LeadingNumber(std::string_view(source).substr(4));
    if (a_.Images && n >= 0 && n < a_.Images->Count()) {
      found.list = a_.Images;
      found.listIndex = n;
    }
  } else if (source.starts_with("SSYS:") || source.starts_with("LSYS:")) {
    found.list = &SystemImageList().Images(source[0] == 'S' ? TShellIconSize::Small : TShellIconSize::Large);
    found.listIndex = SystemIconIndex(source.substr(5));
    if (found.listIndex < 0) found.list = nullptr;
  } else if (source.find(':') == std::string::npos || source.find("://") != std::string::npos) {
    TMarkupPicture* picture = FindPicture(source);
    if (picture && !picture->Empty()) {
      found.picture = picture;
      found.width = Scaled(givenSize ? request.givenWidth : picture->GetMaxWidth(), canvas_, LOGPIXELSX);
      found.height = Scaled(givenSize ? request.givenHeight : picture->GetMaxHeight(), canvas_, LOGPIXELSY);
    }
  }
  if (found.list) {
    found.width = Scaled(found.list->Width(), canvas_, LOGPIXELSX);
    found.height = Scaled(found.list->Height(), canvas_, LOGPIXELSY);
  }
  return found;
}

bool MarkupRenderer::StillSized(const std::map<ImageRequest, ImageExtent>& images) {
  for (const auto& [request, extent] : images) {
    const ImageSource now = FindImage(request);
    if (!(ImageExtent{now.list || now.picture, now.width, now.height} == extent)) return false;
  }
  return true;
}

void MarkupRenderer::Image(const std::string& upper) {
  const int number = ++imageCount_;
  ImageRequest request{AttributeValue(upper, "SRC"), LeadingNumber(AttributeValue(upper, "WIDTH")),
                       LeadingNumber(AttributeValue(upper, "HEIGHT"))};
  // ALT names the picture shown while the point lies on the image.
  if (number == imageUnderPoint_) {
    if (std::string alt = AttributeValue(upper, "ALT"); !alt.empty()) request.source = std::move(alt);
  }
  const bool givenSize = request.givenWidth >= 1 && request.givenHeight >= 1;
  const ImageSource image = FindImage(request);
  TCustomImageList* list = image.list;
  const int listIndex = image.listIndex;
  TMarkupPicture* picture = image.picture;
  const int width = image.width, height = image.height;
  if (pass_ == Pass::Measure) sizedImages_[request] = {list || picture, width, height};
  if (!list && !picture) return;  // not found: no room, nothing drawn

  if (placedAny_ && AddClamped(line_.width, width) > line_.available && width < line_.available) {
    lineEnded_ = deferred_ = true;
    return;
  }
  const int top = line_.rect.Top;
  if (inAnchor_ && a_.X > pen_ && a_.X < AddClamped(pen_, width) && a_.Y > top && a_.Y < AddClamped(top, height)) {
    imageHit_ = true;
    a_.AnchorVal = anchorTarget_;
    imageUnderPoint_ = number;
  }
  if (Drawing()) {
    if (list && a_.Print) {
      TBitmap bitmap;
      list->GetBitmap(listIndex, bitmap);
      const int w = static_cast<int>(std::lround(list->Width() * a_.ResizeFactor));
      const int h = static_cast<int>(std::lround(list->Height() * a_.ResizeFactor));
      PrintBitmap(canvas_, Bounds(pen_, top, w, h), bitmap);
    } else if (list) {
      list->Draw(canvas_, pen_, top, listIndex, true);
    } else if (givenSize) {
      canvas_.StretchDraw(Bounds(pen_, top, width, height), *picture);
    } else {
      if (picture->GetFrameCount() > 1) FillWith(canvas_, Bounds(pen_, top, width, height), entryBrush_);
      canvas_.Draw(pen_ + picture->FrameXPos(), top + picture->FrameYPos(), *picture);
    }
  }
  line_.width = AddClamped(line_.width, width);
  pen_ = AddClamped(pen_, width);
  line_.height = std::max(line_.height, height);
  trailingBlank_ = 0;
  placedAny_ = true;

  const std::string align = AttributeValue(upper, "ALIGN");
  if (align.starts_with("TOP"))
    line_.descent = line_.height - TextHeightGh();
  else if (align.starts_with("MIDDLE"))
    line_.descent = (line_.height - TextHeightGh()) >> 1;
}

// A picture named by an IMG source or a BODY background: a name without ":" from the container, a
// URL from the cache, where a URL not met before is added and loaded (a picture that cannot be loaded
// stays empty).
TMarkupPicture* MarkupRenderer::FindPicture(const std::string& source) {
  if (source.find(':') == std::string::npos) return a_.PictureContainer ? a_.PictureContainer->FindPicture(source) : nullptr;
  if (source.find("://") == std::string::npos || !a_.PictureCache) return nullptr;
  if (TMarkupPicture* cached = a_.PictureCache->FindPicture(source)) return cached;
  TMarkupPicture* added = a_.PictureCache->AddPicture();
  added->Asynch = false;
  try {
    added->LoadFromURL(source);
  } catch (const Exception&) {
  }
  return a_.PictureCache->FindPicture(source);
}

void MarkupRenderer::TileBackground(const std::string& source) {
  TMarkupPicture* picture = FindPicture(source);
  if (!picture || picture->Empty() || picture->Width() <= 0 || picture->Height() <= 0) return;
  // Only the tiles that the clip lets through are drawn.
  TRect area;
  if (!IntersectRect(area, a_.Rect, canvas_.ClipRect())) return;
  const int w = picture->Width(), h = picture->Height();
  const int firstX = a_.Rect.Left + (area.Left - a_.Rect.Left) / w * w;
  const int firstY = a_.Rect.Top + (area.Top - a_.Rect.Top) / h * h;
  HDC dc = canvas_.Handle();
  CanvasStateGuard state(canvas_);
  IntersectClipRect(dc, a_.Rect.Left, a_.Rect.Top, a_.Rect.Right, a_.Rect.Bottom);
  for (int y = firstY; y < area.Bottom; y += h)
    for (int x = firstX; x < area.Right; x += w) canvas_.Draw(x, y, *picture);
}

}  // namespace controls::markup
