#pragma once

namespace controls {

// Publishes the spin edits' common base TSpinEditBase and its TSpinDirection, which both spin units'
// classes build on.
void PublishSpinEditBase();

}  // namespace controls
