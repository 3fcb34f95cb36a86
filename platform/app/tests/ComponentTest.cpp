#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app/Component.h"

namespace platform {
namespace {

// Records its destruction and the notifications it receives.
class Probe : public TComponent {
public:
  Probe(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), log_(log) {
    SetName(std::move(name));
  }
  ~Probe() override { log_.push_back("destroy " + Name()); }
  void Loaded() override {
    TComponent::Loaded();
    log_.push_back("loaded " + Name());
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    log_.push_back(Name() + (Operation == TOperation::opRemove ? " removed " : " inserted ") + AComponent->Name());
  }

private:
  std::vector<std::string>& log_;
};

TEST(ComponentTest, OwnerDestroysItsComponentsInReverseOrderOfCreation) {
  std::vector<std::string> log;
  auto* form = new Probe(nullptr, "Form1", log);
  auto* timer = new Probe(form, "Timer1", log);
  new Probe(timer, "Inner", log);
  new Probe(form, "Events", log);
  ASSERT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->Components(0), timer);
  EXPECT_EQ(timer->Owner(), form);
  EXPECT_THROW(form->Components(2), EComponentError);
  log.clear();
  delete form;
  // No notifications while the owner goes: its components go with it, last created first.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy Form1", "destroy Events", "destroy Timer1", "destroy Inner"}));
}

TEST(ComponentTest, OneDestroyedEarlyUnlinksItselfAndTheOwnerIsNotified) {
  std::vector<std::string> log;
  Probe form(nullptr, "Form1", log);
  auto* images = new Probe(&form, "ImageList1", log);
  new Probe(&form, "Grid1", log);
  log.clear();
  delete images;
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0)->Name(), "Grid1");
  // The owner's Notification passes the removal on to the siblings first.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy ImageList1", "Grid1 removed ImageList1", "Form1 removed ImageList1"}));
}

// A guard outlives its component, whichever way that goes: destroyed early, or with its owner.
TEST(ComponentTest, AGuardTurnsGoneWhenItsComponentIsDestroyed) {
  std::vector<std::string> log;
  auto* form = new Probe(nullptr, "Form1", log);
  auto* early = new Probe(form, "Early", log);
  auto* owned = new Probe(form, "Owned", log);
  const TComponent::TGuard earlyGuard(*early), ownedGuard(*owned), formGuard(*form);
  const TComponent::TGuard copy = earlyGuard;
  EXPECT_TRUE(earlyGuard.Alive() && ownedGuard.Alive() && formGuard.Alive());
  delete early;
  EXPECT_TRUE(earlyGuard.Gone());
  EXPECT_TRUE(copy.Gone());
  EXPECT_TRUE(ownedGuard.Alive());
  delete form;
  EXPECT_TRUE(ownedGuard.Gone());
  EXPECT_TRUE(formGuard.Gone());
}

TEST(ComponentTest, StatesOfLoadingAndDesigning) {
  std::vector<std::string> log;
  Probe form(nullptr, "Form1", log);
  auto* label = new Probe(&form, "Label1", log);
  form.SetDesigning(true);
  EXPECT_TRUE(label->ComponentState().Contains(csDesigning));
  form.SetDesigning(false);
  EXPECT_FALSE(label->ComponentState().Contains(csDesigning));
  label->SetLoading();
  EXPECT_TRUE(label->ComponentState().Contains(csLoading));
  label->Loaded();
  EXPECT_FALSE(label->ComponentState().Contains(csLoading));
  EXPECT_EQ(log.back(), "loaded Label1");
}

}  // namespace
}  // namespace platform
