// What a sweep tunes: the transponders of one or more channel files that the
// device receives, each once, in file order, with what was left out and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "channels/channel_entry.h"
#include "tuning/channel_tuning.h"

struct SweepItem {
  channels::ChannelEntry entry;  // the first entry that lists the transponder
  ChannelTuning tuning;
  // Entries on this transponder: dvbv5-scan's files list one per service.
  int entries = 1;
};

// An entry the device does not receive.
struct SweepSkip {
  channels::ChannelEntry entry;
  std::string reason;  // "DVBT: a DVB-S2 tuner does not receive it"
};

// How many entries were skipped for one reason.
struct SkipCount {
  std::string reason;
  int count = 0;
};

struct SweepPlan {
  std::vector<SweepItem> items;
  std::vector<SweepSkip> skipped;
  // Entries that cannot be read or mapped; each names file, line and key.
  std::vector<channels::ChannelError> errors;

  // The skips grouped by reason, in order of first appearance.
  std::vector<SkipCount> SkipCounts() const;
};

// The plan for a device of tuner type `tunerType` (none: the library did not
// tell; every entry is tried). Two entries are one transponder when they
// agree on the delivery family, frequency, polarisation, symbol rate and
// stream id.
SweepPlan PlanSweep(const std::vector<channels::ChannelFile>& files,
                    std::optional<uint32_t> tunerType, const LnbValues& lnb);

// How many entries of `files` a tuner of `tunerType` receives.
size_t ReceivedEntries(const std::vector<channels::ChannelFile>& files, uint32_t tunerType);
