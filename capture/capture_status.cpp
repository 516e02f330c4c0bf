#include "capture/capture_status.h"

#include <cinttypes>
#include <cstdio>

#include "capture/ts_health.h"
#include "tuning/signal_number.h"

bool CapturePidAccepted(uint32_t pid) { return pid <= kMaxCapturePid; }

std::string CaptureStatusText(uint64_t bytes) {
  char text[48];
  std::snprintf(text, sizeof text, "Total: %" PRIu64 " Kb", bytes / 1024);
  return text;
}

std::string StreamLine(const TsHealthTotals& t, double seconds) {
  const double mbps = seconds > 0 ? static_cast<double>(t.bytes) * 8 / seconds / 1e6 : 0;
  return "stream: packets=" + std::to_string(t.packets) +
         " cc_errors=" + std::to_string(t.ccErrors) +
         " sync_losses=" + std::to_string(t.syncLosses) + " tei=" + std::to_string(t.teiPackets) +
         " pids=" + std::to_string(t.pids) + " mbps=" + FixedText(mbps, 1);
}
