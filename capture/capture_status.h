// Transport stream capture: the pure parts of the "Filter" group.
#pragma once

#include <cstdint>
#include <string>

// PID 8192 is the library's "whole stream"; 0..8191 are the 13-bit PIDs.
inline constexpr uint32_t kMaxCapturePid = 8192;

inline constexpr const char* kStreamDefaultName = "stream.ts";
inline constexpr const char* kStreamDefaultExt = "ts";
inline constexpr const char* kStreamFilter = "Stream files (*.ts)|*.ts|All Files (*.*)|*.*||";

// Whether the capture accepts this PID.
bool CapturePidAccepted(uint32_t pid);

struct TsHealthTotals;

// The stream's health as the script host's `show-stream` prints it:
// "stream: packets=N cc_errors=N sync_losses=N tei=N pids=N mbps=X", the bit
// rate over the `seconds` the capture ran, with one decimal.
std::string StreamLine(const TsHealthTotals& totals, double seconds);

// The status text beside the PID: whole kilobytes of 1024 bytes, rounded
// down. The count is 64-bit, so the text stays right past 4 GiB.
std::string CaptureStatusText(uint64_t bytes);
