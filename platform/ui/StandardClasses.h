#pragma once

namespace platform {

// Publishes the classes of the platform's class library for form resources (PublishedClasses.h). The
// registry calls it before its first lookup; classes of other libraries are published by their own
// functions, which programs call before they create their forms.
void PublishStandardClasses();

}  // namespace platform
