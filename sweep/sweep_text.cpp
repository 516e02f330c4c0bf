#include "sweep/sweep_text.h"

#include <cstdio>

#include "res/dialogs.h"
#include "res/resource_ids.h"

namespace {

// The text of entry `index` of one of the dialog's lists, as the template
// holds it, so a sweep line names a choice exactly as the dialog shows it.
std::string ListText(int controlId, int32_t index) {
  for (const fw::ControlTemplate& c : res::MainDialogTemplate().controls) {
    if (c.id != controlId) continue;
    if (index >= 0 && static_cast<size_t>(index) < c.entries.size()) return c.entries[index];
  }
  return std::string("#") + std::to_string(index);
}

}  // namespace

std::string Thousandths(uint32_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%u.%03u", value / 1000, value % 1000);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string TransponderText(const SweepItem& item) {
  const ChannelTuning& t = item.tuning;
  const channels::Family family = channels::FamilyOf(item.entry.system);
  std::string s = Thousandths(t.freqKHz) + " MHz";
  if (family == channels::Family::Satellite)
    s.append(" ").append(ListText(IDC_LIST_POL, t.fields.pol));
  if (family == channels::Family::Terrestrial) {
    if (t.symbolRate != 0) s.append(" ").append(Thousandths(t.symbolRate / 1000)).append(" MHz");
  } else if (t.symbolRate != 0) {
    s.append(" ").append(Thousandths(t.symbolRate)).append(" kS/s");
  }
  s += " ";
  s += channels::DeliverySystemName(item.entry.system);
  if (t.fields.modulation != 0)
    s.append(" ").append(ListText(IDC_LIST_MODULATION, t.fields.modulation));
  if (t.fields.fec != 0) s.append(" ").append(ListText(IDC_LIST_FEC, t.fields.fec));
  if (t.streamId) s.append(" stream ").append(std::to_string(*t.streamId));
  return s;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string EntryPlace(const channels::ChannelEntry& entry) {
  return BaseName(entry.file) + ":" + std::to_string(entry.section.line);
}

std::string OutcomeText(const SweepResult& r, uint32_t lockTimeoutMs) {
  if (!r.tune.tuned) return r.tune.failure;
  if (r.locked) return std::string("locked in ") + std::to_string(r.lockMs.value_or(0)) + " ms";
  if (!r.reading.lock) return "no lock flag reported";
  return std::string("no lock within ") + std::to_string(lockTimeoutMs) + " ms";
}

std::string RecordingText(const SweepResult& r) {
  if (!r.stream) return r.recordNote.empty() ? "" : "not recorded: " + r.recordNote;
  const SweepStreamTotals& t = *r.stream;
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.2f Mbit/s",
                static_cast<double>(r.bitrateBps.value_or(0)) / 1e6);
  std::string s = "stream " + std::to_string(r.recordedMs.value_or(0)) + " ms: " + rate + ", " +
                  std::to_string(t.Errors()) + (t.Errors() == 1 ? " error" : " errors") +
                  " (continuity " + std::to_string(t.ccErrors) + ", sync " +
                  std::to_string(t.syncLosses) + ", TEI " + std::to_string(t.teiPackets) + ")";
  if (!r.recordNote.empty()) s += " (" + r.recordNote + ")";
  return s;
}

bool RecordingFailed(const SweepResult& r) {
  return !r.recordNote.empty() || (r.stream && r.stream->Errors() > 0);
}

std::string ResultLine(const SweepItem& item, const SweepResult& r, uint32_t lockTimeoutMs) {
  std::string line =
      EntryPlace(item.entry) + " " + TransponderText(item) + ": " + OutcomeText(r, lockTimeoutMs);
  for (size_t i = 0; i < r.reading.texts.size(); ++i) {
    line += (i == 0 ? "; " : ", ") + r.reading.texts[i];
  }
  if (const std::string recording = RecordingText(r); !recording.empty()) {
    line += "; " + recording;
  }
  if (!r.tune.note.empty()) line += " (" + r.tune.note + ")";
  return line;
}

std::string LockedSummary(size_t locked, size_t swept) {
  return std::string("Locked: ") + std::to_string(locked) + " of " + std::to_string(swept);
}

std::string SkippedSummary(const SweepPlan& plan) {
  if (plan.skipped.empty()) return "";
  std::string s = std::string("Skipped: ") + std::to_string(plan.skipped.size()) + " entries (";
  const std::vector<SkipCount> counts = plan.SkipCounts();
  for (size_t i = 0; i < counts.size(); ++i) {
    s += (i == 0 ? "" : "; ") + counts[i].reason + ": " + std::to_string(counts[i].count);
  }
  return s + ")";
}
