#include "chromiva/acquisition/dialogs/calibration_list.h"

#include <charconv>
#include <fstream>

namespace chromiva::acquisition::dialogs {
namespace {

std::string WithoutQuotes(std::string_view field) {
  std::string text;
  for (char c : field) {
    if (c != '"') text.push_back(c);
  }
  return text;
}

// A field as a decimal number: leading blanks and a sign, the longest number that follows;
// 0 when there is none. Independent of the process locale.
double ReadNumber(std::string_view field) {
  std::size_t at = field.find_first_not_of(" \t");
  if (at == std::string_view::npos) return 0.0;
  if (field[at] == '+') ++at;
  double value = 0.0;
  const auto [ptr, error] = std::from_chars(field.data() + at, field.data() + field.size(), value);
  return error == std::errc() ? value : 0.0;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

}  // namespace

std::optional<CalibrationRow> ParseCalibrationLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::vector<std::string_view> fields = SplitFields(line);
  if (WithoutQuotes(fields[0]) != kCalibratedKind) return std::nullopt;
  CalibrationRow row;
  if (fields.size() > 1) row.serial = WithoutQuotes(fields[1]);
  for (std::size_t i = 0; i < row.coefficients.size() && i + 2 < fields.size(); ++i) {
    row.coefficients[i] = ReadNumber(fields[i + 2]);
  }
  return row;
}

CalibrationList ReadCalibrationList(const std::filesystem::path& path) {
  CalibrationList list;
  std::ifstream in(path, std::ios::binary);
  if (!in) return list;
  list.opened = true;
  std::string line;
  while (std::getline(in, line)) {
    auto row = ParseCalibrationLine(line);
    if (!row) continue;
    if (static_cast<int>(list.rows.size()) == kCalibrationListRows) {
      list.truncated = true;
      break;
    }
    list.rows.push_back(std::move(*row));
  }
  return list;
}

}  // namespace chromiva::acquisition::dialogs
