#include "tuning/tune_request.h"

#include <cstdio>

namespace {

std::string Format(const char* format, auto... values) {
  char text[128];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

}  // namespace

TuneEntry ChooseTuneEntry(bool hasSetChannelExEx, bool hasSetChannelEx) {
  if (hasSetChannelExEx) return TuneEntry::SetChannelExEx;
  if (hasSetChannelEx) return TuneEntry::SetChannelEx;
  return TuneEntry::SetChannel;
}

const char* TuneEntryName(TuneEntry entry) {
  switch (entry) {
    case TuneEntry::SetChannelExEx:
      return "SetChannelExEx";
    case TuneEntry::SetChannelEx:
      return "SetChannelEx";
    case TuneEntry::SetChannel:
      break;
  }
  return "SetChannel";
}

// The edit fields are unsigned 32-bit, so they are shown as such: a huge
// entry reads back as the user typed it, not as a negative number.
std::vector<std::string> TuneParameterLines(const TuneFields& f, TuneEntry entry) {
  std::vector<std::string> lines;
  lines.push_back(
      Format("Frequency=%u, Symrate=%u, Pol=%d, FEC=%d", f.freq, f.symRate, f.pol, f.fec));
  lines.push_back(Format("LOF1=%u, LOF2=%u, LOFSW=%u", f.lofLow, f.lofHigh, f.lofSwitch));
  if (entry != TuneEntry::SetChannel) lines.push_back(Format("Modulation=%d", f.modulation));
  if (entry == TuneEntry::SetChannelExEx) {
    lines.push_back(Format("Inversion=%d", f.inversion));
    lines.push_back(Format("Pilot=%d", f.pilot));
    lines.push_back(Format("RollOff=%d", f.rollOff));
  }
  return lines;
}

std::optional<std::string> TuneRangeError(const TuneFields& f) {
  const struct {
    const char* name;
    uint32_t value;
  } fields[] = {{"Frequency", f.freq},
                {"Symrate", f.symRate},
                {"LOF1", f.lofLow},
                {"LOF2", f.lofHigh},
                {"LOFSW", f.lofSwitch}};
  for (const auto& field : fields) {
    if (field.value > kMaxTuneEntry) {
      return Format("%s=%u is too large (max %u) !", field.name, field.value, kMaxTuneEntry);
    }
  }
  return std::nullopt;
}

TuneArgs TuneArgsFor(const TuneFields& f) {
  TuneArgs a;
  a.freqKHz = f.freq * 1000u;
  a.symbolRate = f.symRate * 1000u;
  a.pol = static_cast<uint32_t>(f.pol);
  a.fec = static_cast<uint32_t>(f.fec);
  a.lofLowKHz = f.lofLow * 1000u;
  a.lofHighKHz = f.lofHigh * 1000u;
  a.lofSwitchKHz = f.lofSwitch * 1000u;
  a.modulation = static_cast<uint32_t>(f.modulation);
  a.inversion = static_cast<uint32_t>(f.inversion);
  a.pilot = static_cast<uint32_t>(f.pilot);
  a.rollOff = static_cast<uint32_t>(f.rollOff);
  return a;
}

std::string TuneSuccessText(TuneEntry entry) {
  return std::string(TuneEntryName(entry)) + " success !";
}

std::string TuneFailureText(TuneEntry entry) {
  return std::string(TuneEntryName(entry)) + " failed !";
}
