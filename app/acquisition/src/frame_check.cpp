// Judging transfers by the bytes that arrived, and the process-wide stop request.
#include <atomic>

#include "chromiva/acquisition/instrument_fault.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the stop request is set by signals");

// The kind query answers on every instrument: a request that cannot even be sent means the
// instrument is gone; one that is sent but not answered means it is silent.
FaultKind ProbeSilentDevice(int deviceIndex) {
  const unsigned char request[2] = {0x4B, 0x00};
  if (WriteData(deviceIndex, request, sizeof request) != sizeof request) {
    return FaultKind::kUnplugged;
  }
  unsigned char reply[4] = {};
  ReadData(deviceIndex, reply, sizeof reply);
  return FaultKind::kNoAnswer;
}

const char* Reason(FaultKind kind) {
  switch (kind) {
    case FaultKind::kUnplugged:
      return TR_NOOP("Form", "装置が外れました");
    case FaultKind::kNoAnswer:
      return TR_NOOP("Form", "応答がありません");
    case FaultKind::kShortAnswer:
      return TR_NOOP("Form", "応答が途中で切れました");
    case FaultKind::kStopped:
      return TR_NOOP("Form", "停止しました");
    default:
      return "";
  }
}

}  // namespace

FaultKind CheckTransfer(int deviceIndex, int received, int expected) {
  if (received >= expected) return FaultKind::kNone;
  if (received > 0) return FaultKind::kShortAnswer;
  if (TransferStopRequested()) return FaultKind::kNoAnswer;
  return ProbeSilentDevice(deviceIndex);
}

std::string DescribeFault(const InstrumentFault& fault, const std::string& serial, TextForm form) {
  const std::string sensor = std::to_string(fault.sensor + 1);
  std::string text =
      fault.record >= 0
          ? Filled(form(TR_NOOP("Form", "センサー%1 (%2) の記録 %3 で計測を停止しました: %4")),
                   {sensor, serial, std::to_string(fault.record + 1), form(Reason(fault.kind))})
          : Filled(form(TR_NOOP("Form", "センサー%1 (%2) で計測を停止しました: %3")),
                   {sensor, serial, form(Reason(fault.kind))});
  if (fault.kind == FaultKind::kShortAnswer || fault.kind == FaultKind::kNoAnswer) {
    text += Filled(form(TR_NOOP("Form", "（%1 / %2 バイト）")),
                   {std::to_string(fault.received), std::to_string(fault.expected)});
  }
  return text;
}

void RequestTransferStop() noexcept {
  stopRequested.store(true);
}

void ClearTransferStop() noexcept {
  stopRequested.store(false);
}

bool TransferStopRequested() noexcept {
  return stopRequested.load();
}

}  // namespace chromiva::acquisition
