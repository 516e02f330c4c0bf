#include "capture/capture_status.h"

#include <cinttypes>
#include <cstdio>

bool CapturePidAccepted(uint32_t pid) { return pid <= kMaxCapturePid; }

std::string CaptureStatusText(uint64_t bytes) {
  char text[48];
  std::snprintf(text, sizeof text, "Total: %" PRIu64 " Kb", bytes / 1024);
  return text;
}
