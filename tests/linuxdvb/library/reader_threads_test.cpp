// The reader threads over pipes: the stream reaches the callback in whole
// packets and in order however the kernel splits it, codes are filtered, and
// no callback runs once Stop() has returned.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <linux/lirc.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "rc_pump.h"
#include "ts_pump.h"

namespace ldvb {
namespace {

struct Pipe {
  int r = -1, w = -1;
  Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) r = fds[0], w = fds[1];
  }
  ~Pipe() {
    if (r >= 0) close(r);
    if (w >= 0) close(w);
  }
  void Write(const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
      const ssize_t k = write(w, p, n);
      if (k < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      p += k, n -= static_cast<size_t>(k);
    }
  }
};

// Collects deliveries and lets the test wait for a byte count.
struct Sink {
  std::mutex m;
  std::condition_variable cv;
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> lengths;
  void Add(const uint8_t* d, uint32_t n) {
    std::lock_guard<std::mutex> lock(m);
    bytes.insert(bytes.end(), d, d + n);
    lengths.push_back(n);
    cv.notify_all();
  }
  bool WaitFor(size_t n) {
    std::unique_lock<std::mutex> lock(m);
    return cv.wait_for(lock, std::chrono::seconds(10), [&] { return bytes.size() >= n; });
  }
};

std::vector<uint8_t> Packets(size_t count) {
  std::vector<uint8_t> out(count * 188);
  for (size_t i = 0; i < count; ++i) {
    out[i * 188] = 0x47;
    for (size_t j = 1; j < 188; ++j) out[i * 188 + j] = static_cast<uint8_t>(i * 7 + j);
  }
  return out;
}

TEST(TsPump, PacketsSplitAcrossReadsArriveWholeAndInOrder) {
  Pipe pipe;
  ASSERT_GE(pipe.r, 0);
  Sink sink;
  TsPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, [&](const uint8_t* d, uint32_t n) { sink.Add(d, n); }));
  const std::vector<uint8_t> stream = Packets(3000);
  // Chunks that cut packets anywhere, as a short read of the demux may.
  const size_t chunks[] = {1, 187, 189, 100, 376, 5000, 1, 4096, 77};
  size_t at = 0;
  for (size_t i = 0; at < stream.size(); ++i) {
    const size_t n = std::min(chunks[i % std::size(chunks)], stream.size() - at);
    pipe.Write(stream.data() + at, n);
    at += n;
    if (i % 16 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(sink.WaitFor(stream.size()));
  pump.Stop();
  std::lock_guard<std::mutex> lock(sink.m);
  EXPECT_EQ(sink.bytes, stream);
  for (uint32_t n : sink.lengths) {
    EXPECT_EQ(n % 188, 0u);
    EXPECT_LE(n, kTsReadBytes);
  }
}

TEST(TsPump, NothingIsDeliveredAfterStopReturns) {
  Pipe pipe;
  std::atomic<int> calls{0};
  std::atomic<bool> stopped{false};
  std::atomic<int> late{0};
  TsPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, [&](const uint8_t*, uint32_t) {
    if (stopped) ++late;
    ++calls;
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  }));
  std::atomic<bool> writing{true};
  std::thread writer([&] {
    const std::vector<uint8_t> packet = Packets(1);
    while (writing) {
      if (write(pipe.w, packet.data(), packet.size()) < 0)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  });
  while (calls < 20) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  pump.Stop();
  stopped = true;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  writing = false;
  writer.join();
  EXPECT_EQ(late, 0);
  pump.Stop();  // a second stop is harmless
}

TEST(TsPump, AnIdleStreamStopsAtOnce) {
  Pipe pipe;
  TsPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, [](const uint8_t*, uint32_t) {}));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const auto start = std::chrono::steady_clock::now();
  pump.Stop();
  // Generous: only a thread that never wakes would take this long.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

struct Codes {
  std::mutex m;
  std::condition_variable cv;
  std::vector<std::vector<uint8_t>> raw;
  std::vector<uint16_t> words;
  void Add(const void* code, uint32_t countOrKind, bool rawType) {
    std::lock_guard<std::mutex> lock(m);
    const uint8_t* p = static_cast<const uint8_t*>(code);
    if (rawType) {
      raw.emplace_back(p, p + countOrKind);
    } else if (countOrKind == 2) {
      uint16_t w;
      std::memcpy(&w, code, 2);
      words.push_back(w);
    }
    cv.notify_all();
  }
  bool WaitFor(size_t n) {
    std::unique_lock<std::mutex> lock(m);
    return cv.wait_for(lock, std::chrono::seconds(10),
                       [&] { return raw.size() + words.size() >= n; });
  }
};

lirc_scancode Lirc(uint32_t proto, uint64_t scancode, bool toggle) {
  lirc_scancode s{};
  s.rc_proto = proto, s.scancode = scancode;
  s.flags = toggle ? LIRC_SCANCODE_FLAG_TOGGLE : 0;
  return s;
}

TEST(RcPump, Rc5CodesPassTheDeviceFilterAsCodeWords) {
  Pipe pipe;
  Codes codes;
  RcPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, RcSource::Lirc, 0, RcType::Rc5, 0x0005,
                         [&](const void* c, uint32_t k) { codes.Add(c, k, false); }));
  const lirc_scancode sent[] = {Lirc(RC_PROTO_RC5, 0x0701, false), Lirc(RC_PROTO_RC5, 0x050C, true),
                                Lirc(RC_PROTO_NEC, 0x050C, false),
                                Lirc(RC_PROTO_RC5, 0x050D, false)};
  pipe.Write(sent, sizeof sent);
  ASSERT_TRUE(codes.WaitFor(2));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  pump.Stop();
  EXPECT_EQ(codes.words, (std::vector<uint16_t>{0x394C, 0x314D}));
}

TEST(RcPump, RawCodesAreTheScancodeBytesOfEveryProtocol) {
  Pipe pipe;
  Codes codes;
  RcPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, RcSource::Lirc, 0, RcType::Raw, 0xFFFF,
                         [&](const void* c, uint32_t k) { codes.Add(c, k, true); }));
  const lirc_scancode sent[] = {Lirc(RC_PROTO_RC5, 0x050C, false),
                                Lirc(RC_PROTO_NEC, 0x01FF12, false)};
  pipe.Write(sent, sizeof sent);
  ASSERT_TRUE(codes.WaitFor(2));
  pump.Stop();
  ASSERT_EQ(codes.raw.size(), 2u);
  EXPECT_EQ(codes.raw[0], (std::vector<uint8_t>{0x05, 0x0C}));
  EXPECT_EQ(codes.raw[1], (std::vector<uint8_t>{0x01, 0xFF, 0x12}));
}

TEST(RcPump, InputEventsGiveScancodesWithoutToggle) {
  Pipe pipe;
  Codes codes;
  RcPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, RcSource::InputEvents, RC_PROTO_RC5, RcType::Rc5, 0xFFFF,
                         [&](const void* c, uint32_t k) { codes.Add(c, k, false); }));
  input_event events[4]{};
  events[0].type = EV_MSC, events[0].code = MSC_SCAN, events[0].value = 0x0A21;
  events[1].type = EV_KEY, events[1].code = KEY_1, events[1].value = 1;
  events[2].type = EV_SYN;
  events[3].type = EV_MSC, events[3].code = MSC_SCAN, events[3].value = 0x1F3F;
  pipe.Write(events, sizeof events);
  ASSERT_TRUE(codes.WaitFor(2));
  pump.Stop();
  EXPECT_EQ(codes.words, (std::vector<uint16_t>{0x32A1, 0x37FF}));
}

}  // namespace
}  // namespace ldvb
