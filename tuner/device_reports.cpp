#include "tuner/device_reports.h"

#include <mutex>
#include <utility>

namespace device_reports {
namespace {

// Lives as long as the process: a library thread may report while the
// program exits.
struct Reports {
  std::mutex mutex;
  bool open = false;
  std::vector<DeviceReport> kept;
};

Reports& The() {
  static Reports* reports = new Reports;
  return *reports;
}

}  // namespace

void Open() {
  Reports& r = The();
  std::lock_guard lock(r.mutex);
  r.open = true;
  r.kept.clear();
}

std::vector<DeviceReport> Close() {
  Reports& r = The();
  std::lock_guard lock(r.mutex);
  r.open = false;
  return std::exchange(r.kept, {});
}

void Add(uint32_t id, std::string text) {
  Reports& r = The();
  std::lock_guard lock(r.mutex);
  if (r.open) r.kept.push_back({id, std::move(text)});
}

}  // namespace device_reports
