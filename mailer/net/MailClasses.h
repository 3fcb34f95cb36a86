#pragma once

namespace mailnet {

// Publishes the SMTP component TMlSMTP (with its socket's and its message's settings) for form
// resources; a program calls it before it creates a form whose resource names it.
void PublishMailClasses();

}  // namespace mailnet
