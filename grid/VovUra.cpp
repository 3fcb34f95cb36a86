#include "grid/VovUra.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"
#include "platform/gfx/Picture.h"

namespace velmora {

int TIntList::GetInteger(int Index) const {
  CheckIndex(Index);
  return items_[Index];
}

int TIntList::IndexOf(int Value) const {
  const auto at = std::ranges::find(items_, Value);
  return at == items_.end() ? -1 : static_cast<int>(at - items_.begin());
}

void TIntList::SetInteger(int Index, int Value) {
  CheckIndex(Index);
  items_[Index] = Value;
  Changed();
}

int TIntList::Add(int Value) {
  items_.push_back(Value);
  Changed();
  return Count() - 1;
}

void TIntList::Delete(int Index) {
  CheckIndex(Index);
  items_.erase(items_.begin() + Index);
  Changed();
}

void TIntList::Clear() {
  items_.clear();
  Changed();
}

void TIntList::Changed() {
  if (OnChange) OnChange(*this, tag1_, tag2_);
}

void TIntList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw platform::EListError(platform::Format("List index out of bounds (%d)", Index));
}

void TSortIndexList::AddIndex(int ACol, bool Ascending) {
  const uint32_t item = static_cast<uint32_t>(ACol) | (Ascending ? 0 : kDescending);
  Add(static_cast<int>(item));
}

int TSortIndexList::FindIndex(int ACol) const {
  for (int i = 0; i < Count(); ++i)
    if ((static_cast<uint32_t>(GetInteger(i)) & ~kDescending) == static_cast<uint32_t>(ACol)) return i;
  return -1;
}

void TSortIndexList::ToggleIndex(int ACol) {
  const int at = FindIndex(ACol);
  if (at >= 0) SetInteger(at, static_cast<int>(static_cast<uint32_t>(GetInteger(at)) ^ kDescending));
}

void TFilePicture::SetFileName(const std::string& Value) {
  fileName_ = Value;
  width_ = height_ = 0;
  if (Value.empty()) return;
  platform::TPicture picture;
  picture.LoadFromFile(Value);
  width_ = picture.Width();
  height_ = picture.Height();
}

void TFilePicture::DrawPicture(platform::TCanvas& Canvas, const platform::TRect& Rect) const {
  if (fileName_.empty()) return;
  platform::TPicture picture;
  picture.LoadFromFile(fileName_);
  if (picture.Graphic()) Canvas.StretchDraw(Rect, *picture.Graphic());
}

}  // namespace velmora
