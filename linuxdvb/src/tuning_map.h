// How the program's tuning arguments (list indexes, kHz, LNB values) become
// the kernel's frontend properties. Pure functions; the library applies them.
#ifndef QUORVEX_LINUXDVB_TUNING_MAP_H
#define QUORVEX_LINUXDVB_TUNING_MAP_H

#include <cstdint>
#include <optional>
#include <vector>

#include "delivery_family.h"
#include "tune_args.h"

namespace ldvb {

/* The kernel's "no stream id filter" value (NO_STREAM_ID_FILTER), for default arguments. */
inline constexpr uint32_t kNoStreamId = ~0u;

/* TuneArgs holds the program's list choices as passed to SetChannelExEx (0 where an
   older entry point does not pass them: every list's index 0 is AUTO). */

/* One DTV_* command and its value, in the order they are to be set. */
struct Property {
  uint32_t cmd;
  uint32_t data;
};

/* The LNB supply for a satellite tune. */
struct LnbControl {
  uint32_t intermediateKHz;  // what the frontend tunes to
  bool highBand;             // 22 kHz tone on
  bool horizontal;           // 18 V, else 13 V
};

/* Kernel code rate for the program's FEC list index; nullopt where the kernel has none. */
std::optional<uint32_t> KernelFec(uint32_t index);
/* Kernel modulation for the program's modulation list index; nullopt where none. */
std::optional<uint32_t> KernelModulation(uint32_t index);
/* Kernel inversion for the program's inversion list index (AUTO, OFF, ON). */
std::optional<uint32_t> KernelInversion(uint32_t index);
/* Kernel pilot for the program's pilot list index (AUTO, OFF, ON). */
std::optional<uint32_t> KernelPilot(uint32_t index);
/* Kernel roll-off for the program's roll-off list index (AUTO, 0.20, 0.25, 0.35). */
std::optional<uint32_t> KernelRollOff(uint32_t index);

/* Intermediate frequency, band and polarisation of a satellite tune; nullopt when the
   LNB values leave no usable intermediate frequency. */
std::optional<LnbControl> SatelliteLnb(const TuneArgs& r);

/* The delivery systems a tune tries, in order, from the family and what the choices
   demand (a stream id other than NO_STREAM_ID_FILTER selects a DVB-T2 PLP); empty when
   the frontend has no system that can carry them. More than one only where the choices
   fit both DVB-T and DVB-T2: the library then searches them in turn until one locks. */
std::vector<uint32_t> CandidateSystems(Family family, const std::vector<uint32_t>& delsys,
                                       const TuneArgs& r, uint32_t streamId);
/* The first of CandidateSystems; nullopt when there is none. */
std::optional<uint32_t> DeliverySystemFor(Family family, const std::vector<uint32_t>& delsys,
                                          const TuneArgs& r, uint32_t streamId = kNoStreamId);

/* The channel bandwidth in Hz a terrestrial tune asks for: the symbol-rate field read as
   kHz when it holds a channel width the kernel knows, else the width the channel plan
   gives the frequency (7 MHz in VHF, below 300 MHz; 8 MHz above). */
uint32_t TerrestrialBandwidthHz(uint32_t symbolRateField, uint32_t freqKHz);

/* Every property of one tune with the given delivery system, ending with DTV_TUNE;
   nullopt when a choice cannot be expressed to the kernel. streamId is the multistream
   filter (NO_STREAM_ID_FILTER: none). */
std::optional<std::vector<Property>> TunePropertiesFor(Family family, uint32_t system,
                                                       const TuneArgs& r, uint32_t streamId);
/* The same with the first candidate system of the frontend. */
std::optional<std::vector<Property>> TuneProperties(Family family,
                                                    const std::vector<uint32_t>& delsys,
                                                    const TuneArgs& r, uint32_t streamId);

}  // namespace ldvb

#endif
