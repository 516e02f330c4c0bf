#include "ts_delivery.h"

#include <algorithm>

#include "simulator.h"
#include "ts_damage.h"
#include "ts_generator.h"

namespace qvsim {
namespace {

using Clock = std::chrono::steady_clock;

// How often a delivering thread looks at the tuner again (lock lost, another
// transponder, another stream), and how long a PID filter's buffer may wait
// for more packets of its PID before it is handed over part-full.
constexpr auto kCarrierCheck = std::chrono::milliseconds(20);
constexpr uint64_t kPartialBufferMs = 100;

bool sameStream(const LockedCarrier& a, const LockedCarrier& b) {
  if (a.usefulBitrate != b.usefulBitrate || a.streamId != b.streamId ||
      a.services.size() != b.services.size()) {
    return false;
  }
  for (size_t i = 0; i < a.services.size(); ++i) {
    if (a.services[i].serviceId != b.services[i].serviceId ||
        a.services[i].name != b.services[i].name) {
      return false;
    }
  }
  return true;
}

}  // namespace

BufferSizes::BufferSizes(uint32_t fixedPackets, uint64_t seed)
    : fixed_(fixedPackets), state_(seed * 0x9E3779B97F4A7C15ull + 1) {}

uint32_t BufferSizes::next() {
  if (fixed_ != 0) return fixed_;
  state_ ^= state_ << 13, state_ ^= state_ >> 7, state_ ^= state_ << 17;
  return kMinBufferPackets +
         static_cast<uint32_t>(state_ % (kMaxBufferPackets - kMinBufferPackets + 1));
}

StreamDeck::StreamDeck(FilterTable& table, StreamConfig config, uint32_t seed,
                       CarrierSource carrierOf)
    : table_(table), config_(config), seed_(seed), carrierOf_(std::move(carrierOf)) {}

StreamDeck::~StreamDeck() {
  std::unique_lock lock(mu_);
  auto players = std::move(players_);
  auto retired = std::move(retired_);
  for (auto& [number, player] : players) player->stop = true;
  wake_.notify_all();
  lock.unlock();
  const auto self = std::this_thread::get_id();
  for (auto& [number, player] : players) retired.push_back(std::move(player->thread));
  for (auto& t : retired) {
    if (t.get_id() == self) {
      t.detach();
    } else if (t.joinable()) {
      t.join();
    }
  }
}

void StreamDeck::start(int32_t number) {
  std::lock_guard lock(mu_);
  auto player = std::make_shared<Player>();
  player->thread = std::thread([this, number, player] { run(number, player); });
  players_[number] = std::move(player);
}

void StreamDeck::reap() {
  const std::vector<int32_t> live = table_.numbers();
  std::unique_lock lock(mu_);
  std::vector<std::thread> done;
  const auto self = std::this_thread::get_id();
  for (auto it = players_.begin(); it != players_.end();) {
    if (std::find(live.begin(), live.end(), it->first) == live.end()) {
      it->second->stop = true;
      retired_.push_back(std::move(it->second->thread));
      it = players_.erase(it);
    } else {
      ++it;
    }
  }
  wake_.notify_all();
  std::vector<std::thread> keep;
  for (auto& t : retired_) (t.get_id() == self ? keep : done).push_back(std::move(t));
  retired_ = std::move(keep);
  lock.unlock();
  for (auto& t : done) {
    if (t.joinable()) t.join();
  }
}

size_t StreamDeck::threads() const {
  std::lock_guard lock(mu_);
  return players_.size() + retired_.size();
}

bool StreamDeck::pause(const Player& player, Clock::time_point until) {
  std::unique_lock lock(mu_);
  return !wake_.wait_until(lock, until, [&] { return player.stop.load(); });
}

void StreamDeck::run(int32_t number, const std::shared_ptr<Player>& player) {
  const std::optional<Filter> filter = table_.find(number);
  if (!filter) return;
  const bool wholeStream = filter->pid == kWholeStreamPid;
  BufferSizes sizes(config_.packets, (uint64_t{seed_} << 32) ^ static_cast<uint32_t>(number));
  std::vector<uint8_t> buffer(kMaxBufferPackets * kTsPacketSize);
  std::optional<LockedCarrier> carrier;
  std::unique_ptr<TsGenerator> generator;
  std::unique_ptr<StreamDamage> damage;  // none while the stream stays clean
  Clock::time_point streamStart;         // when the generator's first packet was due
  Clock::time_point nextCheck;
  uint64_t buffersDelivered = 0;

  while (!player->stop) {
    if (config_.buffers != 0 && buffersDelivered == config_.buffers) {
      // Silent from here on, until the filter goes.
      std::unique_lock lock(mu_);
      wake_.wait(lock, [&] { return player->stop.load(); });
      return;
    }
    const Clock::time_point now = Clock::now();
    if (!generator || now >= nextCheck) {
      std::optional<LockedCarrier> found = carrierOf_(filter->deviceId);
      if (!found) {
        // No lock, no data; the stream starts afresh when the lock returns.
        generator.reset();
        if (!pause(*player, now + kCarrierCheck) || !table_.find(number)) return;
        continue;
      }
      if (!generator || !sameStream(*found, *carrier)) {
        carrier = std::move(found);
        generator = std::make_unique<TsGenerator>(planFor(*carrier));
        damage.reset();
        if (!config_.damage.empty()) {
          damage = std::make_unique<StreamDamage>(config_.damage, generator->plan().bitrate);
        }
        streamStart = now;
      }
      nextCheck = now + kCarrierCheck;
    }

    const uint64_t bitrate = generator->plan().bitrate;
    const uint64_t packetsPerWait =
        std::max<uint64_t>(1, kPartialBufferMs * bitrate / (1000 * kTsPacketSize * 8));
    const uint32_t wanted = sizes.next();
    const uint64_t giveUp = generator->position() + packetsPerWait;
    uint32_t count = 0;
    size_t length = 0;
    while (count < wanted) {
      uint8_t* out = buffer.data() + length;
      const uint64_t position = generator->position();
      const uint16_t pid = generator->next(out);
      // A damaged stream may lose a packet or half of one; the buffer then
      // holds the bytes that did leave the card, one after the other.
      const size_t kept = damage ? damage->apply(position, pid, out) : kTsPacketSize;
      if ((pid == filter->pid || wholeStream) && kept != 0) {
        ++count;
        length += kept;
      } else if (generator->position() >= giveUp) {
        break;
      }
    }

    if (!config_.fast) {
      // The packets leave the card when the carrier has brought them.
      const uint64_t bits = generator->position() * kTsPacketSize * 8;
      const auto due = streamStart + std::chrono::microseconds(bits / bitrate * 1000000 +
                                                               bits % bitrate * 1000000 / bitrate);
      if (!pause(*player, due)) return;
    }
    if (count == 0) {
      if (!table_.find(number)) return;
      continue;
    }
    const bool delivered = table_.deliver(number, [&](const Filter& f) {
      f.tsCallback(buffer.data(), static_cast<uint32_t>(length));
    });
    if (!delivered) return;  // the filter is gone
    ++buffersDelivered;
  }
}

StreamDeck& streamDeck() {
  // Built on first use, after the simulator, so it is destroyed (its threads
  // joined) before the filter table goes.
  static StreamDeck deck(simulator().filters(), simulator().config().stream,
                         simulator().config().seed,
                         [](uint32_t deviceId) -> std::optional<LockedCarrier> {
                           Simulator& sim = simulator();
                           std::lock_guard lock(sim.mutex());
                           const DeviceState* dev = sim.registry().started();
                           if (!dev || dev->config.id != deviceId) return std::nullopt;
                           return lockedCarrier(*dev);
                         });
  return deck;
}

void startStream(int32_t number) { streamDeck().start(number); }

void reapStreams() { streamDeck().reap(); }

}  // namespace qvsim
