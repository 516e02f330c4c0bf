// quorvex-compliance: checks a tuner library against the contract the
// program relies on, one line per check and a closing total, binding the
// library exactly as the program does.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "compliance/checks.h"
#include "res/version.h"
#include "tuner/tuner_api.h"

namespace {

void Finish(compliance::Report& report, const compliance::Options& options) {
  report.PrintSummary();
  if (!options.junit.empty() && !report.WriteJUnit(options.junit, "quorvex-compliance")) {
    std::fprintf(stderr, "quorvex-compliance: cannot write %s\n", options.junit.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = compliance::ParseOptions(argc - 1, argv + 1);
  if (const std::string* error = std::get_if<std::string>(&parsed)) {
    std::fprintf(stderr, "quorvex-compliance: %s\n%s", error->c_str(), compliance::UsageText());
    return 2;
  }
  const compliance::Options& options = std::get<compliance::Options>(parsed);
  if (options.help) {
    std::fputs(compliance::UsageText(), stdout);
    return 0;
  }
  compliance::Report report(stdout, options.verbose);
  std::printf("quorvex-compliance %s\n\n", QV_VERSION_STRING);
  // A call that never returns ends the run here: the thread inside the
  // library cannot be joined, so the process leaves without it.
  compliance::CallLimit lib(
      std::chrono::milliseconds(options.timeoutMs), [&](const std::string& call) {
        report.Fail(call + " returns", "no return within " + std::to_string(options.timeoutMs) +
                                           " ms; the run ends here");
        Finish(report, options);
        std::fflush(nullptr);
        std::_Exit(1);
      });
  compliance::Context c{options, report, lib};
  const std::string library = options.library.empty() ? "quorvex.dll" : options.library;
  if (!compliance::CheckLoading(c, library)) {
    Finish(report, options);
    return 1;
  }
  compliance::CheckEnumeration(c);

  // Every enumerated device, or the one asked for; without enumeration, the
  // library's default device.
  std::vector<size_t> devices;
  const size_t count = c.devices.empty() ? 1 : c.devices.size();
  if (options.device) {
    if (*options.device >= count) {
      report.Area("Devices");
      report.Fail("--device " + std::to_string(*options.device),
                  "the library reported " + std::to_string(count) + " device(s)");
    } else {
      devices.push_back(*options.device);
    }
  } else {
    for (size_t i = 0; i < count; ++i) devices.push_back(i);
  }
  for (size_t index : devices) {
    if (!compliance::CheckDevice(c, index)) continue;
    // A transponder belongs to one device: the one asked for, or the first.
    c.transponder = index == devices.front() ? options.transponder : std::nullopt;
    compliance::CheckTuning(c);
    compliance::CheckFilters(c);
    compliance::CheckDiseqc(c);
    compliance::CheckMisAndEeprom(c);
    const int32_t stopped = lib.Run("StopDVB", [] { return TunerApi.StopDVB(); });
    report.Check("StopDVB", stopped != 0, "returned 0, expected the device stopped");
  }
  Finish(report, options);
  ReleaseTunerLibrary();
  return report.Failed() == 0 ? 0 : 1;
}
