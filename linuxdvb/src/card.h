// The library's whole state: the devices found, the started one, and the live
// filters. Every entry point goes through one Card under one lock; the reader
// threads never take that lock, so stopping them from an entry point cannot
// wait on a callback that waits on the program.
#ifndef QUORVEX_LINUXDVB_CARD_H
#define QUORVEX_LINUXDVB_CARD_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ber_meter.h"
#include "delivery_family.h"
#include "dvb_paths.h"
#include "lnb_lines.h"
#include "rc_pump.h"
#include "signal_scale.h"
#include "ts_pump.h"
#include "tuning_map.h"

namespace ldvb {

/* One entry of the program's device list: a frontend and one delivery family of it. */
struct Device {
  uint32_t id;
  FrontendNode node;
  Family family;
  std::string name;
  uint32_t tunerType;
  uint32_t feCaps;
  std::vector<uint32_t> delsys;
};

class Card {
 public:
  /* devRoot is normally /dev/dvb, sysRoot /sys. */
  Card(std::string devRoot, std::string sysRoot);
  ~Card();

  /* Lists the devices afresh and reports each; false when there is none. */
  bool Discover(const std::function<void(const Device&)>& report);
  /* Opens a device by id (0xFFFFFFFF: the first); stops a started one first. */
  bool Start(uint32_t id);
  /* The id of the started device; false when none is started. */
  bool StartedId(uint32_t& id);
  /* Ends every filter and closes the started device. */
  bool Stop();
  bool TunerType(uint32_t& type);
  uint32_t Caps();

  bool Tune(const TuneArgs& r);
  bool SelectStream(bool enable, uint32_t streamId);
  bool Signal(SignalFigures& f);

  bool Burst(bool burstB);
  bool MasterCommand(const uint8_t* bytes, uint32_t length);
  bool MasterCommandWithReply(const uint8_t* bytes, uint32_t length, std::vector<uint8_t>& reply);

  bool AddTsFilter(uint32_t pid, TsPump::Deliver deliver, int32_t& number);
  bool AddRcFilter(RcType type, uint32_t deviceFilter, RcPump::Deliver deliver, int32_t& number);
  bool DeleteFilter(int32_t number);

 private:
  struct Filter;

  using Clock = std::chrono::steady_clock;

  bool Satellite() const;
  /* Tunes the started device to r with its first candidate system. */
  bool TuneUnlocked(const TuneArgs& r);
  /* Sets the properties of the candidate system `index` of the last tune. */
  bool ApplyCandidate(size_t index);
  /* While DVB-T and DVB-T2 are both candidates and neither has locked: the next one, once
     the current one has had its time. */
  void Search(bool locked);
  /* One DiSEqC transfer framed by the bus waits: the supply of the last tune (or of what
     `selects` says, before any tune), tone off, 15 ms, the transfer, 15 ms, then the last
     tune applied again (the kernel's frontend stops tuning at a bus command), or the tone
     of the selection when nothing was tuned. */
  bool Transfer(const std::optional<LnbLines>& selects, const std::function<bool()>& send);
  std::vector<std::unique_ptr<Filter>> TakeFilters();
  void CloseUnlocked();

  std::mutex mutex_;
  std::string devRoot_;
  std::string sysRoot_;
  std::vector<Device> devices_;
  std::optional<Device> started_;
  int fd_ = -1;
  uint32_t caps_ = 0;
  std::optional<bool> horizontal_;  // the supply as last set; none before the first
  LnbLines selected_;               // what the bus was last told to select
  std::optional<TuneArgs> lastTune_;
  std::vector<uint32_t> candidates_;  // the systems of the last tune, in search order
  size_t candidate_ = 0;              // the one set now
  bool searching_ = false;
  Clock::time_point candidateSince_;
  BerMeter ber_;
  uint32_t streamId_;  // NO_STREAM_ID_FILTER when none is chosen
  int32_t nextFilter_ = 1;
  std::map<int32_t, std::unique_ptr<Filter>> filters_;
};

/* The one card of this process. */
Card& TheCard();

}  // namespace ldvb

#endif
