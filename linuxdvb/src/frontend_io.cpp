#include "frontend_io.h"

#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <thread>

#include "call_notes.h"

namespace ldvb {
namespace {

int SystemIoctl(int fd, unsigned long request, void* arg) { return ioctl(fd, request, arg); }

IoctlCall g_ioctl = SystemIoctl;

int Retried(int fd, unsigned long request, void* arg) {
  int r;
  do {
    r = g_ioctl(fd, request, arg);
  } while (r < 0 && errno == EINTR);
  return r;
}

// An ioctl whose failure fails the call: its errno text goes to the trace.
int Ioctl(int fd, unsigned long request, void* arg, const char* name) {
  const int r = Retried(fd, request, arg);
  if (r < 0) NoteErrno(name);
  return r;
}
#define IOCTL(fd, request, arg) Ioctl(fd, request, arg, #request)

Stat FirstLayer(const dtv_fe_stats& s) {
  Stat out;
  if (s.len == 0) return out;
  out.scale = s.stat[0].scale;
  // svalue and uvalue share storage; the scale says which one is meant.
  if (out.scale == FE_SCALE_DECIBEL)
    out.svalue = s.stat[0].svalue;
  else
    out.uvalue = s.stat[0].uvalue;
  return out;
}

}  // namespace

IoctlCall SwapFrontendIoctl(IoctlCall call) {
  const IoctlCall before = g_ioctl;
  g_ioctl = call;
  return before;
}

void NoteErrno(const std::string& what) {
  std::string text = what;
  text += " failed: ";
  text += std::error_code(errno, std::generic_category()).message();
  qvabi::note(text);
}

std::optional<FrontendDescription> Describe(int fd) {
  dvb_frontend_info info{};
  if (IOCTL(fd, FE_GET_INFO, &info) < 0) return std::nullopt;
  dtv_property p{};
  p.cmd = DTV_ENUM_DELSYS;
  dtv_properties props{1, &p};
  if (IOCTL(fd, FE_GET_PROPERTY, &props) < 0) return std::nullopt;
  FrontendDescription d;
  d.name.assign(info.name, strnlen(info.name, sizeof info.name));
  d.caps = info.caps;
  const uint32_t count = std::min<uint32_t>(p.u.buffer.len, sizeof p.u.buffer.data);
  for (uint32_t i = 0; i < count; ++i) d.delsys.push_back(p.u.buffer.data[i]);
  return d;
}

bool ReportsStatistics(int fd) {
  dtv_property p{};
  p.cmd = DTV_STAT_SIGNAL_STRENGTH;
  dtv_properties props{1, &p};
  return Retried(fd, FE_GET_PROPERTY, &props) == 0 && p.u.st.len > 0;
}

bool SetProperties(int fd, const std::vector<Property>& properties) {
  std::vector<dtv_property> p(properties.size());
  for (size_t i = 0; i < properties.size(); ++i) {
    p[i].cmd = properties[i].cmd;
    p[i].u.data = properties[i].data;
  }
  dtv_properties props{static_cast<uint32_t>(p.size()), p.data()};
  return IOCTL(fd, FE_SET_PROPERTY, &props) == 0;
}

std::optional<SignalReading> ReadSignal(int fd) {
  fe_status_t status{};
  if (IOCTL(fd, FE_READ_STATUS, &status) < 0) return std::nullopt;
  SignalReading r;
  r.status = static_cast<uint32_t>(status);
  dtv_property p[8]{};
  p[0].cmd = DTV_STAT_SIGNAL_STRENGTH;
  p[1].cmd = DTV_STAT_CNR;
  p[2].cmd = DTV_STAT_PRE_ERROR_BIT_COUNT;
  p[3].cmd = DTV_STAT_PRE_TOTAL_BIT_COUNT;
  p[4].cmd = DTV_DELIVERY_SYSTEM;
  p[5].cmd = DTV_MODULATION;
  p[6].cmd = DTV_INNER_FEC;
  p[7].cmd = DTV_CODE_RATE_HP;
  dtv_properties props{8, p};
  // Drivers without statistics or the older readings are common: no note.
  if (Retried(fd, FE_GET_PROPERTY, &props) == 0) {
    r.strength = FirstLayer(p[0].u.st);
    r.cnr = FirstLayer(p[1].u.st);
    r.preErrors = FirstLayer(p[2].u.st);
    r.preTotal = FirstLayer(p[3].u.st);
    r.system = p[4].u.data;
    r.modulation = p[5].u.data;
    // DVB-T carries its code rate in the high-priority stream's field.
    r.fec = r.system == SYS_DVBT || r.system == SYS_DVBT2 ? p[7].u.data : p[6].u.data;
  }
  if (p[0].u.st.len == 0) {
    uint16_t strength = 0;
    if (Retried(fd, FE_READ_SIGNAL_STRENGTH, &strength) == 0) {
      r.strength.scale = FE_SCALE_RELATIVE;
      r.strength.uvalue = strength;
    }
  }
  if (p[1].u.st.len == 0) {
    uint16_t snr = 0;
    if (Retried(fd, FE_READ_SNR, &snr) == 0) {
      r.cnr.scale = FE_SCALE_RELATIVE;
      r.cnr.uvalue = snr;
    }
  }
  return r;
}

void SettleBus() { std::this_thread::sleep_for(std::chrono::milliseconds(15)); }

bool SendBurst(int fd, bool burstB) {
  return IOCTL(fd, FE_DISEQC_SEND_BURST,
               reinterpret_cast<void*>(burstB ? SEC_MINI_B : SEC_MINI_A)) == 0;
}

bool SendMasterCommand(int fd, const uint8_t* bytes, uint32_t length) {
  if (length < 3 || length > 6) return false;
  dvb_diseqc_master_cmd cmd{};
  std::memcpy(cmd.msg, bytes, length);
  cmd.msg_len = static_cast<uint8_t>(length);
  return IOCTL(fd, FE_DISEQC_SEND_MASTER_CMD, &cmd) == 0;
}

bool ReceiveReply(int fd, std::vector<uint8_t>& reply) {
  // A slave answers within 150 ms of the end of the command.
  dvb_diseqc_slave_reply r{};
  r.timeout = 150;
  if (IOCTL(fd, FE_DISEQC_RECV_SLAVE_REPLY, &r) < 0) return false;
  reply.assign(r.msg, r.msg + std::min<size_t>(r.msg_len, sizeof r.msg));
  return true;
}

bool SetVoltage(int fd, bool horizontal) {
  return IOCTL(fd, FE_SET_VOLTAGE,
               reinterpret_cast<void*>(horizontal ? SEC_VOLTAGE_18 : SEC_VOLTAGE_13)) == 0;
}

bool SetTone(int fd, bool on) {
  return IOCTL(fd, FE_SET_TONE, reinterpret_cast<void*>(on ? SEC_TONE_ON : SEC_TONE_OFF)) == 0;
}

}  // namespace ldvb
