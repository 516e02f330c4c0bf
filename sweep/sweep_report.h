// A sweep's results as files for other tools: comma-separated values, one
// row per transponder swept, and a JUnit XML report for CI, one test case per
// transponder (skipped entries as skipped cases, unreadable ones as errors).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sweep/sweep_engine.h"
#include "sweep/sweep_plan.h"

// The header line, then a row per result in result order; a figure not
// reported is an empty field. Lines end in '\n'.
//   file,line,name,system,frequency_khz,polarisation,symbol_rate,modulation,
//   fec,stream_id,tuned,locked,lock_ms,present,level_pct,quality_pct,rf_dbm,
//   snr_db,ber,bitrate_bps,stream_errors,record_ms,packets,cc_errors,
//   sync_losses,tei_packets,record_note
// The recording's figures are empty without one; stream_errors is the sum of
// cc_errors, sync_losses and tei_packets.
std::string SweepCsv(const SweepPlan& plan, const std::vector<SweepResult>& results);

// A test suite named `suite`: a locked transponder passes (its recording, if
// any, as its output), one that did not lock or could not be tuned fails, as
// does one whose recording found errors or could not be made, a transponder never reached (the
// sweep was stopped) is skipped like an entry the device does not receive.
std::string SweepJUnit(const std::string& suite, const SweepPlan& plan,
                       const std::vector<SweepResult>& results, uint32_t lockTimeoutMs);

// Writes `text` to a new or truncated file; false when it is not all written.
bool WriteWholeFile(const std::string& path, const std::string& text);
