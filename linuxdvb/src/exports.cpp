// The C entry points of the Linux DVB tuner library. Each one catches
// everything: no exception crosses into the program, and a failure is a 0.
#include <exception>
#include <vector>

#include "card.h"
#include "quorvex_api.h"

namespace {

template <typename F>
int32_t Guarded(F&& body) {
  try {
    return body() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

ldvb::ChannelRequest Request(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol, uint32_t fec,
                             uint32_t lofLowKHz, uint32_t lofHighKHz, uint32_t lofSwitchKHz) {
  ldvb::ChannelRequest r;
  r.freqKHz = freqKHz, r.symbolRate = symbolRate, r.pol = pol, r.fec = fec;
  r.lofLowKHz = lofLowKHz, r.lofHighKHz = lofHighKHz, r.lofSwitchKHz = lofSwitchKHz;
  return r;
}

bool Poll(ldvb::SignalFigures& f) { return ldvb::TheCard().Signal(f); }

}  // namespace

extern "C" {

QV_EXPORT int32_t QV_API CheckForDVB(void) {
  return Guarded([] { return ldvb::TheCard().Discover([](const ldvb::Device&) {}); });
}

QV_EXPORT int32_t QV_API CheckForDVBEx(QvDeviceEnumCallback callback) {
  return Guarded([&] {
    return callback != nullptr &&
           ldvb::TheCard().Discover([&](const ldvb::Device& d) { callback(d.id, d.name.c_str()); });
  });
}

QV_EXPORT int32_t QV_API CheckForDVBExEx(QvDeviceEnumCallbackEx callback) {
  return Guarded([&] {
    return callback != nullptr && ldvb::TheCard().Discover([&](const ldvb::Device& d) {
      callback(d.id, d.name.c_str(), d.tunerType);
    });
  });
}

QV_EXPORT int32_t QV_API StartDVB(void) {
  return Guarded([] { return ldvb::TheCard().Start(0xFFFFFFFFu); });
}

QV_EXPORT int32_t QV_API StartDVBEx(uint32_t deviceId) {
  return Guarded([&] { return ldvb::TheCard().Start(deviceId); });
}

QV_EXPORT int32_t QV_API StopDVB(void) {
  return Guarded([] { return ldvb::TheCard().Stop(); });
}

QV_EXPORT int32_t QV_API GetTunerType(uint32_t* tunerType) {
  return Guarded([&] {
    uint32_t type = 0;
    if (tunerType == nullptr || !ldvb::TheCard().TunerType(type)) return false;
    *tunerType = type;
    return true;
  });
}

QV_EXPORT uint32_t QV_API GetCaps(void) {
  try {
    return ldvb::TheCard().Caps();
  } catch (...) {
    return 0;
  }
}

QV_EXPORT int32_t QV_API SendDiSEqC(uint32_t mode, uint32_t data) {
  return Guarded([&] {
    const uint8_t byte = static_cast<uint8_t>(data);
    if (mode == 1) return ldvb::TheCard().Burst(byte != 0);
    if (mode == 2) {
      // Framing E0 (no reply), any switch (10), write port group 0 (38).
      const uint8_t message[4] = {0xE0, 0x10, 0x38, byte};
      return ldvb::TheCard().MasterCommand(message, 4);
    }
    return false;
  });
}

QV_EXPORT int32_t QV_API SendDiseqCmd(uint8_t* message, uint32_t length) {
  return Guarded(
      [&] { return message != nullptr && ldvb::TheCard().MasterCommand(message, length); });
}

QV_EXPORT int32_t QV_API SendDiseqCmdEx(uint8_t* message, uint32_t length, uint8_t* reply,
                                        uint32_t* replyCount) {
  return Guarded([&] {
    if (message == nullptr || reply == nullptr || replyCount == nullptr) return false;
    std::vector<uint8_t> bytes;
    if (!ldvb::TheCard().MasterCommandWithReply(message, length, bytes)) return false;
    // The program's reply buffer holds 8 bytes; a bus reply has at most 4.
    for (size_t i = 0; i < bytes.size() && i < 8; ++i) reply[i] = bytes[i];
    *replyCount = static_cast<uint32_t>(bytes.size());
    return true;
  });
}

QV_EXPORT int32_t QV_API SetChannel(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                    uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                    uint32_t lofSwitchKHz) {
  return Guarded([&] {
    return ldvb::TheCard().Tune(
        Request(freqKHz, symbolRate, pol, fec, lofLowKHz, lofHighKHz, lofSwitchKHz));
  });
}

QV_EXPORT int32_t QV_API SetChannelEx(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                      uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                      uint32_t lofSwitchKHz, uint32_t modulation) {
  return Guarded([&] {
    ldvb::ChannelRequest r =
        Request(freqKHz, symbolRate, pol, fec, lofLowKHz, lofHighKHz, lofSwitchKHz);
    r.modulation = modulation;
    return ldvb::TheCard().Tune(r);
  });
}

QV_EXPORT int32_t QV_API SetChannelExEx(uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
                                        uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
                                        uint32_t lofSwitchKHz, uint32_t modulation,
                                        uint32_t inversion, uint32_t pilot, uint32_t rollOff) {
  return Guarded([&] {
    ldvb::ChannelRequest r =
        Request(freqKHz, symbolRate, pol, fec, lofLowKHz, lofHighKHz, lofSwitchKHz);
    r.modulation = modulation, r.inversion = inversion, r.pilot = pilot, r.rollOff = rollOff;
    return ldvb::TheCard().Tune(r);
  });
}

QV_EXPORT int32_t QV_API SetFilter(uint32_t pid, QvTsDataCallback callback, uint32_t /*mode*/,
                                   uint32_t /*flags*/, int32_t* filter) {
  return Guarded([&] {
    if (callback == nullptr || filter == nullptr) return false;
    int32_t number = 0;
    if (!ldvb::TheCard().AddTsFilter(
            pid, [callback](const uint8_t* data, uint32_t length) { callback(data, length); },
            number))
      return false;
    *filter = number;
    return true;
  });
}

QV_EXPORT int32_t QV_API SetRemoteControl(uint32_t type, uint32_t deviceFilter,
                                          QvRcCallback callback, int32_t* filter) {
  return Guarded([&] {
    if (callback == nullptr || filter == nullptr || type > 1) return false;
    int32_t number = 0;
    if (!ldvb::TheCard().AddRcFilter(
            static_cast<ldvb::RcType>(type), deviceFilter,
            [callback](const void* code, uint32_t countOrKind) { callback(code, countOrKind); },
            number))
      return false;
    *filter = number;
    return true;
  });
}

QV_EXPORT int32_t QV_API DelFilter(int32_t filter) {
  return Guarded([&] { return ldvb::TheCard().DeleteFilter(filter); });
}

QV_EXPORT int32_t QV_API GetSignal(int32_t* level, int32_t* quality) {
  return Guarded([&] {
    ldvb::SignalFigures f;
    if (level == nullptr || quality == nullptr || !Poll(f)) return false;
    *level = f.levelPercent, *quality = f.qualityPercent;
    return true;
  });
}

QV_EXPORT int32_t QV_API GetSignalStrength(float* level, int32_t* quality) {
  return Guarded([&] {
    ldvb::SignalFigures f;
    if (level == nullptr || quality == nullptr || !Poll(f)) return false;
    *level = static_cast<float>(f.levelPercent), *quality = f.qualityPercent;
    return true;
  });
}

QV_EXPORT int32_t QV_API GetSignalEx(float* snr, float* ber) {
  return Guarded([&] {
    ldvb::SignalFigures f;
    if (snr == nullptr || ber == nullptr || !Poll(f)) return false;
    *snr = f.snrDb, *ber = f.ber;
    return true;
  });
}

QV_EXPORT int32_t QV_API GetSignalExEx(uint32_t* reserved, int32_t* lock, int32_t* rfLevel,
                                       float* snr, float* ber) {
  return Guarded([&] {
    ldvb::SignalFigures f;
    if (reserved == nullptr || lock == nullptr || rfLevel == nullptr || snr == nullptr ||
        ber == nullptr || !Poll(f))
      return false;
    // An RF level the driver cannot give is an error, not a figure to invent.
    if (!f.hasLevelDbm) return false;
    *reserved = 0, *lock = f.lock ? 1 : 0, *rfLevel = f.levelDbm, *snr = f.snrDb, *ber = f.ber;
    return true;
  });
}

QV_EXPORT int32_t QV_API Statistic(QvStatistic* statistic) {
  return Guarded([&] {
    ldvb::SignalFigures f;
    if (statistic == nullptr || !Poll(f)) return false;
    statistic->lock = f.lock ? 1 : 0;
    statistic->quality = f.qualityPercent;
    statistic->present = f.present ? 1 : 0;
    statistic->level = f.levelPercent;
    return true;
  });
}

QV_EXPORT int32_t QV_API MISSel(uint32_t enable, uint32_t streamId, uint32_t /*mask*/) {
  return Guarded([&] { return ldvb::TheCard().SelectStream(enable != 0, streamId & 0xFFu); });
}

}  // extern "C"
