#include <cstdio>
#include <set>
#include <string>

#include "compliance/checks.h"
#include "tuner/tuner_api.h"

namespace compliance {

namespace {

// The PID that stands for the whole transport stream, as the program passes it.
constexpr uint32_t kWholeStream = 8192;
// A filter number written back unchanged is no filter number.
constexpr int32_t kNoFilter = 0x7EADBEEF;
// Short filters in a row, to catch a delivery racing DelFilter's return.
constexpr int kCycles = 20;
// How long deliveries are watched for after the last DelFilter returned.
constexpr unsigned kWatchAfterMs = 300;

int64_t Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

// Opens a filter with `open` (which stores its number) and deletes it after
// `ms`; false when either call failed, with what went wrong in `why`.
template <class OpenFn>
bool OneFilter(Context& c, DeliveryRecord& record, const char* openName, OpenFn open, unsigned ms,
               std::set<int32_t>& handedOut, std::string& why) {
  record.Open();
  int32_t filter = kNoFilter;
  if (c.lib.Run(openName, [&] { return open(&filter); }) == 0) {
    record.Close();
    why = std::string(openName) + " returned 0, expected a filter";
    return false;
  }
  if (filter == kNoFilter) {
    record.Close();
    why = std::string(openName) + " succeeded without writing a filter number";
    return false;
  }
  handedOut.insert(filter);
  WaitFor(ms, [] { return false; });
  const int32_t deleted = c.lib.Run("DelFilter", [&] { return TunerApi.DelFilter(filter); });
  record.Close();
  if (deleted == 0) {
    why = "DelFilter(" + std::to_string(filter) + ") returned 0, expected the filter deleted";
    return false;
  }
  return true;
}

// The lifecycle checks both filter kinds share: one long filter, many short
// ones, nothing delivered after DelFilter returned, not on the caller's thread.
template <class OpenFn>
bool CheckLifecycle(Context& c, DeliveryRecord& record, const std::string& kind,
                    const char* openName, OpenFn open, unsigned longMs) {
  Report& r = c.report;
  record.Reset();
  std::set<int32_t> handedOut;
  std::string why;
  const bool opened = OneFilter(c, record, openName, open, longMs, handedOut, why);
  r.Check(std::string(openName), opened, why);
  if (!opened) return false;
  {
    std::lock_guard lock(record.mu);
    std::string figures =
        std::to_string(record.calls) + " deliveries in " + std::to_string(longMs) + " ms";
    if (record.bytes > 0) {
      char rate[80];
      std::snprintf(rate, sizeof rate, ", %llu bytes (%.2f Mbit/s)",
                    static_cast<unsigned long long>(record.bytes),
                    record.bytes * 8.0 / 1000.0 / longMs);
      figures += rate;
    }
    r.Info(figures + "; DelFilter returned after " +
           std::to_string(c.lib.LastDuration().count() / 1000) + " ms");
  }
  bool cycles = true;
  for (int i = 0; i < kCycles && cycles; ++i) {
    cycles = OneFilter(c, record, openName, open, 20, handedOut, why);
  }
  r.Check(kind + " filter " + std::to_string(kCycles) + " times in a row", cycles, why);
  WaitFor(kWatchAfterMs, [] { return false; });
  std::lock_guard lock(record.mu);
  r.Check(
      "no " + kind + " delivery after DelFilter returned", record.late == 0,
      std::to_string(record.late) + " delivery(ies) after DelFilter had returned, expected none");
  if (record.calls == 0) {
    r.NotApplicable(kind + " callbacks on a library thread", "nothing was delivered");
  } else {
    r.Check(kind + " callbacks on a library thread",
            record.threads.count(c.lib.CallerThread()) == 0,
            "a callback ran on the thread that called the library, expected a library thread");
  }
  return true;
}

void CheckCapture(Context& c) {
  Report& r = c.report;
  auto open = [](int32_t* filter) {
    return TunerApi.SetFilter(kWholeStream, OnStreamData, 2, 1, filter);
  };
  if (!CheckLifecycle(c, g_stream, "stream", "SetFilter", open, 1000)) return;
  std::lock_guard lock(g_stream.mu);
  if (g_stream.calls == 0) {
    const char* why = c.tuned ? "no buffer arrived from the tuned transponder"
                              : "no buffer arrived (no transponder was tuned)";
    r.NotApplicable("whole transport stream packets", why);
    r.NotApplicable("continuity counters", why);
    return;
  }
  r.Check("whole transport stream packets", g_stream.ts.FirstFault().empty(),
          g_stream.ts.FirstFault());
  r.Check("continuity counters", g_stream.ts.ContinuityErrors() == 0,
          std::to_string(g_stream.ts.ContinuityErrors()) + " packet(s) out of sequence");
  r.Info("first buffer " + std::to_string(Ms(g_stream.first - g_stream.registered)) +
         " ms after SetFilter was called");
}

void CheckRemote(Context& c) {
  Report& r = c.report;
  auto open = [](int32_t* filter) {
    return TunerApi.SetRemoteControl(1, 0xFFFF, OnRemoteCode, filter);
  };
  // Long enough for a remote pressed about once a second.
  if (!CheckLifecycle(c, g_remote, "remote-control", "SetRemoteControl", open, 2500)) return;
  std::lock_guard lock(g_remote.mu);
  if (g_remote.calls == 0) {
    r.NotApplicable("remote-control codes", "no code arrived (none is needed)");
  } else {
    r.Ok("remote-control codes");
    r.Info(std::to_string(g_remote.calls) + " code(s) arrived");
  }
}

}  // namespace

void CheckFilters(Context& c) {
  Report& r = c.report;
  r.Area("Filters (" + c.deviceLabel + ")");
  // A number no call handed out: deleting it must fail, not succeed quietly.
  const int32_t stray = c.lib.Run("DelFilter", [] { return TunerApi.DelFilter(0x3FFFFFF7); });
  r.Check("DelFilter of a number never handed out", stray == 0,
          "DelFilter(1073741815) returned success, expected 0");
  CheckCapture(c);
  if (TunerApi.SetRemoteControl == nullptr || !Offers(c, QV_CAP_REMOTE_CONTROL)) {
    r.NotApplicable("SetRemoteControl",
                    TunerApi.SetRemoteControl == nullptr ? "not exported" : "capability 0x2 clear");
  } else {
    CheckRemote(c);
  }
}

}  // namespace compliance
