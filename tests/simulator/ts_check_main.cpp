// qv_ts_check [--live-pcr] FILE [PID]: checks a recorded transport stream
// file; prints a summary and exits 1 when it finds a fault. --live-pcr: the
// PCRs come from a live clock and may repeat.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ts_check.h"

int main(int argc, char** argv) {
  const bool livePcr = argc > 1 && std::strcmp(argv[1], "--live-pcr") == 0;
  if (livePcr) --argc, ++argv;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: qv_ts_check [--live-pcr] FILE [PID]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  std::optional<uint16_t> pid;
  if (argc == 3) pid = static_cast<uint16_t>(std::strtoul(argv[2], nullptr, 10));
  const TsCheckReport r = CheckTransportStream(data.data(), data.size(), pid, livePcr);
  std::printf("packets=%llu pids=%zu sections=%llu pcr_gap_ms=%.1f\n",
              static_cast<unsigned long long>(r.packets), r.perPid.size(),
              static_cast<unsigned long long>(r.sectionsChecked), r.maxPcrGapSeconds * 1000);
  for (const std::string& p : r.problems) std::printf("fault: %s\n", p.c_str());
  return r.problems.empty() ? 0 : 1;
}
