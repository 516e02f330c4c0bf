#include "sweep/sweep_report.h"

#include <charconv>
#include <optional>

#include "compliance/report.h"
#include "platform/file.h"
#include "sweep/sweep_text.h"
#include "tuning/signal_csv.h"

namespace {

template <class T>
void AppendNumber(std::string& out, const std::optional<T>& v) {
  out += ',';
  if (!v) return;
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, *v);
  out.append(buf, r.ptr);
}

void AppendFlag(std::string& out, const std::optional<bool>& v) {
  out += ',';
  if (v) out += *v ? '1' : '0';
}

// Names and paths come from the files.
void AppendField(std::string& out, const std::string& text) {
  out += ',';
  AppendCsvField(out, text);
}

std::string CaseName(const SweepItem& item) {
  return TransponderText(item) + " (line " + std::to_string(item.entry.section.line) + ")";
}

}  // namespace

std::string SweepCsv(const SweepPlan& plan, const std::vector<SweepResult>& results) {
  std::string out =
      "file,line,name,system,frequency_khz,polarisation,symbol_rate,modulation,fec,stream_id,"
      "tuned,locked,lock_ms,present,level_pct,quality_pct,rf_dbm,snr_db,ber,bitrate_bps,"
      "stream_errors,record_ms,packets,cc_errors,sync_losses,tei_packets,record_note\n";
  for (const SweepResult& r : results) {
    const SweepItem& item = plan.items.at(r.index);
    const TuneFields& f = item.tuning.fields;
    std::string row;
    AppendField(row, item.entry.file);
    row += ',' + std::to_string(item.entry.section.line);
    AppendField(row, item.entry.section.name);
    row += ',';
    row += channels::DeliverySystemName(item.entry.system);
    row += ',' + std::to_string(item.tuning.freqKHz) + ',' + std::to_string(f.pol) + ',' +
           std::to_string(item.tuning.symbolRate) + ',' + std::to_string(f.modulation) + ',' +
           std::to_string(f.fec) + ',';
    if (item.tuning.streamId) row += std::to_string(*item.tuning.streamId);
    AppendFlag(row, r.tune.tuned);
    AppendFlag(row, r.locked);
    AppendNumber(row, r.lockMs);
    AppendFlag(row, r.reading.present);
    AppendNumber(row, r.reading.levelPct);
    AppendNumber(row, r.reading.qualityPct);
    AppendNumber(row, r.reading.rfDbm);
    AppendNumber(row, r.reading.snrDb);
    AppendNumber(row, r.reading.ber);
    AppendNumber(row, r.bitrateBps);
    AppendNumber(row, r.streamErrors);
    AppendNumber(row, r.recordedMs);
    const std::optional<SweepStreamTotals>& t = r.stream;
    AppendNumber(row, t ? std::optional(t->packets) : std::nullopt);
    AppendNumber(row, t ? std::optional(t->ccErrors) : std::nullopt);
    AppendNumber(row, t ? std::optional(t->syncLosses) : std::nullopt);
    AppendNumber(row, t ? std::optional(t->teiPackets) : std::nullopt);
    AppendField(row, r.recordNote);
    out += row.substr(1) + '\n';
  }
  return out;
}

std::string SweepJUnit(const std::string& suite, const SweepPlan& plan,
                       const std::vector<SweepResult>& results, uint32_t lockTimeoutMs) {
  using compliance::XmlEscape;
  std::vector<const SweepResult*> byItem(plan.items.size(), nullptr);
  for (const SweepResult& r : results) byItem.at(r.index) = &r;
  int failures = 0, skipped = static_cast<int>(plan.skipped.size());
  std::string cases;
  for (size_t i = 0; i < plan.items.size(); ++i) {
    const SweepItem& item = plan.items[i];
    cases += "  <testcase classname=\"" + XmlEscape(BaseName(item.entry.file)) + "\" name=\"" +
             XmlEscape(CaseName(item)) + "\"";
    const SweepResult* r = byItem[i];
    const std::string recording = r != nullptr ? RecordingText(*r) : "";
    if (r != nullptr && r->locked && recording.empty()) {
      cases += "/>\n";
      continue;
    }
    cases += ">\n";
    if (r == nullptr) {
      ++skipped;
      cases += "    <skipped message=\"not reached: the sweep was stopped\"/>\n";
    } else if (!r->locked || RecordingFailed(*r)) {
      ++failures;
      std::string message = OutcomeText(*r, lockTimeoutMs);
      if (!recording.empty()) message += "; " + recording;
      cases += "    <failure message=\"" + XmlEscape(message) + "\"/>\n";
    } else {
      cases += "    <system-out>" + XmlEscape(recording) + "</system-out>\n";
    }
    cases += "  </testcase>\n";
  }
  for (const SweepSkip& s : plan.skipped) {
    cases += "  <testcase classname=\"" + XmlEscape(BaseName(s.entry.file)) + "\" name=\"" +
             XmlEscape(std::string(channels::DeliverySystemName(s.entry.system)) + " (line " +
                       std::to_string(s.entry.section.line) + ")") +
             "\">\n    <skipped message=\"" + XmlEscape(s.reason) + "\"/>\n  </testcase>\n";
  }
  for (const channels::ChannelError& e : plan.errors) {
    cases += "  <testcase classname=\"" + XmlEscape(BaseName(e.file)) + "\" name=\"line " +
             std::to_string(e.line) + "\">\n    <error message=\"" + XmlEscape(e.Text()) +
             "\"/>\n  </testcase>\n";
  }
  const size_t total = plan.items.size() + plan.skipped.size() + plan.errors.size();
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuite name=\"" + XmlEscape(suite) +
         "\" tests=\"" + std::to_string(total) + "\" failures=\"" + std::to_string(failures) +
         "\" errors=\"" + std::to_string(plan.errors.size()) + "\" skipped=\"" +
         std::to_string(skipped) + "\">\n" + cases + "</testsuite>\n";
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  const platform::FileHandle f = platform::CreateTextFile(path);
  if (f == platform::kInvalidFile) return false;
  const bool written = platform::WriteText(f, text);
  platform::CloseHandle(f);
  return written;
}
