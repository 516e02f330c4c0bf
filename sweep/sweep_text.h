// The sweep's lines, shared by everything that shows a sweep: one line per
// transponder as it finishes, and the closing summary.
#pragma once

#include <cstdint>
#include <string>

#include "sweep/sweep_engine.h"
#include "sweep/sweep_plan.h"

// "11362 MHz H/L 22000 kS/s DVBS2 8PSK 2/3", with the dialog's list texts;
// AUTO choices are left out, a multistream id is "stream 5".
std::string TransponderText(const SweepItem& item);

// The last component of a path ("/usr/share/dvb/dvb-s/Astra-19.2E" -> "Astra-19.2E").
std::string BaseName(const std::string& path);

// "Astra-19.2E:3": the file's last path component and the entry's line.
std::string EntryPlace(const channels::ChannelEntry& entry);

// How the transponder ended: "locked in 12 ms", "no lock within 3000 ms",
// "no lock flag reported", or the tuning failure ("SetChannelExEx failed !").
std::string OutcomeText(const SweepResult& result, uint32_t lockTimeoutMs);

// The recording of a locked transponder: "stream 1000 ms: 38.71 Mbit/s,
// 0 errors (continuity 0, sync 0, TEI 0)" ("1 error"), "not recorded: SetFilter() failed !",
// or "" when none was asked for. A note on the deletion follows in brackets.
std::string RecordingText(const SweepResult& result);

// Whether the recording asked for found errors or could not be made or ended.
bool RecordingFailed(const SweepResult& result);

// "PLACE TRANSPONDER: OUTCOME; Level: 68%, Quality: 78%, ...; RECORDING (note)".
std::string ResultLine(const SweepItem& item, const SweepResult& result, uint32_t lockTimeoutMs);

// "Locked: N of M".
std::string LockedSummary(size_t locked, size_t swept);

// "Skipped: 12 entries (DVBT: a DVB-S2 tuner does not receive it: 12)", or
// "" when nothing was skipped.
std::string SkippedSummary(const SweepPlan& plan);

// A frequency or symbol rate in thousands, without trailing zeros:
// 641500 -> "641.5", 11362000 -> "11362".
std::string Thousandths(uint32_t value);
