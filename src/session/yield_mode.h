#pragma once

namespace zandor {

// How a yield may wait: Poll processes what is pending and returns at once;
// WaitForEvents may sleep until the next event (serial data, a click, a
// timer) when nothing is pending. Waits use WaitForEvents after a read that
// brought nothing, so that a silent Kelvo costs no CPU.
enum class YieldMode { Poll, WaitForEvents };

}  // namespace zandor
