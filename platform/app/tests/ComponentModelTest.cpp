#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app/Collection.h"
#include "platform/app/Component.h"

namespace platform {
namespace {

// Records the notifications it hears.
class Listener : public TComponent {
public:
  Listener(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), log_(log) {}
  TComponent* watched = nullptr;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == watched) {
      log_.push_back(Name() + " lost " + (AComponent == watched ? "watched" : "other"));
      watched = nullptr;
    }
  }

private:
  std::vector<std::string>& log_;
};

TEST(ComponentModelTest, FreeNotificationReachesAComponentOfAnotherOwnerBothWays) {
  std::vector<std::string> log;
  auto ownerA = std::make_unique<TComponent>(nullptr);
  auto ownerB = std::make_unique<TComponent>(nullptr);
  auto* listener = new Listener(ownerA.get(), log);
  listener->SetName("L");
  auto* target = new TComponent(ownerB.get());
  listener->watched = target;
  target->FreeNotification(listener);
  ownerB.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"L lost watched"}));
  EXPECT_EQ(listener->watched, nullptr);

  // The link ends by itself when the listener goes first: destroying the target later is safe.
  auto* target2 = new TComponent(nullptr);
  listener->watched = target2;
  target2->FreeNotification(listener);
  delete listener;
  delete target2;
}

TEST(ComponentModelTest, ClassNameAndFindComponent) {
  std::vector<std::string> log;
  TComponent owner(nullptr);
  auto* child = new Listener(&owner, log);
  child->SetName("Child1");
  EXPECT_EQ(child->ClassName(), "Listener");
  EXPECT_EQ(owner.FindComponent("CHILD1"), child);
  EXPECT_EQ(owner.FindComponent("none"), nullptr);
}

TEST(ComponentModelTest, AssignOfAnUnknownPairRaisesNamingBothClasses) {
  TComponent a(nullptr);
  TComponent b(nullptr);
  try {
    a.Assign(&b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TComponent");
  }
}

class Item : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  void SetValue(int v) {
    value = v;
    Changed(false);
  }
  void Assign(const TPersistent* Source) override {
    if (auto* other = dynamic_cast<const Item*>(Source)) {
      value = other->value;
      return;
    }
    TCollectionItem::Assign(Source);
  }
  int value = 0;
};

class ItemList : public TCollection {
public:
  ItemList() : TCollection(CollectionItemClass<Item>()) {}
  std::vector<std::string> updates;

protected:
  void Update(TCollectionItem* item) override {
    updates.push_back(item ? "item " + std::to_string(static_cast<Item*>(item)->value) : "all");
  }
};

TEST(ComponentModelTest, CollectionNotifiesChangesAndBatchesThemInAnUpdate) {
  ItemList items;
  auto* first = static_cast<Item*>(items.Add());
  first->SetValue(7);
  EXPECT_EQ(items.updates, (std::vector<std::string>{"all", "item 7"}));

  items.updates.clear();
  items.BeginUpdate();
  items.Add();
  items.Add();
  static_cast<Item*>(items.Items(1))->SetValue(3);
  items.Delete(2);
  EXPECT_TRUE(items.updates.empty());
  items.EndUpdate();
  EXPECT_EQ(items.updates, (std::vector<std::string>{"all"}));
  EXPECT_EQ(items.Count(), 2);

  items.Items(1)->SetIndex(0);
  EXPECT_EQ(static_cast<Item*>(items.Items(0))->value, 3);
  EXPECT_EQ(items.Items(1), first);
  EXPECT_NE(items.Items(0)->ID(), first->ID());

  ItemList copy;
  copy.Assign(&items);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(static_cast<Item*>(copy.Items(0))->value, 3);
  EXPECT_EQ(static_cast<Item*>(copy.Items(1))->value, 7);

  delete first;  // an item deleted directly leaves its collection
  EXPECT_EQ(items.Count(), 1);
  EXPECT_THROW(items.Items(1), EListError);
}

}  // namespace
}  // namespace platform
