#pragma once

namespace controls {

// Publishes the non-visual form components (TWinXP, TFormSize, TMarkupHint) for form resources; a program
// calls it before it creates a form whose resource names them.
void PublishFormComponentClasses();

}  // namespace controls
