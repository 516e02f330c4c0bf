// Transport stream delivery: while a SetFilter filter lives, a thread of the
// library hands it the stream of the locked carrier in buffers of whole
// 188-byte packets. PID 8192 gets every packet, any other PID only its own
// packets, an absent PID nothing; without lock nothing comes. The pace is the
// carrier's useful bitrate, or as fast as the thread can go when configured.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "config.h"
#include "filters.h"
#include "signal_model.h"
#include "world.h"

namespace qvsim {

inline constexpr uint32_t kWholeStreamPid = 8192;

// Buffer sizes in packets: the configured size, or a repeatable sequence of
// sizes from 7 to 512 as a driver's buffers come.
class BufferSizes {
 public:
  BufferSizes(uint32_t fixedPackets, uint64_t seed);
  uint32_t next();

 private:
  uint32_t fixed_;
  uint64_t state_;
};

class StreamDeck {
 public:
  // The locked carrier of a device while it is started and locked, else none.
  using CarrierSource = std::function<std::optional<LockedCarrier>(uint32_t deviceId)>;

  StreamDeck(FilterTable& table, StreamConfig config, uint32_t seed, CarrierSource carrierOf);
  // Stops and joins every delivery thread.
  ~StreamDeck();
  StreamDeck(const StreamDeck&) = delete;
  StreamDeck& operator=(const StreamDeck&) = delete;

  // Starts delivering to transport stream filter `number`.
  void start(int32_t number);
  // Stops and joins the threads of filters no longer in the table (after
  // DelFilter, StopDVB, a device switch). A thread whose own callback removed
  // its filter is joined on a later call.
  void reap();
  // Delivery threads not yet joined.
  size_t threads() const;

 private:
  struct Player {
    std::atomic<bool> stop{false};
    std::thread thread;
  };
  void run(int32_t number, const std::shared_ptr<Player>& player);
  // Waits until `until` or a stop; false when stopped.
  bool pause(const Player& player, std::chrono::steady_clock::time_point until);

  FilterTable& table_;
  const StreamConfig config_;
  const uint32_t seed_;
  const CarrierSource carrierOf_;
  mutable std::mutex mu_;
  std::condition_variable wake_;
  std::map<int32_t, std::shared_ptr<Player>> players_;
  std::vector<std::thread> retired_;
};

// The library's deck, delivering to simulator().filters().
StreamDeck& streamDeck();

}  // namespace qvsim
