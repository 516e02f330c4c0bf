// An LD_PRELOAD library that writes every frontend ioctl that changes the tuner
// (properties, voltage, tone, DiSEqC, the older FE_SET_FRONTEND) as one line to
// the file QV_IOCTL_TRACE names, with its result, so that the kernel rig can
// compare what the library under test and the Linux DVB tools ask of the
// kernel on the same frontend. Read-only ioctls (status, statistics) are left
// out: they say nothing about what was asked.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/dvb/frontend.h>
#include <linux/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* PropertyName(uint32_t cmd) {
  static const char* const kNames[] = {"UNDEFINED",
                                       "TUNE",
                                       "CLEAR",
                                       "FREQUENCY",
                                       "MODULATION",
                                       "BANDWIDTH_HZ",
                                       "INVERSION",
                                       "DISEQC_MASTER",
                                       "SYMBOL_RATE",
                                       "INNER_FEC",
                                       "VOLTAGE",
                                       "TONE",
                                       "PILOT",
                                       "ROLLOFF",
                                       "DISEQC_SLAVE_REPLY",
                                       "FE_CAPABILITY_COUNT",
                                       "FE_CAPABILITY",
                                       "DELIVERY_SYSTEM",
                                       "ISDBT_PARTIAL_RECEPTION",
                                       "ISDBT_SOUND_BROADCASTING",
                                       "ISDBT_SB_SUBCHANNEL_ID",
                                       "ISDBT_SB_SEGMENT_IDX",
                                       "ISDBT_SB_SEGMENT_COUNT",
                                       "ISDBT_LAYERA_FEC",
                                       "ISDBT_LAYERA_MODULATION",
                                       "ISDBT_LAYERA_SEGMENT_COUNT",
                                       "ISDBT_LAYERA_TIME_INTERLEAVING",
                                       "ISDBT_LAYERB_FEC",
                                       "ISDBT_LAYERB_MODULATION",
                                       "ISDBT_LAYERB_SEGMENT_COUNT",
                                       "ISDBT_LAYERB_TIME_INTERLEAVING",
                                       "ISDBT_LAYERC_FEC",
                                       "ISDBT_LAYERC_MODULATION",
                                       "ISDBT_LAYERC_SEGMENT_COUNT",
                                       "ISDBT_LAYERC_TIME_INTERLEAVING",
                                       "API_VERSION",
                                       "CODE_RATE_HP",
                                       "CODE_RATE_LP",
                                       "GUARD_INTERVAL",
                                       "TRANSMISSION_MODE",
                                       "HIERARCHY",
                                       "ISDBT_LAYER_ENABLED",
                                       "STREAM_ID",
                                       "DVBT2_PLP_ID_LEGACY",
                                       "ENUM_DELSYS",
                                       "ATSCMH_FIC_VER"};
  return cmd < sizeof kNames / sizeof kNames[0] ? kNames[cmd] : "?";
}

// Numbers or names of the values the rig compares.
std::string Value(uint32_t cmd, uint32_t v) {
  if (cmd == DTV_DELIVERY_SYSTEM) {
    static const char* const kSystems[] = {
        "UNDEFINED", "DVBC_ANNEX_A", "DVBC_ANNEX_B", "DVBT",  "DSS",         "DVBS",   "DVBS2",
        "DVBH",      "ISDBT",        "ISDBS",        "ISDBC", "ATSC",        "ATSCMH", "DTMB",
        "CMMB",      "DAB",          "DVBT2",        "TURBO", "DVBC_ANNEX_C"};
    if (v < sizeof kSystems / sizeof kSystems[0]) return kSystems[v];
  }
  if (cmd == DTV_MODULATION) {
    static const char* const kModulations[] = {
        "QPSK",  "QAM_16", "QAM_32", "QAM_64",  "QAM_128", "QAM_256", "QAM_AUTO",
        "VSB_8", "VSB_16", "PSK_8",  "APSK_16", "APSK_32", "DQPSK",   "QAM_4_NR"};
    if (v < sizeof kModulations / sizeof kModulations[0]) return kModulations[v];
  }
  if (cmd == DTV_INNER_FEC || cmd == DTV_CODE_RATE_HP || cmd == DTV_CODE_RATE_LP) {
    static const char* const kRates[] = {"NONE", "1/2", "2/3",  "3/4", "4/5",  "5/6", "6/7",
                                         "7/8",  "8/9", "AUTO", "3/5", "9/10", "2/5"};
    if (v < sizeof kRates / sizeof kRates[0]) return kRates[v];
  }
  if (cmd == DTV_INVERSION) return v == INVERSION_OFF ? "OFF" : v == INVERSION_ON ? "ON" : "AUTO";
  if (cmd == DTV_VOLTAGE) return v == SEC_VOLTAGE_13 ? "13V" : v == SEC_VOLTAGE_18 ? "18V" : "OFF";
  if (cmd == DTV_TONE) return v == SEC_TONE_ON ? "ON" : "OFF";
  return std::to_string(v);
}

std::string Describe(unsigned long request, void* arg) {
  const auto value = reinterpret_cast<uintptr_t>(arg);
  char bytes[40] = "";
  switch (request) {
    case FE_SET_PROPERTY: {
      std::string s = "FE_SET_PROPERTY";
      const auto* props = static_cast<dtv_properties*>(arg);
      for (uint32_t i = 0; props != nullptr && i < props->num; ++i) {
        const dtv_property& p = props->props[i];
        s += std::string(" ") + PropertyName(p.cmd) + "=" + Value(p.cmd, p.u.data);
      }
      return s;
    }
    case FE_SET_VOLTAGE:
      return "FE_SET_VOLTAGE " + Value(DTV_VOLTAGE, static_cast<uint32_t>(value));
    case FE_SET_TONE:
      return "FE_SET_TONE " + Value(DTV_TONE, static_cast<uint32_t>(value));
    case FE_DISEQC_SEND_BURST:
      return std::string("FE_DISEQC_SEND_BURST ") + (value == SEC_MINI_B ? "B" : "A");
    case FE_DISEQC_SEND_MASTER_CMD: {
      const auto* cmd = static_cast<dvb_diseqc_master_cmd*>(arg);
      for (int i = 0; i < cmd->msg_len && i < 6; ++i)
        std::snprintf(bytes + 3 * i, 4, " %02X", cmd->msg[i]);
      return std::string("FE_DISEQC_SEND_MASTER_CMD") + bytes;
    }
    case FE_SET_FRONTEND:
      return "FE_SET_FRONTEND FREQUENCY=" +
             std::to_string(static_cast<dvb_frontend_parameters*>(arg)->frequency);
    default:
      return "";
  }
}

using IoctlFn = int (*)(int, unsigned long, ...);

}  // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) {
  static const IoctlFn real = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
  va_list ap;
  va_start(ap, request);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  const std::string what = Describe(request, arg);
  const int result = real(fd, request, arg);
  const char* path = getenv("QV_IOCTL_TRACE");
  if (what.empty() || path == nullptr) return result;
  const int saved = errno;
  std::string line = what + (result == 0 ? "" : std::string(" = ") + std::strerror(saved)) + "\n";
  const int out = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (out >= 0) {
    (void)!write(out, line.data(), line.size());
    close(out);
  }
  errno = saved;
  return result;
}
