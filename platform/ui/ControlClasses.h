#pragma once

namespace platform {

// Publishes the control framework's classes (controls, forms, fonts) and the standard controls for form
// resources; the form loader calls it once, before it reads its first form.
void PublishControlClasses();

}  // namespace platform
