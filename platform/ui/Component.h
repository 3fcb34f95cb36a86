#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Exception.h"

namespace platform {

// The root of the class library's objects, so events can name any of them as their sender.
class TObject {
public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

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
// with opRemove. Users hold raw pointers.
class TComponent : public TObject {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // The owned component at index (0 is the first created); raises EComponentError outside the range.
  TComponent* Components(int index) const;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

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

protected:
  // Runs on an owner when a component is inserted into it or removed from it (also when the component
  // is destroyed early), and is passed on to every owned component, so siblings can drop references.
  // A component being destroyed is past its own destructor: compare the pointer, touch nothing else.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
  void Destroying();

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::string name_;
  TComponentState state_;
};

}  // namespace platform
