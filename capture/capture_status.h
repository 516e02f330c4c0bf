// Transport stream capture: the pure parts of the "Filter" group and the
// capture callback that the library calls.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file.h"
#include "tuner/quorvex_api.h"

// PID 8192 is the library's "whole stream"; 0..8191 are the 13-bit PIDs.
inline constexpr uint32_t kMaxCapturePid = 8192;

inline constexpr const char* kStreamDefaultName = "stream.ts";
inline constexpr const char* kStreamDefaultExt = "ts";
inline constexpr const char* kStreamFilter = "Stream files (*.ts)|*.ts|All Files (*.*)|*.*||";

// Whether the capture accepts this PID.
bool CapturePidAccepted(uint32_t pid);

// The status text beside the PID: whole kilobytes of 1024 bytes, rounded
// down. The count is 64-bit, so the text stays right past 4 GiB.
std::string CaptureStatusText(uint64_t bytes);

// The capture file while a capture runs, else platform::kInvalidFile.
extern platform::FileHandle g_hStreamFile;

// Bytes that reached the capture file since the last start.
uint64_t CaptureDeliveredBytes();

// Called by the library once per delivered buffer, on a thread of its own.
void QV_CALLBACK TsDataCallback(const uint8_t* data, uint32_t length);
