// The carrier-to-noise ratio each delivery system, modulation and code rate
// needs for quasi-error-free reception, so that quality reads as the margin
// above what the tuned carrier needs rather than against one fixed scale.
#ifndef QUORVEX_LINUXDVB_CNR_REQUIREMENT_H
#define QUORVEX_LINUXDVB_CNR_REQUIREMENT_H

#include <cstdint>
#include <optional>

namespace ldvb {

/* The C/N in dB needed with the kernel's system, modulation and code rate (DVB-S, S2, T,
   T2, C). A modulation or code rate the driver leaves AUTO (or one the system lacks)
   takes the system's common broadcast choice. nullopt for systems without figures. */
std::optional<double> RequiredCnrDb(uint32_t system, uint32_t modulation, uint32_t fec);

/* Quality in percent from the CNR and the C/N needed: 0 % at the requirement (the edge
   of reception), 100 % at 10 dB above it, linear between. */
int32_t GradedQuality(double cnrDb, double requiredDb);

}  // namespace ldvb

#endif
