// The 42 exported entry points, generated from the contract's list. Each one
// counts its call for failure injection, checks the pointers and sizes the
// contract defines, asks the library's backend, writes its trace line when it
// returns, and never lets an exception escape into the program.
#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include "backend.h"
#include "call_notes.h"
#include "entry_points.h"
#include "quorvex_api.h"

namespace qvabi {
namespace {

template <class F>
struct Signature;
template <class R, class... A>
struct Signature<R(QV_API*)(A...)> {
  using Result = R;
};

template <Ep E>
using Tag = std::integral_constant<Ep, E>;

// ---- Arguments and results as the trace shows them.

std::string argText(uint32_t v) { return tr::u32(v); }
std::string argText(int32_t v) { return tr::s32(v); }
template <class T>
std::string argText(T* p) {
  if constexpr (std::is_function_v<T>) {
    return tr::callback(p != nullptr);
  } else {
    return tr::out(p);
  }
}

std::string resultText(int32_t r) { return tr::s32(r); }
std::string resultText(uint32_t r) { return tr::hex32(r); }

// The longest DiSEqC message: framing, address, command and three data bytes.
constexpr uint32_t kDiseqcMaxBytes = 6;

// Bytes of a DiSEqC message: shown only for lengths a message can have, so a
// bad length never makes the trace read past the buffer.
std::string messageText(const uint8_t* msg, uint32_t length) {
  if (!msg) return "null";
  if (length == 0 || length > kDiseqcMaxBytes) return "?";
  return tr::bytes(msg, length);
}

bool eepromRequest(const uint8_t* buffer, uint32_t offset, uint32_t size) {
  return buffer != nullptr && offset == 0 && size >= kEepromMinBytes;
}

template <class... A>
std::string joined(const A&... parts) {
  std::string s;
  ((s += s.empty() ? "" : ", ", s += parts), ...);
  return s;
}

template <class... Rest>
std::string diseqcArgs(const uint8_t* message, uint32_t length, Rest... rest) {
  return joined(messageText(message, length), argText(length), argText(rest)...);
}

// The first 8 bytes written, and only for a request the contract allows.
std::string eepromArgs(const uint8_t* buffer, uint32_t offset, uint32_t size) {
  std::string data = "?";
  if (!buffer) {
    data = "null";
  } else if (eepromRequest(buffer, offset, size)) {
    data = tr::bytes(buffer, 8);
    data += " ...";
  }
  return joined(data, argText(offset), argText(size));
}

template <Ep E, class... A>
std::string argsText(A... a) {
  if constexpr (E == Ep::SendDiseqCmd || E == Ep::SendDiseqCmdEx) {
    return diseqcArgs(a...);
  } else if constexpr (E == Ep::SetEEPROM) {
    return eepromArgs(a...);
  } else {
    return joined(argText(a)...);
  }
}

// ---- What each entry point asks of the backend.

// Entry points the library keeps only for completeness: never supported.
template <Ep E>
int32_t run(Tag<E>, Backend&) {
  return 0;
}

int32_t run(Tag<Ep::CheckForDVB>, Backend& b) {
  std::vector<DeviceEntry> list;
  return b.devices(list) && !list.empty() ? 1 : 0;
}

// The enumeration callbacks run on the calling thread, with no library lock
// held, so they may call back into the library.
template <class Report>
int32_t enumerate(Backend& b, Report report) {
  std::vector<DeviceEntry> list;
  if (!b.devices(list) || list.empty()) return 0;
  for (const DeviceEntry& d : list) report(d);
  return 1;
}

void traceDevice(Backend& b, const DeviceEntry& d, bool withType, bool late = false) {
  if (!b.trace().enabled()) return;
  std::string line = late ? "  -> late DeviceEnum(" : "  -> DeviceEnum(";
  line += tr::u32(d.id);
  line += ", ";
  line += tr::quoted(d.name);
  if (withType) {
    line += ", ";
    line += tr::u32(d.tunerType);
  }
  line += ')';
  b.trace().line(line);
}

// Reports every device through `callback`; the backend may keep reporting
// after the call returned (late ones are traced as such).
template <class Callback>
int32_t enumerateThrough(Backend& b, Callback callback, bool withType) {
  const auto report = [&b, callback, withType](const DeviceEntry& d, bool late) {
    traceDevice(b, d, withType, late);
    if constexpr (std::is_same_v<Callback, QvDeviceEnumCallbackEx>) {
      callback(d.id, d.name.c_str(), d.tunerType);
    } else {
      callback(d.id, d.name.c_str());
    }
  };
  if (!callback || !enumerate(b, [&](const DeviceEntry& d) { report(d, false); })) return 0;
  b.keepReporting([report](const DeviceEntry& d) { report(d, true); });
  return 1;
}

int32_t run(Tag<Ep::CheckForDVBEx>, Backend& b, QvDeviceEnumCallback callback) {
  return enumerateThrough(b, callback, false);
}

int32_t run(Tag<Ep::CheckForDVBExEx>, Backend& b, QvDeviceEnumCallbackEx callback) {
  return enumerateThrough(b, callback, true);
}

int32_t start(Backend& b, uint32_t id) {
  uint32_t started = 0;
  if (!b.start(id, started)) return 0;
  std::string text = "device=";
  text += tr::u32(started);
  note(text);
  return 1;
}

int32_t run(Tag<Ep::StartDVB>, Backend& b) { return start(b, 0xFFFFFFFFu); }
int32_t run(Tag<Ep::StartDVBEx>, Backend& b, uint32_t id) { return start(b, id); }
int32_t run(Tag<Ep::StopDVB>, Backend& b) { return b.stop() ? 1 : 0; }

int32_t run(Tag<Ep::GetTunerType>, Backend& b, uint32_t* tunerType) {
  uint32_t type = 0;
  if (!tunerType || !b.tunerType(type)) return 0;
  *tunerType = type;
  std::string text = "type=";
  text += tr::u32(type);
  note(text);
  return 1;
}

uint32_t run(Tag<Ep::GetCaps>, Backend& b) { return b.caps(); }

int32_t run(Tag<Ep::SendDiSEqC>, Backend& b, uint32_t mode, uint32_t data) {
  return b.diseqcSimple(mode, data) ? 1 : 0;
}

int32_t run(Tag<Ep::SendDiseqCmd>, Backend& b, uint8_t* message, uint32_t length) {
  return message && b.diseqcSend(message, length) ? 1 : 0;
}

// The contract's reply buffer holds 8 bytes: no more are written, and
// *replyCount says how many the answer has (an odd reply may claim more).
int32_t run(Tag<Ep::SendDiseqCmdEx>, Backend& b, uint8_t* message, uint32_t length, uint8_t* reply,
            uint32_t* replyCount) {
  if (!message || !reply || !replyCount) return 0;
  std::vector<uint8_t> answer;
  uint32_t count = 0;
  if (!b.diseqcExchange(message, length, answer, count)) return 0;
  if (answer.size() > 8) answer.resize(8);
  std::copy(answer.begin(), answer.end(), reply);
  *replyCount = count;
  std::string text;
  if (!answer.empty()) {
    text = "reply=";
    text += tr::bytes(answer.data(), answer.size());
    text += ' ';
  }
  text += "count=";
  text += std::to_string(count);
  note(text);
  return 1;
}

int32_t tune(Backend& b, const TuneArgs& args, TuneGeneration generation) {
  return b.tune(args, generation) ? 1 : 0;
}

int32_t run(Tag<Ep::SetChannel>, Backend& b, uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
            uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz, uint32_t lofSwitchKHz) {
  return tune(b, {freqKHz, symbolRate, pol, fec, lofLowKHz, lofHighKHz, lofSwitchKHz}, 1);
}

int32_t run(Tag<Ep::SetChannelEx>, Backend& b, uint32_t freqKHz, uint32_t symbolRate, uint32_t pol,
            uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz, uint32_t lofSwitchKHz,
            uint32_t modulation) {
  return tune(b, {freqKHz, symbolRate, pol, fec, lofLowKHz, lofHighKHz, lofSwitchKHz, modulation},
              2);
}

int32_t run(Tag<Ep::SetChannelExEx>, Backend& b, uint32_t freqKHz, uint32_t symbolRate,
            uint32_t pol, uint32_t fec, uint32_t lofLowKHz, uint32_t lofHighKHz,
            uint32_t lofSwitchKHz, uint32_t modulation, uint32_t inversion, uint32_t pilot,
            uint32_t rollOff) {
  return tune(b,
              {freqKHz, symbolRate, pol, fec, lofLowKHz, lofHighKHz, lofSwitchKHz, modulation,
               inversion, pilot, rollOff},
              3);
}

void noteFilter(int32_t number) {
  std::string text = "filter=";
  text += tr::s32(number);
  note(text);
}

int32_t run(Tag<Ep::SetFilter>, Backend& b, uint32_t pid, QvTsDataCallback callback, uint32_t mode,
            uint32_t flags, int32_t* filter) {
  int32_t number = 0;
  if (!callback || !filter || !b.addTsFilter(pid, callback, mode, flags, number)) return 0;
  *filter = number;
  noteFilter(number);
  return 1;
}

int32_t run(Tag<Ep::SetRemoteControl>, Backend& b, uint32_t type, uint32_t deviceFilter,
            QvRcCallback callback, int32_t* filter) {
  int32_t number = 0;
  // Type 0 is RAW, 1 the decoded RC5/RC6 codes; there is no other.
  if (type > 1 || !callback || !filter || !b.addRcFilter(type, deviceFilter, callback, number)) {
    return 0;
  }
  *filter = number;
  noteFilter(number);
  return 1;
}

int32_t run(Tag<Ep::DelFilter>, Backend& b, int32_t filter) {
  return b.deleteFilter(filter) ? 1 : 0;
}

// The integer entry points report the level rounded to whole percent (held to
// the 32-bit range: converting a NaN or a larger float is undefined).
int32_t wholePercent(float percent) {
  if (std::isnan(percent)) return 0;
  const double held = std::clamp(static_cast<double>(percent), -2147483648.0, 2147483647.0);
  return static_cast<int32_t>(std::lround(held));
}

void noteFigure(const char* key, const std::string& value) {
  std::string text = key;
  text += '=';
  text += value;
  note(text);
}

int32_t run(Tag<Ep::GetSignal>, Backend& b, int32_t* level, int32_t* quality) {
  SignalFigures s;
  if (!level || !quality || !b.signal(SignalReader::GetSignal, s)) return 0;
  const SignalOutputs o = b.signalOutputs(SignalReader::GetSignal);
  *level = o.level.value_or(wholePercent(s.levelPercent));
  *quality = o.quality.value_or(s.qualityPercent);
  noteFigure("level", tr::s32(*level));
  noteFigure("quality", tr::s32(*quality));
  return 1;
}

int32_t run(Tag<Ep::GetSignalStrength>, Backend& b, float* level, int32_t* quality) {
  SignalFigures s;
  if (!level || !quality || !b.signal(SignalReader::GetSignalStrength, s)) return 0;
  const SignalOutputs o = b.signalOutputs(SignalReader::GetSignalStrength);
  *level = o.levelPercent.value_or(s.levelPercent);
  *quality = o.quality.value_or(s.qualityPercent);
  noteFigure("level", tr::real(*level));
  noteFigure("quality", tr::s32(*quality));
  return 1;
}

int32_t run(Tag<Ep::GetSignalEx>, Backend& b, float* snr, float* ber) {
  SignalFigures s;
  if (!snr || !ber || !b.signal(SignalReader::GetSignalEx, s)) return 0;
  const SignalOutputs o = b.signalOutputs(SignalReader::GetSignalEx);
  *snr = o.snr.value_or(s.snrDb);
  *ber = o.ber.value_or(s.ber);
  noteFigure("snr", tr::real(*snr));
  noteFigure("ber", tr::real(*ber));
  return 1;
}

// `reserved` may be null; when given it receives 0. An RF level the tuner
// cannot give fails the call rather than invent a figure.
int32_t run(Tag<Ep::GetSignalExEx>, Backend& b, uint32_t* reserved, int32_t* lock, int32_t* rfLevel,
            float* snr, float* ber) {
  SignalFigures s;
  if (!lock || !rfLevel || !snr || !ber || !b.signal(SignalReader::GetSignalExEx, s)) return 0;
  const SignalOutputs o = b.signalOutputs(SignalReader::GetSignalExEx);
  const std::optional<int32_t> rf = o.rfLevel ? o.rfLevel : s.rfLevelDbm;
  if (!rf) {
    note("no RF level in dBm");
    return 0;
  }
  if (reserved) *reserved = 0;
  *lock = o.lock.value_or(s.lock ? 1 : 0);
  *rfLevel = *rf;
  *snr = o.snr.value_or(s.snrDb);
  *ber = o.ber.value_or(s.ber);
  noteFigure("lock", tr::s32(*lock));
  noteFigure("rf", tr::s32(*rfLevel));
  noteFigure("snr", tr::real(*snr));
  noteFigure("ber", tr::real(*ber));
  return 1;
}

int32_t run(Tag<Ep::Statistic>, Backend& b, QvStatistic* statistic) {
  SignalFigures s;
  if (!statistic || !b.signal(SignalReader::Statistic, s)) return 0;
  const SignalOutputs o = b.signalOutputs(SignalReader::Statistic);
  statistic->lock = o.lock.value_or(s.lock ? 1 : 0);
  statistic->quality = o.quality.value_or(s.qualityPercent);
  statistic->present = o.present.value_or(s.present ? 1 : 0);
  statistic->level = o.level.value_or(wholePercent(s.levelPercent));
  noteFigure("lock", tr::s32(statistic->lock));
  noteFigure("quality", tr::s32(statistic->quality));
  noteFigure("present", tr::s32(statistic->present));
  noteFigure("level", tr::s32(statistic->level));
  return 1;
}

int32_t run(Tag<Ep::GetMAC>, Backend& b, uint8_t* mac) {
  std::array<uint8_t, 6> stored{};
  if (!mac || !b.mac(stored)) return 0;
  std::copy(stored.begin(), stored.end(), mac);
  note(tr::mac(stored));
  return 1;
}

int32_t run(Tag<Ep::GetEEPROM>, Backend& b, uint8_t* buffer, uint32_t offset, uint32_t size) {
  return eepromRequest(buffer, offset, size) && b.readEeprom(buffer, size) ? 1 : 0;
}

int32_t run(Tag<Ep::SetEEPROM>, Backend& b, uint8_t* buffer, uint32_t offset, uint32_t size) {
  return eepromRequest(buffer, offset, size) && b.writeEeprom(buffer, size) ? 1 : 0;
}

int32_t run(Tag<Ep::MISSel>, Backend& b, uint32_t enable, uint32_t streamId, uint32_t mask) {
  return b.selectStream(enable, streamId, mask) ? 1 : 0;
}

// ---- The one path every call takes.

template <Ep E, class F, class... A>
typename Signature<F>::Result serve(A... a) noexcept {
  using R = typename Signature<F>::Result;
  try {
    Backend& b = backend();
    const bool tracing = b.trace().enabled();
    std::string line;
    if (tracing) {
      line = entryName(E);
      line += '(';
      line += argsText<E>(a...);
      line += ") = ";
    }
    CallNotes notes;
    R result = 0;
    const bool injected = b.faults().nextCallFails(E);
    if (!injected) {
      try {
        result = run(Tag<E>{}, b, a...);
      } catch (...) {
        result = 0;
        notes.replace("internal error");
      }
    }
    if (tracing) {
      line += resultText(result);
      if (injected) {
        line += " [injected]";
      } else if (!notes.text().empty()) {
        line += " [";
        line += notes.text();
        line += ']';
      }
      b.trace().line(line);
    }
    return result;
  } catch (...) {
    return 0;
  }
}

// Builds the library's state when it is loaded, so its configuration and
// trace file are read before the first call.
bool loadAtStart() noexcept {
  try {
    backend();
    return true;
  } catch (...) {
    return false;
  }
}
[[maybe_unused]] const bool loadedAtStart = loadAtStart();

}  // namespace
}  // namespace qvabi

// One definition per entry point, written at build time from the contract's
// list and its slot types (shim/make_exports.cmake).
extern "C" {
#include "export_definitions.inc"
}
