// The graph's four axis limits: the count axis on the left, the ratio axis (percent) on the right.
#pragma once

namespace chromiva::acquisition {

struct AxisLimits {
  int graphMax = 8192;
  int graphMin = 0;
  int ratioMax = 160;
  int ratioMin = 0;
};

}  // namespace chromiva::acquisition
