#pragma once

namespace platform {

// Publishes the classes of the layer under the controls (TComponent, TTimer, TApplicationEvents) for
// form resources (PublishedClasses.h). The registry calls it before its first lookup; every library
// above publishes its own classes (the control framework's form loader those of ControlClasses.h).
void PublishAppClasses();

}  // namespace platform
