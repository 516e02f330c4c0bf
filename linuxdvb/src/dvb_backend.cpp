// The card as the export layer sees it: each operation handed to the one Card
// of this process. Tracing is on when QUORVEX_DVB_TRACE names a file.
#include <cstdlib>

#include "backend.h"
#include "card.h"

namespace ldvb {
namespace {

class DvbBackend : public qvabi::Backend {
 public:
  DvbBackend() {
    if (const char* path = std::getenv("QUORVEX_DVB_TRACE"); path && *path) trace().open(path);
  }

  bool devices(std::vector<qvabi::DeviceEntry>& list) override {
    return TheCard().Discover([&](const Device& d) {
      list.push_back({d.id, d.name, d.tunerType});
    });
  }
  bool start(uint32_t id, uint32_t& startedId) override {
    return TheCard().Start(id) && TheCard().StartedId(startedId);
  }
  bool stop() override { return TheCard().Stop(); }
  bool tunerType(uint32_t& type) override { return TheCard().TunerType(type); }
  uint32_t caps() override { return TheCard().Caps(); }

  bool tune(const TuneArgs& args, qvabi::TuneGeneration) override { return TheCard().Tune(args); }
  // Stream ids are 8 bits; the mask has no meaning to the kernel.
  bool selectStream(uint32_t enable, uint32_t streamId, uint32_t) override {
    return TheCard().SelectStream(enable != 0, streamId & 0xFFu);
  }
  bool signal(SignalReader, SignalFigures& figures) override { return TheCard().Signal(figures); }

  bool diseqcSimple(uint32_t mode, uint32_t data) override {
    const uint8_t byte = static_cast<uint8_t>(data);
    if (mode == 1) return TheCard().Burst(byte != 0);
    if (mode == 2) {
      // Framing E0 (no reply), any switch (10), write port group 0 (38).
      const uint8_t message[4] = {0xE0, 0x10, 0x38, byte};
      return TheCard().MasterCommand(message, 4);
    }
    return false;
  }
  bool diseqcSend(const uint8_t* message, uint32_t length) override {
    return TheCard().MasterCommand(message, length);
  }
  bool diseqcExchange(const uint8_t* message, uint32_t length, std::vector<uint8_t>& reply,
                      uint32_t& count) override {
    if (!TheCard().MasterCommandWithReply(message, length, reply)) return false;
    count = static_cast<uint32_t>(reply.size());
    return true;
  }

  bool addTsFilter(uint32_t pid, QvTsDataCallback callback, uint32_t, uint32_t,
                   int32_t& number) override {
    return TheCard().AddTsFilter(
        pid, [callback](const uint8_t* data, uint32_t length) { callback(data, length); }, number);
  }
  bool addRcFilter(uint32_t type, uint32_t deviceFilter, QvRcCallback callback,
                   int32_t& number) override {
    return TheCard().AddRcFilter(
        static_cast<RcType>(type), deviceFilter,
        [callback](const void* code, uint32_t countOrKind) { callback(code, countOrKind); },
        number);
  }
  bool deleteFilter(int32_t number) override { return TheCard().DeleteFilter(number); }
};

}  // namespace
}  // namespace ldvb

namespace qvabi {
Backend& backend() {
  static ldvb::DvbBackend instance;
  return instance;
}
}  // namespace qvabi
