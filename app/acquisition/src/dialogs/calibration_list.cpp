#include "chromiva/acquisition/dialogs/calibration_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

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

// The lines of a file, each cut to kMaxLineBytes, as a calibration list holds at most 255
// characters a line (the rest of a longer line is skipped).
class BoundedLines {
 public:
  explicit BoundedLines(int fd) : fd_(fd) {}

  bool Next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
      if (at_ == end_ && !Fill()) return any;
      any = true;
      const char* from = buffer_.data() + at_;
      const char* stop = static_cast<const char*>(std::memchr(from, '\n', end_ - at_));
      const std::size_t count = stop ? static_cast<std::size_t>(stop - from) : end_ - at_;
      line.append(from, std::min(count, kMaxLineBytes - std::min(line.size(), kMaxLineBytes)));
      at_ += count;
      if (stop) {
        ++at_;
        return true;
      }
    }
  }

 private:
  static constexpr std::size_t kMaxLineBytes = 255;

  bool Fill() {
    for (;;) {
      const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
      if (got < 0 && errno == EINTR) continue;
      at_ = 0;
      end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
      return got > 0;
    }
  }

  int fd_;
  std::array<char, 16384> buffer_{};
  std::size_t at_ = 0, end_ = 0;
};

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
  // Opened without blocking (a FIFO or a device never holds the open) and only when regular.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) list.error = path.string() + ": " + std::strerror(errno);
    return list;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    list.error = path.string() + ": not a regular file";
    return list;
  }
  list.opened = true;
  BoundedLines lines(fd);
  std::string line;
  while (lines.Next(line)) {
    auto row = ParseCalibrationLine(line);
    if (!row) continue;
    if (static_cast<int>(list.rows.size()) == kCalibrationListRows) {
      list.truncated = true;
      break;
    }
    list.rows.push_back(std::move(*row));
  }
  ::close(fd);
  return list;
}

}  // namespace chromiva::acquisition::dialogs
