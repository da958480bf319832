// Reading a transfer trace (WRENLINK_TRACE): one line per transfer, "OUT device hex" or
// "IN device requested hex".
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace chromiva::acquisition::testing {

struct TraceLine {
  std::string direction;
  int device = 0;
  std::vector<unsigned char> bytes;
};

inline std::vector<TraceLine> ReadTrace(const std::string& path) {
  std::ifstream in(path);
  std::vector<TraceLine> lines;
  for (std::string text; std::getline(in, text);) {
    std::istringstream words(text);
    TraceLine line;
    std::string hex;
    words >> line.direction >> line.device;
    if (line.direction == "IN") words >> hex;  // the requested length
    words >> hex;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
      line.bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// The frames (288 little-endian 16-bit samples) a device sent, in order.
inline std::vector<std::vector<float>> TracedFrames(const std::vector<TraceLine>& trace,
                                                    int device) {
  std::vector<std::vector<float>> frames;
  for (const TraceLine& line : trace) {
    if (line.direction != "IN" || line.device != device || line.bytes.size() != 576) continue;
    std::vector<float> frame(288);
    for (std::size_t p = 0; p < 288; ++p) {
      frame[p] = static_cast<float>(
          static_cast<std::int16_t>(line.bytes[2 * p] | (line.bytes[2 * p + 1] << 8)));
    }
    frames.push_back(frame);
  }
  return frames;
}

}  // namespace chromiva::acquisition::testing
