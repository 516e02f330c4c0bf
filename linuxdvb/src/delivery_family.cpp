#include "delivery_family.h"

#include <linux/dvb/frontend.h>

#include <algorithm>

#include "quorvex_api.h"

namespace ldvb {
namespace {

struct TypeOf {
  uint32_t system;
  uint32_t tunerType;
};

// Richest first: the first system of a family that the frontend has names it.
constexpr TypeOf kSatellite[] = {
    {SYS_DVBS2, 2}, {SYS_DVBS, 1}, {SYS_ISDBS, 12}, {SYS_TURBO, 4}, {SYS_DSS, 3}};
// DTMB has no tuner type of its own in the program: it shows as "Unknown".
constexpr TypeOf kTerrestrial[] = {{SYS_DVBT2, 7}, {SYS_DVBT, 6},    {SYS_ISDBT, 11},
                                   {SYS_ATSC, 10}, {SYS_ATSCMH, 10}, {SYS_DTMB, 0}};
// Annex B is the North American cable system of the ATSC world.
constexpr TypeOf kCable[] = {
    {SYS_DVBC_ANNEX_A, 8}, {SYS_DVBC_ANNEX_C, 8}, {SYS_ISDBC, 8}, {SYS_DVBC_ANNEX_B, 10}};

template <size_t N>
const TypeOf* Find(const TypeOf (&table)[N], uint32_t system) {
  for (const TypeOf& t : table)
    if (t.system == system) return &t;
  return nullptr;
}

template <size_t N>
uint32_t Richest(const TypeOf (&table)[N], const std::vector<uint32_t>& delsys) {
  for (const TypeOf& t : table)
    if (std::find(delsys.begin(), delsys.end(), t.system) != delsys.end()) return t.tunerType;
  return 0;
}

}  // namespace

bool InFamily(Family family, uint32_t system) {
  switch (family) {
    case Family::Satellite:
      return Find(kSatellite, system) != nullptr;
    case Family::Terrestrial:
      return Find(kTerrestrial, system) != nullptr;
    case Family::Cable:
      return Find(kCable, system) != nullptr;
  }
  return false;
}

std::vector<Family> FamiliesOf(const std::vector<uint32_t>& delsys) {
  std::vector<Family> out;
  for (Family f : {Family::Satellite, Family::Terrestrial, Family::Cable}) {
    if (std::any_of(delsys.begin(), delsys.end(), [f](uint32_t s) { return InFamily(f, s); }))
      out.push_back(f);
  }
  return out;
}

uint32_t TunerTypeFor(Family family, const std::vector<uint32_t>& delsys) {
  switch (family) {
    case Family::Satellite:
      return Richest(kSatellite, delsys);
    case Family::Terrestrial:
      return Richest(kTerrestrial, delsys);
    case Family::Cable:
      return Richest(kCable, delsys);
  }
  return 0;
}

uint32_t CapsFor(Family family, const FrontendTraits& traits) {
  uint32_t caps = 0;
  if (traits.remoteControl) caps |= QV_CAP_REMOTE_CONTROL;
  if (traits.extendedStatistics) caps |= QV_CAP_EXT_STATISTICS;
  // Every satellite frontend drives the LNB supply, so tone burst and bus
  // messages are offered; whether the driver really sends them (or can read
  // a reply) shows in the result of each call.
  if (family == Family::Satellite)
    caps |= QV_CAP_TONE_BURST | QV_CAP_DISEQC10 | QV_CAP_DISEQC1X | QV_CAP_DISEQC2X;
  if (traits.multistream) caps |= QV_CAP_MIS;
  return caps;
}

uint32_t DeviceId(uint32_t adapter, uint32_t frontend, Family family) {
  return (adapter & 0xFFFFu) << 16 | (frontend & 0xFFu) << 8 | static_cast<uint32_t>(family);
}

std::optional<DeviceAddress> ParseDeviceId(uint32_t id) {
  const uint32_t family = id & 0xFFu;
  if (family > static_cast<uint32_t>(Family::Cable)) return std::nullopt;
  return DeviceAddress{id >> 16, (id >> 8) & 0xFFu, static_cast<Family>(family)};
}

}  // namespace ldvb
