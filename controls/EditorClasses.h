#pragma once

namespace controls {

// Publishes the editor controls (TZGComboBox, zgspin.TZgSpinEdit, zgspin.TExMaskSpinEdit, TZgEditButton,
// TZgEditBtn, TZgUnitEditBtn) for form resources; a program calls it before it creates a form whose
// resource names them.
void PublishEditorClasses();

}  // namespace controls
