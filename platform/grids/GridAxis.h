#pragma once

#include <vector>

#include "platform/grids/GapVector.h"

namespace platform {

// One direction of a grid's geometry (its columns or its rows): the count, the fixed items at the start,
// the sizes, the first scrolling item shown (LeftCol or TopRow) and the width of the line that follows
// every item. Painting and mouse handling both ask it, so they always agree on where an item lies.
//
// Client positions: the fixed items from 0, one after another, each followed by its line; then the
// scrolling items from `First` on. Items between the fixed ones and `First` are scrolled away.
class GridAxis {
public:
  int Count() const { return count_; }
  int Fixed() const { return fixed_; }
  int First() const { return first_; }
  int LineWidth() const { return lineWidth_; }
  int DefaultSize() const { return defaultSize_; }

  // Lowering the count to or below the fixed items lowers them to count - 1 (never below 0); the first
  // scrolling item stays within the scrolling ones.
  void SetCount(int count);
  void SetFixed(int fixed);  // at most count - 1
  void SetFirst(int first);  // clamped to fixed .. count - 1
  void SetLineWidth(int width) { lineWidth_ = width < 0 ? 0 : width; }
  // A new default size replaces every per-item size.
  void SetDefaultSize(int size);

  int Size(int i) const;
  void SetSize(int i, int size);

  // The width of the fixed items with their lines.
  int FixedExtent() const;
  // Where item i starts in client coordinates; a scrolled-away item lies before the scrolling area.
  int Start(int i) const;
  // Whether item i, fixed or scrolling from First(), starts before `extent`; in time bounded by the
  // items shown, however far i lies.
  bool StartsWithin(int i, int extent) const;
  // The number of scrolling items from First() that fit whole into `extent` client pixels (at least 1
  // when there is a scrolling item).
  int VisibleCount(int extent) const;
  // The item under client position `pos` (its line included), -1 outside the items up to `extent`.
  int ItemAt(int pos, int extent) const;
  // The largest First() that still shows the last item whole within `extent`.
  int MaxFirst(int extent) const { return FirstEndingAt(count_ - 1, extent); }
  // The smallest First() that shows item `last` whole within `extent`, as the last item shown.
  int FirstEndingAt(int last, int extent) const;
  // The First() nearest to the current one that shows `item` whole within `extent` (its line may
  // reach past it); the current one for a fixed item or one outside the axis. In time bounded by the
  // items passed over.
  int FirstShowing(int item, int extent) const;
  // Whether any item of lo .. hi lies in the client area up to `extent`; in time bounded by the items
  // shown and the scrolled-away part of the range.
  bool Shows(int lo, int hi, int extent) const;

  // The items in the client area up to `extent` in client order (the fixed ones, then the scrolling
  // ones from First()), each with where it starts; one walk for a whole paint.
  struct Placed {
    int index;
    int start;
  };
  std::vector<Placed> ShownItems(int extent) const;

  // Item `from` moves to `to`, keeping its size.
  void MoveItem(int from, int to);
  void DeleteItem(int i);
  // `count` items of the default size inserted before `at` (0 .. Count()), or deleted from `at` on
  // (clamped to the items there are), with one move of the sizes; First() keeps its index (clamped).
  void InsertItems(int at, int count);
  void DeleteItems(int at, int count);
  // Sets of items, each in one pass over the sizes: the items at the strictly increasing `items` deleted,
  // or new items inserted so that item j stands at positions[j] afterwards (strictly increasing, each
  // below Count() + their number), of sizes[j] (of the default size when `sizes` is empty). The other
  // items keep their sizes, and First() its index (clamped). The caller checks the indices.
  void DeleteItemSet(const std::vector<int>& items);
  void InsertItemSet(const std::vector<int>& positions, const std::vector<int>& sizes);
  // Two items exchange their sizes.
  void SwapItems(int a, int b);
  // Item first + k takes the size of item order[k], for order a permutation of first .. first +
  // order.size() - 1 (the caller checks it); true when any item's size changed.
  bool PermuteItems(int first, const std::vector<int>& order);

private:
  int count_ = 5;
  int fixed_ = 1;
  int first_ = 1;
  int defaultSize_ = 24;
  int lineWidth_ = 1;
  // Empty while every item has the default size; items past its end have it. A gap vector, so that
  // inserting or deleting an item near another costs the items between, not those after.
  GapVector<int> sizes_;
};

}  // namespace platform
