#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/app/Component.h"

namespace platform {

class TCollection;

// One item of a collection. It is created by its collection (Add, Insert) and belongs to it; deleting
// an item removes it from its collection first. A change of an item's published state calls Changed,
// which reaches the collection's Update.
class TCollectionItem : public TPersistent {
public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (null: out of any; the caller then owns it).
  void SetCollection(TCollection* value);
  // The position in the collection; setting it moves the item.
  int Index() const;
  void SetIndex(int value);
  // A number unique within the collection, kept when the item moves.
  int ID() const { return id_; }
  // The name shown for the item; by default the class name.
  virtual std::string DisplayName() const { return ClassName(); }

protected:
  // Tells the collection that this item (false) or all items (true) changed.
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

// Makes a new item of the collection's item class inside the collection.
using TCollectionItemClass = std::function<TCollectionItem*(TCollection*)>;

template <class T>
TCollectionItemClass CollectionItemClass() {
  return [](TCollection* collection) -> TCollectionItem* { return new T(collection); };
}

// An ordered list of items of one class that owns them. Adding, deleting, moving or changing items
// calls the virtual Update (the item that changed, or null for the whole collection), except between
// BeginUpdate and EndUpdate, which nest; the last EndUpdate then calls Update(null) once.
class TCollection : public TPersistent {
public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError "List index out of bounds (n)" outside the range.
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // A collection of the same item class: becomes a copy, item by item through the items' Assign.
  void Assign(const TPersistent* Source) override;

  // The component that holds the collection, or null.
  virtual TPersistent* Owner() const { return nullptr; }

protected:
  // Runs after a change: Item is the item that changed, null when the items as a whole did.
  virtual void Update(TCollectionItem* Item) {}
  // Runs when an item is added (opInsert, after) or removed (opRemove, before).
  virtual void Notify(TCollectionItem* Item, TOperation Action) {}
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item, int index);
  void RemoveItem(TCollectionItem* item);
  void ItemChanged(TCollectionItem* item);

  TCollectionItemClass itemClass_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

// A collection held by a component, which it names as its Owner.
class TOwnedCollection : public TCollection {
public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(std::move(ItemClass)), owner_(AOwner) {}
  TPersistent* Owner() const override { return owner_; }

private:
  TPersistent* owner_;
};

}  // namespace platform
