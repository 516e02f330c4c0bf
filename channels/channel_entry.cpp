#include "channels/channel_entry.h"

#include <algorithm>
#include <utility>

namespace channels {

namespace {

template <class T>
struct Name {
  const char* text;
  T value;
};

constexpr Name<DeliverySystem> kSystems[] = {
    {"DVBC/ANNEX_A", DeliverySystem::DvbCAnnexA},
    {"DVBC/ANNEX_B", DeliverySystem::DvbCAnnexB},
    {"DVBT", DeliverySystem::DvbT},
    {"DSS", DeliverySystem::Dss},
    {"DVBS", DeliverySystem::DvbS},
    {"DVBS2", DeliverySystem::DvbS2},
    {"DVBH", DeliverySystem::DvbH},
    {"ISDBT", DeliverySystem::IsdbT},
    {"ISDBS", DeliverySystem::IsdbS},
    {"ISDBC", DeliverySystem::IsdbC},
    {"ATSC", DeliverySystem::Atsc},
    {"ATSCMH", DeliverySystem::AtscMh},
    {"DTMB", DeliverySystem::Dtmb},
    {"CMMB", DeliverySystem::Cmmb},
    {"DAB", DeliverySystem::Dab},
    {"DVBT2", DeliverySystem::DvbT2},
    {"TURBO", DeliverySystem::Turbo},
    {"DVBC/ANNEX_C", DeliverySystem::DvbCAnnexC},
    {"DVBC2", DeliverySystem::DvbC2},
};

constexpr Name<Modulation> kModulations[] = {
    {"QPSK", Modulation::Qpsk},         {"QAM/16", Modulation::Qam16},
    {"QAM/32", Modulation::Qam32},      {"QAM/64", Modulation::Qam64},
    {"QAM/128", Modulation::Qam128},    {"QAM/256", Modulation::Qam256},
    {"QAM/AUTO", Modulation::QamAuto},  {"VSB/8", Modulation::Vsb8},
    {"VSB/16", Modulation::Vsb16},      {"PSK/8", Modulation::Psk8},
    {"APSK/16", Modulation::Apsk16},    {"APSK/32", Modulation::Apsk32},
    {"DQPSK", Modulation::Dqpsk},       {"QAM/4_NR", Modulation::Qam4Nr},
    {"QAM/1024", Modulation::Qam1024},  {"QAM/4096", Modulation::Qam4096},
    {"APSK/8_L", Modulation::Apsk8L},   {"APSK/16_L", Modulation::Apsk16L},
    {"APSK/32_L", Modulation::Apsk32L}, {"APSK/64", Modulation::Apsk64},
    {"APSK/64_L", Modulation::Apsk64L},
};

constexpr Name<Polarization> kPolarizations[] = {
    {"HORIZONTAL", Polarization::Horizontal},
    {"VERTICAL", Polarization::Vertical},
    {"LEFT", Polarization::Left},
    {"RIGHT", Polarization::Right},
    {"OFF", Polarization::Off},
};

constexpr Name<RollOff> kRollOffs[] = {
    {"35", RollOff::R35}, {"20", RollOff::R20}, {"25", RollOff::R25}, {"AUTO", RollOff::Auto},
    {"15", RollOff::R15}, {"10", RollOff::R10}, {"5", RollOff::R5},
};

constexpr Name<Switch> kSwitches[] = {
    {"OFF", Switch::Off}, {"ON", Switch::On}, {"AUTO", Switch::Auto}};

// The code rates of the Linux DVB API (DVB-S2X's included).
constexpr std::pair<uint32_t, uint32_t> kRatios[] = {
    {1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 6},   {6, 7},   {7, 8},   {8, 9},
    {3, 5},   {9, 10},  {2, 5},   {1, 4},   {1, 3},   {5, 9},   {7, 9},   {8, 15},
    {11, 15}, {13, 18}, {9, 20},  {11, 20}, {23, 36}, {25, 36}, {13, 45}, {26, 45},
    {28, 45}, {32, 45}, {77, 90}, {11, 45}, {4, 15},  {14, 45}, {7, 15},
};

bool SameBlind(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

template <class T, size_t N>
std::optional<T> Lookup(const Name<T> (&names)[N], std::string_view text) {
  for (const Name<T>& n : names) {
    if (SameBlind(n.text, text)) return n.value;
  }
  return std::nullopt;
}

std::optional<uint32_t> Number(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<uint32_t>(v);
}

std::optional<CodeRate> ParseCodeRate(std::string_view text) {
  if (SameBlind(text, "NONE")) return CodeRate{CodeRate::Kind::None, 0, 0};
  if (SameBlind(text, "AUTO")) return CodeRate{CodeRate::Kind::Auto, 0, 0};
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<uint32_t> num = Number(text.substr(0, slash));
  const std::optional<uint32_t> den = Number(text.substr(slash + 1));
  for (const auto& [n, d] : kRatios) {
    if (num == n && den == d) return CodeRate{CodeRate::Kind::Ratio, n, d};
  }
  return std::nullopt;
}

// Reads the keys this layer knows into `e`; false (with the error) at the
// first value it cannot read.
class EntryReader {
 public:
  explicit EntryReader(ChannelEntry& e) : e_(e) {}

  bool Read(std::optional<ChannelError>& error) {
    for (const ChannelLine& l : e_.section.lines) {
      if (!ReadLine(l)) {
        error = error_;
        return false;
      }
    }
    if (!seenSystem_) return Fail(e_.section.line, "DELIVERY_SYSTEM", "missing", error);
    if (!seenFrequency_) return Fail(e_.section.line, "FREQUENCY", "missing", error);
    return true;
  }

 private:
  bool Fail(int line, std::string_view key, std::string what, std::optional<ChannelError>& out) {
    out = ChannelError{e_.file, line, std::string(key), std::move(what)};
    return false;
  }

  bool Bad(const ChannelLine& l, const char* kind) {
    error_ = {e_.file, l.line, l.key,
              (l.value.empty() ? std::string("no value") : l.value) + " is not " + kind +
                  " of the channel-file format"};
    return false;
  }

  template <class T>
  bool Set(const ChannelLine& l, std::optional<T>& field, std::optional<T> value,
           const char* kind) {
    if (!value) return Bad(l, kind);
    field = value;
    return true;
  }

  bool ReadLine(const ChannelLine& l) {
    struct Known {
      const char* key;
      bool (EntryReader::*read)(const ChannelLine&);
    };
    static constexpr Known kKnown[] = {
        {"DELIVERY_SYSTEM", &EntryReader::System},
        {"FREQUENCY", &EntryReader::Frequency},
        {"POLARIZATION", &EntryReader::Polar},
        {"SYMBOL_RATE", &EntryReader::SymbolRate},
        {"INNER_FEC", &EntryReader::InnerFec},
        {"CODE_RATE_HP", &EntryReader::CodeRateHp},
        {"CODE_RATE_LP", &EntryReader::CodeRateLp},
        {"MODULATION", &EntryReader::Mod},
        {"INVERSION", &EntryReader::Inversion},
        {"PILOT", &EntryReader::Pilot},
        {"ROLLOFF", &EntryReader::Roll},
        {"STREAM_ID", &EntryReader::Stream},
        {"BANDWIDTH_HZ", &EntryReader::Bandwidth},
        {"SERVICE_ID", &EntryReader::Service},
    };
    for (const Known& k : kKnown) {
      if (l.key != k.key) continue;
      // A second, different value for the same key leaves the transponder in
      // doubt; the same one again (ISDB-T tables repeat INVERSION) does not.
      if (const ChannelLine* first = e_.section.Find(l.key); first != &l) {
        if (SameBlind(first->value, l.value)) return true;
        error_ = {e_.file, l.line, l.key,
                  l.value + " here, " + first->value + " on line " + std::to_string(first->line)};
        return false;
      }
      return (this->*k.read)(l);
    }
    return true;
  }

  bool System(const ChannelLine& l) {
    const std::optional<DeliverySystem> s = Lookup(kSystems, l.value);
    if (!s) return Bad(l, "a delivery system");
    e_.system = *s;
    seenSystem_ = true;
    return true;
  }
  bool Frequency(const ChannelLine& l) {
    const std::optional<uint32_t> f = Number(l.value);
    if (!f) return Bad(l, "a frequency");
    e_.frequency = *f;
    seenFrequency_ = true;
    return true;
  }
  bool Polar(const ChannelLine& l) {
    return Set(l, e_.polarization, Lookup(kPolarizations, l.value), "a polarization");
  }
  bool SymbolRate(const ChannelLine& l) {
    return Set(l, e_.symbolRate, Number(l.value), "a symbol rate");
  }
  bool InnerFec(const ChannelLine& l) {
    return Set(l, e_.innerFec, ParseCodeRate(l.value), "a code rate");
  }
  bool CodeRateHp(const ChannelLine& l) {
    return Set(l, e_.codeRateHp, ParseCodeRate(l.value), "a code rate");
  }
  bool CodeRateLp(const ChannelLine& l) {
    return Set(l, e_.codeRateLp, ParseCodeRate(l.value), "a code rate");
  }
  bool Mod(const ChannelLine& l) {
    return Set(l, e_.modulation, Lookup(kModulations, l.value), "a modulation");
  }
  bool Inversion(const ChannelLine& l) {
    return Set(l, e_.inversion, Lookup(kSwitches, l.value), "an inversion");
  }
  bool Pilot(const ChannelLine& l) {
    return Set(l, e_.pilot, Lookup(kSwitches, l.value), "a pilot setting");
  }
  bool Roll(const ChannelLine& l) {
    return Set(l, e_.rollOff, Lookup(kRollOffs, l.value), "a roll-off");
  }
  bool Stream(const ChannelLine& l) { return Set(l, e_.streamId, Number(l.value), "a stream id"); }
  bool Bandwidth(const ChannelLine& l) {
    return Set(l, e_.bandwidthHz, Number(l.value), "a bandwidth in Hz");
  }
  bool Service(const ChannelLine& l) {
    return Set(l, e_.serviceId, Number(l.value), "a service id");
  }

  ChannelEntry& e_;
  ChannelError error_;
  bool seenSystem_ = false, seenFrequency_ = false;
};

}  // namespace

const char* DeliverySystemName(DeliverySystem system) {
  for (const auto& n : kSystems) {
    if (n.value == system) return n.text;
  }
  return "?";
}

const char* ModulationName(Modulation m) {
  for (const auto& n : kModulations) {
    if (n.value == m) return n.text;
  }
  return "?";
}

Family FamilyOf(DeliverySystem system) {
  using DS = DeliverySystem;
  switch (system) {
    case DS::DvbS:
    case DS::DvbS2:
    case DS::Dss:
    case DS::Turbo:
    case DS::IsdbS:
      return Family::Satellite;
    case DS::DvbT:
    case DS::DvbT2:
    case DS::DvbH:
    case DS::IsdbT:
    case DS::Atsc:
    case DS::AtscMh:
    case DS::Dtmb:
      return Family::Terrestrial;
    case DS::DvbCAnnexA:
    case DS::DvbCAnnexB:
    case DS::DvbCAnnexC:
    case DS::IsdbC:
    case DS::DvbC2:
      return Family::Cable;
    case DS::Cmmb:
    case DS::Dab:
      break;
  }
  return Family::Other;
}

std::string CodeRate::Text() const {
  switch (kind) {
    case Kind::None:
      return "NONE";
    case Kind::Auto:
      return "AUTO";
    case Kind::Ratio:
      break;
  }
  return std::to_string(num) + "/" + std::to_string(den);
}

int ChannelEntry::LineOf(std::string_view key) const {
  const ChannelLine* l = section.Find(key);
  return l ? l->line : section.line;
}

ChannelError ChannelEntry::Error(std::string_view key, std::string what) const {
  return {file, LineOf(key), std::string(key), std::move(what)};
}

ChannelFile ReadChannelText(const std::string& file, std::string_view text) {
  ChannelSections sections = ReadChannelSections(file, text);
  ChannelFile out;
  out.errors = std::move(sections.errors);
  for (ChannelSection& s : sections.sections) {
    ChannelEntry e;
    e.file = file;
    e.section = std::move(s);
    std::optional<ChannelError> error;
    if (EntryReader(e).Read(error)) {
      out.entries.push_back(std::move(e));
    } else {
      out.errors.push_back(std::move(*error));
    }
  }
  // Errors in file order, whichever layer found them.
  std::stable_sort(out.errors.begin(), out.errors.end(),
                   [](const ChannelError& a, const ChannelError& b) { return a.line < b.line; });
  return out;
}

ChannelFile ReadChannelFile(const std::string& path) {
  std::string text;
  ChannelError error;
  if (!ReadChannelFileText(path, text, error)) return {{}, {error}};
  return ReadChannelText(path, text);
}

}  // namespace channels
