// Sweep time per transponder on the virtual card, its sky loaded from a real
// table so that every transponder locks: the sweep engine with the dialog's
// tuning and signal reading, against a baseline measured in the same run, the
// bare library calls a sweep cannot do without (one tuning call and one
// signal poll per transponder). Prints the median of the rounds and the
// ratio; a transponder that does not lock costs the lock limit on top. Then
// the same sweep recording 1 ms of each stream: what a recording costs beyond
// its own time (the filter's registration and deletion, the counting).
//
//   qv_bench_sweep [TABLE] [ROUNDS]   (default dvb-s/Hotbird-13.0E, 21 rounds)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "channels/channel_entry.h"
#include "sweep/library_tuner.h"
#include "sweep/sweep_engine.h"
#include "sweep/sweep_plan.h"
#include "tuner/tuner_api.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string table = argc > 1 ? argv[1] : "/usr/share/dvb/dvb-s/Hotbird-13.0E";
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
  const std::string config = "qv_bench_sweep.json";
  std::ofstream(config) << "{\"sky\": {\"file\": \"" << table << "\"}, \"seed\": 1}\n";
  setenv("QUORVEX_SIM_CONFIG", config.c_str(), 1);
  if (LoadTunerLibrary() != 0 || TunerApi.StartDVBEx(0xFFFFFFFFu) == 0) {
    std::fprintf(stderr, "qv_bench_sweep: the virtual card did not start\n");
    return 1;
  }
  uint32_t type = 0;
  TunerApi.GetTunerType(&type);
  const SweepPlan plan = PlanSweep({channels::ReadChannelFile(table)}, type, LnbValues{});
  std::vector<ChannelTuning> tunings;
  for (const SweepItem& item : plan.items) tunings.push_back(item.tuning);
  if (tunings.empty()) {
    std::fprintf(stderr, "qv_bench_sweep: %s has nothing this device receives\n", table.c_str());
    return 1;
  }

  std::vector<double> bare, swept, recorded;
  size_t locked = 0, clean = 0;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    for (const ChannelTuning& t : tunings) {
      const TuneArgs a = ChannelTuneArgs(t);
      TunerApi.SetChannelExEx(a.freqKHz, a.symbolRate, a.pol, a.fec, a.lofLowKHz, a.lofHighKHz,
                              a.lofSwitchKHz, a.modulation, a.inversion, a.pilot, a.rollOff);
      QvStatistic s{};
      TunerApi.Statistic(&s);
      uint32_t unused = 0;
      int32_t lock = 0, rf = 0;
      float snr = 0, ber = 0;
      TunerApi.GetSignalExEx(&unused, &lock, &rf, &snr, &ber);
    }
    bare.push_back(MicrosecondsSince(start) / static_cast<double>(tunings.size()));

    LibraryTuner tuner(TunerApi.GetCaps());
    SweepEngine engine(tuner, tunings);
    locked = clean = 0;
    start = Clock::now();
    RunSweep(engine, [&](const SweepResult& r) { locked += r.locked; });
    swept.push_back(MicrosecondsSince(start) / static_cast<double>(tunings.size()));

    SweepEngine recording(tuner, tunings, {3000, 20, 1});
    start = Clock::now();
    RunSweep(recording, [&](const SweepResult& r) { clean += r.stream && r.streamErrors == 0; });
    recorded.push_back(MicrosecondsSince(start) / static_cast<double>(tunings.size()));
  }
  TunerApi.StopDVB();
  ReleaseTunerLibrary();
  std::remove(config.c_str());

  const double b = Median(bare), s = Median(swept), r = Median(recorded);
  std::printf("%s: %zu transponders, %zu locked, median of %d rounds\n", table.c_str(),
              tunings.size(), locked, rounds);
  std::printf("  bare calls (tune + one signal poll): %8.1f us per transponder\n", b);
  std::printf("  sweep engine (tune, wait for lock, read): %8.1f us per transponder (%.2fx)\n", s,
              s / b);
  std::printf(
      "  with 1 ms of each stream recorded: %8.1f us per transponder (%.1f us beyond the "
      "sweep and the 1 ms; %zu recorded clean)\n",
      r, r - s - 1000, clean);
  return locked == tunings.size() && clean == tunings.size() ? 0 : 1;
}
