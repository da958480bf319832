// The maintenance dialog (dialog 131, CSettingDlg): the selected sensor's calibration tables,
// the calibration list, "設定", "初期化", the 21-step dark sequence on the dialog's timer 1, the
// gain measurement and "装置へ書き込む". Frames are read on a worker thread; the tables are
// changed only on the window thread, in the order of the sequence.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "chromiva/acquisition/dialogs/calibration_list.h"
#include "chromiva/acquisition/dialogs/dialog_controls.h"
#include "chromiva/acquisition/dialogs/maintenance_ids.h"
#include "chromiva/acquisition/dialogs/maintenance_tables.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/data/document.h"

namespace chromiva::acquisition::dialogs {

// What the dialog takes from the form.
struct MaintenanceContext {
  data::Ctintrose_mfDoc& document;
  FormPort& port;
  DialogTimers& timers;
  int selectedSensor = -1;
  std::array<int, data::kMaxSensors> deviceIndex{};
  int graphMax = 8192;
};

class MaintenanceDialog {
 public:
  explicit MaintenanceDialog(const MaintenanceContext& context);
  ~MaintenanceDialog();  // stops the dark sequence and waits for a frame being read
  MaintenanceDialog(const MaintenanceDialog&) = delete;
  MaintenanceDialog& operator=(const MaintenanceDialog&) = delete;

  // Opening: the list path from the settings `comp`/`list`, the table list and the reference
  // curves of the selected sensor (or the measuring buttons disabled), the calibration list.
  void Open();
  // The close box: stops the dark sequence (the steps measured so far stay) and stores the
  // list path in `comp`/`list`.
  void Close();

  // Buttons 1043 "ファイル", 1044 "設定", 1045 "初期化", 1046 "ダーク計測", 1047 "ゲイン設定",
  // 1050 "装置へ書き込む".
  void Clicked(int id);
  // A selection in list 1042 (a serial number of the calibration list).
  void Selected(int id, int index);
  // The dialog's timer events (timer 1).
  void OnTimer(int timer);

  DialogControls& controls() { return controls_; }
  const DialogControls& controls() const { return controls_; }
  const std::string& listPath() const { return listPath_; }
  const std::vector<CalibrationRow>& calibrationRows() const { return rows_; }
  const ReferenceCurves& curves() const { return curves_; }
  bool DarkRunning() const { return darkRunning_; }
  int DarkStep() const { return step_; }
  bool Reading() const { return reading_ != Read::kNone; }

  // Replaces how a frame read is started (tests run it inline); the default starts a thread.
  using WorkerLauncher = std::function<void(std::function<void()>)>;
  void SetWorkerLauncher(WorkerLauncher launcher) { launch_ = std::move(launcher); }

 private:
  enum class Read { kNone, kDarkFrame, kGain };

  bool SensorValid() const;
  data::SensorEntry& Sensor();
  int Device() const;
  void RefillTableList();
  void UpdateButtons();
  void LoadCalibrationList();
  void ChooseCalibrationList();
  void SelectSerial(int row);
  void WriteSerialAndComp();
  bool WriteCompBlock();
  void Initialise();
  void StartDarkSequence();
  void DarkTick();
  void ApplyDarkFrame();
  void StartGain();
  void FinishGain();
  void WriteToInstrument();
  bool RefuseWithoutSensor();
  void StartRead(Read kind, int frames);
  void FinishRead();
  void StopDarkSequence();
  void JoinWorker();

  data::Ctintrose_mfDoc& document_;
  FormPort& port_;
  DialogTimers& timers_;
  int sensor_;
  std::array<int, data::kMaxSensors> deviceIndex_;
  int graphMax_;
  DialogControls controls_;
  std::string listPath_;
  std::vector<CalibrationRow> rows_;
  ReferenceCurves curves_;

  bool darkRunning_ = false;
  int step_ = 0;
  int frame_ = 0;

  Read reading_ = Read::kNone;
  std::atomic<bool> readDone_{false};
  data::PixelArray readFrame_{};  // written by the worker before readDone_
  std::thread worker_;
  WorkerLauncher launch_;
};

// The maintenance button of the form (1041): refuses while measuring; otherwise opens the
// dialog, shows it with `runModal` until its close box, and closes it.
using RunMaintenanceDialog = std::function<void(MaintenanceDialog&)>;
bool OpenMaintenanceDialog(const MaintenanceContext& context, bool measuring,
                           const RunMaintenanceDialog& runModal);

}  // namespace chromiva::acquisition::dialogs
