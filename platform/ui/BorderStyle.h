#pragma once

namespace platform {

// The frame of a control: none, or the classic sunken client edge.
enum class TBorderStyle { bsNone, bsSingle };

}  // namespace platform
