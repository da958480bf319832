// The calibration list file of the maintenance dialog: comma-separated lines of sensor kind,
// serial number and the six wavelength coefficients a0 .. a5.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chromiva/data/document.h"

namespace chromiva::acquisition::dialogs {

inline constexpr int kCalibrationListRows = 1000;
inline constexpr const char* kCalibratedKind = "C12880MA";

struct CalibrationRow {
  std::string serial;
  std::array<double, data::kCompCoefficients> coefficients{};
};

struct CalibrationList {
  bool opened = false;
  bool truncated = false;  // the file had more than kCalibrationListRows used lines
  std::string error;       // why the file could not be read (not found, not a regular file)
  std::vector<CalibrationRow> rows;
};

// One line: the kind and serial without double quotes, the coefficients as decimal numbers
// (text that is not a number, or a missing field, reads as 0). No value for another kind.
std::optional<CalibrationRow> ParseCalibrationLine(std::string_view line);

// The used lines of a regular file, in file order, at most kCalibrationListRows of them, each
// line read up to 4096 bytes. The file is opened without blocking, so a FIFO or a device never
// hangs the caller; anything but a regular file is refused with `error`.
CalibrationList ReadCalibrationList(const std::filesystem::path& path);

}  // namespace chromiva::acquisition::dialogs
