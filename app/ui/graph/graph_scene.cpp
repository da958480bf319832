#include "graph_scene.h"

#include <cmath>
#include <cstdio>

namespace chromiva::ui {

void FillSensorData(GraphScene& scene, const data::Ctintrose_mfDoc& document,
                    const data::ProcessingState& processing, int displayIndex) {
  const int count = document.sensorTable.sensorCount;
  scene.sensorCount = count < 0 ? 0 : (count > data::kMaxSensors ? data::kMaxSensors : count);
  for (int k = 0; k < scene.sensorCount; ++k) {
    const data::SensorEntry& sensor = document.Sensor(k);
    scene.display[k] = processing.outputs[k].displaySpectrum;
    scene.ratio[k] = processing.outputs[k].ratioSpectrum;
    scene.pixelCount[k] = sensor.pixelCount;
    scene.wavelength[k] = sensor.wavelengthTable;
    scene.sensitivity[k] = sensor.sensitivityTable;
    const bool inStore = displayIndex >= 0 && displayIndex < data::kRecordSlots;
    scene.temperature[k] = inStore ? document.Record(k, displayIndex).recordTemperature : 0.0f;
  }
}

void FillComparison(GraphScene& scene, const data::Ctintrose_mfDoc* compareDoc, int compareSensor,
                    const std::array<data::GridArray, data::kMaxSensors>& compareSpectrum) {
  scene.compareSensorCount = 0;
  if (compareDoc == nullptr || compareSensor < 0 || compareSensor >= data::kMaxSensors) return;
  if (compareDoc->recordCount[compareSensor] < 1) return;
  const int count = compareDoc->sensorTable.sensorCount;
  scene.compareSensorCount = count > data::kMaxSensors ? data::kMaxSensors : count;
  scene.compare = compareSpectrum;
}

std::string StatisticsLine(const data::SpectrumStats& stats, float temperature) {
  char line[256];
  std::snprintf(line, sizeof line,
                "average=%6.1f mininum = %6.1f(%3.0f) maximum = %6.1f(%3.0f) Temp=%3.1f",
                static_cast<double>(stats.average), static_cast<double>(stats.minimum),
                static_cast<double>(stats.minimumNm), static_cast<double>(stats.maximum),
                static_cast<double>(stats.maximumNm), static_cast<double>(temperature));
  return line;
}

std::string ColourLine(const data::ColourValues& colour) {
  const float values[6] = {colour.x, colour.y, colour.z, colour.r, colour.g, colour.b};
  char parts[6][32];
  for (int i = 0; i < 6; ++i) {
    if (std::isnan(values[i])) {
      std::snprintf(parts[i], sizeof parts[i], "---");
    } else {
      std::snprintf(parts[i], sizeof parts[i], "%4.3f", static_cast<double>(values[i]));
    }
  }
  char line[256];
  std::snprintf(line, sizeof line, "CIE X/Y/Z = %s / %s / %s    R/G/B = %s / %s / %s ", parts[0],
                parts[1], parts[2], parts[3], parts[4], parts[5]);
  return line;
}

std::string SensorSummaryLine(const GraphScene& scene, int sensor, SummaryMemory& memory) {
  if (sensor < 0 || sensor >= scene.sensorCount) return {};
  if (scene.displayKind == 0) {
    data::ComputeSpectrumStatistics(scene.display[sensor], scene.limits.graphMax, memory[sensor]);
    return StatisticsLine(memory[sensor], scene.temperature[sensor]);
  }
  return ColourLine(data::ComputeColourValues(scene.display[sensor]));
}

}  // namespace chromiva::ui
