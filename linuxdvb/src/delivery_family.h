// Which program tuner type a frontend's delivery systems stand for. A frontend
// that serves several families (satellite, terrestrial, cable) is offered once
// per family, so each entry in the program's device list has one tuner type.
#ifndef QUORVEX_LINUXDVB_DELIVERY_FAMILY_H
#define QUORVEX_LINUXDVB_DELIVERY_FAMILY_H

#include <cstdint>
#include <optional>
#include <vector>

namespace ldvb {

enum class Family : uint32_t { Satellite = 0, Terrestrial = 1, Cable = 2 };

/* The families present among the delivery systems, in the order satellite, terrestrial, cable. */
std::vector<Family> FamiliesOf(const std::vector<uint32_t>& delsys);

/* The program's tuner type code of the richest system of the family that is present
   (0 when none is). */
uint32_t TunerTypeFor(Family family, const std::vector<uint32_t>& delsys);

/* True when the system belongs to the family. */
bool InFamily(Family family, uint32_t system);

/* What the library can say about a frontend when it builds the capability mask. */
struct FrontendTraits {
  bool extendedStatistics = false;  // DTV_STAT_* reported
  bool multistream = false;         // FE_CAN_MULTISTREAM
  bool remoteControl = false;       // the adapter has a remote-control device
};

/* The capability mask of one device (frontend and family). */
uint32_t CapsFor(Family family, const FrontendTraits& traits);

/* Device id from adapter, frontend and family: adapter << 16 | frontend << 8 | family. */
uint32_t DeviceId(uint32_t adapter, uint32_t frontend, Family family);
/* The parts of a device id; nullopt when the family byte is not a family. */
struct DeviceAddress {
  uint32_t adapter;
  uint32_t frontend;
  Family family;
};
std::optional<DeviceAddress> ParseDeviceId(uint32_t id);

}  // namespace ldvb

#endif
