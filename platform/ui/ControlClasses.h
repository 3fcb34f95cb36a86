#pragma once

namespace platform {

// Publishes the control framework's classes (controls, forms, fonts) and the standard controls for form
// resources; PublishStandardClasses calls it.
void PublishControlClasses();

}  // namespace platform
