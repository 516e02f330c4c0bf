#include "tuner/tuner_type.h"

const char* TunerTypeName(uint32_t code) {
  static const char* const kNames[] = {"DVB-S",  "DVB-S2", "DSS",    "DVB-Turbo",
                                       "DCII",   "DVB-T",  "DVB-T2", "DVB-C",
                                       "DVB-C2", "ATSC",   "ISDB-T", "ISDB-S"};
  if (code >= 1 && code <= 12) return kNames[code - 1];
  return "Unknown";
}
