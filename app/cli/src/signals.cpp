#include "signals.h"

#include <unistd.h>

#include <csignal>

#include "chromiva/acquisition/instrument_fault.h"

namespace chromiva::cli {
namespace {

volatile std::sig_atomic_t signalCount = 0;
volatile std::sig_atomic_t lastSignal = SIGINT;
volatile std::sig_atomic_t loopEndsOnSecond = 0;

extern "C" void OnStopSignal(int number) {
  lastSignal = number;
  if (signalCount < 2) signalCount = signalCount + 1;
  acquisition::RequestTransferStop();
  if (signalCount >= 2 && loopEndsOnSecond == 0) _exit(128 + number);
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int StopSignalCount() {
  return signalCount;
}

int StopSignalStatus() {
  return 128 + lastSignal;
}

void SetLoopEndsOnSecondSignal(bool loopEnds) {
  loopEndsOnSecond = loopEnds ? 1 : 0;
}

}  // namespace chromiva::cli
