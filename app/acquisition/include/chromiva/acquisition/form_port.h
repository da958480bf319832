// Everything the form's logic shows or asks goes through this port: the two guidance lines
// under the graph, the status line, graph redraws, OK/Cancel questions, OK messages, file and
// folder choosers, the number entry, the settings store and the numbered window timers with
// their clock. The window implements it with widgets, the command-line front end with the
// console, tests with a script.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "chromiva/acquisition/settings_store.h"

namespace chromiva::acquisition {

// What a file chooser offers: the filter in the "name(*.ext)|*.ext||" form, the extension added
// to a name typed without one, and the name the chooser starts with.
struct FileChoice {
  std::string filter;
  std::string defaultExtension;
  std::string initialName;
};

class FormPort {
 public:
  virtual ~FormPort() = default;

  // Guidance box: one line, or two.
  virtual void ShowMessage(const std::string& line) = 0;
  virtual void ShowMessageLines(const std::string& first, const std::string& second) = 0;
  // The same from a worker thread: delivered to the window thread later, in order.
  virtual void ForwardMessage(const std::string& line) = 0;
  // From a worker thread, after its last hand-shake write: the window thread calls
  // FormLogic::OnWorkerWake(timer) as soon as it is free, after the lines forwarded before.
  virtual void WakeFromWorker(int timer) = 0;
  virtual void ShowStatusText(const std::string& text) = 0;
  virtual void DrawGraph() = 0;
  // The colour bar under the graph and the logo beside it.
  virtual void DrawColourBar() = 0;
  virtual void DrawLogo() = 0;
  // Statistics or colour of the sensor's displayed spectrum in the status line.
  virtual void ShowSensorSummary(int sensor) = 0;

  // OK/Cancel question; true for OK.
  virtual bool AskOkCancel(const std::string& question) = 0;
  // OK-only message: completions, refusals and errors.
  virtual void ShowOkMessage(const std::string& message) = 0;
  // File choosers; no value when cancelled. The open chooser accepts only existing files.
  virtual std::optional<std::string> ChooseSaveFile(const FileChoice& choice) = 0;
  virtual std::optional<std::string> ChooseOpenFile(const FileChoice& choice) = 0;
  // Folder chooser with a title, opened at `initialFolder`; no value when cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& initialFolder) = 0;
  // Modal number entry: shows `label` and the edit text `shown`; the edit text on OK, no value
  // on Cancel or the close box.
  virtual std::optional<std::string> EnterNumber(const std::string& label,
                                                 const std::string& shown) = 0;
  // The per-user settings store.
  virtual SettingsStore& Settings() = 0;

  // Numbered window timers: one event `milliseconds` after arming; arming again replaces.
  virtual void ArmTimer(int timer, int milliseconds) = 0;
  virtual void KillTimer(int timer) = 0;
  // Milliseconds of a monotonic clock (wraps like a 32-bit tick count).
  virtual std::uint32_t TickMs() = 0;
  // Calendar time for time stamps.
  virtual std::time_t Now() = 0;
};

}  // namespace chromiva::acquisition
