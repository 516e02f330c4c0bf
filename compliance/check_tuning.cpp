#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "compliance/checks.h"
#include "tuner/tuner_api.h"
#include "tuning/tune_call.h"
#include "tuning/tune_request.h"

namespace compliance {

namespace {

// How long a transponder known to lock may take to lock after the tuning call
// returned; longer than any tuner's acquisition, short enough for a quick run.
constexpr unsigned kLockLimitMs = 5000;

constexpr uint32_t kFillA = 0x5A5A5A5Au, kFillB = 0xA5A5A5A5u;

// One 4-byte output of a signal call, filled before the call so that an
// output the library never wrote can be told apart from one it did.
struct Out {
  unsigned char bytes[4];
  void Fill(uint32_t pattern) { std::memcpy(bytes, &pattern, 4); }
  bool Holds(uint32_t pattern) const { return std::memcmp(bytes, &pattern, 4) == 0; }
  int32_t* Int() { return reinterpret_cast<int32_t*>(bytes); }
  float* Float() { return reinterpret_cast<float*>(bytes); }
  int32_t AsInt() const {
    int32_t v;
    std::memcpy(&v, bytes, 4);
    return v;
  }
  float AsFloat() const {
    float v;
    std::memcpy(&v, bytes, 4);
    return v;
  }
};

// A signal entry point's outputs after two calls with different fillings.
template <size_t N>
struct Reading {
  int32_t okA = 0, okB = 0;
  Out a[N], b[N];
  // Names of the outputs left as filled by both calls.
  std::string Unwritten(const char* const (&names)[N]) const {
    std::string s;
    for (size_t i = 0; i < N; ++i) {
      if (names[i] != nullptr && a[i].Holds(kFillA) && b[i].Holds(kFillB)) {
        s += (s.empty() ? "" : ", ") + std::string(names[i]);
      }
    }
    return s;
  }
};

template <size_t N, class Call>
Reading<N> ReadTwice(Context& c, const char* name, Call call) {
  Reading<N> r;
  for (Out& o : r.a) o.Fill(kFillA);
  for (Out& o : r.b) o.Fill(kFillB);
  r.okA = c.lib.Run(name, [&] { return call(r.a); });
  r.okB = c.lib.Run(name, [&] { return call(r.b); });
  return r;
}

bool Percent(int32_t v) { return v >= 0 && v <= 100; }
bool PercentF(float v) { return std::isfinite(v) && v >= 0.0f && v <= 100.0f; }
bool Flag(int32_t v) { return v == 0 || v == 1; }
bool Dbm(int32_t v) { return v >= -150 && v <= 30; }
bool SnrDb(float v) { return std::isfinite(v) && v >= -50.0f && v <= 100.0f; }
bool BerRatio(float v) { return std::isfinite(v) && v >= 0.0f && v <= 1.0f; }

// Checks one signal entry point: both calls succeed, every output is written,
// and each value lies in its range.
template <size_t N, class Call, class InRange>
void CheckSignalCall(Context& c, const char* name, bool exported, const char* notOffered,
                     const char* const (&outputs)[N], Call call, InRange inRange,
                     const char* expectation) {
  Report& r = c.report;
  if (!exported || notOffered != nullptr) {
    r.NotApplicable(name, !exported ? "not exported" : notOffered);
    return;
  }
  const Reading<N> reading = ReadTwice<N>(c, name, call);
  if (reading.okA == 0 || reading.okB == 0) {
    r.Fail(name, "returned 0, expected the figures");
    return;
  }
  const std::string unwritten = reading.Unwritten(outputs);
  if (!unwritten.empty()) {
    r.Fail(name, "reported success without writing " + unwritten);
    return;
  }
  r.Check(name, inRange(reading.b), std::string("a figure out of range, expected ") + expectation);
}

// The lock flag the library reports, if it reports one.
std::optional<bool> ReadLock(Context& c) {
  if (TunerApi.GetSignalExEx != nullptr) {
    uint32_t reserved = 0;
    int32_t lock = 0, rf = 0;
    float snr = 0, ber = 0;
    if (c.lib.Run("GetSignalExEx",
                  [&] { return TunerApi.GetSignalExEx(&reserved, &lock, &rf, &snr, &ber); }) != 0) {
      return lock != 0;
    }
  }
  if (TunerApi.Statistic != nullptr) {
    QvStatistic s{};
    if (c.lib.Run("Statistic", [&] { return TunerApi.Statistic(&s); }) != 0) return s.lock != 0;
  }
  return std::nullopt;
}

// Through the richest tuning entry point, as the dialog tunes.
int32_t Tune(Context& c, const TuneArgs& a) {
  const TuneEntry entry =
      ChooseTuneEntry(TunerApi.SetChannelExEx != nullptr, TunerApi.SetChannelEx != nullptr);
  return c.lib.Run(TuneEntryName(entry), [&] { return CallTune(entry, a); });
}

void CheckSignalFigures(Context& c) {
  const char* noStats = Offers(c, QV_CAP_EXT_STATISTICS) ? nullptr : "capability 0x8 clear";
  CheckSignalCall<4>(
      c, "Statistic", TunerApi.Statistic != nullptr, nullptr,
      {"lock", "quality", "presence", "level"},
      [](Out* o) { return TunerApi.Statistic(reinterpret_cast<QvStatistic*>(o)); },
      [](const Out* o) {
        return Flag(o[0].AsInt()) && Percent(o[1].AsInt()) && Flag(o[2].AsInt()) &&
               Percent(o[3].AsInt());
      },
      "lock and presence 0 or 1, quality and level 0-100 %");
  CheckSignalCall<2>(
      c, "GetSignal", TunerApi.GetSignal != nullptr, nullptr, {"level", "quality"},
      [](Out* o) { return TunerApi.GetSignal(o[0].Int(), o[1].Int()); },
      [](const Out* o) { return Percent(o[0].AsInt()) && Percent(o[1].AsInt()); },
      "level and quality 0-100 %");
  CheckSignalCall<2>(
      c, "GetSignalStrength", TunerApi.GetSignalStrength != nullptr, nullptr, {"level", "quality"},
      [](Out* o) { return TunerApi.GetSignalStrength(o[0].Float(), o[1].Int()); },
      [](const Out* o) { return PercentF(o[0].AsFloat()) && Percent(o[1].AsInt()); },
      "level and quality 0-100 %");
  CheckSignalCall<2>(
      c, "GetSignalEx", TunerApi.GetSignalEx != nullptr, noStats, {"SNR", "BER"},
      [](Out* o) { return TunerApi.GetSignalEx(o[0].Float(), o[1].Float()); },
      [](const Out* o) { return SnrDb(o[0].AsFloat()) && BerRatio(o[1].AsFloat()); },
      "SNR -50..100 dB, BER 0-1");
  // The first output is reserved: the program never reads it.
  CheckSignalCall<5>(
      c, "GetSignalExEx", TunerApi.GetSignalExEx != nullptr, noStats,
      {nullptr, "lock", "RF level", "SNR", "BER"},
      [](Out* o) {
        return TunerApi.GetSignalExEx(reinterpret_cast<uint32_t*>(o[0].bytes), o[1].Int(),
                                      o[2].Int(), o[3].Float(), o[4].Float());
      },
      [](const Out* o) {
        return Flag(o[1].AsInt()) && Dbm(o[2].AsInt()) && SnrDb(o[3].AsFloat()) &&
               BerRatio(o[4].AsFloat());
      },
      "lock 0 or 1, RF level -150..30 dBm, SNR -50..100 dB, BER 0-1");
}

// The BER of one read, through the richest entry point that reports it.
std::optional<float> ReadBer(Context& c) {
  float snr = 0, ber = 0;
  if (TunerApi.GetSignalExEx != nullptr) {
    uint32_t reserved = 0;
    int32_t lock = 0, rf = 0;
    if (c.lib.Run("GetSignalExEx",
                  [&] { return TunerApi.GetSignalExEx(&reserved, &lock, &rf, &snr, &ber); }) == 0)
      return std::nullopt;
    return ber;
  }
  if (TunerApi.GetSignalEx != nullptr &&
      c.lib.Run("GetSignalEx", [&] { return TunerApi.GetSignalEx(&snr, &ber); }) != 0)
    return ber;
  return std::nullopt;
}

std::string Ratio(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", static_cast<double>(v));
  return text;
}

// A BER that divides counters running since a reset (a tune, or the driver's start)
// by the bits of the last period grows with the time between two reads; the current
// rate on a steady signal does not double within a second.
void CheckBerSteady(Context& c, bool locked) {
  Report& r = c.report;
  const char* name = "BER steady over a second";
  if (!locked) {
    r.NotApplicable(name, "no lock on the known transponder");
    return;
  }
  if (!Offers(c, QV_CAP_EXT_STATISTICS) ||
      (TunerApi.GetSignalExEx == nullptr && TunerApi.GetSignalEx == nullptr)) {
    r.NotApplicable(name, "no BER reported (GetSignalExEx, GetSignalEx, capability 0x8)");
    return;
  }
  const std::optional<float> first = ReadBer(c);
  WaitFor(1000, [] { return false; });
  const std::optional<float> second = ReadBer(c);
  if (!first || !second) {
    r.NotApplicable(name, "the BER could not be read twice");
    return;
  }
  const bool grows = *second > 2.0f * *first && *second - *first > 1e-6f;
  r.Check(name, !grows,
          "BER " + Ratio(*first) + ", a second later " + Ratio(*second) +
              ": it grows like a running total, expected the current rate");
}

// Where nothing is carried beside the known transponder: half the 8 MHz channel raster
// above it on terrestrial and cable (between two channels), and on satellite just past
// the edge of its own band (the symbol rate x 1.35 / 2, rounded up), inside every
// tuner's range as the known frequency is.
uint32_t NoLockFreqMHz(const Context& c, const TuneFields& known) {
  if (c.options.noLockFreq) return *c.options.noLockFreq;
  if (!IsSatelliteType(c.tunerType.value_or(1))) return known.freq + 4;
  return known.freq + static_cast<uint32_t>((uint64_t{known.symRate} * 135 + 199999) / 200000);
}

void CheckNoLock(Context& c) {
  Report& r = c.report;
  const char* name = "no lock where nothing is carried";
  TuneFields empty = *c.transponder;
  empty.freq = NoLockFreqMHz(c, *c.transponder);
  const std::string where = std::to_string(empty.freq) + " MHz";
  if (empty.freq > kMaxTuneEntry) {
    r.NotApplicable(name, where + " does not fit the tuning call (--no-lock-freq)");
    return;
  }
  if (Tune(c, TuneArgsFor(empty)) == 0) {
    r.Fail(name, "the tuning call returned 0 for " + where +
                     ", beside the known transponder, expected it tuned");
    return;
  }
  WaitFor(1500, [] { return false; });
  const std::optional<bool> lock = ReadLock(c);
  if (!lock) {
    r.NotApplicable(name, "the library reports no lock flag");
    return;
  }
  r.Check(name, !*lock,
          "lock reported 1.5 s after a tune to " + where +
              ", expected none (--no-lock-freq names a frequency where nothing is carried)");
  r.Detail("tuned to " + where);
}

}  // namespace

void CheckTuning(Context& c) {
  Report& r = c.report;
  r.Area("Tuning and signal (" + c.deviceLabel + ")");
  if (!c.transponder) {
    r.NotApplicable("tune", c.options.transponder
                                ? "the transponder given belongs to the first device checked"
                                : "no transponder known to lock was given (--freq)");
    CheckSignalFigures(c);
    return;
  }
  const TuneArgs args = TuneArgsFor(*c.transponder);
  const int32_t tuned = Tune(c, args);
  r.Check("tune", tuned != 0, "the tuning call returned 0, expected the transponder to be tuned");
  r.Info("the tuning call took " + std::to_string(c.lib.LastDuration().count() / 1000) + " ms");
  bool locked = false;
  if (tuned != 0) {
    const auto start = std::chrono::steady_clock::now();
    bool reported = true;
    locked = WaitFor(kLockLimitMs, [&] {
      const std::optional<bool> lock = ReadLock(c);
      reported = lock.has_value();
      return !reported || *lock;
    });
    if (!reported) {
      locked = false;
      r.NotApplicable("lock within 5 s", "neither GetSignalExEx nor Statistic reports lock");
    } else {
      r.Check("lock within 5 s", locked, "no lock 5 s after the tune, expected lock");
      if (locked) {
        r.Info("locked " +
               std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now() - start)
                                  .count()) +
               " ms after the tuning call returned");
      }
    }
    c.tuned = true;
  }
  CheckSignalFigures(c);
  CheckBerSteady(c, locked);
  CheckNoLock(c);
  // Back on the known transponder for the stream checks.
  if (c.tuned)
    c.tuned =
        Tune(c, args) != 0 && WaitFor(kLockLimitMs, [&] { return ReadLock(c).value_or(true); });
}

}  // namespace compliance
