// The transport stream of a locked carrier, packet by packet (ISO/IEC
// 13818-1): PAT, one PMT per service and the SDT with their CRC-32, a video
// and an audio PID per service with a PCR on the video PID, continuity
// counters in order, and null packets filling the rest of the carrier's
// useful bitrate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "signal_model.h"

namespace qvsim {

inline constexpr size_t kTsPacketSize = 188;
inline constexpr uint8_t kTsSync = 0x47;
inline constexpr uint16_t kPatPid = 0x0000;
inline constexpr uint16_t kSdtPid = 0x0011;
inline constexpr uint16_t kNullPid = 0x1FFF;

// CRC-32/MPEG-2: polynomial 0x04C11DB7, initial value 0xFFFFFFFF, no
// reflection, no final inversion. A whole section, its CRC included, gives 0.
uint32_t crc32Mpeg2(const uint8_t* data, size_t size);

struct TsProgram {
  uint16_t programNumber = 0;  // the service id
  std::string name;
  uint16_t pmtPid = 0;
  uint16_t videoPid = 0;  // carries the PCR
  uint16_t audioPid = 0;
};

struct TsPlan {
  uint64_t bitrate = 0;  // bits per second; the stream's clock runs at this rate
  uint16_t transportStreamId = 0;
  uint16_t originalNetworkId = 0;
  std::vector<TsProgram> programs;
};

// One program per service of the stream delivered.
TsPlan planFor(const LockedCarrier& carrier);

// Whole sections, CRC included.
std::vector<uint8_t> patSection(const TsPlan& plan);
std::vector<uint8_t> pmtSection(const TsPlan& plan, size_t program);
std::vector<uint8_t> sdtSection(const TsPlan& plan);

class TsGenerator {
 public:
  explicit TsGenerator(TsPlan plan);

  // Writes the next packet (188 bytes) at `out` and returns its PID.
  uint16_t next(uint8_t* out);
  // Packets made so far; packet n leaves the multiplexer at n*188*8/bitrate s.
  uint64_t position() const { return n_; }
  const TsPlan& plan() const { return plan_; }

 private:
  struct Table {
    uint16_t pid;
    std::vector<uint8_t> packets;  // whole packets, continuity counter still 0
    uint64_t interval;             // packets from one repetition to the next
    uint64_t due;
    size_t part = 0;
    uint8_t cc = 0;
  };
  struct Elementary {
    uint16_t pid;
    uint8_t streamId;  // PES stream id
    bool carriesPcr;
    uint8_t cc = 0;
    uint64_t sent = 0;
    uint64_t pcrDue = 0;
  };
  void writeTable(Table& t, uint8_t* out);
  void writeElementary(Elementary& e, uint8_t* out);
  uint64_t pcrAt(uint64_t byteOffset) const;

  TsPlan plan_;
  std::vector<Table> tables_;
  std::vector<Elementary> streams_;
  std::vector<int16_t> pattern_;  // per slot: index into streams_, -1 = null packet
  uint64_t pcrInterval_ = 1;
  uint64_t nextTableDue_ = 0;
  uint64_t n_ = 0;
};

}  // namespace qvsim
