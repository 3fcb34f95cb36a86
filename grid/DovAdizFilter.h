#pragma once

#include <cstdint>
#include <string>

#include "platform/app/Collection.h"

namespace velmora {

// One condition of a grid's filter: the text of column Column must satisfy the pattern Condition
// (the pattern language of MatchStrEx), compared with or without regard to case. Changing it does not
// filter again; the grid applies its filter when FilterActive is set.
class TFilterData : public platform::TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;

  void Assign(const platform::TPersistent* Source) override;

  int16_t Column = 0;  // a real column
  std::string Condition;
  bool CaseSensitive = true;
};

// The conditions of a grid's filter, in the order they are tested; the grid owns it and is its Owner.
class TFilter : public platform::TOwnedCollection {
public:
  explicit TFilter(platform::TPersistent* AOwner)
      : TOwnedCollection(AOwner, platform::CollectionItemClass<TFilterData>()) {}

  // A new condition at the end, or at Index (clamped to the collection).
  TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
  TFilterData* Insert(int Index) { return static_cast<TFilterData*>(TCollection::Insert(Index)); }
  // Both raise EListError "List index out of bounds (n)" outside the collection; SetItems copies Value
  // into the condition at Index.
  TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
  void SetItems(int Index, const TFilterData& Value) { Items(Index)->Assign(&Value); }
};

}  // namespace velmora
