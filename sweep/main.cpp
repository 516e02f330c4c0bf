// quorvex-sweep: tunes every transponder of libdvbv5 channel files through
// the tuner library, bound and driven as the program drives it, and prints a
// line per transponder as it goes and a closing count of the locked ones.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "channels/channel_entry.h"
#include "compliance/call_limit.h"
#include "compliance/callbacks.h"
#include "res/version.h"
#include "sweep/library_tuner.h"
#include "sweep/options.h"
#include "sweep/sweep_engine.h"
#include "sweep/sweep_plan.h"
#include "sweep/sweep_report.h"
#include "sweep/sweep_text.h"
#include "sweep/terminal.h"
#include "tuner/tuner_api.h"
#include "tuner/tuner_type.h"

namespace {

// A library call that takes longer than this is taken for hung.
constexpr std::chrono::milliseconds kCallLimit{10000};

struct Device {
  uint32_t id = 0xFFFFFFFFu;  // what StartDVBEx takes: -1 for the library's default
  std::string name;
  std::optional<uint32_t> type;
};

int Fail(const std::string& what) {
  std::fflush(stdout);
  std::fprintf(stderr, "quorvex-sweep: %s\n", what.c_str());
  return 2;
}

// The devices the library reports, as the program enumerates them; a library
// with only CheckForDVB has one device, its default.
bool Enumerate(compliance::CallLimit& lib, std::vector<Device>& devices, std::string& failed) {
  using compliance::g_enumeration;
  {
    std::lock_guard lock(g_enumeration.mu);
    g_enumeration.devices.clear();
    g_enumeration.open = true;
  }
  const char* call = TunerApi.CheckForDVBExEx != nullptr ? "CheckForDVBExEx"
                     : TunerApi.CheckForDVBEx != nullptr ? "CheckForDVBEx"
                                                         : "CheckForDVB";
  const int32_t ok = lib.Run(call, [] {
    if (TunerApi.CheckForDVBExEx != nullptr)
      return TunerApi.CheckForDVBExEx(compliance::OnDeviceEx);
    if (TunerApi.CheckForDVBEx != nullptr) return TunerApi.CheckForDVBEx(compliance::OnDevice);
    return TunerApi.CheckForDVB();
  });
  std::lock_guard lock(g_enumeration.mu);
  g_enumeration.open = false;
  if (ok == 0) {
    failed = std::string(call) + "() failed !";
    return false;
  }
  for (const compliance::EnumeratedDevice& d : g_enumeration.devices) {
    devices.push_back({d.id, d.name, d.type});
  }
  if (TunerApi.CheckForDVBExEx == nullptr && TunerApi.CheckForDVBEx == nullptr) {
    devices.push_back({0xFFFFFFFFu, "the library's device", std::nullopt});
  }
  return true;
}

// The device asked for, or the first whose tuner receives some entry (a
// device of unknown type might); the first device when none does.
std::optional<size_t> ChooseDevice(const std::vector<Device>& devices,
                                   const std::vector<channels::ChannelFile>& files,
                                   const sweep::Options& options) {
  if (options.device) {
    if (*options.device >= devices.size()) return std::nullopt;
    return *options.device;
  }
  for (size_t i = 0; i < devices.size(); ++i) {
    if (!devices[i].type || ReceivedEntries(files, *devices[i].type) > 0) return i;
  }
  return 0;
}

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = sweep::ParseOptions(argc - 1, argv + 1);
  if (const std::string* error = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "quorvex-sweep: %s\n%s", error->c_str(), sweep::UsageText());
    return 2;
  }
  const sweep::Options& options = std::get<sweep::Options>(parsed);
  if (options.help) {
    std::fputs(sweep::UsageText(), stdout);
    return 0;
  }
  // Every file is read before the library is loaded: a name mistyped costs
  // no device start.
  std::vector<channels::ChannelFile> files;
  for (const std::string& path : options.files) {
    std::string text;
    channels::ChannelError error;
    if (!channels::ReadChannelFileText(path, text, error)) return Fail(error.Text());
    files.push_back(channels::ReadChannelText(path, text));
  }
  std::printf("quorvex-sweep %s\n\n", QV_VERSION_STRING);

  SweepPlan plan;
  std::vector<SweepResult> results;
  auto writeReports = [&] {
    if (!options.csv.empty() && !WriteWholeFile(options.csv, SweepCsv(plan, results))) {
      std::fprintf(stderr, "quorvex-sweep: cannot write %s\n", options.csv.c_str());
    }
    if (!options.junit.empty() &&
        !WriteWholeFile(options.junit,
                        SweepJUnit("quorvex-sweep", plan, results, options.lockTimeoutMs))) {
      std::fprintf(stderr, "quorvex-sweep: cannot write %s\n", options.junit.c_str());
    }
  };
  // A call that never returns ends the run: the thread inside the library
  // cannot be joined, so the process leaves without it, keeping what it has.
  compliance::CallLimit lib(kCallLimit, [&](const std::string& call) {
    std::printf("\n%s did not return within %s ms; the sweep ends here\n", call.c_str(),
                std::to_string(kCallLimit.count()).c_str());
    writeReports();
    std::fflush(nullptr);
    std::_Exit(1);
  });

  const int bound = LoadTunerLibrary();
  if (bound == -1) return Fail("quorvex.dll not loaded !");
  if (bound == -2) return Fail("quorvex.dll not have critical calls !");
  std::vector<Device> devices;
  std::string failed;
  if (!Enumerate(lib, devices, failed)) return Fail(failed);
  const std::optional<size_t> index = ChooseDevice(devices, files, options);
  if (!index) {
    return Fail("--device " + std::to_string(*options.device) + ": the library reported " +
                std::to_string(devices.size()) + " device(s)");
  }
  Device device = devices[*index];
  const bool ex = TunerApi.StartDVBEx != nullptr;
  const uint32_t id = device.id;
  if (lib.Run(ex ? "StartDVBEx" : "StartDVB",
              [&] { return ex ? TunerApi.StartDVBEx(id) : TunerApi.StartDVB(); }) == 0) {
    return Fail(std::string(ex ? "StartDVBEx" : "StartDVB") + "() failed !");
  }
  if (TunerApi.GetTunerType != nullptr) {
    uint32_t type = 0;
    if (lib.Run("GetTunerType", [&] { return TunerApi.GetTunerType(&type); }) != 0) {
      device.type = type;
    }
  }
  std::optional<uint32_t> caps;
  if (TunerApi.GetCaps != nullptr) caps = lib.Run("GetCaps", [] { return TunerApi.GetCaps(); });
  std::string heading = "Device " + std::to_string(*index) + ": " + device.name + ", " +
                        (device.type ? TunerTypeName(*device.type) : "tuner type not reported");
  if (caps) heading += ", capability mask " + Hex(*caps);
  std::printf("%s\n", heading.c_str());

  plan = PlanSweep(files, device.type, options.lnb);
  for (const channels::ChannelError& e : plan.errors) std::printf("error: %s\n", e.Text().c_str());
  std::fflush(stdout);

  LibraryTuner tuner(caps, [&](const char* name, const std::function<int32_t()>& call) {
    return lib.Run(name, call);
  });
  std::vector<ChannelTuning> tunings;
  for (const SweepItem& item : plan.items) tunings.push_back(item.tuning);
  SweepSettings settings;
  settings.lockTimeoutMs = options.lockTimeoutMs;
  settings.recordMs = options.recordMs;
  SweepEngine engine(tuner, tunings, settings);
  ProgressLine progress(stdout);
  size_t locked = 0, recordFailures = 0;
  uint64_t streamErrors = 0;
  const auto start = std::chrono::steady_clock::now();
  while (!engine.Done()) {
    if (engine.Current() < engine.Total()) {
      progress.Show("[" + std::to_string(engine.Current() + 1) + "/" +
                    std::to_string(engine.Total()) + "] " +
                    TransponderText(plan.items[engine.Current()]) + " ...");
    }
    std::this_thread::sleep_until(engine.NextDue());
    if (std::optional<SweepResult> r = engine.Advance()) {
      progress.Clear();
      std::printf("%s\n", ResultLine(plan.items[r->index], *r, options.lockTimeoutMs).c_str());
      std::fflush(stdout);
      locked += r->locked;
      recordFailures += r->locked && RecordingFailed(*r);
      streamErrors += r->streamErrors.value_or(0);
      results.push_back(std::move(*r));
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  lib.Run("StopDVB", [] { return TunerApi.StopDVB(); });
  writeReports();
  std::printf("\n");
  if (!results.empty()) {
    std::printf("Swept %s transponder(s) in %.1f s (%.1f ms each)\n",
                std::to_string(results.size()).c_str(), seconds,
                seconds * 1000.0 / static_cast<double>(results.size()));
  }
  if (const std::string skipped = SkippedSummary(plan); !skipped.empty()) {
    std::printf("%s\n", skipped.c_str());
  }
  if (!plan.errors.empty()) std::printf("Errors: %s\n", std::to_string(plan.errors.size()).c_str());
  if (options.recordMs != 0) {
    std::printf("Recorded: %s of %s locked clean, %s stream errors\n",
                std::to_string(locked - recordFailures).c_str(), std::to_string(locked).c_str(),
                std::to_string(streamErrors).c_str());
  }
  std::printf("%s\n", LockedSummary(locked, plan.items.size()).c_str());
  ReleaseTunerLibrary();
  const bool all = !plan.items.empty() && locked == plan.items.size() && plan.errors.empty() &&
                   recordFailures == 0;
  return all ? 0 : 1;
}
