// Transfers that did not arrive whole, and the request to stop device traffic early.
#pragma once

#include <string>

#include "chromiva/acquisition/texts.h"

namespace chromiva::acquisition {

enum class FaultKind {
  kNone,
  kStopped,      // a stop was requested (stop button, Ctrl-C, SIGTERM) before the next transfer
  kUnplugged,    // the instrument is no longer on the bus
  kNoAnswer,     // nothing arrived within the transfer timeout
  kShortAnswer,  // fewer bytes arrived than the exchange carries
};

// Why a pass, a frame or a table transfer of one sensor did not complete.
struct InstrumentFault {
  FaultKind kind = FaultKind::kNone;
  int sensor = -1;  // sensor slot
  int record = -1;  // record number (0-based) the pass was filling; -1 outside a pass
  int received = 0;
  int expected = 0;

  bool Any() const { return kind != FaultKind::kNone; }
  // The instrument failed (a requested stop is no failure).
  bool Failed() const { return Any() && kind != FaultKind::kStopped; }
};

// Judges a transfer that brought `received` of `expected` bytes from `deviceIndex`. When
// nothing arrived, a one-request probe tells a vanished instrument from a silent one (skipped
// once a stop is requested: then it counts as no answer).
FaultKind CheckTransfer(int deviceIndex, int received, int expected);

// The operator's text for a fault of sensor `fault.sensor` whose serial number is `serial`,
// e.g. "センサー1 (SP000001) の記録 3 で計測を停止しました: 応答がありません".
// Taken in `form`: &Translated for the window, &AsWritten for the operation history.
std::string DescribeFault(const InstrumentFault& fault, const std::string& serial,
                          TextForm form = &Translated);

// The stop request that long device work checks between transfers: passes between frames,
// the dark sequence, table reads and writes. Safe to set from a signal handler.
void RequestTransferStop() noexcept;
void ClearTransferStop() noexcept;
bool TransferStopRequested() noexcept;

}  // namespace chromiva::acquisition
