// Ctrl-C and SIGTERM. The first asks every transfer to stop (the running pass, dark sequence or
// table write ends within one transfer timeout) and the command to wind down; the second ends
// the process at once: where a command's event loop has said it saves what is committed
// first, that loop does so; anywhere else the process exits right in the handler.
#pragma once

namespace chromiva::cli {

void CatchStopSignals();
// Stop signals received so far (0, 1 or 2).
int StopSignalCount();
// The exit status for a process ended by the second signal: 128 + its number.
int StopSignalStatus();
// While set, the second signal only counts, and the caller's loop ends the process.
void SetLoopEndsOnSecondSignal(bool loopEnds);

}  // namespace chromiva::cli
