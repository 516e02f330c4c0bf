#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "compliance/checks.h"
#include "diseqc/diseqc_message.h"
#include "tuner/tuner_api.h"

namespace compliance {

namespace {

// A DiSEqC message and the name its check goes by.
struct Message {
  const char* name;
  DiseqcMessage bytes;
};

// The messages the program sends: committed switch (data byte of port A,
// vertical, low band), uncommitted switch, positioner to position 1.
const Message kMessages[] = {
    {"1.0 committed switch",
     {kDiseqcFramingNoReply, kDiseqcAddressSwitch, kDiseqcWriteN0,
      CommittedDataByte(0, 0, 10722, 11700)}},
    {"1.1 uncommitted switch", {kDiseqcFramingNoReply, kDiseqcAddressSwitch, kDiseqcWriteN1, 0xF0}},
    {"1.2 positioner", {kDiseqcFramingNoReply, kDiseqcAddressPositioner, kDiseqcGotoNn, 0x01}},
};

void CheckReplyExchange(Context& c) {
  Report& r = c.report;
  if (!Applies(c, "SendDiseqCmdEx reply", TunerApi.SendDiseqCmdEx != nullptr, QV_CAP_DISEQC2X)) {
    return;
  }
  DiseqcMessage message = kMessages[0].bytes;
  message[0] = kDiseqcFramingReply;
  // The reply buffer is the program's 8 bytes, followed by guard bytes that
  // must stay as they are.
  uint8_t reply[kDiseqcReplyBufferSize + 8];
  std::memset(reply, 0xC5, sizeof reply);
  uint32_t count = 0;
  const int32_t ok = c.lib.Run(
      "SendDiseqCmdEx", [&] { return TunerApi.SendDiseqCmdEx(message.data(), 4, reply, &count); });
  const bool guarded = std::all_of(reply + kDiseqcReplyBufferSize, reply + sizeof reply,
                                   [](uint8_t b) { return b == 0xC5; });
  if (!guarded) {
    r.Fail("SendDiseqCmdEx reply", "wrote past the 8-byte reply buffer");
  } else if (count > kDiseqcReplyBufferSize) {
    r.Fail("SendDiseqCmdEx reply", "reported " + std::to_string(count) +
                                       " reply bytes for a buffer of 8, expected at most 8");
  } else {
    r.Ok("SendDiseqCmdEx reply");
  }
  if (ok == 0) {
    r.Warn("SendDiseqCmdEx returned 0: no device answered on the bus?");
  } else if (count >= 1 && (reply[0] < 0xE4 || reply[0] > 0xE7)) {
    r.Warn("the reply starts with " + std::to_string(reply[0]) +
           ", not a reply framing byte (0xE4..0xE7)");
  } else {
    r.Detail("reply of " + std::to_string(count) + " byte(s)");
  }
}

// Fills `size` bytes twice with different patterns; the positions the library
// left as filled both times were never written.
size_t Unwritten(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t size) {
  size_t n = 0;
  for (size_t i = 0; i < size; ++i) n += a[i] == 0x5A && b[i] == 0xA5;
  return n;
}

void CheckEeprom(Context& c) {
  Report& r = c.report;
  if (!Applies(c, "GetEEPROM", TunerApi.GetEEPROM != nullptr, QV_CAP_EEPROM)) return;
  constexpr size_t kGuard = 16;
  std::vector<uint8_t> image;
  for (uint32_t size : {256u, 512u, 1024u, 2048u, 4096u, 8192u}) {
    std::vector<uint8_t> a(size + kGuard, 0x5A), b(size + kGuard, 0xA5);
    const std::string name = "GetEEPROM " + std::to_string(size) + " bytes";
    const int32_t okA =
        c.lib.Run("GetEEPROM", [&] { return TunerApi.GetEEPROM(a.data(), 0, size); });
    const int32_t okB =
        c.lib.Run("GetEEPROM", [&] { return TunerApi.GetEEPROM(b.data(), 0, size); });
    const bool guarded =
        std::all_of(a.begin() + size, a.end(), [](uint8_t v) { return v == 0x5A; });
    const size_t unwritten = Unwritten(a, b, size);
    if (okA == 0 || okB == 0) {
      r.Fail(name, "returned 0, expected the EEPROM's bytes");
    } else if (!guarded) {
      r.Fail(name, "wrote past the buffer of " + std::to_string(size) + " bytes");
    } else {
      r.Check(
          name, unwritten == 0,
          std::to_string(unwritten) + " byte(s) not written, expected all " + std::to_string(size));
      if (unwritten == 0) image.assign(b.begin(), b.begin() + size);
    }
  }
  if (TunerApi.SetEEPROM == nullptr) {
    r.NotApplicable("EEPROM write-back", "SetEEPROM not exported");
  } else if (!c.options.writeEeprom) {
    r.NotApplicable("EEPROM write-back", "writes to the card: allowed with --write-eeprom");
  } else if (image.empty()) {
    r.NotApplicable("EEPROM write-back", "no image could be read");
  } else {
    const uint32_t size = static_cast<uint32_t>(image.size());
    std::vector<uint8_t> written = image, back(size, 0);
    const int32_t set =
        c.lib.Run("SetEEPROM", [&] { return TunerApi.SetEEPROM(written.data(), 0, size); });
    const int32_t get =
        c.lib.Run("GetEEPROM", [&] { return TunerApi.GetEEPROM(back.data(), 0, size); });
    r.Check("EEPROM write-back", set != 0 && get != 0 && back == image,
            set == 0 ? "SetEEPROM returned 0" : "the image read back differs from the one written");
  }
}

}  // namespace

void CheckDiseqc(Context& c) {
  Report& r = c.report;
  r.Area("DiSEqC (" + c.deviceLabel + ")");
  // The bus runs over a satellite tuner's LNB cable; other tuners have none,
  // whatever a library without GetCaps offers.
  const uint32_t type = c.tunerType.value_or(1);
  if (!IsSatelliteType(type)) {
    r.NotApplicable("DiSEqC", "not a satellite tuner (type " + std::to_string(type) + ")");
    return;
  }
  struct Burst {
    const char* name;
    uint32_t mode, data, bit;
  };
  const Burst bursts[] = {
      {"SendDiSEqC tone burst", 1, 0, QV_CAP_TONE_BURST},
      {"SendDiSEqC 1.0", 2, CommittedDataByte(0, 0, 10722, 11700), QV_CAP_DISEQC10}};
  for (const Burst& b : bursts) {
    if (!Applies(c, b.name, TunerApi.SendDiSEqC != nullptr, b.bit)) continue;
    const int32_t ok = c.lib.Run("SendDiSEqC", [&] { return TunerApi.SendDiSEqC(b.mode, b.data); });
    r.Check(b.name, ok != 0, "returned 0, expected the bus command sent");
  }
  for (const Message& m : kMessages) {
    const std::string name = std::string("SendDiseqCmd ") + m.name;
    if (!Applies(c, name, TunerApi.SendDiseqCmd != nullptr, QV_CAP_DISEQC1X)) continue;
    DiseqcMessage bytes = m.bytes;
    const int32_t ok =
        c.lib.Run("SendDiseqCmd", [&] { return TunerApi.SendDiseqCmd(bytes.data(), 4); });
    r.Check(name, ok != 0, "returned 0, expected the message sent");
  }
  CheckReplyExchange(c);
}

void CheckMisAndEeprom(Context& c) {
  Report& r = c.report;
  r.Area("Multistream and EEPROM (" + c.deviceLabel + ")");
  if (Applies(c, "MISSel", TunerApi.MISSel != nullptr, QV_CAP_MIS)) {
    // As the program passes them: stream 0, then -1 (no filtering).
    const int32_t one = c.lib.Run("MISSel", [] { return TunerApi.MISSel(1, 0, 255); });
    const int32_t none = c.lib.Run("MISSel", [] { return TunerApi.MISSel(0, 0xFF, 255); });
    r.Check("MISSel", one != 0 && none != 0,
            std::string("stream 0 gave ") + std::to_string(one) + ", -1 gave " +
                std::to_string(none) + ", expected both to succeed");
  }
  CheckEeprom(c);
}

}  // namespace compliance
