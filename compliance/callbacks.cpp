#include "compliance/callbacks.h"

#include <cstring>

namespace compliance {

EnumerationRecord g_enumeration;
DeliveryRecord g_stream;
DeliveryRecord g_remote;

namespace {

// Names are read during the call only, and never past a sane length.
std::string NameText(const char* name) {
  if (name == nullptr) return {};
  return std::string(name, strnlen(name, 512));
}

void Enumerated(uint32_t id, const char* name, std::optional<uint32_t> type) {
  std::lock_guard lock(g_enumeration.mu);
  // A late report is counted, not listed: no device can be chosen from it.
  if (!g_enumeration.open) {
    ++g_enumeration.late;
    return;
  }
  g_enumeration.devices.push_back({id, NameText(name), type, std::this_thread::get_id()});
}

// Counts one delivery; true when it came while the filter was live.
bool Delivered(DeliveryRecord& r, uint32_t bytes) {
  ++r.calls;
  r.bytes += bytes;
  r.threads.insert(std::this_thread::get_id());
  if (r.first < r.registered) r.first = std::chrono::steady_clock::now();
  if (!r.live) ++r.late;
  return r.live;
}

}  // namespace

void DeliveryRecord::Reset() {
  std::lock_guard lock(mu);
  calls = late = bytes = 0;
  threads.clear();
}

void DeliveryRecord::Open() {
  std::lock_guard lock(mu);
  live = true;
  ts.Restart();
  registered = std::chrono::steady_clock::now();
}

void DeliveryRecord::Close() {
  std::lock_guard lock(mu);
  live = false;
}

void QV_CALLBACK OnDevice(uint32_t id, const char* name) { Enumerated(id, name, std::nullopt); }

void QV_CALLBACK OnDeviceEx(uint32_t id, const char* name, uint32_t type) {
  Enumerated(id, name, type);
}

void QV_CALLBACK OnStreamData(const uint8_t* data, uint32_t length) {
  std::lock_guard lock(g_stream.mu);
  if (Delivered(g_stream, length) && data != nullptr) g_stream.ts.Feed(data, length);
}

void QV_CALLBACK OnRemoteCode(const void*, uint32_t) {
  std::lock_guard lock(g_remote.mu);
  Delivered(g_remote, 0);
}

}  // namespace compliance
