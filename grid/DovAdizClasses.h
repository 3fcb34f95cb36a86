#pragma once

namespace velmora {

// Publishes the grid object VUraRazuduVova for form resources: its counts and options, its settings
// objects, fonts and header lists, its references and its events (the settings classes through
// PublishGridSettingsClasses). A program calls it before it creates a form whose resource places a grid.
void PublishDovAdizClasses();

}  // namespace velmora
