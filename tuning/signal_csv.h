// The signal history as comma-separated values, for spreadsheets and scripts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tuning/signal_history.h"

// "2026-12-07T09:50:52.123Z": UTC, milliseconds, ISO 8601.
std::string IsoTimeUtc(int64_t msSinceEpoch);

// Appends `text` as one field: quoted, with its quotes doubled, when it holds
// a comma, a quote or a line end.
void AppendCsvField(std::string& out, const std::string& text);

// The header line, then one line per sample, oldest first; a figure that was
// not reported is an empty field. Lines end in '\n'.
std::string SignalCsv(const SignalHistory& history);

// Writes SignalCsv to `path`; the number of rows written, or nothing when the
// file could not be written whole.
std::optional<size_t> WriteSignalCsv(const SignalHistory& history, const std::string& path);
