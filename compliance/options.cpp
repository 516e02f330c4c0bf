#include "compliance/options.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace compliance {

const char* UsageText() {
  return "usage: quorvex-compliance [options] [LIBRARY]\n"
         "Checks a tuner library against the contract the program relies on.\n"
         "LIBRARY defaults to the one the program would load.\n"
         "  --device N         check only device N (enumeration index; default: every device)\n"
         "  --freq MHZ         a transponder known to lock, for the tuning, signal and\n"
         "                     capture checks (without it they are n/a); as in the dialog:\n"
         "  --symrate KSPS     symbol rate in kS/s (default 27500)\n"
         "  --pol N --fec N --modulation N --inversion N --pilot N --rolloff N\n"
         "                     list indexes of the dialog's choices (default 0)\n"
         "  --lof-low MHZ --lof-high MHZ --lof-switch MHZ\n"
         "                     LNB local oscillators and switch (default 9750 10600 11700)\n"
         "  --no-lock-freq MHZ a frequency where nothing is carried, for the no-lock check\n"
         "                     (default: 4 MHz above --freq, between two channels; on\n"
         "                     satellite, just past the band of the known transponder)\n"
         "  --write-eeprom     allow writing the EEPROM back (it writes to the card)\n"
         "  --junit FILE       also write a JUnit XML report\n"
         "  --timeout MS       limit of one library call (default 10000)\n"
         "  --verbose          print details\n";
}

bool ParseNumber(const char* text, uint32_t& out) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (*end != '\0' || v > std::numeric_limits<uint32_t>::max()) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

std::variant<Options, std::string> ParseOptions(int argc, const char* const* argv) {
  Options o;
  TuneFields t;
  t.symRate = 27500;
  t.lofLow = 9750;
  t.lofHigh = 10600;
  t.lofSwitch = 11700;
  bool haveFreq = false, tuneOption = false;
  // Options that take a number, and where it goes.
  struct NumberOption {
    const char* name;
    uint32_t* target;
    bool tuning;
  };
  uint32_t device = 0, pol = 0, fec = 0, mod = 0, inv = 0, pilot = 0, roll = 0, noLock = 0;
  const NumberOption numbers[] = {{"--device", &device, false},
                                  {"--freq", &t.freq, true},
                                  {"--symrate", &t.symRate, true},
                                  {"--lof-low", &t.lofLow, true},
                                  {"--lof-high", &t.lofHigh, true},
                                  {"--lof-switch", &t.lofSwitch, true},
                                  {"--pol", &pol, true},
                                  {"--fec", &fec, true},
                                  {"--modulation", &mod, true},
                                  {"--inversion", &inv, true},
                                  {"--pilot", &pilot, true},
                                  {"--rolloff", &roll, true},
                                  {"--no-lock-freq", &noLock, true},
                                  {"--timeout", &o.timeoutMs, false}};
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--write-eeprom") {
      o.writeEeprom = true;
    } else if (arg == "--verbose" || arg == "-v") {
      o.verbose = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--junit") {
      if (i + 1 >= argc) return std::string("--junit needs a file name");
      o.junit = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      const NumberOption* match = nullptr;
      for (const NumberOption& n : numbers) {
        if (arg == n.name) match = &n;
      }
      if (match == nullptr) return "unknown option " + arg;
      if (i + 1 >= argc || !ParseNumber(argv[i + 1], *match->target)) {
        return arg + " needs a whole number";
      }
      ++i;
      if (arg == "--device") o.device = device;
      if (arg == "--freq") haveFreq = true;
      if (arg == "--no-lock-freq") o.noLockFreq = noLock;
      tuneOption |= match->tuning;
    } else if (o.library.empty()) {
      o.library = arg;
    } else {
      return "more than one library named: " + arg;
    }
  }
  if (tuneOption && !haveFreq) return std::string("tuning options need --freq");
  if (o.timeoutMs == 0) return std::string("--timeout must be above 0");
  if (haveFreq) {
    t.pol = static_cast<int32_t>(pol);
    t.fec = static_cast<int32_t>(fec);
    t.modulation = static_cast<int32_t>(mod);
    t.inversion = static_cast<int32_t>(inv);
    t.pilot = static_cast<int32_t>(pilot);
    t.rollOff = static_cast<int32_t>(roll);
    if (TuneRangeError(t)) return *TuneRangeError(t);
    if (o.noLockFreq && *o.noLockFreq > kMaxTuneEntry)
      return "--no-lock-freq " + std::to_string(*o.noLockFreq) + " is too large (max " +
             std::to_string(kMaxTuneEntry) + ")";
    o.transponder = t;
  }
  return o;
}

}  // namespace compliance
