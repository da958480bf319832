// Passes per second of the real main window measuring 10 simulated spectrometers at 1 ms
// exposure, averaging 1, recording on, as a share of chromiva-cli measure on the same
// instruments (goal: at least 90 %), and the longest stall of the window's event loop meanwhile
// (goal: under 50 ms). Both rates are counted from the first committed pass on, over the same
// wall time, so detection, start-up and the final save are left out of both. The command line
// runs on a pseudo terminal so that it shows its progress line after every event.
// The stall probe watches from the start click until the measurement has stopped.
// Both run twice in one go: at the instrument's pace and in the ten-millisecond steps of earlier
// versions (CHROMIVA_TEN_MS_CADENCE=1, WRENLINK_TEN_MS_POLL=1), the baseline; every rate is also
// set against the physical floor of the run (pace_floor.h).
// Run: build/release/bench/bench_window [--seconds S]
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/settings_store.h"
#include "form_view.h"
#include "main_frame.h"
#include "pace_floor.h"
#include "wrenlink.h"

extern char** environ;

namespace {

using namespace chromiva;
namespace control = acquisition::control;
using Clock = std::chrono::steady_clock;

constexpr int kSensors = 10;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Rate {
  int passes = 0;
  double seconds = 0;
  int graphPaints = 0;  // the window's
  double PerSecond() const { return seconds > 0 ? passes / seconds : 0; }
};

qint64 ThreadCpuNs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// The longest gap between two turns of the event loop, seen by a 1 ms precise timer, with the
// processor time the window's thread spent in it: on a busy machine a gap much longer than
// that time was the thread waiting for a processor, not the window working.
class StallProbe {
 public:
  StallProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  }
  void Start() {
    clock_.start();
    last_ = {0, ThreadCpuNs()};
    longest_ = {};
    overGoal_ = 0;
    timer_.start();
  }
  void Stop() { timer_.stop(); }
  double LongestMs() const { return static_cast<double>(longest_.wallNs) / 1e6; }
  double LongestCpuMs() const { return static_cast<double>(longest_.cpuNs) / 1e6; }
  int OverGoal() const { return overGoal_; }

 private:
  struct Moment {
    qint64 wallNs = 0;
    qint64 cpuNs = 0;
  };
  void Tick() {
    const Moment now{clock_.nsecsElapsed(), ThreadCpuNs()};
    const Moment gap{now.wallNs - last_.wallNs, now.cpuNs - last_.cpuNs};
    if (gap.wallNs > longest_.wallNs) longest_ = gap;
    if (gap.wallNs > 50'000'000) ++overGoal_;
    last_ = now;
  }

  QTimer timer_;
  QElapsedTimer clock_;
  Moment last_;
  Moment longest_;
  int overGoal_ = 0;
};

// Runs the event loop until `done` or `timeoutMs`; a nested QEventLoop turns as the program's
// own loop does (QTest::qWait would sleep between turns).
bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  check.start(5);
  QTimer::singleShot(timeoutMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

class WindowRun {
 public:
  WindowRun()
      : frame_(std::make_unique<ui::CMainFrame>(document_, store_, false)), view_(frame_->view()) {
    view_->SetDialogAnswers([](const std::string&) { return true; }, [](const std::string&) {});
    frame_->SetSaveQuestion([](const QString&) { return ui::CMainFrame::SaveAnswer::kDiscard; });
    view_->InitialUpdate();
    frame_->show();
  }
  ~WindowRun() {
    frame_.reset();
    for (int index = 0; index < kSensors; ++index) CloseDevice(index);
  }

  std::optional<Rate> Measure(double seconds, StallProbe& probe) {
    if (!QTest::qWaitForWindowExposed(frame_.get())) return Fail("the window was not shown");
    if (!Click(control::kDetect)) return Fail("detection is not offered");
    if (document_.sensorTable.sensorCount != kSensors) return Fail("not all sensors detected");
    // The exposure box shows and takes the exposure of the sensor selected in the list.
    auto* sensors = qobject_cast<QListWidget*>(view_->Control(control::kSensorList));
    for (int row = 0; row < kSensors; ++row) {
      sensors->setCurrentRow(row);
      Type(control::kExposure, "1");
    }
    Type(control::kAverage, "1");
    if (!view_->binding().fields().recordMode) Click(control::kRecordMode);
    if (!view_->binding().fields().recordMode) return Fail("recording is not on");
    // The probe watches from the start click to the end of the last pass after the stop click.
    probe.Start();
    if (!Click(control::kStartStop)) return Fail("start is not offered");
    if (!RunUntil([this] { return document_.recordCount[0] >= 1; }, 30000))
      return Fail("no pass committed within 30 s");
    for (int k = 0; k < kSensors; ++k) {
      if (document_.Sensor(k).exposureUs != 1000) return Fail("an exposure is not 1 ms");
    }
    const int first = document_.recordCount[0];
    const int paintsBefore = view_->Graph()->GraphPaints();
    const auto start = Clock::now();
    RunUntil([] { return false; }, static_cast<int>(seconds * 1000));
    Rate rate{document_.recordCount[0] - first, SecondsSince(start),
              view_->Graph()->GraphPaints() - paintsBefore};
    Click(control::kStartStop);
    if (!RunUntil([this] { return Idle(); }, 30000)) return Fail("the measurement did not stop");
    probe.Stop();
    return rate;
  }

 private:
  static std::optional<Rate> Fail(const char* why) {
    std::fprintf(stderr, "window: %s\n", why);
    return std::nullopt;
  }
  bool Idle() const {
    return !view_->binding().fields().measuring && !view_->binding().AcquisitionBusy();
  }
  bool Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(view_->Control(id));
    if (!button || !button->isEnabled()) return false;
    button->click();
    return true;
  }
  void Type(int id, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(view_->Control(id));
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
  }

  acquisition::MemorySettingsStore store_;
  data::Ctintrose_mfDoc document_;
  std::unique_ptr<ui::CMainFrame> frame_;
  ui::Ctintrose_mfView* view_;
};

// The pass counts in the command line's progress ("recorded N pass(es)") and final report
// ("saved N record(s)").
class CliOutput {
 public:
  void Add(const char* bytes, std::size_t size) {
    text_.append(bytes, size);
    static const std::regex recorded("recorded (\\d+)");
    for (std::sregex_iterator
             it(text_.begin() + static_cast<long>(scanned_), text_.end(), recorded),
         end;
         it != end; ++it) {
      recorded_ = std::stoi((*it)[1]);
    }
    // Keep a partial number at the end for the next read.
    scanned_ = text_.size() > 24 ? text_.size() - 24 : 0;
  }
  int Recorded() const { return recorded_; }
  int Saved() const {
    std::smatch match;
    static const std::regex saved("saved (\\d+) record");
    return std::regex_search(text_, match, saved) ? std::stoi(match[1]) : -1;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  std::size_t scanned_ = 0;
  int recorded_ = 0;
};

std::optional<Rate> RunCli(double seconds, const std::string& output) {
  int master = -1;
  int slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
    std::perror("openpty");
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, slave, STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, master);
  posix_spawn_file_actions_addclose(&actions, slave);
  std::string program = CHROMIVA_CLI;
  std::vector<std::string> words = {program, "measure", "--exposure", "1",   "--average",
                                    "1",     "--yes",   "-o",         output};
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(slave);
  if (spawned != 0) {
    std::fprintf(stderr, "cli: cannot start %s: %s\n", program.c_str(), std::strerror(spawned));
    close(master);
    return std::nullopt;
  }

  CliOutput out;
  std::optional<Clock::time_point> start;
  int first = 0;
  std::optional<Rate> rate;
  const auto launched = Clock::now();
  char buffer[4096];
  for (;;) {
    pollfd fd{master, POLLIN, 0};
    if (poll(&fd, 1, 20) > 0) {
      const ssize_t got = read(master, buffer, sizeof buffer);
      if (got <= 0) break;  // EIO: the program has exited
      out.Add(buffer, static_cast<std::size_t>(got));
    }
    if (!start && out.Recorded() >= 1) {
      start = Clock::now();
      first = out.Recorded();
    }
    if (start && !rate && SecondsSince(*start) >= seconds) {
      rate = Rate{out.Recorded() - first, SecondsSince(*start)};
      kill(pid, SIGINT);
    }
    if (!start && SecondsSince(launched) > 60 && !rate) {
      kill(pid, SIGINT);
      rate = Rate{};
    }
  }
  close(master);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!rate || !start || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "cli: the measurement failed:\n%s\n", out.Text().c_str());
    return std::nullopt;
  }
  if (out.Saved() < rate->passes) {
    std::fprintf(stderr, "cli: saved %d records, fewer than the %d counted\n", out.Saved(),
                 rate->passes);
    return std::nullopt;
  }
  return rate;
}

std::string SpectrometerList() {
  std::string list;
  for (int i = 0; i < kSensors; ++i) list += i ? ",spectrometer" : "spectrometer";
  return list;
}

std::optional<double> SecondsOption(int argc, char** argv) {
  double seconds = 10;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      char* end = nullptr;
      seconds = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(seconds >= 1 && seconds <= 3600)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  return seconds;
}

struct CadenceResult {
  Rate window;
  Rate cli;
  double stallMs = 0;
  double stallCpuMs = 0;
  int overGoal = 0;
};

// The window, then the command line, in the cadence that the environment sets.
std::optional<CadenceResult> MeasureBoth(double seconds, const QString& output) {
  StallProbe probe;
  std::optional<Rate> window;
  {
    WindowRun run;
    window = run.Measure(seconds, probe);
  }
  const auto cli = RunCli(seconds, output.toStdString());
  if (!window || !cli) return std::nullopt;
  return CadenceResult{*window, *cli, probe.LongestMs(), probe.LongestCpuMs(), probe.OverGoal()};
}

void SetTenMsCadence(bool on) {
  setenv("CHROMIVA_TEN_MS_CADENCE", on ? "1" : "0", 1);
  setenv("WRENLINK_TEN_MS_POLL", on ? "1" : "0", 1);
}

void PrintRow(const char* name, const Rate& pace, const Rate& tenMs, double floorPerSecond) {
  std::printf("%-13s %6d %7.2f s %9.2f %9.1f %% %10.2f %9.1f x\n", name, pace.passes, pace.seconds,
              pace.PerSecond(), 100.0 * pace.PerSecond() / floorPerSecond, tenMs.PerSecond(),
              tenMs.PerSecond() > 0 ? pace.PerSecond() / tenMs.PerSecond() : 0);
}

}  // namespace

int main(int argc, char** argv) {
  const auto seconds = SecondsOption(argc, argv);
  if (!seconds) {
    std::fprintf(stderr, "usage: bench_window [--seconds S]  (1 to 3600, default 10)\n");
    return 2;
  }
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("WRENLINK_SIMULATOR", SpectrometerList().c_str(), 1);
  setenv("WRENLINK_SIM_SPEED", "1", 1);
  QApplication app(argc, argv);
  QTemporaryDir folder;

  const auto transfers = bench::MeasureTransfers(kSensors, 1000.0);
  const double floorPerSecond = 1000.0 / bench::FloorPassMs(transfers, kSensors, 1.0, 1, 1.0);
  SetTenMsCadence(false);
  const auto pace = MeasureBoth(*seconds, folder.filePath(QStringLiteral("pace.cvdata")));
  SetTenMsCadence(true);
  const auto tenMs = MeasureBoth(*seconds, folder.filePath(QStringLiteral("ten-ms.cvdata")));
  SetTenMsCadence(false);
  if (!pace || !tenMs) return 1;

  std::printf("%d spectrometers, 1 ms exposure, averaging 1, recording, %.1f s each\n", kSensors,
              *seconds);
  std::printf("floor: %.2f passes/s (per sensor 1 ms + readout %.1f us + temperature %.1f us)\n",
              floorPerSecond, transfers.readoutMs * 1000, transfers.temperatureMs * 1000);
  std::printf("%-13s %6s %9s %9s %11s %10s %11s\n", "", "passes", "time", "passes/s", "of floor",
              "10 ms: /s", "speed-up");
  PrintRow("window", pace->window, tenMs->window, floorPerSecond);
  PrintRow("chromiva-cli", pace->cli, tenMs->cli, floorPerSecond);
  auto share = [](const CadenceResult& r) {
    return r.cli.PerSecond() > 0 ? 100.0 * r.window.PerSecond() / r.cli.PerSecond() : 0;
  };
  std::printf("window / cli: %.1f %% (goal >= 90 %%); ten-ms cadence %.1f %%\n", share(*pace),
              share(*tenMs));
  std::printf("graph paints: %.1f /s for %.1f passes/s (at most the screen's refresh rate)\n",
              pace->window.graphPaints / pace->window.seconds, pace->window.PerSecond());
  for (const auto* r : {&*pace, &*tenMs}) {
    std::printf(
        "%s longest event-loop stall: %.1f ms (goal < 50 ms), %.1f ms of it on the window's "
        "thread; %d gap(s) over 50 ms\n",
        r == &*pace ? "pace: " : "10 ms:", r->stallMs, r->stallCpuMs, r->overGoal);
  }
  return 0;
}
