// The entries of a channel file with typed values: libdvbv5's vocabulary
// ("DVBS2", "PSK/8", "3/4", "HORIZONTAL" ...), read case-blind as libdvbv5
// reads it. Keys this layer does not know (SERVICE_NAME, VIDEO_PID, LNB ...)
// are skipped, not errors; they stay in the entry's section.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/channel_file.h"

namespace channels {

// The delivery systems of the Linux DVB API, named as the files name them.
enum class DeliverySystem {
  DvbCAnnexA,
  DvbCAnnexB,
  DvbT,
  Dss,
  DvbS,
  DvbS2,
  DvbH,
  IsdbT,
  IsdbS,
  IsdbC,
  Atsc,
  AtscMh,
  Dtmb,
  Cmmb,
  Dab,
  DvbT2,
  Turbo,
  DvbCAnnexC,
  DvbC2,
};
const char* DeliverySystemName(DeliverySystem system);  // "DVBC/ANNEX_A", "DVBS2" ...

// What kind of tuner receives a delivery system; Other: none of the three.
enum class Family { Satellite, Terrestrial, Cable, Other };
Family FamilyOf(DeliverySystem system);

enum class Polarization { Horizontal, Vertical, Left, Right, Off };

// A code rate: "NONE", "AUTO" or one of the ratios the Linux DVB API names.
struct CodeRate {
  enum class Kind { None, Auto, Ratio };
  Kind kind = Kind::Auto;
  uint32_t num = 0, den = 0;  // Ratio only
  std::string Text() const;   // "NONE", "AUTO", "3/4"
  bool operator==(const CodeRate&) const = default;
};

enum class Modulation {
  Qpsk,
  Qam16,
  Qam32,
  Qam64,
  Qam128,
  Qam256,
  QamAuto,
  Vsb8,
  Vsb16,
  Psk8,
  Apsk16,
  Apsk32,
  Dqpsk,
  Qam4Nr,
  Qam1024,
  Qam4096,
  Apsk8L,
  Apsk16L,
  Apsk32L,
  Apsk64,
  Apsk64L,
};
const char* ModulationName(Modulation m);  // "QPSK", "PSK/8", "QAM/256" ...

enum class RollOff { R35, R20, R25, Auto, R15, R10, R5 };
// INVERSION and PILOT.
enum class Switch { Off, On, Auto };

// STREAM_ID's value for "no stream selected".
inline constexpr uint32_t kNoStreamId = 0xFFFFFFFFu;

// One [NAME] section with the values this layer knows, each present only
// when the section gives it.
struct ChannelEntry {
  std::string file;
  ChannelSection section;  // name, line, and every line as written
  DeliverySystem system = DeliverySystem::DvbS;
  // kHz for the satellite systems, Hz for all others, as libdvbv5 has it.
  uint32_t frequency = 0;
  std::optional<Polarization> polarization;
  std::optional<uint32_t> symbolRate;  // symbols per second
  std::optional<CodeRate> innerFec, codeRateHp, codeRateLp;
  std::optional<Modulation> modulation;
  std::optional<Switch> inversion, pilot;
  std::optional<RollOff> rollOff;
  std::optional<uint32_t> streamId;  // kNoStreamId when given as none
  std::optional<uint32_t> bandwidthHz;
  std::optional<uint32_t> serviceId;  // dvbv5-scan's files: one entry per service

  // The line of `key` in the section, or the section's own line.
  int LineOf(std::string_view key) const;
  // An error about `key` of this entry.
  ChannelError Error(std::string_view key, std::string what) const;
};

struct ChannelFile {
  std::vector<ChannelEntry> entries;
  std::vector<ChannelError> errors;
};

// Reads the text of one channel file. An entry with a value it cannot read
// (a name outside the format's vocabulary, a number that is not one, a key
// given twice with two values, no DELIVERY_SYSTEM or FREQUENCY) is left out
// with an error
// naming the file, the line and the key.
ChannelFile ReadChannelText(const std::string& file, std::string_view text);
// The same for a file on disk (see ReadChannelFileText).
ChannelFile ReadChannelFile(const std::string& path);

}  // namespace channels
