#include "card.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>
#include <linux/dvb/frontend.h>
#include <linux/lirc.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "call_notes.h"
#include "frontend_io.h"

namespace ldvb {
namespace {

// How long a search gives DVB-T and DVB-T2 to lock before trying the other: longer
// than a demodulator's acquisition of each (T2 frames are up to 250 ms long, and the
// L1 signalling of two frames is needed), short enough to lock within a few seconds.
std::chrono::milliseconds SearchTime(uint32_t system) {
  return std::chrono::milliseconds(system == SYS_DVBT2 ? 2500 : 1500);
}

// Enough for about a quarter of a second of a 100 Mbit/s transport stream
// between two reads.
constexpr unsigned long kDemuxBufferBytes = 4 * 1024 * 1024;

int OpenNode(const std::string& path, int flags) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// An open the call cannot do without: its errno text goes to the trace.
int OpenNeeded(const std::string& path, int flags) {
  const int fd = OpenNode(path, flags);
  if (fd < 0) NoteErrno("open " + path);
  return fd;
}

// An ioctl on a demux or remote-control node; its errno text goes to the trace.
bool Control(int fd, unsigned long request, const void* arg, const char* name) {
  if (ioctl(fd, request, arg) == 0) return true;
  NoteErrno(name);
  return false;
}

}  // namespace

struct Card::Filter {
  int fd = -1;
  TsPump ts;
  RcPump rc;
  ~Filter() {
    // Join before closing, so the thread never polls a closed descriptor.
    ts.Stop();
    rc.Stop();
    // A filter whose card went away stopped delivering long before; the call that
    // ends it says why, since the program cannot tell.
    const std::string& ended = ts.Ended().empty() ? rc.Ended() : ts.Ended();
    if (!ended.empty()) qvabi::note("reading had ended: " + ended);
    if (fd >= 0) close(fd);
  }
};

Card::Card(std::string devRoot, std::string sysRoot)
    : devRoot_(std::move(devRoot)), sysRoot_(std::move(sysRoot)), streamId_(NO_STREAM_ID_FILTER) {}

Card::~Card() {
  std::vector<std::unique_ptr<Filter>> filters;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    filters = TakeFilters();
    CloseUnlocked();
  }
}

bool Card::Discover(const std::function<void(const Device&)>& report) {
  std::vector<Device> found;
  for (const FrontendNode& node : ListFrontends(devRoot_)) {
    // Read-only opens succeed even while another program tunes the frontend.
    const int fd = OpenNode(NodePath(devRoot_, node.adapter, "frontend", node.frontend),
                            O_RDONLY | O_NONBLOCK);
    if (fd < 0) continue;
    const std::optional<FrontendDescription> d = Describe(fd);
    close(fd);
    if (!d) continue;
    for (Family f : FamiliesOf(d->delsys))
      found.push_back({DeviceId(node.adapter, node.frontend, f), node, f, d->name,
                       TunerTypeFor(f, d->delsys), d->caps, d->delsys});
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    devices_ = found;
  }
  for (const Device& d : found) report(d);
  return !found.empty();
}

bool Card::Start(uint32_t id) {
  std::vector<std::unique_ptr<Filter>> filters;
  std::lock_guard<std::mutex> lock(mutex_);
  filters = TakeFilters();
  CloseUnlocked();
  const Device* device = nullptr;
  for (const Device& d : devices_)
    if (d.id == id || (id == 0xFFFFFFFFu && device == nullptr)) device = &d;
  if (device == nullptr) return false;
  const int fd =
      OpenNeeded(NodePath(devRoot_, device->node.adapter, "frontend", device->node.frontend),
                 O_RDWR | O_NONBLOCK);
  if (fd < 0) return false;
  FrontendTraits traits;
  traits.extendedStatistics = ReportsStatistics(fd);
  traits.multistream = (device->feCaps & FE_CAN_MULTISTREAM) != 0;
  traits.remoteControl = FindRemoteControl(sysRoot_, device->node).has_value();
  fd_ = fd;
  started_ = *device;
  caps_ = CapsFor(device->family, traits);
  return true;
}

bool Card::Stop() {
  std::vector<std::unique_ptr<Filter>> filters;
  std::lock_guard<std::mutex> lock(mutex_);
  filters = TakeFilters();
  CloseUnlocked();
  return true;
}

bool Card::StartedId(uint32_t& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_) return false;
  id = started_->id;
  return true;
}

bool Card::TunerType(uint32_t& type) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_) return false;
  type = started_->tunerType;
  return true;
}

uint32_t Card::Caps() {
  std::lock_guard<std::mutex> lock(mutex_);
  return started_ ? caps_ : 0;
}

bool Card::Tune(const TuneArgs& r) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_) return false;
  return TuneUnlocked(r);
}

bool Card::TuneUnlocked(const TuneArgs& r) {
  const std::vector<uint32_t> systems =
      CandidateSystems(started_->family, started_->delsys, r, streamId_);
  if (systems.empty()) return false;
  const std::optional<std::vector<Property>> p =
      TunePropertiesFor(started_->family, systems.front(), r, streamId_);
  if (!p || !SetProperties(fd_, *p)) return false;
  lastTune_ = r;
  candidates_ = systems;
  candidate_ = 0;
  searching_ = systems.size() > 1;
  candidateSince_ = Clock::now();
  ber_.Reset();
  if (Satellite()) {
    const std::optional<LnbControl> lnb = SatelliteLnb(r);
    horizontal_ = lnb->horizontal;
    selected_ = {lnb->horizontal, lnb->highBand};
  }
  return true;
}

bool Card::ApplyCandidate(size_t index) {
  const std::optional<std::vector<Property>> p =
      TunePropertiesFor(started_->family, candidates_[index], *lastTune_, streamId_);
  return p && SetProperties(fd_, *p);
}

void Card::Search(bool locked) {
  if (!searching_) return;
  if (locked) {
    searching_ = false;  // this system carries the multiplex: it stays
    return;
  }
  if (Clock::now() - candidateSince_ < SearchTime(candidates_[candidate_])) return;
  candidate_ = (candidate_ + 1) % candidates_.size();
  candidateSince_ = Clock::now();
  ber_.Reset();
  ApplyCandidate(candidate_);
}

bool Card::SelectStream(bool enable, uint32_t streamId) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_) return false;
  if (enable && (started_->feCaps & FE_CAN_MULTISTREAM) == 0) return false;
  const uint32_t previous = streamId_;
  streamId_ = enable ? streamId : NO_STREAM_ID_FILTER;
  if (!lastTune_) return true;  // takes effect at the next tune
  // A stream id can change the systems to try (a PLP is DVB-T2's): tuned afresh.
  if (!TuneUnlocked(*lastTune_)) {
    streamId_ = previous;
    return false;
  }
  return true;
}

bool Card::Signal(SignalFigures& f) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_) return false;
  const std::optional<SignalReading> r = ReadSignal(fd_);
  if (!r) return false;
  f = Figures(*r);
  f.ber = ber_.Next(CountsOf(*r));
  Search(f.lock);
  return true;
}

bool Card::Satellite() const { return started_ && started_->family == Family::Satellite; }

bool Card::Transfer(const std::optional<LnbLines>& selects, const std::function<bool()>& send) {
  if (!Satellite()) return false;
  // After a tune the bus keeps the tune's lines; before one, the command decides.
  if (!lastTune_ && selects) selected_ = *selects;
  // Switches on the bus need their supply before the first transfer, and the supply
  // the LNB behind them is to see.
  if (horizontal_ != selected_.horizontal) {
    if (!SetVoltage(fd_, selected_.horizontal)) return false;
    horizontal_ = selected_.horizontal;
  }
  if (!SetTone(fd_, false)) return false;
  SettleBus();
  const bool sent = send();
  SettleBus();
  if (lastTune_) return ApplyCandidate(candidate_) && sent;
  return (!selected_.toneOn || SetTone(fd_, true)) && sent;
}

bool Card::Burst(bool burstB) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Transfer(std::nullopt, [&] { return SendBurst(fd_, burstB); });
}

bool Card::MasterCommand(const uint8_t* bytes, uint32_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (length < 3 || length > 6) return false;
  return Transfer(CommittedLines(bytes, length, selected_),
                  [&] { return SendMasterCommand(fd_, bytes, length); });
}

bool Card::MasterCommandWithReply(const uint8_t* bytes, uint32_t length,
                                  std::vector<uint8_t>& reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (length < 3 || length > 6) return false;
  return Transfer(CommittedLines(bytes, length, selected_), [&] {
    return SendMasterCommand(fd_, bytes, length) && ReceiveReply(fd_, reply);
  });
}

bool Card::AddTsFilter(uint32_t pid, TsPump::Deliver deliver, int32_t& number) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_ || pid > 0x2000) return false;
  // A demux per frontend where the adapter has one, else the adapter's first.
  const uint32_t adapter = started_->node.adapter;
  std::string path = NodePath(devRoot_, adapter, "demux", started_->node.frontend);
  if (!std::filesystem::exists(path)) path = NodePath(devRoot_, adapter, "demux", 0);
  auto filter = std::make_unique<Filter>();
  filter->fd = OpenNeeded(path, O_RDWR | O_NONBLOCK);
  if (filter->fd < 0) return false;
  // Each filter reads its own packets from its own descriptor (the demux tap),
  // so two filters never share the adapter's single dvr stream. PID 0x2000
  // is the kernel's whole transport stream.
  if (!Control(filter->fd, DMX_SET_BUFFER_SIZE, reinterpret_cast<const void*>(kDemuxBufferBytes),
               "DMX_SET_BUFFER_SIZE"))
    return false;
  dmx_pes_filter_params params{};
  params.pid = static_cast<uint16_t>(pid);
  params.input = DMX_IN_FRONTEND;
  params.output = DMX_OUT_TSDEMUX_TAP;
  params.pes_type = DMX_PES_OTHER;
  params.flags = DMX_IMMEDIATE_START;
  if (!Control(filter->fd, DMX_SET_PES_FILTER, &params, "DMX_SET_PES_FILTER")) return false;
  if (!filter->ts.Start(filter->fd, std::move(deliver))) return false;
  number = nextFilter_++;
  filters_.emplace(number, std::move(filter));
  return true;
}

bool Card::AddRcFilter(RcType type, uint32_t deviceFilter, RcPump::Deliver deliver,
                       int32_t& number) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!started_) return false;
  const std::optional<RcNode> node = FindRemoteControl(sysRoot_, started_->node);
  if (!node) return false;
  auto filter = std::make_unique<Filter>();
  filter->fd = OpenNeeded(node->path, O_RDONLY | O_NONBLOCK);
  if (filter->fd < 0) return false;
  if (node->lirc) {
    unsigned int mode = LIRC_MODE_SCANCODE;
    if (!Control(filter->fd, LIRC_SET_REC_MODE, &mode, "LIRC_SET_REC_MODE")) return false;
  }
  if (!filter->rc.Start(filter->fd, node->lirc ? RcSource::Lirc : RcSource::InputEvents,
                        node->protocol, type, deviceFilter, std::move(deliver)))
    return false;
  number = nextFilter_++;
  filters_.emplace(number, std::move(filter));
  return true;
}

bool Card::DeleteFilter(int32_t number) {
  std::unique_ptr<Filter> filter;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = filters_.find(number);
    if (it == filters_.end()) return false;
    filter = std::move(it->second);
    filters_.erase(it);
  }
  // Joined outside the lock: a callback that is running may be waiting for
  // the program, and the program may be calling in here meanwhile.
  filter.reset();
  return true;
}

std::vector<std::unique_ptr<Card::Filter>> Card::TakeFilters() {
  std::vector<std::unique_ptr<Filter>> out;
  for (auto& [number, filter] : filters_) out.push_back(std::move(filter));
  filters_.clear();
  return out;
}

void Card::CloseUnlocked() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  started_.reset();
  caps_ = 0;
  horizontal_.reset();
  selected_ = LnbLines{};
  lastTune_.reset();
  candidates_.clear();
  searching_ = false;
  ber_.Reset();
  streamId_ = NO_STREAM_ID_FILTER;
}

Card& TheCard() {
  static Card card("/dev/dvb", "/sys");
  return card;
}

}  // namespace ldvb
