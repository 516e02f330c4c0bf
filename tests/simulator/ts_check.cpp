#include "ts_check.h"

#include <cstring>

namespace {

constexpr size_t kPacket = 188;
constexpr uint64_t kPcrWrap = (uint64_t{1} << 33) * 300;

uint32_t Crc32Mpeg2(const uint8_t* p, size_t n) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= uint32_t{p[i]} << 24;
    for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

struct Assembler {
  std::vector<uint8_t> bytes;
  bool active = false;
};

void Problem(TsCheckReport& r, uint64_t packet, const std::string& what) {
  if (r.problems.size() < 20)
    r.problems.push_back("packet " + std::to_string(packet) + ": " + what);
}

void Section(TsCheckReport& r, uint64_t packet, const std::vector<uint8_t>& s) {
  const size_t length = 3 + (((s[1] & 0x0F) << 8) | s[2]);
  if (Crc32Mpeg2(s.data(), length) != 0) {
    Problem(r, packet, "section CRC wrong (table " + std::to_string(s[0]) + ")");
    return;
  }
  ++r.sectionsChecked;
  const uint8_t table = s[0];
  if (table == 0x00) {
    for (size_t i = 8; i + 4 <= length - 4; i += 4) {
      if (((s[i] << 8) | s[i + 1]) != 0) r.pmtPids.insert(((s[i + 2] & 0x1F) << 8) | s[i + 3]);
    }
  } else if (table == 0x02) {
    r.pcrPidOf[static_cast<uint16_t>((s[3] << 8) | s[4])] =
        static_cast<uint16_t>(((s[8] & 0x1F) << 8) | s[9]);
  } else if (table == 0x42) {
    size_t i = 11;
    while (i + 5 <= length - 4) {
      const size_t loop = ((s[i + 3] & 0x0F) << 8) | s[i + 4];
      size_t d = i + 5;
      while (d + 2 <= i + 5 + loop) {
        if (s[d] == 0x48) {
          const size_t provider = s[d + 3];
          const size_t name = s[d + 4 + provider];
          r.serviceNames.emplace_back(reinterpret_cast<const char*>(&s[d + 5 + provider]), name);
        }
        d += 2 + s[d + 1];
      }
      i += 5 + loop;
    }
  }
}

}  // namespace

TsCheckReport CheckTransportStream(const uint8_t* data, size_t size,
                                   std::optional<uint16_t> onlyPid, bool pcrMayRepeat) {
  TsCheckReport r;
  if (size % kPacket != 0) r.problems.push_back("length is not a whole number of packets");
  std::map<uint16_t, int> lastCc;
  std::map<uint16_t, Assembler> psi;
  std::map<uint16_t, std::pair<uint64_t, uint64_t>> lastPcr;  // PID -> (PCR, byte offset)
  for (size_t off = 0; off + kPacket <= size; off += kPacket) {
    const uint8_t* p = data + off;
    const uint64_t n = r.packets++;
    if (p[0] != 0x47) {
      Problem(r, n, "no sync byte");
      continue;
    }
    const uint16_t pid = static_cast<uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
    ++r.perPid[pid];
    if (onlyPid && pid != *onlyPid) Problem(r, n, "PID " + std::to_string(pid) + " not asked for");
    if (pid == 0x1FFF) continue;
    const int afc = (p[3] >> 4) & 3;
    const int cc = p[3] & 0x0F;
    if (afc & 1) {
      auto it = lastCc.find(pid);
      if (it != lastCc.end() && cc != ((it->second + 1) & 0x0F)) {
        Problem(r, n, "continuity counter gap on PID " + std::to_string(pid));
      }
      lastCc[pid] = cc;
    }
    size_t at = 4;
    if (afc & 2) {
      const size_t afLength = p[4];
      if (afLength >= 7 && (p[5] & 0x10)) {
        const uint64_t base = (uint64_t{p[6]} << 25) | (uint64_t{p[7]} << 17) |
                              (uint64_t{p[8]} << 9) | (uint64_t{p[9]} << 1) | (p[10] >> 7);
        const uint64_t pcr = base * 300 + (((p[10] & 1u) << 8) | p[11]);
        ++r.pcrCount[pid];
        auto it = lastPcr.find(pid);
        if (it != lastPcr.end()) {
          const uint64_t ticks = (pcr + kPcrWrap - it->second.first) % kPcrWrap;
          const double gap = static_cast<double>(ticks) / 27e6;
          if (gap > r.maxPcrGapSeconds) r.maxPcrGapSeconds = gap;
          if (ticks == 0 && !pcrMayRepeat) Problem(r, n, "PCR did not advance");
        }
        lastPcr[pid] = {pcr, off};
      }
      at = 5 + afLength;
    }
    const bool psiPid = pid == 0 || pid == 0x11 || r.pmtPids.count(pid) != 0;
    if (!psiPid || !(afc & 1) || at >= kPacket) continue;
    Assembler& a = psi[pid];
    const auto complete = [&] {
      if (!a.active || a.bytes.size() < 3) return;
      const size_t length = 3 + (((a.bytes[1] & 0x0F) << 8) | a.bytes[2]);
      if (a.bytes.size() < length) return;
      Section(r, n, a.bytes);
      a.active = false;
      a.bytes.clear();
    };
    if ((p[1] & 0x40) != 0) {
      const size_t pointer = p[at];
      if (at + 1 + pointer > kPacket) {
        Problem(r, n, "pointer_field beyond the packet");
        continue;
      }
      if (a.active) {
        a.bytes.insert(a.bytes.end(), p + at + 1, p + at + 1 + pointer);
        complete();
        if (a.active) Problem(r, n, "section cut short");
      }
      a.bytes.assign(p + at + 1 + pointer, p + kPacket);
      a.active = true;
    } else if (a.active) {
      a.bytes.insert(a.bytes.end(), p + at, p + kPacket);
    }
    complete();
  }
  return r;
}
