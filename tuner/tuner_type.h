// Names of the tuner type codes a library reports.
#pragma once

#include <cstdint>

// "DVB-S" ... "ISDB-S" for codes 1 to 12, "Unknown" for anything else.
const char* TunerTypeName(uint32_t code);
