#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exception.h"

namespace platform {

// The root of the class library's objects, so events can name any of them as their sender.
class TObject {
public:
  virtual ~TObject() = default;

  // The name of the object's most derived class without its namespace ("TForm1").
  std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// An object whose published state can be copied from another: Assign asks the destination first, then
// the source's AssignTo; when neither knows the pair, EConvertError.
class TPersistent : public TObject {
public:
  // Copies Source; raises EConvertError "Cannot assign a TFont to a TPicture" for a pair neither side
  // knows (a null Source included).
  virtual void Assign(const TPersistent* Source);

protected:
  // Copies this object into Dest; the base raises EConvertError.
  virtual void AssignTo(TPersistent* Dest) const;
};

enum class TOperation { opInsert, opRemove };

// The states of a component that its code asks about.
enum TComponentStateFlag : unsigned {
  csLoading = 1,     // a form resource is being applied; Loaded ends it
  csDesigning = 2,   // the component is being designed, not run
  csDestroying = 4,  // the component (or its owner) is being destroyed
};

class TComponentState {
public:
  bool Contains(TComponentStateFlag flag) const { return (bits_ & flag) != 0; }
  void Include(TComponentStateFlag flag) { bits_ |= flag; }
  void Exclude(TComponentStateFlag flag) { bits_ &= ~static_cast<unsigned>(flag); }

private:
  unsigned bits_ = 0;
};

// Raised for a misuse of the owner tree.
class EComponentError : public Exception {
public:
  using Exception::Exception;
};

// The root of the component classes: a component created with an owner is owned by it and destroyed with
// it, in reverse order of creation. Create owned components with new and never delete one that an
// owner holds, except to destroy it early: it then unlinks itself and the owner's Notification runs
// with opRemove. Users hold raw pointers; a component that refers to one outside its own owner asks
// that one for FreeNotification, so its Notification hears of its destruction too.
class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // Tells whether a component is gone: code that hands a component a message or an event which may
  // destroy it takes a guard first and touches the component afterwards only while it is Alive. A guard
  // costs one weak reference, may outlive the component and be copied; it turns Gone when the
  // component's destruction reaches TComponent, after every derived destructor has run.
  class TGuard {
  public:
    explicit TGuard(const TComponent& component) : life_(component.life_) {}
    bool Alive() const { return !life_.expired(); }
    bool Gone() const { return life_.expired(); }

  private:
    std::weak_ptr<void> life_;
  };

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // The owned component at index (0 is the first created); raises EComponentError outside the range.
  TComponent* Components(int index) const;
  // The owned component of that name (ASCII case ignored), or null.
  TComponent* FindComponent(const std::string& name) const;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // A number free for the program's use.
  intptr_t Tag = 0;

  TComponentState ComponentState() const { return state_; }
  // Designing passes on to the owned components, as they are designed together with their owner.
  void SetDesigning(bool value);
  // Set by the form loader before it applies a resource; Loaded clears it.
  void SetLoading() { state_.Include(csLoading); }

  // Runs after the form loader has applied a resource; the base clears csLoading.
  virtual void Loaded();

  // Takes ownership of component (which must have no owner) / gives it up without destroying it.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  // AComponent's Notification will hear (opRemove) when this component is destroyed; the link ends by
  // itself when either of them goes.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Destroys the owned components now, last created first.
  void DestroyComponents();

protected:
  // Runs on an owner when a component is inserted into it or removed from it (also when the component
  // is destroyed early), and is passed on to every owned component, so siblings can drop references.
  // It also runs on every component that asked for FreeNotification. A component being destroyed is
  // past its own destructor: compare the pointer, touch nothing else.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
  void Destroying();

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;  // both directions: those to tell and those that tell us
  std::string name_;
  TComponentState state_;
  std::shared_ptr<char> life_ = std::make_shared<char>();  // what the guards watch; reset first on destruction
};

}  // namespace platform
