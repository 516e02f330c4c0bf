// A capture charted under the signal, the same for every host's painter: 20
// polls a second apart, a capture of 25 Mbit/s over the first 15, errors in
// the interval of the 8th. Where its line and its tick must be painted, and
// where no stream may show.
#pragma once

#include <vector>

#include "tuning/signal_chart.h"

namespace stream_chart_case {

inline constexpr int kWidth = 400, kHeight = 400;
inline constexpr int64_t kEndMs = 19000;

inline std::vector<SignalSample> Samples() {
  std::vector<SignalSample> s;
  for (int t = 0; t < 20; ++t) {
    SignalSample x;
    x.timeMs = t * 1000, x.lock = true, x.levelPct = 60;
    if (t < 15) x.stream = StreamInterval{25.0, 1000, t == 7 ? 3u : 0u, 0, t == 7 ? 1u : 0u};
    s.push_back(x);
  }
  return s;
}

struct Mark {
  int x, y;
  fw::Rgb colour;
  bool painted;  // false: the pixel must not have this colour
};

// Pixels to look at, the error tick away from the line so that the two never
// stand on the same pixel.
inline std::vector<Mark> Marks() {
  const ChartLayout l = LayoutChart(kWidth, kHeight, true);
  const ChartAxis axis{0, 30};
  const int line = ToY(axis, 25, l.stream);
  const auto x = [&](int t) { return ToX(t * 1000, 0, kEndMs, l.stream); };
  const int low = l.stream.top + l.stream.height - 3;
  return {{x(2), line, chart_colour::kStream, true},
          {x(12), line, chart_colour::kStream, true},
          {x(17), line, chart_colour::kStream, false},
          {x(7), low, chart_colour::kStreamError, true},
          {x(3), low, chart_colour::kStreamError, false}};
}

}  // namespace stream_chart_case
