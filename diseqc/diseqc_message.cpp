#include "diseqc/diseqc_message.h"

#include <algorithm>
#include <cstdio>

namespace {

// Texts here are formatted in place: GCC 12 at -O3 warns of an overlapping copy
// inside std::string (-Wrestrict) for `"literal" + std::string(...)`.

// Appends " XX".
void AppendHexByte(std::string& line, uint8_t b) {
  char buf[4];
  std::snprintf(buf, sizeof buf, " %02X", b);
  line += buf;
}

std::string MessageLine(const char* version, const DiseqcMessage& m) {
  std::string line = "DiSEqC ";
  line += version;
  line += ':';
  for (uint8_t b : m) AppendHexByte(line, b);
  return line;
}

// A message item: the reply form when asked for and available, else the plain one.
DiseqcStep MessageStep(DiseqcMessage m, bool reply, const char* plainVersion,
                       const char* replyVersion) {
  DiseqcStep step;
  if (reply) {
    m[0] = kDiseqcFramingReply;
    step.call = DiseqcCall::SendDiseqCmdEx;
    step.before = MessageLine(replyVersion, m);
  } else {
    m[0] = kDiseqcFramingNoReply;
    step.call = DiseqcCall::SendDiseqCmd;
    step.before = MessageLine(plainVersion, m);
  }
  step.message = m;
  return step;
}

// SendDiSEqC's line names one mode less than the call passes.
DiseqcStep SimpleStep(uint32_t mode, uint8_t data) {
  DiseqcStep step;
  step.call = DiseqcCall::SendDiSEqC;
  step.mode = mode;
  step.data = data;
  char text[32];
  std::snprintf(text, sizeof text, "SendDiSEqC(%u, %02X)", static_cast<unsigned>(mode - 1), data);
  step.outcomePrefix = text;
  return step;
}

}  // namespace

uint8_t CommittedDataByte(int32_t listIndex, int32_t pol, uint32_t freqMHz, uint32_t lofSwitchMHz) {
  const uint32_t polBit = pol == 0 ? 0x02u : 0x00u;
  const uint32_t bandBit = freqMHz > lofSwitchMHz ? 0x01u : 0x00u;
  return static_cast<uint8_t>(0xF0u | (static_cast<uint32_t>(listIndex) << 2) | polBit | bandBit);
}

std::vector<DiseqcStep> PlanDiseqcSend(const DiseqcSettings& s, const DiseqcEntries& e) {
  std::vector<DiseqcStep> plan;
  const bool reply = s.receiveReply && e.sendDiseqCmdEx;

  if (s.diseqc11 && e.sendDiseqCmd) {
    const auto data = static_cast<uint8_t>(static_cast<uint32_t>(s.uncommittedIndex) | 0xF0u);
    plan.push_back(
        MessageStep({0, kDiseqcAddressSwitch, kDiseqcWriteN1, data}, reply, "1.1", "2.1"));
  }

  if (s.diseqc10) {
    const uint8_t data = CommittedDataByte(s.committedIndex, s.pol, s.freqMHz, s.lofSwitchMHz);
    const DiseqcMessage m{kDiseqcFramingNoReply, kDiseqcAddressSwitch, kDiseqcWriteN0, data};
    if (reply) {
      plan.push_back(MessageStep(m, true, "1.0", "2.0"));
    } else if (e.sendDiSEqC && !e.committedAsMessage) {
      plan.push_back(SimpleStep(2, data));
    } else if (e.sendDiseqCmd) {
      plan.push_back(MessageStep(m, false, "1.0", "2.0"));
    }
  }

  if (s.simple && e.sendDiSEqC) plan.push_back(SimpleStep(1, s.burst == 0 ? 0 : 1));

  if (s.diseqc12 && e.sendDiseqCmd) {
    const auto data = static_cast<uint8_t>(s.positionerIndex);
    plan.push_back(
        MessageStep({0, kDiseqcAddressPositioner, kDiseqcGotoNn, data}, reply, "1.2", "2.2"));
  }
  return plan;
}

std::string DiseqcOutcomeLine(const DiseqcStep& step, bool ok) {
  switch (step.call) {
    case DiseqcCall::SendDiSEqC:
      return step.outcomePrefix + (ok ? " success." : " failed !");
    case DiseqcCall::SendDiseqCmd:
      return ok ? "SendDiseqCmd() success." : "SendDiseqCmd() failed !";
    case DiseqcCall::SendDiseqCmdEx:
      return ok ? "SendDiseqCmdEx() success." : "SendDiseqCmdEx() failed !";
  }
  return {};
}

std::string DiseqcReplyLine(const uint8_t* reply, uint32_t count) {
  if (count < 2) return "No reply !";
  std::string line = "Reply:";
  const uint32_t shown = std::min(count, kDiseqcReplyBufferSize);
  for (uint32_t i = 0; i < shown; ++i) AppendHexByte(line, reply[i]);
  return line;
}
