// The virtual remote: while a remote-control filter is registered, a thread of
// the library plays key presses to it, as an infrared receiver would pass them
// on. The frames follow RC-5: two start bits, a toggle bit that flips on each
// new press and stays on a held key's repeats, five address bits and six
// command bits.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "config.h"
#include "filters.h"

namespace qvsim {

// The 14-bit RC-5 frame in a 16-bit word: start bits 13 and 12 set, toggle in
// bit 11, address in bits 10-6, command in bits 5-0.
uint16_t rc5Word(uint32_t address, uint32_t command, uint32_t toggle);

struct RemoteFrame {
  uint16_t word = 0;
  uint32_t address = 0;
  uint32_t command = 0;
  uint32_t pauseMs = 0;                       // since the frame before (or since registration)
  std::optional<uint32_t> kind;               // the press's own code kind
  std::optional<std::vector<uint8_t>> bytes;  // what a RAW filter gets instead
};

// The configured presses, frame by frame. The first press carries toggle 0.
class RemoteScript {
 public:
  explicit RemoteScript(RemoteConfig config);
  // The next frame; none when the remote has nothing more to send.
  std::optional<RemoteFrame> next();

 private:
  RemoteConfig config_;
  size_t press_ = 0;  // index into config_.keys
  uint32_t repeatsLeft_ = 0;
  uint64_t pressCount_ = 0;  // presses started so far
  uint32_t toggle_ = 1;      // flipped before each new press
  bool inPress_ = false;
};

// What a filter's callback is handed for one frame. RAW filters get the frame
// as two bytes, high byte first (count 2); RC5 filters the 16-bit word in the
// machine's byte order (kind 2) or the command byte (kind 1), and only when
// the device filter is 0xFFFF or equals the frame's address. A press's own
// kind or bytes replace these.
struct RemoteDelivery {
  std::vector<uint8_t> code;  // at least 4 bytes, so a word can always be read
  uint32_t countOrKind = 0;
};
std::optional<RemoteDelivery> deliveryFor(const Filter& filter, const RemoteFrame& frame,
                                          uint32_t kind);

// One player thread per registered remote-control filter. A player ends when
// its filter is removed from the table (DelFilter, StopDVB, a device switch):
// the table's removal hook stops and joins it.
class RemoteDeck {
 public:
  RemoteDeck(FilterTable& table, RemoteConfig config);
  ~RemoteDeck();
  RemoteDeck(const RemoteDeck&) = delete;
  RemoteDeck& operator=(const RemoteDeck&) = delete;

  // Starts playing to filter `number`.
  void start(int32_t number);
  // Stops the player of `number` and waits for its thread, unless called on
  // that thread (a callback deleting its own filter): it is joined later.
  void stop(int32_t number);

 private:
  struct Player {
    bool stop = false;  // guarded by mu_
    bool done = false;  // guarded by mu_: the player has played its last frame
    std::thread thread;
  };
  void play(int32_t number, const std::shared_ptr<Player>& player);
  void joinRetired(std::unique_lock<std::mutex>& lock);

  FilterTable& table_;
  const RemoteConfig config_;
  std::mutex mu_;
  std::condition_variable wake_;
  std::map<int32_t, std::shared_ptr<Player>> players_;
  std::vector<std::thread> retired_;
};

// The library's deck, playing the configured remote to simulator().filters().
RemoteDeck& remoteDeck();

}  // namespace qvsim
