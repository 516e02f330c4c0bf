#include "filters.h"

#include <algorithm>
#include <limits>

namespace qvsim {

int32_t FilterTable::add(Filter filter) {
  std::lock_guard lock(mu_);
  if (next_ <= 0) return 0;  // exhausted
  const int32_t number = next_;
  next_ = number == std::numeric_limits<int32_t>::max() ? 0 : number + 1;
  filter.number = number;
  auto slot = std::make_shared<Slot>();
  slot->filter = filter;
  live_.emplace(number, std::move(slot));
  return number;
}

void FilterTable::waitIdle(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Slot>& slot) {
  const auto self = std::this_thread::get_id();
  idle_.wait(lock, [&] {
    return std::all_of(slot->running.begin(), slot->running.end(),
                       [&](std::thread::id t) { return t == self; });
  });
}

bool FilterTable::remove(int32_t number) {
  std::unique_lock lock(mu_);
  auto it = live_.find(number);
  if (it == live_.end()) return false;
  auto slot = it->second;
  live_.erase(it);  // no new callback can start from here on
  waitIdle(lock, slot);
  const auto hook = removalHook_;
  lock.unlock();
  if (hook) hook(number);
  return true;
}

void FilterTable::removeDevice(uint32_t deviceId) {
  std::unique_lock lock(mu_);
  std::vector<std::shared_ptr<Slot>> removed;
  for (auto it = live_.begin(); it != live_.end();) {
    if (it->second->filter.deviceId == deviceId) {
      removed.push_back(it->second);
      it = live_.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& slot : removed) waitIdle(lock, slot);
  const auto hook = removalHook_;
  lock.unlock();
  if (hook) {
    for (const auto& slot : removed) hook(slot->filter.number);
  }
}

void FilterTable::setRemovalHook(std::function<void(int32_t)> hook) {
  std::lock_guard lock(mu_);
  removalHook_ = std::move(hook);
}

bool FilterTable::deliver(int32_t number, const std::function<void(const Filter&)>& fn) {
  std::shared_ptr<Slot> slot;
  {
    std::lock_guard lock(mu_);
    auto it = live_.find(number);
    if (it == live_.end()) return false;
    slot = it->second;
    slot->running.push_back(std::this_thread::get_id());
  }
  struct Done {
    FilterTable* table;
    Slot* slot;
    ~Done() {
      std::lock_guard lock(table->mu_);
      auto& r = slot->running;
      r.erase(std::find(r.begin(), r.end(), std::this_thread::get_id()));
      table->idle_.notify_all();
    }
  } done{this, slot.get()};
  fn(slot->filter);
  return true;
}

std::optional<Filter> FilterTable::find(int32_t number) const {
  std::lock_guard lock(mu_);
  auto it = live_.find(number);
  if (it == live_.end()) return std::nullopt;
  return it->second->filter;
}

std::vector<int32_t> FilterTable::numbers() const {
  std::lock_guard lock(mu_);
  std::vector<int32_t> out;
  for (const auto& [n, slot] : live_) out.push_back(n);
  return out;
}

}  // namespace qvsim
