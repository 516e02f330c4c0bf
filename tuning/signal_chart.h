// The signal history as a strip chart in pixels: three panes over one time
// axis (level and quality in %, RF level in dBm with SNR in dB, BER on a log
// scale), and while a capture ran a fourth under them (the stream's bit rate,
// each interval with errors marked), lock as background shading, tunes as
// vertical lines.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "framework/chart_window.h"
#include "tuning/signal_history.h"

// A value axis: lo maps to a pane's bottom row, hi to its top row.
struct ChartAxis {
  float lo = 0, hi = 1;
  bool log = false;  // lo and hi are then powers of ten
  bool operator==(const ChartAxis&) const = default;
};

// A plot area in pixels.
struct ChartPane {
  int left = 0, top = 0, width = 0, height = 0;
};

struct ChartLayout {
  ChartPane percent, radio, ber;
  ChartPane stream;  // no height when there is no stream to show
};

using SampleField = std::optional<double> SignalSample::*;

// What a receiver can report. A figure beyond these is drawn at its pane's edge
// and leaves the axis alone, so one absurd figure cannot squash the others
// into a line.
inline constexpr ChartAxis kRfBounds{-150, 50}, kSnrBounds{-50, 100};

// The panes for a drawing area of this size, with the stream's pane or not.
ChartLayout LayoutChart(int width, int height, bool stream = false);
// Whether any of the samples was taken while a capture ran.
bool HasStream(const std::vector<SignalSample>& samples);
// The columns of the intervals whose stream had errors, and their counts.
std::vector<std::pair<int, uint64_t>> ErrorTicks(const std::vector<SignalSample>& samples,
                                                 const ChartPane& pane, int64_t t0, int64_t t1);
// The range of `field` over the samples within `bounds`, widened to whole steps
// (at least one step wide), or `fallback` when no sample has such a figure.
ChartAxis AxisFor(const std::vector<SignalSample>& samples, SampleField field, float step,
                  ChartAxis fallback, ChartAxis bounds);
// The row of a value; values outside the axis (and, on a log axis, zero) are
// held at its edge.
int ToY(const ChartAxis& axis, double value, const ChartPane& pane);
// The column of a time; [t0, t1] spans the pane.
int ToX(int64_t timeMs, int64_t t0, int64_t t1, const ChartPane& pane);
// The polylines of one figure: broken where a sample lacks it (or has NaN or
// an infinity) and where a new series starts.
std::vector<std::vector<fw::ChartPoint>> Trace(const std::vector<SignalSample>& samples,
                                               SampleField field, const ChartAxis& axis,
                                               const ChartPane& pane, int64_t t0, int64_t t1);
// Columns [begin, end) where the tuner held lock: from a locked sample to the
// next sample (to one column past the last sample of a series).
std::vector<std::pair<int, int>> LockSpans(const std::vector<SignalSample>& samples,
                                           const ChartPane& pane, int64_t t0, int64_t t1);
// The whole chart of samples between t0 and t1.
fw::ChartPicture SignalChart(const std::vector<SignalSample>& samples, int64_t t0, int64_t t1,
                             int width, int height);

// The colours of the chart (Okabe-Ito, told apart with any colour vision).
namespace chart_colour {
inline constexpr fw::Rgb kLevel{0, 114, 178}, kQuality{230, 159, 0}, kRf{213, 94, 0},
    kSnr{0, 158, 115}, kBer{204, 121, 167}, kTune{0, 0, 0}, kLock{214, 234, 248},
    kFrame{150, 150, 150}, kStream{86, 180, 233}, kStreamError{220, 0, 0};
}
