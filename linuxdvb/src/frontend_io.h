// The frontend ioctls the library uses, each as one call that reports
// success as a bool and never throws.
#ifndef QUORVEX_LINUXDVB_FRONTEND_IO_H
#define QUORVEX_LINUXDVB_FRONTEND_IO_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "signal_scale.h"
#include "tuning_map.h"

namespace ldvb {

/* What FE_GET_INFO and DTV_ENUM_DELSYS tell about a frontend. */
struct FrontendDescription {
  std::string name;
  uint32_t caps = 0;  // FE_CAN_*
  std::vector<uint32_t> delsys;
};

/* The system call behind every frontend ioctl. */
using IoctlCall = int (*)(int fd, unsigned long request, void* arg);
/* Puts another call in its place (a fake frontend, in the tests); returns the one before. */
IoctlCall SwapFrontendIoctl(IoctlCall call);

/* Adds "<what> failed: <errno's text>" to the trace line of the running call,
   as the kernel's own tools report a failed system call. */
void NoteErrno(const std::string& what);

/* Reads name, capabilities and delivery systems of an open frontend. */
std::optional<FrontendDescription> Describe(int fd);
/* True when the driver reports DTV_STAT_* statistics. */
bool ReportsStatistics(int fd);
/* Sets the properties in one FE_SET_PROPERTY call. */
bool SetProperties(int fd, const std::vector<Property>& properties);
/* Reads status, statistics and the tuning the driver reports; falls back to the older
   16-bit readings (as relative figures) for drivers without statistics. */
std::optional<SignalReading> ReadSignal(int fd);

/* The time a DiSEqC bus needs between a change of the tone or the voltage and the next
   transfer, and after a transfer before the next change: 15 ms. */
void SettleBus();
/* Sends tone burst A or B. */
bool SendBurst(int fd, bool burstB);
/* Sends a master command of 3 to 6 bytes. */
bool SendMasterCommand(int fd, const uint8_t* bytes, uint32_t length);
/* Reads a slave's reply (up to 4 bytes) to the command just sent. */
bool ReceiveReply(int fd, std::vector<uint8_t>& reply);
/* Powers the LNB (13 V or 18 V). */
bool SetVoltage(int fd, bool horizontal);
/* Switches the 22 kHz tone on or off. */
bool SetTone(int fd, bool on);

}  // namespace ldvb

#endif
