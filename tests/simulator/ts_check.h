// A transport stream checker for recorded files and generated streams: sync
// bytes, PIDs, continuity counters, PSI section CRCs, PCR spacing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct TsCheckReport {
  uint64_t packets = 0;
  std::map<uint16_t, uint64_t> perPid;
  uint64_t sectionsChecked = 0;           // PSI sections whose CRC was right
  std::set<uint16_t> pmtPids;             // from the PAT
  std::map<uint16_t, uint16_t> pcrPidOf;  // program number -> PCR PID, from the PMTs
  std::map<uint16_t, uint64_t> pcrCount;  // PID -> PCRs seen
  std::vector<std::string> serviceNames;  // from the SDT
  double maxPcrGapSeconds = 0.0;
  std::vector<std::string> problems;  // empty when the stream is sound
};

// `onlyPid`: every packet must carry it. A stream that starts in the middle
// (a recording) may begin with a section's continuation; that is no fault.
// `pcrMayRepeat`: the multiplexer stamps its PCRs from a live clock (the
// kernel's vidtv), so two of one pass may carry the same value.
TsCheckReport CheckTransportStream(const uint8_t* data, size_t size,
                                   std::optional<uint16_t> onlyPid = std::nullopt,
                                   bool pcrMayRepeat = false);
