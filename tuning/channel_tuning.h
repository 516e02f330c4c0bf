// A channel-file entry as the dialog's tuning fields: MHz, kilosymbols per
// second, the list indexes of polarisation, FEC, modulation, inversion,
// pilot and roll-off, the LNB values, and the multistream id to select.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "channels/channel_entry.h"
#include "tuner/tune_args.h"
#include "tuning/tune_request.h"

// The dialog's LNB values in MHz ("LOF Low:", "LOF High:", "LOF Switch:").
struct LnbValues {
  uint32_t low = 9750, high = 10600, lofSwitch = 11700;
};

struct ChannelTuning {
  // As the dialog would hold them. The frequency and the symbol rate are
  // rounded to the dialog's whole MHz and kS/s; the two fields below keep
  // them as exact as the library can take them.
  TuneFields fields;
  uint32_t freqKHz = 0;
  uint32_t symbolRate = 0;  // symbols per second (terrestrial: the bandwidth in Hz)
  std::optional<uint8_t> streamId;
};

// Maps an entry: an error naming the file, line and key of the first value
// the dialog's fields cannot carry.
//   Satellite: FREQUENCY in kHz, POLARIZATION and SYMBOL_RATE required; the
//     modulation list has its own QPSK for DVB-S2 ("QPSK-S2"), for Turbo and
//     for DSS ("DirecTV").
//   Terrestrial: FREQUENCY in Hz; the symbol-rate field carries the channel
//     bandwidth in kHz (0: not given), as tuner libraries read it there; the
//     FEC is CODE_RATE_HP.
//   Cable: FREQUENCY in Hz, SYMBOL_RATE required.
// Missing choices and "AUTO" are the lists' AUTO; "NONE" (no inner code, as
// on cable) too. ATSC's one modulation, 8VSB, is passed as AUTO.
std::variant<ChannelTuning, channels::ChannelError> ChannelTuningFor(
    const channels::ChannelEntry& entry, const LnbValues& lnb);

// The library's arguments for a mapped entry: TuneArgsFor its fields, with
// the exact frequency and symbol rate.
TuneArgs ChannelTuneArgs(const ChannelTuning& tuning);

// Whether a device of tuner type `tunerType` (the program's codes, 1 DVB-S
// .. 12 ISDB-S) receives `system`: a DVB-S2 tuner also DVB-S, a DVB-T2 tuner
// DVB-T, a DVB-C2 tuner DVB-C, an ATSC tuner North American cable (annex B).
// A type the program has no name for receives everything, as nothing can be
// ruled out.
bool TunerTypeReceives(uint32_t tunerType, channels::DeliverySystem system);
