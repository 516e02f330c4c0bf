// The filter table: transport stream filters (SetFilter) and remote-control
// filters (SetRemoteControl), numbered from 1 and never reused while the
// library is loaded.
//
// Delivery threads run callbacks through deliver(); remove() takes a filter
// out of the table and returns only when no callback for it is running (other
// than one on the calling thread, so a callback may delete its own filter) and
// none will start again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "quorvex_api.h"

namespace qvsim {

enum class FilterKind { TransportStream, RemoteControl };

struct Filter {
  int32_t number = 0;
  FilterKind kind = FilterKind::TransportStream;
  uint32_t deviceId = 0;
  // Transport stream filter
  uint32_t pid = 0;
  uint32_t mode = 0;
  uint32_t flags = 0;
  QvTsDataCallback tsCallback = nullptr;
  // Remote-control filter
  uint32_t rcType = 0;
  uint32_t rcDeviceFilter = 0;
  QvRcCallback rcCallback = nullptr;
};

class FilterTable {
 public:
  // Assigns the next number and stores the filter; 0 when the numbers are
  // used up (after 2^31-1 filters), rather than handing one out twice.
  int32_t add(Filter filter);

  // false when `number` is not a live filter (never issued or already removed).
  bool remove(int32_t number);

  // Removes every filter of a device, with the same waiting as remove().
  void removeDevice(uint32_t deviceId);

  // Runs fn(filter) as a callback of this filter unless it has been removed;
  // false when it was not run.
  bool deliver(int32_t number, const std::function<void(const Filter&)>& fn);

  // Runs hook(number) for each filter that remove() or removeDevice() took
  // out, after the waiting and outside the table's lock (so the hook may
  // stop the filter's delivery thread).
  void setRemovalHook(std::function<void(int32_t)> hook);

  std::optional<Filter> find(int32_t number) const;
  std::vector<int32_t> numbers() const;

 private:
  struct Slot {
    Filter filter;
    std::vector<std::thread::id> running;  // threads inside a callback of this filter
  };
  void waitIdle(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Slot>& slot);

  mutable std::mutex mu_;
  std::condition_variable idle_;
  std::map<int32_t, std::shared_ptr<Slot>> live_;
  int32_t next_ = 1;
  std::function<void(int32_t)> removalHook_;
};

}  // namespace qvsim
