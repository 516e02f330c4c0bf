#include "ts_generator.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qvsim {
namespace {

constexpr uint16_t kNetworkId = 0x2000;
constexpr const char* kProvider = "Quorvex Virtual";
constexpr size_t kPatternSlots = 4096;
constexpr size_t kMaxSection = 1024;  // PSI sections are at most 1024 bytes
// Repetition: PAT and PMT every 100 ms, SDT every 500 ms, PCR every 30 ms
// (the standard allows up to 100 ms between PCRs).
constexpr uint64_t kPatMs = 100, kPmtMs = 100, kSdtMs = 500, kPcrMs = 30;
// Share of the multiplex the services fill, in percent; null packets fill
// the rest. Each audio stream carries 192 kbit/s.
constexpr uint64_t kServicePercent = 85;
constexpr uint64_t kAudioBitrate = 192000;
// The multiplex is planned in whole units of this fraction of a packet slot:
// integers give every platform the same packets in the same order (x87 and
// SSE arithmetic break the ties between two streams differently).
constexpr uint64_t kSlotUnit = uint64_t{1} << 32;
constexpr uint32_t kPesEvery = 32;  // packets of an elementary stream per PES packet

const std::array<uint32_t, 256> kCrcTable = [] {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i << 24;
    for (int b = 0; b < 8; ++b) c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : c << 1;
    t[i] = c;
  }
  return t;
}();

// Payload bytes of the elementary streams: a fixed pattern, cheap to copy.
const std::array<uint8_t, kTsPacketSize> kFill = [] {
  std::array<uint8_t, kTsPacketSize> f{};
  uint32_t x = 0x2545F491u;
  for (auto& b : f) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  return f;
}();

void put16(std::vector<uint8_t>& s, uint32_t v) {
  s.push_back(static_cast<uint8_t>(v >> 8));
  s.push_back(static_cast<uint8_t>(v));
}

// Fills in section_length and appends the CRC. `s` starts at table_id.
std::vector<uint8_t> finishSection(std::vector<uint8_t> s) {
  const size_t length = s.size() - 3 + 4;
  s[1] = static_cast<uint8_t>((s[1] & 0xF0) | ((length >> 8) & 0x0F));
  s[2] = static_cast<uint8_t>(length);
  const uint32_t crc = crc32Mpeg2(s.data(), s.size());
  put16(s, crc >> 16);
  put16(s, crc & 0xFFFF);
  return s;
}

// The long-form section header up to and including last_section_number.
std::vector<uint8_t> sectionHead(uint8_t tableId, uint16_t idExtension) {
  std::vector<uint8_t> s = {tableId, 0xB0, 0x00};
  put16(s, idExtension);
  s.push_back(0xC1);  // version 0, current
  s.push_back(0x00);  // section_number
  s.push_back(0x00);  // last_section_number
  return s;
}

// A section as whole packets: pointer_field 0 in the first, 0xFF stuffing
// after the section's end. Continuity counters are set when sent.
std::vector<uint8_t> packetize(uint16_t pid, const std::vector<uint8_t>& section) {
  std::vector<uint8_t> out;
  size_t done = 0;
  bool first = true;
  while (done < section.size() || first) {
    std::array<uint8_t, kTsPacketSize> p;
    p.fill(0xFF);
    p[0] = kTsSync;
    p[1] = static_cast<uint8_t>((first ? 0x40 : 0x00) | ((pid >> 8) & 0x1F));
    p[2] = static_cast<uint8_t>(pid);
    p[3] = 0x10;  // payload only
    size_t at = 4;
    if (first) p[at++] = 0x00;  // pointer_field
    const size_t n = std::min(section.size() - done, kTsPacketSize - at);
    std::memcpy(p.data() + at, section.data() + done, n);
    done += n;
    first = false;
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

uint64_t packetsIn(uint64_t ms, uint64_t bitrate) {
  return std::max<uint64_t>(1, ms * bitrate / (1000 * kTsPacketSize * 8));
}

}  // namespace

uint32_t crc32Mpeg2(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ data[i]) & 0xFF];
  return crc;
}

TsPlan planFor(const LockedCarrier& carrier) {
  TsPlan plan;
  plan.bitrate = carrier.usefulBitrate;
  // Service ids are numbered per transponder (1101, 1102 ...), so the first
  // one tells the transport streams apart.
  plan.transportStreamId =
      carrier.services.empty() ? 1 : static_cast<uint16_t>(carrier.services.front().serviceId / 10);
  plan.originalNetworkId = kNetworkId;
  uint16_t base = 0x0100;
  for (const Service& s : carrier.services) {
    TsProgram p;
    p.programNumber = s.serviceId;
    p.name = s.name;
    p.pmtPid = base;
    p.videoPid = static_cast<uint16_t>(base + 1);
    p.audioPid = static_cast<uint16_t>(base + 2);
    plan.programs.push_back(p);
    base = static_cast<uint16_t>(base + 0x10);
  }
  return plan;
}

std::vector<uint8_t> patSection(const TsPlan& plan) {
  std::vector<uint8_t> s = sectionHead(0x00, plan.transportStreamId);
  for (const TsProgram& p : plan.programs) {
    put16(s, p.programNumber);
    put16(s, 0xE000u | p.pmtPid);
  }
  return finishSection(std::move(s));
}

std::vector<uint8_t> pmtSection(const TsPlan& plan, size_t program) {
  const TsProgram& p = plan.programs.at(program);
  std::vector<uint8_t> s = sectionHead(0x02, p.programNumber);
  put16(s, 0xE000u | p.videoPid);  // PCR_PID
  put16(s, 0xF000u);               // no program descriptors
  s.push_back(0x02);               // MPEG-2 video
  put16(s, 0xE000u | p.videoPid);
  put16(s, 0xF000u);
  s.push_back(0x04);  // MPEG-2 audio
  put16(s, 0xE000u | p.audioPid);
  put16(s, 0xF000u);
  return finishSection(std::move(s));
}

std::vector<uint8_t> sdtSection(const TsPlan& plan) {
  std::vector<uint8_t> s = sectionHead(0x42, plan.transportStreamId);
  put16(s, plan.originalNetworkId);
  s.push_back(0xFF);  // reserved_future_use
  const size_t provider = std::strlen(kProvider);
  for (const TsProgram& p : plan.programs) {
    const size_t name = std::min<size_t>(p.name.size(), 200);
    const size_t descriptor = 2 + 3 + provider + name;
    // A section that would outgrow its limit lists fewer services.
    if (s.size() + 5 + descriptor + 4 > kMaxSection) break;
    put16(s, p.programNumber);
    s.push_back(0xFC);                         // no EIT
    put16(s, 0x8000u | (descriptor & 0xFFF));  // running, not scrambled
    s.push_back(0x48);                         // service_descriptor
    s.push_back(static_cast<uint8_t>(descriptor - 2));
    s.push_back(0x01);  // digital television service
    s.push_back(static_cast<uint8_t>(provider));
    s.insert(s.end(), kProvider, kProvider + provider);
    s.push_back(static_cast<uint8_t>(name));
    s.insert(s.end(), p.name.begin(), p.name.begin() + static_cast<std::ptrdiff_t>(name));
  }
  return finishSection(std::move(s));
}

TsGenerator::TsGenerator(TsPlan plan) : plan_(std::move(plan)) {
  const uint64_t bitrate = std::max<uint64_t>(plan_.bitrate, kTsPacketSize * 8);
  plan_.bitrate = bitrate;
  pcrInterval_ = packetsIn(kPcrMs, bitrate);

  // Tables, their first copies staggered over the first packets.
  tables_.push_back(
      {kPatPid, packetize(kPatPid, patSection(plan_)), packetsIn(kPatMs, bitrate), 0});
  for (size_t i = 0; i < plan_.programs.size(); ++i) {
    const uint16_t pid = plan_.programs[i].pmtPid;
    tables_.push_back(
        {pid, packetize(pid, pmtSection(plan_, i)), packetsIn(kPmtMs, bitrate), 1 + i});
  }
  tables_.push_back({kSdtPid, packetize(kSdtPid, sdtSection(plan_)), packetsIn(kSdtMs, bitrate),
                     1 + plan_.programs.size()});
  nextTableDue_ = 0;

  // Elementary streams and their shares of the packet slots.
  std::vector<uint64_t> share;
  if (!plan_.programs.empty()) {
    const uint64_t perProgram = kServicePercent * kSlotUnit / (100 * plan_.programs.size());
    const uint64_t audio = std::min(perProgram / 8, kAudioBitrate * kSlotUnit / bitrate);
    for (const TsProgram& p : plan_.programs) {
      streams_.push_back({p.videoPid, 0xE0, true});
      share.push_back(perProgram - audio);
      streams_.push_back({p.audioPid, 0xC0, false});
      share.push_back(audio);
    }
  }
  // Each slot goes to the stream furthest behind its share, once it is owed
  // a whole packet; slots nobody is owed carry null packets.
  pattern_.resize(kPatternSlots, -1);
  std::vector<uint64_t> credit(streams_.size(), 0);
  for (auto& slot : pattern_) {
    int16_t best = -1;
    for (size_t k = 0; k < streams_.size(); ++k) {
      credit[k] += share[k];
      if (credit[k] >= kSlotUnit && (best < 0 || credit[k] > credit[static_cast<size_t>(best)])) {
        best = static_cast<int16_t>(k);
      }
    }
    if (best >= 0) credit[static_cast<size_t>(best)] -= kSlotUnit;
    slot = best;
  }
}

uint64_t TsGenerator::pcrAt(uint64_t byteOffset) const {
  // 27 MHz clock ticks at which the byte leaves the multiplexer, without
  // overflowing: whole seconds and the rest apart.
  const uint64_t bits = byteOffset * 8;
  return bits / plan_.bitrate * 27000000u + bits % plan_.bitrate * 27000000u / plan_.bitrate;
}

void TsGenerator::writeTable(Table& t, uint8_t* out) {
  std::memcpy(out, t.packets.data() + t.part * kTsPacketSize, kTsPacketSize);
  out[3] = static_cast<uint8_t>(0x10 | t.cc);
  t.cc = static_cast<uint8_t>((t.cc + 1) & 0x0F);
  if (++t.part * kTsPacketSize == t.packets.size()) {
    t.part = 0;
    t.due += t.interval;
  }
}

void TsGenerator::writeElementary(Elementary& e, uint8_t* out) {
  const bool pesStart = e.sent % kPesEvery == 0;
  const bool pcr = e.carriesPcr && n_ >= e.pcrDue;
  out[0] = kTsSync;
  out[1] = static_cast<uint8_t>((pesStart ? 0x40 : 0x00) | ((e.pid >> 8) & 0x1F));
  out[2] = static_cast<uint8_t>(e.pid);
  out[3] = static_cast<uint8_t>((pcr ? 0x30 : 0x10) | e.cc);
  size_t at = 4;
  if (pcr) {
    // Adaptation field: length 7, PCR flag, the PCR of its last base byte.
    const uint64_t ticks = pcrAt(n_ * kTsPacketSize + 10);
    const uint64_t base = (ticks / 300) & ((uint64_t{1} << 33) - 1);
    const uint32_t ext = static_cast<uint32_t>(ticks % 300);
    out[4] = 7;
    out[5] = 0x10;
    out[6] = static_cast<uint8_t>(base >> 25);
    out[7] = static_cast<uint8_t>(base >> 17);
    out[8] = static_cast<uint8_t>(base >> 9);
    out[9] = static_cast<uint8_t>(base >> 1);
    out[10] = static_cast<uint8_t>(((base & 1) << 7) | 0x7E | (ext >> 8));
    out[11] = static_cast<uint8_t>(ext);
    at = 12;
    e.pcrDue = n_ + pcrInterval_;
  }
  std::memcpy(out + at, kFill.data(), kTsPacketSize - at);
  if (pesStart) {
    // PES header without PTS; the length is left open, as for video.
    const uint8_t pes[9] = {0x00, 0x00, 0x01, e.streamId, 0x00, 0x00, 0x80, 0x00, 0x00};
    std::memcpy(out + at, pes, sizeof pes);
  }
  e.cc = static_cast<uint8_t>((e.cc + 1) & 0x0F);
  ++e.sent;
}

uint16_t TsGenerator::next(uint8_t* out) {
  uint16_t pid = kNullPid;
  bool done = false;
  if (n_ >= nextTableDue_) {
    for (Table& t : tables_) {
      if (t.due <= n_) {
        pid = t.pid;
        writeTable(t, out);
        done = true;
        break;
      }
    }
    nextTableDue_ = UINT64_MAX;
    for (const Table& t : tables_) nextTableDue_ = std::min(nextTableDue_, t.due);
  }
  if (!done) {
    const int16_t slot = pattern_[n_ % kPatternSlots];
    if (slot >= 0) {
      Elementary& e = streams_[static_cast<size_t>(slot)];
      pid = e.pid;
      writeElementary(e, out);
    } else {
      static const std::array<uint8_t, kTsPacketSize> kNull = [] {
        std::array<uint8_t, kTsPacketSize> p;
        p.fill(0xFF);
        p[0] = kTsSync, p[1] = 0x1F, p[2] = 0xFF, p[3] = 0x10;
        return p;
      }();
      std::memcpy(out, kNull.data(), kTsPacketSize);
    }
  }
  ++n_;
  return pid;
}

}  // namespace qvsim
