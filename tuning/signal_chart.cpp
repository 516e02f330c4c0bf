#include "tuning/signal_chart.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tuning/signal_csv.h"
#include "tuning/signal_number.h"

namespace {

constexpr int kLeft = 60, kRight = 52, kTop = 4, kBottom = 18, kGap = 8;

std::string Number(float v) { return GeneralText(v); }

void Frame(fw::ChartPicture& p, const ChartPane& r) {
  const int x1 = r.left + r.width - 1, y1 = r.top + r.height - 1;
  p.lines.push_back({chart_colour::kFrame,
                     1,
                     {{r.left, r.top}, {x1, r.top}, {x1, y1}, {r.left, y1}, {r.left, r.top}}});
}

void Label(fw::ChartPicture& p, fw::Rgb c, int x, int y, bool right, std::string text) {
  p.texts.push_back({c, x, y, right, std::move(text)});
}

// Axis labels at the top and bottom of a pane, left or right of it.
void AxisLabels(fw::ChartPicture& p, const ChartPane& r, const ChartAxis& a, fw::Rgb c, bool right,
                const char* unit) {
  const int x = right ? r.left + r.width + 4 : r.left - 4;
  const auto text = [&](float v) { return a.log ? "1e" + Number(v) : Number(v) + unit; };
  Label(p, c, x, r.top, !right, text(a.hi));
  Label(p, c, x, r.top + r.height - 14, !right, text(a.lo));
}

// The stream's pane: its bit rate as a line, broken where no capture ran and
// where a new series starts, and each interval with errors as a red tick
// across the pane, so that a burst lines up with the signal above it.
void StreamPane(fw::ChartPicture& p, const std::vector<SignalSample>& samples,
                const ChartPane& pane, int64_t t0, int64_t t1) {
  namespace c = chart_colour;
  double top = 0;
  for (const SignalSample& s : samples) {
    if (s.stream && std::isfinite(s.stream->mbps)) top = std::max(top, s.stream->mbps);
  }
  const float step = top > 10 ? 10.0f : 1.0f;
  const ChartAxis axis{0, std::max(step, static_cast<float>(std::ceil(top / step)) * step)};
  std::vector<fw::ChartPoint> line;
  const auto flush = [&] {
    if (line.size() == 1) line.push_back({line[0].x + 1, line[0].y});
    if (!line.empty()) p.lines.push_back({c::kStream, 2, std::move(line)});
    line.clear();
  };
  for (size_t i = 0; i < samples.size(); ++i) {
    const SignalSample& s = samples[i];
    if (!s.stream || (i > 0 && s.series != samples[i - 1].series)) flush();
    if (s.stream) line.push_back({ToX(s.timeMs, t0, t1, pane), ToY(axis, s.stream->mbps, pane)});
  }
  flush();
  // Each tick carries its count beside it, where the previous count leaves room.
  int free = pane.left;
  for (const auto& [x, errors] : ErrorTicks(samples, pane, t0, t1)) {
    p.lines.push_back({c::kStreamError, 2, {{x, pane.top}, {x, pane.top + pane.height - 1}}});
    const std::string count = std::to_string(errors);
    if (x + 3 < free || x + 3 + 7 * static_cast<int>(count.size()) > pane.left + pane.width)
      continue;
    Label(p, c::kStreamError, x + 3, pane.top + pane.height - 14, false, count);
    free = x + 3 + 7 * static_cast<int>(count.size()) + 4;
  }
  AxisLabels(p, pane, axis, c::kStream, false, "");
  Label(p, c::kStream, pane.left + 4, pane.top + 2, false, "Stream Mbit/s");
  Label(p, c::kStreamError, pane.left + 112, pane.top + 2, false, "errors");
}

}  // namespace

ChartLayout LayoutChart(int width, int height, bool stream) {
  const int w = std::max(1, width - kLeft - kRight);
  const int gaps = stream ? 3 : 2;
  const int h = std::max(4, height - kTop - kBottom - gaps * kGap);
  // The signal keeps its proportions; the stream takes a fifth beneath it.
  const int hs = stream ? h / 5 : 0, hsig = h - hs;
  const int hp = hsig * 45 / 100, hr = hsig * 35 / 100, hb = hsig - hp - hr;
  ChartLayout l;
  l.percent = {kLeft, kTop, w, hp};
  l.radio = {kLeft, kTop + hp + kGap, w, hr};
  l.ber = {kLeft, kTop + hp + hr + 2 * kGap, w, hb};
  l.stream = {kLeft, l.ber.top + hb + (stream ? kGap : 0), w, hs};
  return l;
}

bool HasStream(const std::vector<SignalSample>& samples) {
  return std::any_of(samples.begin(), samples.end(),
                     [](const SignalSample& s) { return s.stream.has_value(); });
}

std::vector<std::pair<int, uint64_t>> ErrorTicks(const std::vector<SignalSample>& samples,
                                                 const ChartPane& pane, int64_t t0, int64_t t1) {
  std::vector<std::pair<int, uint64_t>> out;
  for (const SignalSample& s : samples) {
    if (s.stream && s.stream->Errors() > 0) {
      out.emplace_back(ToX(s.timeMs, t0, t1, pane), s.stream->Errors());
    }
  }
  return out;
}

ChartAxis AxisFor(const std::vector<SignalSample>& samples, SampleField field, float step,
                  ChartAxis fallback, ChartAxis bounds) {
  std::optional<double> lo, hi;
  for (const SignalSample& s : samples) {
    const std::optional<double>& v = s.*field;
    // NaN fails both comparisons.
    if (!v || !(*v >= bounds.lo && *v <= bounds.hi)) continue;
    lo = std::min(lo.value_or(*v), *v);
    hi = std::max(hi.value_or(*v), *v);
  }
  if (!lo) return fallback;
  ChartAxis a;
  a.lo = static_cast<float>(std::floor(*lo / step) * step);
  a.hi = static_cast<float>(std::ceil(*hi / step) * step);
  if (a.hi <= a.lo) a.hi = a.lo + step;
  return a;
}

int ToY(const ChartAxis& axis, double value, const ChartPane& pane) {
  double v = value;
  if (axis.log) v = value > 0 ? std::log10(v) : axis.lo;
  const double span = static_cast<double>(axis.hi) - axis.lo;
  // Held inside [0, 1] (an infinity at its edge, a NaN at the bottom) before
  // it becomes a row: converting a NaN or a huge value to an integer is
  // undefined.
  double f = span > 0 ? (v - axis.lo) / span : 0.0;
  if (!(f >= 0.0)) f = 0.0;
  f = std::min(f, 1.0);
  return pane.top + pane.height - 1 - static_cast<int>(std::lround(f * (pane.height - 1)));
}

int ToX(int64_t timeMs, int64_t t0, int64_t t1, const ChartPane& pane) {
  if (t1 <= t0) return pane.left + pane.width - 1;
  const double f = static_cast<double>(timeMs - t0) / static_cast<double>(t1 - t0);
  return pane.left + static_cast<int>(std::lround(std::clamp(f, 0.0, 1.0) * (pane.width - 1)));
}

std::vector<std::vector<fw::ChartPoint>> Trace(const std::vector<SignalSample>& samples,
                                               SampleField field, const ChartAxis& axis,
                                               const ChartPane& pane, int64_t t0, int64_t t1) {
  std::vector<std::vector<fw::ChartPoint>> out;
  bool open = false;
  for (size_t i = 0; i < samples.size(); ++i) {
    const std::optional<double>& v = samples[i].*field;
    const bool newSeries = i > 0 && samples[i].series != samples[i - 1].series;
    // A figure that is not a number is as good as none.
    const bool has = v && std::isfinite(*v);
    if (!has || newSeries) open = false;
    if (!has) continue;
    if (!open) out.emplace_back();
    open = true;
    out.back().push_back({ToX(samples[i].timeMs, t0, t1, pane), ToY(axis, *v, pane)});
  }
  return out;
}

std::vector<std::pair<int, int>> LockSpans(const std::vector<SignalSample>& samples,
                                           const ChartPane& pane, int64_t t0, int64_t t1) {
  std::vector<std::pair<int, int>> out;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (!samples[i].lock.value_or(false)) continue;
    const int x = ToX(samples[i].timeMs, t0, t1, pane);
    const bool hasNext = i + 1 < samples.size() && samples[i + 1].series == samples[i].series;
    const int end = hasNext ? ToX(samples[i + 1].timeMs, t0, t1, pane) : x + 1;
    if (!out.empty() && out.back().second >= x) {
      out.back().second = std::max(out.back().second, end);
    } else {
      out.emplace_back(x, std::max(end, x + 1));
    }
  }
  return out;
}

fw::ChartPicture SignalChart(const std::vector<SignalSample>& samples, int64_t t0, int64_t t1,
                             int width, int height) {
  namespace c = chart_colour;
  fw::ChartPicture p;
  const bool stream = HasStream(samples);
  const ChartLayout l = LayoutChart(width, height, stream);
  std::vector<const ChartPane*> panes = {&l.percent, &l.radio, &l.ber};
  if (stream) panes.push_back(&l.stream);
  const ChartPane& bottom = *panes.back();
  const ChartAxis pct{0, 100};
  const ChartAxis rf = AxisFor(samples, &SignalSample::rfDbm, 10, {-100, 0}, kRfBounds);
  const ChartAxis snr = AxisFor(samples, &SignalSample::snrDb, 5, {0, 20}, kSnrBounds);
  const ChartAxis ber{-8, 0, true};

  for (const auto& [x0, x1] : LockSpans(samples, l.percent, t0, t1)) {
    for (const ChartPane* r : panes) p.rects.push_back({c::kLock, x0, r->top, x1 - x0, r->height});
  }
  for (const ChartPane* r : panes) Frame(p, *r);
  for (const SignalSample& s : samples) {
    if (!s.tuneMark) continue;
    const int x = ToX(s.timeMs, t0, t1, l.percent);
    p.lines.push_back({c::kTune, 1, {{x, l.percent.top}, {x, bottom.top + bottom.height - 1}}});
  }
  const struct {
    SampleField field;
    ChartAxis axis;
    const ChartPane* pane;
    fw::Rgb colour;
  } traces[] = {{&SignalSample::qualityPct, pct, &l.percent, c::kQuality},
                {&SignalSample::levelPct, pct, &l.percent, c::kLevel},
                {&SignalSample::rfDbm, rf, &l.radio, c::kRf},
                {&SignalSample::snrDb, snr, &l.radio, c::kSnr},
                {&SignalSample::ber, ber, &l.ber, c::kBer}};
  for (const auto& t : traces) {
    for (auto& line : Trace(samples, t.field, t.axis, *t.pane, t0, t1)) {
      // A lone sample still shows, as a dot.
      if (line.size() == 1) line.push_back({line[0].x + 1, line[0].y});
      p.lines.push_back({t.colour, 2, std::move(line)});
    }
  }

  if (stream) StreamPane(p, samples, l.stream, t0, t1);

  AxisLabels(p, l.percent, pct, c::kLevel, false, "%");
  AxisLabels(p, l.radio, rf, c::kRf, false, " dBm");
  AxisLabels(p, l.radio, snr, c::kSnr, true, " dB");
  AxisLabels(p, l.ber, ber, c::kBer, false, "");
  const int lx = l.percent.left + 4;
  Label(p, c::kLevel, lx, l.percent.top + 2, false, "Level %");
  Label(p, c::kQuality, lx + 64, l.percent.top + 2, false, "Quality %");
  Label(p, c::kRf, lx, l.radio.top + 2, false, "RF level dBm");
  Label(p, c::kSnr, lx + 96, l.radio.top + 2, false, "SNR dB");
  Label(p, c::kBer, lx, l.ber.top + 2, false, "BER");
  const int ty = bottom.top + bottom.height + 2;
  Label(p, c::kTune, bottom.left, ty, false, IsoTimeUtc(t0).substr(11, 8) + " UTC");
  Label(p, c::kTune, bottom.left + bottom.width, ty, true, IsoTimeUtc(t1).substr(11, 8) + " UTC");
  return p;
}
