#pragma once

namespace velmora {

// Root component class of the socket units.
// FIXME: derive from the platform's component class (owner tree, notification) once it is on main.
class TNxBaseComponent {
public:
  TNxBaseComponent() = default;
  TNxBaseComponent(const TNxBaseComponent&) = delete;
  TNxBaseComponent& operator=(const TNxBaseComponent&) = delete;
  virtual ~TNxBaseComponent() = default;
};

}  // namespace velmora
