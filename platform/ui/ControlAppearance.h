#pragma once

namespace platform {

// A control's frame: none or a single one (an edit's is the sunken client edge).
enum class TBorderStyle { bsNone, bsSingle };

}  // namespace platform
