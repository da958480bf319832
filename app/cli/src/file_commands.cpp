// chromiva-cli info, export and resave: the data file without instruments.
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "arguments.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/data_file.h"
#include "chromiva/data/text_codec.h"
#include "commands.h"
#include "file_checks.h"
#include "json_writer.h"

namespace chromiva::cli {
namespace {

// The stored log decoded for showing, one entry per line.
std::vector<std::string> LogLines(const std::string& log) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(data::DisplayText(log));
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void PrintInfoText(const data::Ctintrose_mfDoc& document, const std::string& path) {
  const auto& table = document.sensorTable;
  std::printf("%s\nsensors: %d\n", path.c_str(), table.sensorCount);
  for (int k = 0; k < table.sensorCount; ++k) {
    const auto& sensor = table.sensors[k];
    std::printf("  %d  %s  serial %s  %d pixels  exposure %d us  %d record(s)\n", k,
                data::DisplayText(sensor.kindName).c_str(),
                data::DisplayText(sensor.serialNo).c_str(), sensor.pixelCount, sensor.exposureUs,
                document.recordCount[k]);
  }
  std::printf("LED units: %d\n", table.ledCount);
  for (int u = 0; u < table.ledCount; ++u) {
    std::printf("  %d  %d channels\n", u, table.ledChannels[u]);
  }
  auto lines = LogLines(document.operationLog);
  std::printf("operation history: %zu line(s)\n", lines.size());
  for (const auto& line : lines) std::printf("  %s\n", line.c_str());
}

void PrintInfoJson(const data::Ctintrose_mfDoc& document, const std::string& path) {
  const auto& table = document.sensorTable;
  JsonWriter json;
  json.BeginObject();
  json.Key("file").String(path);
  json.Key("sensors").BeginArray();
  for (int k = 0; k < table.sensorCount; ++k) {
    const auto& sensor = table.sensors[k];
    json.BeginObject();
    json.Key("slot").Number(k);
    json.Key("kindName").String(data::DisplayText(sensor.kindName));
    json.Key("serialNo").String(data::DisplayText(sensor.serialNo));
    json.Key("pixelCount").Number(sensor.pixelCount);
    json.Key("exposureUs").Number(sensor.exposureUs);
    json.Key("recordCount").Number(document.recordCount[k]);
    json.EndObject();
  }
  json.EndArray();
  json.Key("ledUnits").BeginArray();
  for (int u = 0; u < table.ledCount; ++u) {
    json.BeginObject();
    json.Key("channels").Number(table.ledChannels[u]);
    json.EndObject();
  }
  json.EndArray();
  json.Key("operationLog").BeginArray();
  for (const auto& line : LogLines(document.operationLog)) json.String(line);
  json.EndArray();
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
}

}  // namespace

int RunInfo(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, {{}, {"--json"}}, error);
  if (!arguments) return Fail(kExitRefused, error);
  if (arguments->positionals.size() != 1) return Fail(kExitRefused, "usage: info FILE [--json]");
  data::Ctintrose_mfDoc document;
  const std::string& path = arguments->positionals[0];
  if (int status = LoadDataFileOrFail(document, path)) return status;
  if (arguments->Has("--json")) {
    PrintInfoJson(document, path);
  } else {
    PrintInfoText(document, path);
  }
  return kExitOk;
}

int RunResave(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, {}, error);
  if (!arguments) return Fail(kExitRefused, error);
  if (arguments->positionals.size() != 2) return Fail(kExitRefused, "usage: resave IN OUT");
  data::Ctintrose_mfDoc document;
  const std::string& input = arguments->positionals[0];
  const std::string& output = arguments->positionals[1];
  if (int status = RefuseOutputOverInput(input, output)) return status;
  if (int status = LoadDataFileOrFail(document, input)) return status;
  auto saved = data::SaveDataFile(document, output);
  if (!saved.ok()) return Fail(kExitRefused, saved.message);
  return kExitOk;
}

}  // namespace chromiva::cli
