#include "rc_pump.h"

#include <linux/input.h>
#include <linux/lirc.h>
#include <unistd.h>

#include <cerrno>

namespace ldvb {
namespace {

// Reads up to N whole records (lirc and evdev never split one across reads)
// and hands each on; kEndOfData at the end of the data, the errno of a failed read.
template <typename Record, size_t N, typename Each>
int ReadRecords(int fd, Each each) {
  Record records[N];
  const ssize_t n = read(fd, records, sizeof records);
  if (n < 0) return errno == EAGAIN || errno == EINTR ? kGoOn : errno;
  if (n == 0) return kEndOfData;
  for (size_t i = 0; i < static_cast<size_t>(n) / sizeof(Record); ++i) each(records[i]);
  return kGoOn;
}

}  // namespace

bool RcPump::Start(int fd, RcSource source, uint32_t inputProtocol, RcType type,
                   uint32_t deviceFilter, Deliver deliver) {
  source_ = source;
  inputProtocol_ = inputProtocol;
  type_ = type;
  deviceFilter_ = deviceFilter;
  deliver_ = std::move(deliver);
  return thread_.Start(fd, [this](int f) { return OnReadable(f); });
}

void RcPump::OnCode(const Scancode& code) {
  if (type_ == RcType::Raw) {
    const std::vector<uint8_t> bytes = RawBytes(code.scancode);
    deliver_(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return;
  }
  const std::optional<uint16_t> word = Rc5Word(code);
  if (!word || !PassesDeviceFilter(*word, deviceFilter_)) return;
  const uint16_t value = *word;
  deliver_(&value, 2);
}

int RcPump::OnReadable(int fd) {
  if (source_ == RcSource::Lirc) {
    return ReadRecords<lirc_scancode, 16>(fd, [this](const lirc_scancode& r) {
      OnCode({r.rc_proto, r.scancode, (r.flags & LIRC_SCANCODE_FLAG_TOGGLE) != 0});
    });
  }
  return ReadRecords<input_event, 32>(fd, [this](const input_event& e) {
    // Input events carry the scancode but no toggle bit.
    if (e.type == EV_MSC && e.code == MSC_SCAN)
      OnCode({inputProtocol_, static_cast<uint32_t>(e.value), false});
  });
}

}  // namespace ldvb
