// Everything the graph and its status line read, copied out of the form, the document and the
// processing state, so that drawing touches nothing that a worker may be writing.
#pragma once

#include <array>
#include <string>

#include "chromiva/acquisition/axis_limits.h"
#include "chromiva/data/colour.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::ui {

struct GraphScene {
  int sensorCount = 0;
  std::array<data::GridArray, data::kMaxSensors> display{};
  std::array<data::GridArray, data::kMaxSensors> ratio{};
  // Comparison curves: one per sensor slot of the comparison document; 0 when none is loaded or
  // it holds no record for the comparison sensor.
  int compareSensorCount = 0;
  std::array<data::GridArray, data::kMaxSensors> compare{};
  // The calibration overlay of the maintenance mode: each sensor's pixel wavelengths and
  // sensitivity.
  std::array<int, data::kMaxSensors> pixelCount{};
  std::array<data::PixelArray, data::kMaxSensors> wavelength{};
  std::array<data::PixelTable, data::kMaxSensors> sensitivity{};
  // Temperature of the displayed record of each sensor, for the status line.
  std::array<float, data::kMaxSensors> temperature{};

  acquisition::AxisLimits limits;
  bool selectedOnly = false;
  int selectedSensor = -1;
  bool colourDisplay = false;
  int measureMode = data::kLightSource;
  bool maintenanceMode = false;
  int displayKind = 0;
};

// The sensors' part of a scene: count, displayed and ratio spectra of the processing state,
// calibration tables and the temperature of record `displayIndex`.
void FillSensorData(GraphScene& scene, const data::Ctintrose_mfDoc& document,
                    const data::ProcessingState& processing, int displayIndex);
// The comparison part: drawn when `compareDoc` holds a record for `compareSensor`.
void FillComparison(GraphScene& scene, const data::Ctintrose_mfDoc* compareDoc, int compareSensor,
                    const std::array<data::GridArray, data::kMaxSensors>& compareSpectrum);

// The per-sensor statistics the status line keeps between calls: a minimum or maximum that does
// not move keeps the wavelength of the previous computation.
using SummaryMemory = std::array<data::SpectrumStats, data::kMaxSensors>;

// The status line of ShowSensorSummary for a sensor slot: statistics when displayKind is 0,
// colour values otherwise; empty for a slot without a sensor.
std::string SensorSummaryLine(const GraphScene& scene, int sensor, SummaryMemory& memory);
std::string StatisticsLine(const data::SpectrumStats& stats, float temperature);
std::string ColourLine(const data::ColourValues& colour);

}  // namespace chromiva::ui
