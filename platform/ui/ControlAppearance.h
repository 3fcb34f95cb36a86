#pragma once

namespace platform {

// How a control places its text across its width.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
// Where a check box or radio button puts its caption: taRightJustify puts it right of the box.
enum class TLeftRight { taLeftJustify, taRightJustify };
// How a label places its text down its height.
enum class TTextLayout { tlTop, tlCenter, tlBottom };
// A control's frame: none or a single one (an edit's is the sunken client edge).
enum class TBorderStyle { bsNone, bsSingle };
// One ring of a panel's bevel.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

}  // namespace platform
