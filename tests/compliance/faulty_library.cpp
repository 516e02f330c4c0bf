// A small tuner library that keeps the contract, built once per defect with
// QV_DEFECT naming the one rule it breaks, so that the compliance checker can
// be shown to fail exactly the check that names each defect.
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "tuner/quorvex_api.h"

#define QV_DEFECT_NONE 0
#define QV_DEFECT_LATE_CALLBACK 1     // stream data after DelFilter returned
#define QV_DEFECT_LATE_ENUMERATION 2  // a device reported after the call returned
#define QV_DEFECT_REPLY_COUNT 3       // a reply count of 300 for an 8-byte buffer
#define QV_DEFECT_SIGNAL_UNWRITTEN 4  // success without writing the signal figures
#define QV_DEFECT_NOT_TS 5            // buffers that are not transport stream packets
#define QV_DEFECT_START_HANGS 6       // StartDVBEx never returns
#define QV_DEFECT_LOST_PACKETS 7      // a packet missing now and then

namespace {

using namespace std::chrono_literals;

std::mutex g_mu;
std::thread g_delivery;
std::atomic<bool> g_run{false};
int32_t g_filter = 0, g_next = 1;
uint32_t g_freqKHz = 0;

// Packets of one PID per filter, counting 0..15, seven to a buffer.
void Deliver(QvTsDataCallback callback, uint16_t pid) {
  uint8_t buffer[7 * 188];
  uint8_t cc = 0;
  while (g_run) {
    for (int i = 0; i < 7; ++i) {
      uint8_t* p = buffer + i * 188;
      std::memset(p, 0xFF, 188);
      p[0] = 0x47;
      p[1] = static_cast<uint8_t>(pid >> 8);
      p[2] = static_cast<uint8_t>(pid);
      p[3] = static_cast<uint8_t>(0x10 | (cc++ & 0x0F));
    }
    if (QV_DEFECT == QV_DEFECT_LOST_PACKETS) ++cc;
    callback(buffer, QV_DEFECT == QV_DEFECT_NOT_TS ? 100 : sizeof buffer);
    std::this_thread::sleep_for(2ms);
  }
#if QV_DEFECT == QV_DEFECT_LATE_CALLBACK
  // One more buffer after the stop, when DelFilter has long returned.
  std::this_thread::sleep_for(20ms);
  callback(buffer, sizeof buffer);
#endif
}

void StopDelivery() {
  g_run = false;
#if QV_DEFECT == QV_DEFECT_LATE_CALLBACK
  if (g_delivery.joinable()) g_delivery.detach();
#else
  if (g_delivery.joinable()) g_delivery.join();
#endif
}

}  // namespace

extern "C" {

QV_EXPORT int32_t QV_API CheckForDVB(void) { return 1; }

QV_EXPORT int32_t QV_API CheckForDVBExEx(QvDeviceEnumCallbackEx callback) {
  callback(0x100, "Faulty S2", 2);
#if QV_DEFECT == QV_DEFECT_LATE_ENUMERATION
  std::thread([callback] {
    std::this_thread::sleep_for(50ms);
    callback(0x101, "Faulty S2 late", 2);
  }).detach();
#endif
  return 1;
}

QV_EXPORT int32_t QV_API StartDVB(void) { return 1; }

QV_EXPORT int32_t QV_API StartDVBEx(uint32_t) {
#if QV_DEFECT == QV_DEFECT_START_HANGS
  for (;;) std::this_thread::sleep_for(1s);
#endif
  return 1;
}

QV_EXPORT int32_t QV_API StopDVB(void) { return 1; }

QV_EXPORT int32_t QV_API SetChannel(uint32_t freqKHz, uint32_t, uint32_t, uint32_t, uint32_t,
                                    uint32_t, uint32_t) {
  g_freqKHz = freqKHz;
  return 1;
}

QV_EXPORT int32_t QV_API SetFilter(uint32_t, QvTsDataCallback callback, uint32_t, uint32_t,
                                   int32_t* filter) {
  std::lock_guard lock(g_mu);
  if (g_filter != 0) return 0;
  g_filter = g_next++;
  *filter = g_filter;
  g_run = true;
  g_delivery = std::thread(Deliver, callback, static_cast<uint16_t>(0x100 + (g_filter & 0xFF)));
  return 1;
}

QV_EXPORT int32_t QV_API DelFilter(int32_t filter) {
  std::lock_guard lock(g_mu);
  if (filter == 0 || filter != g_filter) return 0;
  StopDelivery();
  g_filter = 0;
  return 1;
}

QV_EXPORT int32_t QV_API GetSignalExEx(uint32_t*, int32_t* lock, int32_t* rfLevel, float* snr,
                                       float* ber) {
#if QV_DEFECT != QV_DEFECT_SIGNAL_UNWRITTEN
  *lock = g_freqKHz > 900000 ? 1 : 0;
  *rfLevel = -50;
  *snr = 12.5f;
  *ber = 0.0001f;
#else
  (void)lock, (void)rfLevel, (void)snr, (void)ber;
#endif
  return 1;
}

QV_EXPORT int32_t QV_API SendDiseqCmdEx(uint8_t*, uint32_t, uint8_t* reply, uint32_t* replyCount) {
  reply[0] = 0xE4;
  *replyCount = QV_DEFECT == QV_DEFECT_REPLY_COUNT ? 300 : 1;
  return 1;
}

QV_EXPORT uint32_t QV_API GetCaps(void) { return QV_CAP_EXT_STATISTICS | QV_CAP_DISEQC2X; }

}  // extern "C"
