#include "virtual_remote.h"

#include <chrono>
#include <cstring>

#include "simulator.h"

namespace qvsim {

namespace {
constexpr uint32_t kAllDevices = 0xFFFF;
}  // namespace

uint16_t rc5Word(uint32_t address, uint32_t command, uint32_t toggle) {
  return static_cast<uint16_t>(0x3000u | ((toggle & 1u) << 11) | ((address & 0x1Fu) << 6) |
                               (command & 0x3Fu));
}

RemoteScript::RemoteScript(RemoteConfig config) : config_(std::move(config)) {}

std::optional<RemoteFrame> RemoteScript::next() {
  if (config_.keys.empty()) return std::nullopt;
  RemoteFrame frame;
  if (inPress_ && repeatsLeft_ > 0) {
    --repeatsLeft_;
    frame.pauseMs = config_.repeatIntervalMs;
  } else {
    if (inPress_) ++press_;
    if (press_ == config_.keys.size()) {
      if (!config_.loop) return std::nullopt;
      press_ = 0;
    }
    if (config_.presses != 0 && pressCount_ == config_.presses) return std::nullopt;
    ++pressCount_;
    inPress_ = true;
    toggle_ ^= 1u;
    repeatsLeft_ = config_.keys[press_].repeats;
    frame.pauseMs = config_.intervalMs;
  }
  const RemotePress& key = config_.keys[press_];
  frame.address = key.address;
  frame.command = key.command;
  frame.word = rc5Word(key.address, key.command, toggle_);
  if (key.word) {
    frame.word = *key.word;
    frame.address = (*key.word >> 6) & 0x1Fu;
    frame.command = *key.word & 0x3Fu;
  }
  frame.kind = key.kind;
  frame.bytes = key.bytes;
  if (config_.fast) frame.pauseMs = 0;
  return frame;
}

std::optional<RemoteDelivery> deliveryFor(const Filter& filter, const RemoteFrame& frame,
                                          uint32_t kind) {
  RemoteDelivery d;
  if (filter.rcType == 0) {
    d.code = frame.bytes ? *frame.bytes
                         : std::vector<uint8_t>{static_cast<uint8_t>(frame.word >> 8),
                                                static_cast<uint8_t>(frame.word & 0xFF)};
    d.countOrKind = static_cast<uint32_t>(d.code.size());
    if (d.code.size() < 4) d.code.resize(4);
    return d;
  }
  if (filter.rcDeviceFilter != kAllDevices && filter.rcDeviceFilter != frame.address) {
    return std::nullopt;
  }
  d.countOrKind = frame.kind.value_or(kind);
  d.code.resize(4);
  if (d.countOrKind == 1) {
    d.code[0] = static_cast<uint8_t>(frame.command);
  } else {
    std::memcpy(d.code.data(), &frame.word, sizeof frame.word);
  }
  return d;
}

RemoteDeck::RemoteDeck(FilterTable& table, RemoteConfig config)
    : table_(table), config_(std::move(config)) {
  table_.setRemovalHook([this](int32_t number) { stop(number); });
}

RemoteDeck::~RemoteDeck() {
  table_.setRemovalHook(nullptr);
  std::unique_lock lock(mu_);
  auto players = std::move(players_);
  for (auto& [number, player] : players) player->stop = true;
  wake_.notify_all();
  lock.unlock();
  for (auto& [number, player] : players) {
    if (player->thread.joinable() && player->thread.get_id() != std::this_thread::get_id()) {
      player->thread.join();
    } else if (player->thread.joinable()) {
      player->thread.detach();
    }
  }
  lock.lock();
  joinRetired(lock);
}

void RemoteDeck::joinRetired(std::unique_lock<std::mutex>& lock) {
  std::vector<std::thread> done;
  std::vector<std::thread> keep;
  for (auto& t : retired_) {
    (t.get_id() == std::this_thread::get_id() ? keep : done).push_back(std::move(t));
  }
  retired_ = std::move(keep);
  lock.unlock();
  for (auto& t : done) t.join();
  lock.lock();
}

void RemoteDeck::start(int32_t number) {
  std::unique_lock lock(mu_);
  joinRetired(lock);
  auto player = std::make_shared<Player>();
  players_[number] = player;
  // Started under the lock, so stop() cannot see the player without its thread.
  player->thread = std::thread([this, number, player] { play(number, player); });
  // A card that hands over every code it holds during registration.
  if (config_.beforeReturn) wake_.wait(lock, [&] { return player->done; });
}

void RemoteDeck::stop(int32_t number) {
  std::unique_lock lock(mu_);
  auto it = players_.find(number);
  if (it == players_.end()) return;
  std::shared_ptr<Player> player = it->second;
  players_.erase(it);
  player->stop = true;
  wake_.notify_all();
  if (player->thread.get_id() == std::this_thread::get_id()) {
    // A callback removed its own filter: the thread ends once it returns.
    retired_.push_back(std::move(player->thread));
    return;
  }
  lock.unlock();
  player->thread.join();
}

void RemoteDeck::play(int32_t number, const std::shared_ptr<Player>& player) {
  using Clock = std::chrono::steady_clock;
  struct Done {
    RemoteDeck& deck;
    Player& player;
    ~Done() {
      std::lock_guard lock(deck.mu_);
      player.done = true;
      deck.wake_.notify_all();
    }
  } done{*this, *player};
  RemoteScript script(config_);
  Clock::time_point due = Clock::now();
  while (const std::optional<RemoteFrame> frame = script.next()) {
    {
      std::unique_lock lock(mu_);
      if (frame->pauseMs > 0) {
        due += std::chrono::milliseconds(frame->pauseMs);
        wake_.wait_until(lock, due, [&] { return player->stop; });
      }
      if (player->stop) return;
    }
    const bool live = table_.deliver(number, [&](const Filter& filter) {
      if (const std::optional<RemoteDelivery> d = deliveryFor(filter, *frame, config_.kind)) {
        filter.rcCallback(d->code.data(), d->countOrKind);
      }
    });
    if (!live) return;
  }
}

RemoteDeck& remoteDeck() {
  // Built on first use, after the simulator, so it is destroyed (its players
  // joined) before the filter table goes.
  static RemoteDeck deck(simulator().filters(), simulator().config().remote);
  return deck;
}

}  // namespace qvsim
