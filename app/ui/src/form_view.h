// The main form: the controls of the layout table as widgets (object names "c<id>"), mirrored
// from the control table after every handler and timer event, and the form port the logic
// talks to: numbered window timers, message boxes, file choosers and the graph surface.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "chromiva/acquisition/form_port.h"
#include "chromiva/data/document.h"
#include "form_binding.h"
#include "form_graph.h"
#include "form_layout.h"
#include "numbered_timers.h"

namespace chromiva::ui {

class Ctintrose_mfView : public QWidget, public acquisition::FormPort {
  Q_OBJECT

 public:
  // Reads the form's settings from `store`; `maintenanceForThisRun` shows the maintenance
  // button for this run without changing the stored setting.
  Ctintrose_mfView(data::Ctintrose_mfDoc& document, acquisition::SettingsStore& store,
                   bool maintenanceForThisRun, QWidget* parent = nullptr);
  ~Ctintrose_mfView() override;

  // The form's first show, and again after every new or opened document.
  void InitialUpdate();
  // Writes the form's settings to the store (once, at exit).
  void WriteSettings();

  FormBinding& binding() { return *binding_; }
  const FormBinding& binding() const { return *binding_; }
  // The widget of control `id`, or nullptr.
  QWidget* Control(int id) const;
  // The graph frame and the logo area.
  FormGraph* Graph() const { return graph_; }
  // Brings the widgets in line with the control table.
  void Refresh();
  // A menu command that does what control `id` does when clicked.
  void RunControlCommand(int id);
  // The mirror dialog on the detected mirror unit; false when none is detected.
  bool OpenMirrorDialog();

  // Answers the OK/Cancel questions and takes the OK messages instead of message boxes
  // (tests and the demonstration run).
  void SetDialogAnswers(std::function<bool(const std::string&)> ask,
                        std::function<void(const std::string&)> tell);
  // Answers the number entry instead of CEditNumDlg (tests).
  void SetNumberAnswer(
      std::function<std::optional<std::string>(const std::string&, const std::string&)> answer) {
    enterNumber_ = std::move(answer);
  }
  // Answers the file and folder choosers instead of QFileDialog (tests): `defaultExtension` is
  // that of the file chooser, empty for the folder chooser; no value is a cancelled chooser.
  using FileAnswer = std::function<std::optional<std::string>(const std::string& defaultExtension)>;
  void SetFileAnswer(FileAnswer answer) { chooseFile_ = std::move(answer); }

  // FormPort
  void ShowMessage(const std::string& line) override;
  void ShowMessageLines(const std::string& first, const std::string& second) override;
  void ForwardMessage(const std::string& line) override;
  void WakeFromWorker(int timer) override;
  void ShowStatusText(const std::string& text) override;
  void DrawGraph() override;
  void DrawColourBar() override;
  void DrawLogo() override;
  void ShowSensorSummary(int sensor) override;
  bool AskOkCancel(const std::string& question) override;
  void ShowOkMessage(const std::string& message) override;
  std::optional<std::string> ChooseSaveFile(const acquisition::FileChoice& choice) override;
  std::optional<std::string> ChooseOpenFile(const acquisition::FileChoice& choice) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;
  std::optional<std::string> EnterNumber(const std::string& label,
                                         const std::string& shown) override;
  acquisition::SettingsStore& Settings() override { return store_; }
  void ArmTimer(int timer, int milliseconds) override;
  void KillTimer(int timer) override;
  std::uint32_t TickMs() override;
  std::time_t Now() override;

 signals:
  // After the widgets were brought in line with the control table.
  void Refreshed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Captions, list lines and guidance again in the window's new language.
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  QWidget* MakeControl(int id, ControlKind kind);
  void LayoutForm(int clientHeight);
  void RefreshControl(int id, QWidget* widget);
  void ParkFocus(QWidget* widget);
  void ReturnParkedFocus();
  void RefreshOpenDialog();
  void KeepControlsOnForm();
  // Runs a handler and refreshes the widgets after it.
  void Handle(const std::function<void()>& handler);
  // A click on a control: the CSV, history and maintenance buttons open their dialogs, the
  // others go to the form's logic.
  void Click(int id);
  // A left click on the graph frame: the axis-limit corners.
  void EditAxisLimitAt(QPoint formPoint);

  data::Ctintrose_mfDoc& document_;
  acquisition::SettingsStore& store_;
  std::unique_ptr<FormBinding> binding_;
  std::map<int, QWidget*> controls_;
  NumberedTimers* timers_;
  FormGraph* graph_ = nullptr;
  QPointer<QWidget> parkedFocus_;  // a disabled control that had the focus
  bool initialised_ = false;
  bool refreshing_ = false;
  bool settingsWritten_ = false;
  std::function<bool(const std::string&)> ask_;
  std::function<void(const std::string&)> tell_;
  std::function<std::optional<std::string>(const std::string&, const std::string&)> enterNumber_;
  FileAnswer chooseFile_;
};

}  // namespace chromiva::ui
