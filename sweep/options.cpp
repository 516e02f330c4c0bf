#include "sweep/options.h"

#include "compliance/options.h"

namespace sweep {

const char* UsageText() {
  return "usage: quorvex-sweep [options] FILE...\n"
         "Tunes every transponder of libdvbv5 channel files (dtv-scan-tables, dvbv5-scan)\n"
         "through the tuner library, as the dialog tunes, and reports lock and signal.\n"
         "  --device N         sweep device N (enumeration index; default: the first\n"
         "                     device that receives the files' delivery systems)\n"
         "  --lock-timeout MS  how long a transponder may take to lock (default 3000)\n"
         "  --record MS        record MS ms of each locked transponder's whole transport\n"
         "                     stream (counted, not kept): bit rate and stream errors\n"
         "  --lof-low MHZ --lof-high MHZ --lof-switch MHZ\n"
         "                     LNB local oscillators and switch (default 9750 10600 11700)\n"
         "  --csv FILE         also write the results as comma-separated values\n"
         "  --junit FILE       also write a JUnit XML report\n";
}

std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv) {
  Options o;
  uint32_t device = 0;
  struct NumberOption {
    const char* name;
    uint32_t* target;
  };
  const NumberOption numbers[] = {{"--device", &device},       {"--lock-timeout", &o.lockTimeoutMs},
                                  {"--record", &o.recordMs},   {"--lof-low", &o.lnb.low},
                                  {"--lof-high", &o.lnb.high}, {"--lof-switch", &o.lnb.lofSwitch}};
  bool optionsEnd = false, recorded = false;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnd || arg.rfind("-", 0) != 0 || arg == "-") {
      o.files.push_back(arg);
    } else if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--csv" || arg == "--junit") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return arg + " needs a file name";
      (arg == "--csv" ? o.csv : o.junit) = argv[++i];
    } else {
      const NumberOption* match = nullptr;
      for (const NumberOption& n : numbers) {
        if (arg == n.name) match = &n;
      }
      if (match == nullptr) return "unknown option " + arg;
      if (i + 1 >= argc || !compliance::ParseNumber(argv[i + 1], *match->target)) {
        return arg + " needs a whole number";
      }
      ++i;
      if (arg == "--device") o.device = device;
      recorded |= arg == "--record";
    }
  }
  if (o.help) return o;
  if (o.files.empty()) return std::string("no channel file named");
  if (o.lockTimeoutMs > kMaxLockTimeoutMs) {
    return "--lock-timeout " + std::to_string(o.lockTimeoutMs) + " is above " +
           std::to_string(kMaxLockTimeoutMs) + " ms";
  }
  if (recorded && (o.recordMs == 0 || o.recordMs > kMaxRecordMs)) {
    return "--record " + std::to_string(o.recordMs) + " is not between 1 and " +
           std::to_string(kMaxRecordMs) + " ms";
  }
  for (uint32_t mhz : {o.lnb.low, o.lnb.high, o.lnb.lofSwitch}) {
    if (mhz > kMaxTuneEntry) {
      return "an LNB value of " + std::to_string(mhz) + " MHz is too large (max " +
             std::to_string(kMaxTuneEntry) + ")";
    }
  }
  return o;
}

}  // namespace sweep
