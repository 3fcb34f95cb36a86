#pragma once

namespace platform {

// Publishes the fonts and the properties and events that all controls and all windowed controls have,
// for form resources; the control classes publish theirs on these bases.
void PublishControlClasses();

}  // namespace platform
