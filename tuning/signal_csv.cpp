#include "tuning/signal_csv.h"

#include <cstdio>

#include "platform/file.h"
#include "tuning/signal_number.h"

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian), so the text
// does not depend on the C library's time zone handling.
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

// The figure as the library reported it, in any locale: a float's shortest
// text, an integer's digits (2147483647, not 2147483648), "nan", "inf", "-inf".
void AppendNumber(std::string& out, const std::optional<double>& v) {
  out += ',';
  if (v) out += ShortestText(*v);
}

}  // namespace

void AppendCsvField(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string IsoTimeUtc(int64_t ms) {
  const int64_t dayMs = 86400000;
  int64_t days = ms / dayMs, rest = ms % dayMs;
  if (rest < 0) rest += dayMs, --days;
  int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02u:%02u:%02u.%03uZ", static_cast<long long>(y),
                m, d, static_cast<unsigned>(rest / 3600000),
                static_cast<unsigned>(rest / 60000 % 60), static_cast<unsigned>(rest / 1000 % 60),
                static_cast<unsigned>(rest % 1000));
  return buf;
}

std::string SignalCsv(const SignalHistory& history) {
  std::string out =
      "time,device,lock,level_pct,quality_pct,rf_dbm,snr_db,ber,"
      "ts_mbps,ts_packets,cc_errors,sync_losses,tei_packets\n";
  for (size_t i = 0; i < history.Size(); ++i) {
    const SignalSample& s = history.At(i);
    out += IsoTimeUtc(s.timeMs);
    out += ',';
    // A device name is the library's text.
    AppendCsvField(out, history.Device(s.series));
    out += ',';
    if (s.lock) out += *s.lock ? '1' : '0';
    AppendNumber(out, s.levelPct);
    AppendNumber(out, s.qualityPct);
    AppendNumber(out, s.rfDbm);
    AppendNumber(out, s.snrDb);
    AppendNumber(out, s.ber);
    // The stream's columns stay empty where no capture ran.
    if (s.stream) {
      AppendNumber(out, s.stream->mbps);
      for (uint64_t n :
           {s.stream->packets, s.stream->ccErrors, s.stream->syncLosses, s.stream->teiPackets}) {
        out += ',';
        out += std::to_string(n);
      }
    } else {
      out += ",,,,,";
    }
    out += '\n';
  }
  return out;
}

std::optional<size_t> WriteSignalCsv(const SignalHistory& history, const std::string& path) {
  const platform::FileHandle f = platform::CreateTextFile(path);
  if (f == platform::kInvalidFile) return std::nullopt;
  const bool written = platform::WriteText(f, SignalCsv(history));
  platform::CloseHandle(f);
  if (!written) return std::nullopt;
  return history.Size();
}
