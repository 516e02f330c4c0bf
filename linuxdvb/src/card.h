// The library's whole state: the devices found, the started one, and the live
// filters. Every entry point goes through one Card under one lock; the reader
// threads never take that lock, so stopping them from an entry point cannot
// wait on a callback that waits on the program.
#ifndef QUORVEX_LINUXDVB_CARD_H
#define QUORVEX_LINUXDVB_CARD_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "delivery_family.h"
#include "dvb_paths.h"
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

  bool Satellite() const;
  /* The 22 kHz tone of the tuned band, to restore after a bus transfer. */
  bool ToneOn() const;
  /* A satellite device with its LNB powered (13 V if nothing was tuned yet). */
  bool BusReady();
  std::vector<std::unique_ptr<Filter>> TakeFilters();
  void CloseUnlocked();

  std::mutex mutex_;
  std::string devRoot_;
  std::string sysRoot_;
  std::vector<Device> devices_;
  std::optional<Device> started_;
  int fd_ = -1;
  uint32_t caps_ = 0;
  bool powered_ = false;
  std::optional<TuneArgs> lastTune_;
  uint32_t streamId_;  // NO_STREAM_ID_FILTER when none is chosen
  int32_t nextFilter_ = 1;
  std::map<int32_t, std::unique_ptr<Filter>> filters_;
};

/* The one card of this process. */
Card& TheCard();

}  // namespace ldvb

#endif
