#include "tuning/signal_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "tuning/signal_csv.h"

namespace {

constexpr int kLeft = 60, kRight = 52, kTop = 4, kBottom = 18, kGap = 8;

std::string Number(float v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
  return buf;
}

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

}  // namespace

ChartLayout LayoutChart(int width, int height) {
  const int w = std::max(1, width - kLeft - kRight);
  const int h = std::max(3, height - kTop - kBottom - 2 * kGap);
  const int hp = h * 45 / 100, hr = h * 35 / 100, hb = h - hp - hr;
  ChartLayout l;
  l.percent = {kLeft, kTop, w, hp};
  l.radio = {kLeft, kTop + hp + kGap, w, hr};
  l.ber = {kLeft, kTop + hp + hr + 2 * kGap, w, hb};
  return l;
}

ChartAxis AxisFor(const std::vector<SignalSample>& samples, SampleField field, float step,
                  ChartAxis fallback) {
  std::optional<float> lo, hi;
  for (const SignalSample& s : samples) {
    const std::optional<float>& v = s.*field;
    if (!v || !std::isfinite(*v)) continue;
    lo = std::min(lo.value_or(*v), *v);
    hi = std::max(hi.value_or(*v), *v);
  }
  if (!lo) return fallback;
  ChartAxis a;
  a.lo = std::floor(*lo / step) * step;
  a.hi = std::ceil(*hi / step) * step;
  if (a.hi <= a.lo) a.hi = a.lo + step;
  return a;
}

int ToY(const ChartAxis& axis, float value, const ChartPane& pane) {
  double v = value;
  if (axis.log) v = value > 0 ? std::log10(v) : axis.lo;
  if (!std::isfinite(v)) v = axis.lo;
  const double f = std::clamp((v - axis.lo) / (axis.hi - axis.lo), 0.0, 1.0);
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
    const std::optional<float>& v = samples[i].*field;
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
  const ChartLayout l = LayoutChart(width, height);
  const ChartAxis pct{0, 100};
  const ChartAxis rf = AxisFor(samples, &SignalSample::rfDbm, 10, {-100, 0});
  const ChartAxis snr = AxisFor(samples, &SignalSample::snrDb, 5, {0, 20});
  const ChartAxis ber{-8, 0, true};

  for (const auto& [x0, x1] : LockSpans(samples, l.percent, t0, t1)) {
    for (const ChartPane* r : {&l.percent, &l.radio, &l.ber}) {
      p.rects.push_back({c::kLock, x0, r->top, x1 - x0, r->height});
    }
  }
  for (const ChartPane* r : {&l.percent, &l.radio, &l.ber}) Frame(p, *r);
  for (const SignalSample& s : samples) {
    if (!s.tuneMark) continue;
    const int x = ToX(s.timeMs, t0, t1, l.percent);
    p.lines.push_back({c::kTune, 1, {{x, l.percent.top}, {x, l.ber.top + l.ber.height - 1}}});
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
  const int ty = l.ber.top + l.ber.height + 2;
  Label(p, c::kTune, l.ber.left, ty, false, IsoTimeUtc(t0).substr(11, 8) + " UTC");
  Label(p, c::kTune, l.ber.left + l.ber.width, ty, true, IsoTimeUtc(t1).substr(11, 8) + " UTC");
  return p;
}
