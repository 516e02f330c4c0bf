// The stream-health counter's own cost per buffer, on the virtual card's
// whole stream (three services at 61 Mbit/s) in buffers of 1,316 and 96,256
// bytes, beside baselines over the same buffers in the same run: a memcpy of
// each buffer, a loop that reads only each packet's sync byte, and a write()
// of each buffer to /dev/null (the system call the capture path makes per
// buffer). The counter runs on the clean stream and on one damaged as the
// card can damage it (a packet in 50 cut, one in 50 flagged), so the resync
// path is paid for too. A run passes over the stream until it has seen 256
// MiB; median of five runs; nothing is timed against a limit. The default
// stream (4 MiB) stays in the last-level cache, as a buffer the card has just
// filled does; a larger one shows the cost from memory.
//
//   qv_bench_ts_health [MIB]    MiB of stream (default 4)
#include "capture/ts_health.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "ts_damage.h"
#include "ts_generator.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> MakeStream(size_t bytes, const std::vector<qvsim::StreamDamageRule>& rules) {
  qvsim::LockedCarrier carrier;
  carrier.usefulBitrate = 61000000;
  carrier.services = {{1101, "Virtual One HD"}, {1102, "Virtual Two HD"}, {1103, "Kids HD"}};
  qvsim::TsGenerator generator(qvsim::planFor(carrier));
  qvsim::StreamDamage damage(rules, carrier.usefulBitrate);
  std::vector<uint8_t> out(bytes + qvsim::kTsPacketSize);
  size_t used = 0;
  while (used < bytes) {
    const uint64_t position = generator.position();
    const uint16_t pid = generator.next(out.data() + used);
    used += damage.apply(position, pid, out.data() + used);
  }
  out.resize(bytes);
  return out;
}

// Nanoseconds per buffer of `each` over the stream in buffers of `size`,
// passing over the stream until a run has seen kRunBytes; median of five
// runs; `before` runs untimed ahead of each.
constexpr size_t kRunBytes = size_t{256} << 20;
double PerBuffer(
    const std::vector<uint8_t>& stream, size_t size,
    const std::function<void(const uint8_t*, size_t)>& each,
    const std::function<void()>& before = [] {}) {
  const size_t buffers = stream.size() / size;
  const size_t passes = std::max<size_t>(1, kRunBytes / stream.size());
  std::vector<double> runs;
  for (int run = 0; run < 5; ++run) {
    before();
    const Clock::time_point start = Clock::now();
    for (size_t pass = 0; pass < passes; ++pass) {
      for (size_t i = 0; i < buffers; ++i) each(stream.data() + i * size, size);
    }
    runs.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                   static_cast<double>(buffers * passes));
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const size_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 4;
  if (mib == 0) {
    std::fprintf(stderr, "usage: qv_bench_ts_health [MIB]\n");
    return 2;
  }
  using Kind = qvsim::StreamDamageRule::Kind;
  const std::vector<uint8_t> clean = MakeStream(mib << 20, {});
  const std::vector<uint8_t> damaged = MakeStream(
      mib << 20, {{Kind::Cut, 8192, 50, 0, 0, 0, {}}, {Kind::Tei, 8192, 50, 0, 0, 0, {}}});
  const auto counter = std::make_unique<TsHealthCounter>();
  std::vector<uint8_t> copy(96256);
  const int devNull = ::open("/dev/null", O_WRONLY);
  if (devNull < 0) {
    std::perror("/dev/null");
    return 1;
  }
  volatile uint64_t sink = 0;

  std::printf("stream-health counter over %zu MiB of the virtual card's stream, per buffer:\n",
              mib);
  for (const size_t size : {size_t{1316}, size_t{96256}}) {
    const double memcpyNs = PerBuffer(clean, size, [&](const uint8_t* p, size_t n) {
      std::memcpy(copy.data(), p, n);
      sink = sink + copy[n - 1];
    });
    const double loopNs = PerBuffer(clean, size, [&](const uint8_t* p, size_t n) {
      uint64_t syncs = 0;
      for (size_t at = 0; at < n; at += 188) syncs += p[at] == 0x47;
      sink = sink + syncs;
    });
    const double writeNs = PerBuffer(clean, size, [&](const uint8_t* p, size_t n) {
      if (::write(devNull, p, n) != static_cast<ssize_t>(n)) std::abort();
    });
    const auto feed = [&](const uint8_t* p, size_t n) { counter->Feed(p, n); };
    const auto restart = [&] { counter->Restart(); };
    const double cleanNs = PerBuffer(clean, size, feed, restart);
    const double damagedNs = PerBuffer(damaged, size, feed, restart);
    // What one pass over each stream counts.
    const auto once = [&](const std::vector<uint8_t>& stream) {
      counter->Restart();
      for (size_t at = 0; at + size <= stream.size(); at += size) counter->Feed(&stream[at], size);
      return counter->Snapshot();
    };
    const TsHealthTotals c = once(clean), d = once(damaged);

    std::printf("buffers of %6zu bytes (%zu packets):\n", size, size / 188);
    std::printf("  memcpy %9.0f ns   sync-byte loop %8.0f ns   write() to /dev/null %8.0f ns\n",
                memcpyNs, loopNs, writeNs);
    std::printf("  counter, clean stream   %8.0f ns per buffer = %.2fx memcpy, %.2fx write()\n",
                cleanNs, cleanNs / memcpyNs, cleanNs / writeNs);
    std::printf("  counter, damaged stream %8.0f ns per buffer = %.2fx memcpy, %.2fx write()\n",
                damagedNs, damagedNs / memcpyNs, damagedNs / writeNs);
    std::printf("  counted: clean %llu cc errors; damaged %llu sync losses, %llu tei packets\n",
                static_cast<unsigned long long>(c.ccErrors),
                static_cast<unsigned long long>(d.syncLosses),
                static_cast<unsigned long long>(d.teiPackets));
  }
  ::close(devNull);
  return 0;
}
