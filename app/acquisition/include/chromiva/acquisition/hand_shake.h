// The hand-shake words between the window thread and the worker threads: where a measurement
// pass and the dark sequence stand.
#pragma once

namespace chromiva::acquisition {

// A measurement pass: none outstanding, launched on the worker, handed back by the worker.
enum class AcquisitionState { kIdle, kRunning, kFinished };

// The dark sequence: the first frame (not used), the short frames, the blank long frame on the
// worker and its end, the dark long frame on the worker and its end.
enum class DarkStep { kFirstFrame, kShortFrames, kBlankFrame, kBlankDone, kDarkFrame, kDone };

}  // namespace chromiva::acquisition
