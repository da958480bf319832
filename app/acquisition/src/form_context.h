// What the form's components share: the document, the port, the control table, the processing
// state, the worker launcher with the hand-shake words, and a read-only view of every
// component's fields. Each component writes only its own fields (and the shared ones).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/control_owners.h"
#include "chromiva/acquisition/document_session.h"
#include "chromiva/acquisition/form_fields.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/acquisition/form_state.h"
#include "chromiva/acquisition/hand_shake.h"
#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/acquisition/texts.h"
#include "chromiva/acquisition/worker_launcher.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::acquisition {

// The "... %1 sec" line of a running worker, shown once per whole second since its start.
class ElapsedSeconds {
 public:
  void Start(std::uint32_t tick) {
    startTick_ = tick;
    shown_ = 0;
  }
  // `pattern`, a marked template, takes the seconds as %1, padded to two characters.
  void Show(FormPort& port, const char* pattern);
  // Milliseconds from `tick` to the next whole second since the start (1 to 1000).
  int MsToNextSecond(std::uint32_t tick) const {
    return 1000 - static_cast<int>((tick - startTick_) % 1000);
  }

 private:
  std::uint32_t startTick_ = 0;
  int shown_ = 0;
};

struct FormContext {
  FormContext(data::Ctintrose_mfDoc& doc, FormPort& formPort, const FormFields& fields,
              SharedFields& sharedFields)
      : document(doc), port(formPort), view(fields), shared(sharedFields) {}

  data::Ctintrose_mfDoc& document;
  FormPort& port;

 private:
  ControlTable table_;  // written only through a Writer

 public:
  const ControlTable& controls = table_;
  data::ProcessingState processing;
  const FormFields& view;
  SharedFields& shared;
  // The session of the front end, optional: every committed pass goes to its journal before it
  // is shown; a data clear leaves the document untitled and without a file.
  DocumentSession* session = nullptr;
  std::unique_ptr<WorkerLauncher> workers = std::make_unique<ThreadLauncher>();
  // The hand-shake words: the measurement pass's state and the flag a worker holds while it
  // talks to the devices.
  std::atomic<acquisition::AcquisitionState> acquisitionState{AcquisitionState::kIdle};
  std::atomic<bool> acquisitionBusy{false};
  // Why the last pass, dark sequence or table write ended early (kind kNone when it completed);
  // a worker writes it before its last hand-shake write, the window thread reads it after.
  InstrumentFault lastFault;
  ElapsedSeconds elapsed;

  acquisition::AcquisitionState AcquisitionState() const {
    return acquisitionState.load(std::memory_order_acquire);
  }
  int SensorCount() const { return document.sensorTable.sensorCount; }
  int DeviceOf(int sensor) const { return view.deviceIndex[static_cast<std::size_t>(sensor)]; }
  bool HasCommittedRecords(int sensor) const;
  // Neither a measurement nor the dark sequence runs, and no pass is outstanding: records and
  // references may change on the window thread.
  bool Idle() const {
    return !shared.measuring && AcquisitionState() == acquisition::AcquisitionState::kIdle;
  }

  // `text` is UTF-8; `storedBytes` is code page 932 (SensorPieces) and is logged as it is.
  void AppendLogLine(const std::string& text, const std::string& storedBytes = {});
  // `format` per sensor slot with k + 1, the serial number and the exposure in ms, joined, in
  // code page 932: the serials keep their stored bytes.
  std::string SensorPieces(const char* format) const;

  // Hands the operator's processing settings to the processing state; only while no worker runs.
  void SyncProcessingSettings() { processing.settings = view.settings; }
  // Reprocesses the displayed record of every sensor and redraws.
  void RefreshDisplayedRecord();
  void ShowPosition();
  void ShowRecordCount();
  void ShowSummaryOfSelected();
  void ShowModeRadios();
  // The enabling every rule derives from the fields (the start/stop button, the references, paging,
  // detection...), the mode enabling included.
  void UpdateControlStates();
  // The enabling that follows the record and interval modes: the interval edit and one-shot.
  void UpdateModeEnabling();

  // The writer of `owner`: it writes only the controls the owner table gives `owner`.
  ControlWriter Writer(ControlOwner owner) { return ControlWriter(table_, owner); }

  void LaunchWorker(std::function<void()> work) { workers->Launch(std::move(work)); }
  void JoinWorker() { workers->Join(); }
};

}  // namespace chromiva::acquisition
