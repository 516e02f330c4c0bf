// What the library's callbacks record. The callbacks take no context, so
// what they see lives here, one record per kind; the tool runs one check at a
// time, so only one filter of a kind is ever live.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "compliance/ts_packets.h"
#include "tuner/quorvex_api.h"

namespace compliance {

// One device as the enumeration reported it.
struct EnumeratedDevice {
  uint32_t id;
  std::string name;
  std::optional<uint32_t> type;  // with CheckForDVBExEx
  std::thread::id thread;
};

struct EnumerationRecord {
  std::mutex mu;
  std::vector<EnumeratedDevice> devices;
  // False once the enumeration call has returned: a report then is late.
  bool open = false;
  int late = 0;
};

// Deliveries of one filter kind (stream data or remote-control codes).
struct DeliveryRecord {
  std::mutex mu;
  // True from just before registration until the filter's DelFilter returned.
  bool live = false;
  uint64_t calls = 0, late = 0, bytes = 0;
  std::set<std::thread::id> threads;
  std::chrono::steady_clock::time_point registered, first;
  TsPacketCheck ts;  // stream data only
  // Starts afresh: no deliveries, no late ones.
  void Reset();
  // Starts watching a new filter; counts and the stream check go on.
  void Open();
  // The filter's DelFilter has returned: anything later is late.
  void Close();
};

extern EnumerationRecord g_enumeration;
extern DeliveryRecord g_stream;
extern DeliveryRecord g_remote;

void QV_CALLBACK OnDevice(uint32_t id, const char* name);
void QV_CALLBACK OnDeviceEx(uint32_t id, const char* name, uint32_t type);
void QV_CALLBACK OnStreamData(const uint8_t* data, uint32_t length);
void QV_CALLBACK OnRemoteCode(const void* code, uint32_t countOrKind);

}  // namespace compliance
