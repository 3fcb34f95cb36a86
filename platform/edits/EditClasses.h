#pragma once

namespace platform {

// Publishes the text-entry classes (edit, memo, masked edit, rich edit, combo box) and their properties
// for form resources; programs and libraries whose forms hold them call it before loading one.
void PublishEditClasses();

}  // namespace platform
