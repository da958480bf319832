// chromiva-cli plot: the picture of the graph frame for a data file's record, painted by the
// window's own drawing code on the offscreen platform.
#include "commands.h"

#ifdef CHROMIVA_HAVE_PLOT

#include <QGuiApplication>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "arguments.h"
#include "chromiva/acquisition/texts.h"
#include "file_checks.h"
#include "graph_canvas.h"
#include "language.h"

namespace chromiva::cli {
namespace {

const OptionSpec kPlotOptions = {{"-o", "--sensor", "--record", "--mode", "--kind", "--graph-max",
                                  "--graph-min", "--ratio-max", "--ratio-min", "--height"},
                                 {"--wave-comp", "--colour", "--selected-only"}};

constexpr const char* kStartupFirstLine = TR_NOOP("Form", "以前取得したデータを表示します");
constexpr const char* kStartupSecondLine = TR_NOOP("Form", "BACK/NEXTボタンで表示できます");

// Text needs a GUI application; without a display the offscreen platform serves.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "chromiva-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// The four limits as the number entry would store them: raised to their lower bounds, and a
// maximum at or below its minimum refused.
bool ReadLimits(const Arguments& arguments, acquisition::AxisLimits& limits, std::string& error) {
  const acquisition::AxisLimits defaults;
  struct Limit {
    const char* option;
    int acquisition::AxisLimits::*field;
    int lowerBound;
  };
  const Limit table[] = {{"--graph-max", &acquisition::AxisLimits::graphMax, 500},
                         {"--graph-min", &acquisition::AxisLimits::graphMin, -8192},
                         {"--ratio-max", &acquisition::AxisLimits::ratioMax, 25},
                         {"--ratio-min", &acquisition::AxisLimits::ratioMin, -100}};
  for (const Limit& limit : table) {
    auto value = IntegerOption(arguments, limit.option, defaults.*limit.field, -2147483647L,
                               2147483647L, error);
    if (!value) return false;
    limits.*limit.field = std::max(static_cast<int>(*value), limit.lowerBound);
  }
  if (limits.graphMax <= limits.graphMin || limits.ratioMax <= limits.ratioMin) {
    error = "each maximum must lie above its minimum (graph " + std::to_string(limits.graphMin) +
            " .. " + std::to_string(limits.graphMax) + ", ratio " +
            std::to_string(limits.ratioMin) + " .. " + std::to_string(limits.ratioMax) + ")";
    return false;
  }
  return true;
}

struct PlotRequest {
  int sensor = 0;
  int record = 0;  // 0-based
  int clientHeight = ui::kDefaultClientHeight;
  ui::GraphScene scene;
};

bool ReadRequest(const Arguments& arguments, const data::Ctintrose_mfDoc& document,
                 data::ProcessingSettings& processing, PlotRequest& request, std::string& error) {
  auto mode = IntegerOption(arguments, "--mode", 0, 0, 2, error);
  if (!mode) return false;
  auto kind = IntegerOption(arguments, "--kind", 0, 0, 1, error);
  if (!kind) return false;
  auto height = IntegerOption(arguments, "--height", ui::kDefaultClientHeight, 200, 4000, error);
  if (!height) return false;
  auto sensor = ChooseSensor(document, arguments, error);
  if (!sensor) return false;
  const int records = document.recordCount[0];
  auto record = IntegerOption(arguments, "--record", 1, 1, records < 1 ? 1 : records, error);
  if (!record) return false;
  if (!ReadLimits(arguments, request.scene.limits, error)) return false;
  processing.measureMode = static_cast<int>(*mode);
  processing.waveComp = arguments.Has("--wave-comp");
  processing.skyBgdOn = false;
  request.sensor = *sensor;
  request.record = static_cast<int>(*record) - 1;
  request.clientHeight = static_cast<int>(*height);
  request.scene.measureMode = processing.measureMode;
  request.scene.displayKind = static_cast<int>(*kind);
  request.scene.colourDisplay = arguments.Has("--colour");
  request.scene.selectedOnly = arguments.Has("--selected-only");
  request.scene.selectedSensor = *sensor;
  return true;
}

// What the window shows after paging to the record: the graph, the colour bar, the selected
// sensor's summary and the guidance for stored data.
QImage RenderFrame(data::Ctintrose_mfDoc& document, data::ProcessingState& state,
                   PlotRequest& request) {
  for (int k = 0; k < document.sensorTable.sensorCount; ++k) {
    data::CorrectRecord(document, state, k, request.record);
    data::ResampleRecord(document, state, k, request.record);
  }
  ui::FillSensorData(request.scene, document, state, request.record);
  ui::GraphCanvas canvas(request.clientHeight);
  canvas.DrawGraph(request.scene);
  canvas.DrawColourBar();
  canvas.ShowSensorSummary(request.scene, request.sensor);
  canvas.ShowMessageLines(QString::fromStdString(acquisition::Translated(kStartupFirstLine)),
                          QString::fromStdString(acquisition::Translated(kStartupSecondLine)));
  return canvas.Image();
}

bool WritePng(const QImage& image, const std::string& path) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!image.save(&file, "PNG")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

int RunPlot(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, kPlotOptions, error);
  if (!arguments) return Fail(kExitRefused, error);
  auto output = arguments->Value("-o");
  if (arguments->positionals.size() != 1 || !output) {
    return Fail(kExitRefused, "usage: plot FILE -o OUT.png [options]");
  }
  data::Ctintrose_mfDoc document;
  const std::string& path = arguments->positionals[0];
  if (int status = RefuseOutputOverInput(path, *output)) return status;
  if (int status = LoadDataFileOrFail(document, path)) return status;
  if (document.sensorTable.sensorCount < 1 || document.recordCount[0] < 1) {
    return Fail(kExitNothing, path + ": no records to plot");
  }
  data::ProcessingState state;
  PlotRequest request;
  if (!ReadRequest(*arguments, document, state.settings, request, error)) {
    return Fail(kExitRefused, error);
  }
  auto application = EnsureGuiApplication();
  ui::UseLanguage(ui::CurrentLanguage());  // the application now exists: its texts follow too
  const QImage image = RenderFrame(document, state, request);
  if (!WritePng(image, *output)) return Fail(kExitRefused, *output + ": cannot write the picture");
  std::fprintf(stderr, "wrote %s (%dx%d, record %d, sensor %d)\n", output->c_str(), image.width(),
               image.height(), request.record + 1, request.sensor);
  return kExitOk;
}

}  // namespace chromiva::cli

#else

namespace chromiva::cli {

int RunPlot(const Words&) {
  return Fail(kExitRefused,
              "plot is not available: this chromiva-cli was built without the Qt program "
              "(CHROMIVA_BUILD_UI=OFF)");
}

}  // namespace chromiva::cli

#endif
