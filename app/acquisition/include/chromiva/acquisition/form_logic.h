// The main form's behaviour without widgets: detection, the measurement cycle and its worker,
// the setting handlers and the enable rules. It reads and writes the control table, owns the
// form's fields and processing state, and reaches the screen only through the FormPort.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/acquisition/form_state.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/document.h"
#include "chromiva/data/journal.h"
#include "chromiva/data/processing.h"

namespace chromiva::acquisition {

// Settings the form starts with (kept between runs by the settings store).
struct FormSettings {
  int averageCount = 1;
  bool recordMode = false;
  bool intervalMode = false;
  int intervalMs = 0;
  bool waveComp = false;
  bool playbackOn = false;
  int displayKind = 0;
  data::CsvSettings csv;
};

// The form's fields that are not saved with the data.
struct FormFields {
  bool detected = false;
  int selectedSensor = -1;
  std::array<int, data::kMaxSensors> deviceIndex{};
  int mirrorDeviceIndex = -1;

  bool measuring = false;
  // Processing settings as the operator chose them; copied into the processing state only
  // when no worker runs (see SyncProcessingSettings).
  data::ProcessingSettings settings;
  int averageCount = 1;
  bool recordMode = false;
  bool intervalMode = false;
  int intervalMs = 0;
  std::uint32_t nextDueTick = 0;
  bool keepNext = false;
  bool oneShotPending = false;
  std::uint32_t phaseStartTick = 0;
  int shownSeconds = 0;
  int displayIndex = 0;
  bool darkRunning = false;
  bool playbackOn = false;
  bool selectedOnly = false;
  bool colourDisplay = false;
  int displayKind = 0;
  std::array<data::PixelArray, data::kMaxSensors> accumulator{};
  data::CsvSettings csv;

  // Record browsing: the direction of the last BACK (1) or NEXT (2) step, and the position and
  // display-grid spectra of the comparison document.
  int playbackDirection = 0;
  int compareSensor = 0;
  int compareRecord = 0;
  std::array<data::GridArray, data::kMaxSensors> compareSpectrum{};
};

// Texts the form shows, where more than one handler uses them.
namespace text {
inline constexpr const char* kStart = "開始";
inline constexpr const char* kStop = "停止";
inline constexpr const char* kDetect = "検出";
inline constexpr const char* kRelease = "解除";
inline constexpr const char* kAverageRefusal = "平均回数には1以上の値を入力してください。";
inline constexpr const char* kNothingToRegister =
    "登録するデータがありません。計測してから登録してください。";
inline constexpr const char* kCompareFilter = "tintrose data file(*.trdata)|*.trdata||";
}  // namespace text

class FormLogic {
 public:
  FormLogic(data::Ctintrose_mfDoc& document, FormPort& port, FormSettings settings = {});
  ~FormLogic();  // waits for a running worker
  FormLogic(const FormLogic&) = delete;
  FormLogic& operator=(const FormLogic&) = delete;

  // Detection (button 1002), release and sensor selection (list 1003).
  void DetectSensors();
  void ReleaseSensors();
  void SelectSensor(int sensor);

  // The measurement cycle: button 1001, the window timers, one-shot (1023).
  void StartStopMeasurement();
  void OnFormTimer(int timer);
  void OneShot();

  // Setting handlers.
  void SetMeasureMode(int mode);  // radio buttons 1008, 1009, 1010
  void RecordModeClicked();       // box 1014: reads its check state
  void IntervalModeClicked();     // box 1016: toggles
  void WaveCompClicked();         // box 1018: toggles

  void UpdateControlStates();
  // Hands the operator's processing settings to the processing state. Called on the window
  // thread before any processing, never while a worker runs.
  void SyncProcessingSettings() { processing_.settings = fields_.settings; }
  void ShowPosition();
  void RefreshDisplayedRecord();

  // Mean of `frames` frames of sensor k's device into its accumulator and record r's raw
  // spectrum, in single precision. Runs on a worker thread or, briefly, the window thread.
  void AcquireAveraged(int sensor, int record, int frames);
  void CommitRecord();

  FormFields& fields() { return fields_; }
  const FormFields& fields() const { return fields_; }
  ControlTable& controls() { return controls_; }
  const ControlTable& controls() const { return controls_; }
  data::ProcessingState& processing() { return processing_; }
  const data::ProcessingState& processing() const { return processing_; }
  data::Ctintrose_mfDoc& document() { return document_; }
  // The journal that every committed pass is appended to before it is shown, and that a data
  // clear ends; none by default. The front end owns it and ends it after a save.
  void SetJournal(data::RecordJournal* journal) { journal_ = journal; }
  FormPort& port() { return port_; }

  // The hand-shake words shared with the worker threads.
  int AcquisitionState() const { return acquisitionState_.load(std::memory_order_acquire); }
  bool AcquisitionBusy() const { return acquisitionBusy_.load(std::memory_order_acquire); }

  // Replaces how a measurement pass is started (tests drive the pass by hand); the default
  // runs MeasureWorker on a new thread.
  using PassLauncher = std::function<void(FormLogic&)>;
  void SetPassLauncher(PassLauncher launcher) { launchPass_ = std::move(launcher); }
  // The pass itself, as the worker thread runs it; its last act steps the state to 2.
  void MeasureWorker();
  // For a replaced launcher: marks the pass finished as the worker's last act does.
  void FinishPass() { acquisitionState_.fetch_add(1, std::memory_order_release); }

  // Reference captures: the dark sequence (button 1053, timers 4 and 5), white (1020) and
  // 100 % transmission (1021) registration, dark re-registration (1040, asks only) and the sky
  // background toggle (1025).
  void StartDarkMeasurement();
  void RegisterWhite();
  void RegisterTransmission();
  void DarkReset();
  void SkyBgdClicked();
  // The two long frames of the dark sequence, as their worker threads run them; the last act of
  // each steps the dark step by one.
  void BlankWorker();
  void DarkWorker();
  int DarkStep() const { return darkStep_.load(std::memory_order_acquire); }
  // Replaces how the two workers are started (tests run them by hand); the default runs them on
  // a new thread.
  enum class DarkWorkerKind { kBlank, kDark };
  using DarkWorkerLauncher = std::function<void(FormLogic&, DarkWorkerKind)>;
  void SetDarkWorkerLauncher(DarkWorkerLauncher launcher) {
    launchDarkWorker_ = std::move(launcher);
  }

  // Record browsing: BACK (1035), NEXT (1036), continuous playback (1037), the selected-sensor
  // box (1019), the summary kind (1047), data clear (1042) and the comparison (1043, stepping
  // buttons 1044, 1045, 1049, 1050).
  void Back();
  void Next();
  void PlaybackClicked();
  void SelectedOnlyClicked();
  void DisplayKindChanged();
  void ClearData();
  void Compare();
  void CompareSensorBack();
  void CompareSensorNext();
  void CompareRecordBack();
  void CompareRecordNext();
  // Record r of sensor s of the comparison document onto the display grid (compareSpectrum).
  void PrepareCompareSpectrum(int sensor, int record);
  const data::Ctintrose_mfDoc* CompareDocument() const { return compareDoc_.get(); }

  // Reports of calibration tables that came back short at the last detection.
  const std::vector<std::string>& ShortTableReports() const { return shortTables_; }

 private:
  void DetectAll();
  void DetectOne(int index);
  void AddSpectrometer(int index);
  bool ConfirmClearForDetection();
  void ShowExposureOfSelected();
  void StoreTypedExposure(int sensor);
  bool StartMeasurement();
  void StopMeasurement();
  void CommonStartStopEnd();
  void SetModeRadios();
  void OnMeasureTimer();
  void FinishPassOnWindowThread();
  void ScheduleNextPass();
  void ShowElapsedSeconds();
  void LaunchWorkerThread();
  void JoinWorker();
  // `text` is UTF-8; `storedBytes` is code page 932 (SensorPieces) and is logged as it is.
  void AppendLogLine(const std::string& text, const std::string& storedBytes = {});
  // The per-sensor pieces of a log line in code page 932: the serials keep their stored bytes.
  std::string SensorPieces(const char* format) const;
  bool HasCommittedRecords(int sensor) const;

  void OnDarkTimer();
  void OnDarkFinishTimer();
  void AcquireDarkShortFrames();
  void StartLongDarkFrame(DarkWorkerKind kind);
  void LaunchDarkWorkerThread(DarkWorkerKind kind);
  void RunLongDarkFrame(const char* before, const char* after);
  void ShowDarkElapsedSeconds(const char* format);
  void FinishDarkSteps();
  void RegisterDarkInInstruments();
  struct ReferenceKind;
  void RegisterReference(const ReferenceKind& kind);
  bool DisplayedRecordHasSpectrum(int sensor) const;
  void RegisterSkyBgd();
  void ClearSkyBgd();
  void ReportUnacknowledged(int sensor, const char* table, int missing);

  bool IdleForRecordChanges() const;
  void StepDisplay(int step);
  void ShowSummaryOfSelected();
  void OnPlaybackTimer();
  void DropComparison();
  bool LoadComparison(const std::string& path);
  void ShowCompareFields();
  void EnableCompareControls();
  void ShowComparePosition();

  data::Ctintrose_mfDoc& document_;
  data::RecordJournal* journal_ = nullptr;
  FormPort& port_;
  FormFields fields_;
  ControlTable controls_;
  data::ProcessingState processing_;
  std::atomic<int> acquisitionState_{0};
  std::atomic<bool> acquisitionBusy_{false};
  std::thread worker_;
  PassLauncher launchPass_;
  std::vector<std::string> shortTables_;
  std::atomic<int> darkStep_{0};
  DarkWorkerLauncher launchDarkWorker_;
  std::unique_ptr<data::Ctintrose_mfDoc> compareDoc_;
};

}  // namespace chromiva::acquisition
