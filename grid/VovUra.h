#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/ui/ExtCtrls.h"

namespace velmora {

enum class TArrowDirection : uint8_t { arrUp, arrDown, arrLeft, arrRight };

// A small arrow-shaped pop-up window in lime that marks where a dragged row or column will land. It
// starts hidden, sized to its outline; the grid places it (in screen coordinates) and shows it, and the
// form of its owner keeps it above itself.
class TArrowWindow : public platform::TPanel {
public:
  TArrowWindow(platform::TComponent* AOwner, TArrowDirection Direction);

  TArrowDirection Direction() const { return direction_; }
  // The window's shape, in window pixels. arrUp and arrDown point up and down; arrLeft has its tip on
  // the right and arrRight on the left: each points at the gap it marks from the side it stands on.
  const std::array<platform::TPoint, 7>& Outline() const;

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void CreateWnd() override;

private:
  TArrowDirection direction_;
};

// A top-most pop-up window like a button with a caption, which shows the dragged row's or column's
// text under the mouse. It starts hidden; its caption is centred on one line and cut with an ellipsis
// when it does not fit, inside a raised one-pixel frame unless Flat.
class TPopupButton : public platform::TCustomControl {
public:
  explicit TPopupButton(platform::TComponent* AOwner);

  bool Flat() const { return flat_; }
  void SetFlat(bool value);

protected:
  void CreateParams(platform::TCreateParams& Params) override;
  void Paint() override;

private:
  bool flat_ = false;
};

// A list of 32-bit integers that reports every change. The grid makes one per cell image list with the
// cell's column and row as tags, so the handler knows which cell to repaint; other lists carry no tags.
// Indices outside 0..Count()-1 raise platform::EListError "List index out of bounds (<index>)".
class TIntList {
public:
  using TIntListChangeEvent = std::function<void(TIntList& Sender, int Tag1, int Tag2)>;

  TIntList(int Tag1 = 0, int Tag2 = 0) : tag1_(Tag1), tag2_(Tag2) {}
  TIntList(const TIntList&) = delete;
  TIntList& operator=(const TIntList&) = delete;
  virtual ~TIntList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  int GetInteger(int Index) const;
  int IndexOf(int Value) const;  // -1 when absent

  // Each of these calls OnChange once.
  void SetInteger(int Index, int Value);
  int Add(int Value);  // returns the new item's index
  void Delete(int Index);
  void Clear();

  TIntListChangeEvent OnChange;

private:
  void Changed();
  void CheckIndex(int Index) const;

  std::vector<int32_t> items_;
  int tag1_;
  int tag2_;
};

// Column indices of a multi-column sort: the low 31 bits of an item are the column, the top bit set
// means descending.
class TSortIndexList : public TIntList {
public:
  static constexpr uint32_t kDescending = 0x80000000u;

  void AddIndex(int ACol, bool Ascending);
  // Position of the first item for the column; -1 when none.
  int FindIndex(int ACol) const;
  // Flips the direction of the first item for the column; nothing when there is none.
  void ToggleIndex(int ACol);
};

// A picture known by its file name and size only: it is read from the file to learn its size and again
// at every draw, and never kept in memory. Read errors are the picture loader's exceptions
// (platform::EInvalidGraphic, platform::EFOpenError) and reach the caller.
class TFilePicture {
public:
  const std::string& FileName() const { return fileName_; }
  // An empty name clears the size; any other is read once for it.
  void SetFileName(const std::string& Value);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // The picture stretched into Rect; nothing without a file name.
  void DrawPicture(platform::TCanvas& Canvas, const platform::TRect& Rect) const;

private:
  std::string fileName_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace velmora
