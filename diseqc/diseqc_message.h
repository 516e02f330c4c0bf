// What a press of the DiSEqC "Send" button puts on the bus and logs, as pure
// functions of the dialog's settings and of the entry points the library
// exports. The handler only carries out the plan and reports the outcomes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Framing, address and command bytes of the DiSEqC bus.
inline constexpr uint8_t kDiseqcFramingNoReply = 0xE0;  // master, no reply, first transmission
inline constexpr uint8_t kDiseqcFramingReply = 0xE2;   // master, reply required, first transmission
inline constexpr uint8_t kDiseqcAddressSwitch = 0x10;  // any LNB, switcher or SMATV
inline constexpr uint8_t kDiseqcAddressPositioner = 0x31;  // polar/azimuth positioner
inline constexpr uint8_t kDiseqcWriteN0 = 0x38;            // committed switches
inline constexpr uint8_t kDiseqcWriteN1 = 0x39;            // uncommitted switches
inline constexpr uint8_t kDiseqcGotoNn = 0x6B;             // drive to a stored position

// The reply buffer handed to SendDiseqCmdEx.
inline constexpr uint32_t kDiseqcReplyBufferSize = 8;

using DiseqcMessage = std::array<uint8_t, 4>;

// Data byte of a committed-switch command: high nibble all ones ("clear all
// four lines, then set"), then option, position, polarisation (1 = horizontal,
// 18 V), band (1 = high, 22 kHz). `listIndex` is the switch list's selection
// (bit 1 option B, bit 0 position B; -1 for none is taken by its low bits).
uint8_t CommittedDataByte(int32_t listIndex, int32_t pol, uint32_t freqMHz, uint32_t lofSwitchMHz);

// The dialog's DiSEqC settings at the moment of the press.
struct DiseqcSettings {
  bool simple = false, diseqc10 = false, diseqc11 = false, diseqc12 = false, receiveReply = false;
  int32_t burst = 0;  // 0 "A", anything else "B"
  int32_t committedIndex = 0, uncommittedIndex = 0, positionerIndex = 0;
  int32_t pol = 0;
  uint32_t freqMHz = 0, lofSwitchMHz = 0;
};

// Which DiSEqC entry points the library exports.
struct DiseqcEntries {
  bool sendDiSEqC = false, sendDiseqCmd = false, sendDiseqCmdEx = false;
  // The device takes the committed switch command only as a 1.x message.
  bool committedAsMessage = false;
};

enum class DiseqcCall { SendDiSEqC, SendDiseqCmd, SendDiseqCmdEx };

// One library call of a press: the line logged before it (may be empty), the
// call with its arguments, and how its outcome reads.
struct DiseqcStep {
  DiseqcCall call = DiseqcCall::SendDiseqCmd;
  std::string before;
  DiseqcMessage message{};    // SendDiseqCmd, SendDiseqCmdEx
  uint32_t mode = 0;          // SendDiSEqC
  uint8_t data = 0;           // SendDiSEqC
  std::string outcomePrefix;  // SendDiSEqC: "SendDiSEqC(1, F2)"
};

// The calls of one press, in the fixed order uncommitted switch, committed
// switch, tone burst, positioner; items whose entry point is missing are left out.
std::vector<DiseqcStep> PlanDiseqcSend(const DiseqcSettings& s, const DiseqcEntries& e);

// The line logged after a call returned (nonzero = success).
std::string DiseqcOutcomeLine(const DiseqcStep& step, bool ok);

// "No reply !" for fewer than two bytes, else "Reply:" and the bytes, at most
// the buffer's eight whatever count the library reports.
std::string DiseqcReplyLine(const uint8_t* reply, uint32_t count);
