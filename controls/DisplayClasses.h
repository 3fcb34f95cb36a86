#pragma once

namespace controls {

// Publishes the display controls (TMarkupLabel, TFxLabel, TMarkupImage, TMarkupStatusBar with its panels) for form resources; a program
// calls it before it creates a form whose resource names them.
void PublishDisplayClasses();

// Publishes the spin edits as ExSpin.TExSpinEdit and ExSpin.TExMaskSpinEdit, on TSpinEditBase;
// PublishDisplayClasses calls it.
void PublishSpinEditClasses();

}  // namespace controls
