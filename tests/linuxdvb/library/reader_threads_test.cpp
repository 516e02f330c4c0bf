// The reader threads over pipes: the stream reaches the callback in whole
// packets and in order however the kernel splits it, codes are filtered, no
// callback runs once Stop() has returned, and a descriptor that ends (as a
// removed card's do) ends the reading at once and is let go.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/input.h>
#include <linux/lirc.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
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
        std::this_thread::yield();  // the pipe is full until the reader drains it
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

// Guards against packets cut or reordered at the demux's short reads.
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
    if (i % 16 == 0) std::this_thread::yield();  // let the reader see short reads
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

// Guards against callbacks after Stop() and a thread that sleeps through it.
TEST(TsPump, NothingIsDeliveredAfterStopReturnsAndAnIdleStreamStops) {
  Pipe pipe;
  Sink sink;
  std::atomic<bool> stopped{false};
  std::atomic<int> late{0};
  TsPump pump;
  ASSERT_TRUE(pump.Start(pipe.r, [&](const uint8_t* d, uint32_t n) {
    if (stopped) ++late;
    sink.Add(d, n);
  }));
  std::atomic<bool> writing{true};
  std::thread writer([&] {
    const std::vector<uint8_t> packet = Packets(1);
    while (writing) {
      if (write(pipe.w, packet.data(), packet.size()) < 0) std::this_thread::yield();
    }
  });
  ASSERT_TRUE(sink.WaitFor(20 * 188));
  pump.Stop();
  stopped = true;
  writing = false;
  writer.join();
  EXPECT_EQ(late, 0);
  pump.Stop();  // a second stop is harmless

  Pipe idle;
  ASSERT_TRUE(pump.Start(idle.r, [](const uint8_t*, uint32_t) {}));
  const auto start = std::chrono::steady_clock::now();
  pump.Stop();
  // Generous: only a thread that never wakes would take this long.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// Whether fd has become /dev/null (the reader let its file go), within 5 s.
bool LetGo(int fd) {
  for (int i = 0; i < 500; ++i) {
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Guards against a reader that spins on a descriptor that has ended, keeps a
// removed card's file open (its removal waits for that), or cannot say why it
// stopped delivering.
TEST(TsPump, ADescriptorThatEndsEndsTheReadingAndIsLetGo) {
  const std::vector<uint8_t> packets = Packets(3);
  struct Case {
    const char* what;
    std::function<int()> open;  // the descriptor to read, set up to end after `bytes`
    size_t bytes;
    const char* ended;
  } cases[] = {
      {"a file: 3 packets and a partial one, then its end",
       [&] {
         char path[] = "/tmp/qv_ts_end_XXXXXX";
         const int fd = mkstemp(path);
         unlink(path);
         EXPECT_EQ(write(fd, packets.data(), packets.size()), 564);
         EXPECT_EQ(write(fd, packets.data(), 100), 100);
         lseek(fd, 0, SEEK_SET);
         return fd;
       },
       564, "end of data"},
      {"a pipe whose writer leaves after 2 packets",
       [&] {
         int p[2];
         EXPECT_EQ(pipe2(p, O_NONBLOCK | O_CLOEXEC), 0);
         EXPECT_EQ(write(p[1], packets.data(), 376), 376);
         close(p[1]);
         return p[0];
       },
       376, "POLLHUP"},
      {"a read that fails for good", [] { return open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC); },
       0, "read failed: Is a directory"},
      {"an error without data (as a removed demux reports)",
       [] {
         int p[2];
         EXPECT_EQ(pipe2(p, O_NONBLOCK | O_CLOEXEC), 0);
         close(p[0]);
         return p[1];
       },
       0, "POLLERR without data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int fd = c.open();
    ASSERT_GE(fd, 0);
    std::atomic<size_t> delivered{0};
    TsPump pump;
    ASSERT_TRUE(pump.Start(fd, [&](const uint8_t*, uint32_t n) { delivered += n; }));
    EXPECT_TRUE(LetGo(fd));
    pump.Stop();
    EXPECT_EQ(delivered, c.bytes);
    EXPECT_EQ(pump.Ended(), c.ended);
    close(fd);
  }
}

// Guards against a busy loop: a demux whose card is gone answers every poll
// with POLLERR alone while its read finds nothing to read.
TEST(ReaderThread, AnErrorWithoutDataIsNotHandedToTheHandler) {
  int p[2];
  ASSERT_EQ(pipe2(p, O_NONBLOCK | O_CLOEXEC), 0);
  close(p[0]);
  std::atomic<int> calls{0};
  ReaderThread reader;
  ASSERT_TRUE(reader.Start(p[1], [&](int) {
    ++calls;
    return kGoOn;  // what a read that finds nothing answers
  }));
  EXPECT_TRUE(LetGo(p[1]));
  reader.Stop();
  EXPECT_EQ(calls, 0);
  // A stop that ends the reading is no end of the descriptor.
  Pipe idle;
  ASSERT_TRUE(reader.Start(idle.r, [](int) { return kGoOn; }));
  reader.Stop();
  EXPECT_EQ(reader.Ended(), "");
  close(p[1]);
}

lirc_scancode Lirc(uint32_t proto, uint64_t scancode, bool toggle) {
  lirc_scancode s{};
  s.rc_proto = proto, s.scancode = scancode;
  s.flags = toggle ? LIRC_SCANCODE_FLAG_TOGGLE : 0;
  return s;
}

input_event Event(uint16_t type, uint16_t code, int32_t value) {
  input_event e{};
  e.type = type, e.code = code, e.value = value;
  return e;
}

template <class T>
std::vector<uint8_t> Bytes(std::initializer_list<T> records) {
  std::vector<uint8_t> out;
  for (const T& r : records) {
    const auto* p = reinterpret_cast<const uint8_t*>(&r);
    out.insert(out.end(), p, p + sizeof r);
  }
  return out;
}

// Each code as the callback received it: RAW gives its bytes, RC5 its
// 16-bit code word (written here most significant byte first).
std::vector<std::vector<uint8_t>> ReadCodes(RcSource source, uint32_t protocol, RcType type,
                                            uint32_t filter, const std::vector<uint8_t>& input,
                                            size_t expected) {
  Pipe pipe;
  std::mutex m;
  std::condition_variable cv;
  std::vector<std::vector<uint8_t>> got;
  RcPump pump;
  EXPECT_TRUE(pump.Start(pipe.r, source, protocol, type, filter, [&](const void* c, uint32_t k) {
    const auto* p = static_cast<const uint8_t*>(c);
    uint16_t w = 0;
    if (type != RcType::Raw) std::memcpy(&w, c, sizeof w);
    std::lock_guard<std::mutex> lock(m);
    if (type == RcType::Raw) {
      got.emplace_back(p, p + k);
    } else {
      got.push_back({static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w)});
    }
    cv.notify_all();
  }));
  pipe.Write(input.data(), input.size());
  // A sentinel code that every case passes: once it arrives, all before it has.
  const auto sentinel = source == RcSource::Lirc ? Bytes({Lirc(RC_PROTO_RC5, 0x0501, false)})
                                                 : Bytes({Event(EV_MSC, MSC_SCAN, 0x0501)});
  pipe.Write(sentinel.data(), sentinel.size());
  std::unique_lock<std::mutex> lock(m);
  EXPECT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return got.size() > expected; }));
  lock.unlock();
  pump.Stop();
  got.pop_back();
  return got;
}

// Guards against codes of other protocols or addresses passing, or misshaped.
TEST(RcPump, CodesAreFilteredAndShapedPerType) {
  using V = std::vector<std::vector<uint8_t>>;
  EXPECT_EQ(ReadCodes(RcSource::Lirc, 0, RcType::Rc5, 0x0005,
                      Bytes({Lirc(RC_PROTO_RC5, 0x0701, false), Lirc(RC_PROTO_RC5, 0x050C, true),
                             Lirc(RC_PROTO_NEC, 0x050C, false), Lirc(RC_PROTO_RC5, 0x050D, false)}),
                      2),
            (V{{0x39, 0x4C}, {0x31, 0x4D}}));
  EXPECT_EQ(
      ReadCodes(RcSource::Lirc, 0, RcType::Raw, 0xFFFF,
                Bytes({Lirc(RC_PROTO_RC5, 0x050C, false), Lirc(RC_PROTO_NEC, 0x01FF12, false)}), 2),
      (V{{0x05, 0x0C}, {0x01, 0xFF, 0x12}}));
  EXPECT_EQ(ReadCodes(RcSource::InputEvents, RC_PROTO_RC5, RcType::Rc5, 0xFFFF,
                      Bytes({Event(EV_MSC, MSC_SCAN, 0x0A21), Event(EV_KEY, KEY_1, 1),
                             Event(EV_SYN, 0, 0), Event(EV_MSC, MSC_SCAN, 0x1F3F)}),
                      2),
            (V{{0x32, 0xA1}, {0x37, 0xFF}}));
}

}  // namespace
}  // namespace ldvb
