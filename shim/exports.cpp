// The 42 exported entry points, generated from the contract's list. Each one
// counts its call for failure injection, checks the pointers and sizes the
// contract defines, asks the library's backend, writes its trace line when it
// returns, and never lets an exception escape into the program.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
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
  using Args = std::tuple<A...>;
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

void traceDevice(Backend& b, const DeviceEntry& d, bool withType) {
  if (!b.trace().enabled()) return;
  std::string line = "  -> DeviceEnum(";
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

int32_t run(Tag<Ep::CheckForDVBEx>, Backend& b, QvDeviceEnumCallback callback) {
  if (!callback) return 0;
  return enumerate(b, [&](const DeviceEntry& d) {
    traceDevice(b, d, false);
    callback(d.id, d.name.c_str());
  });
}

int32_t run(Tag<Ep::CheckForDVBExEx>, Backend& b, QvDeviceEnumCallbackEx callback) {
  if (!callback) return 0;
  return enumerate(b, [&](const DeviceEntry& d) {
    traceDevice(b, d, true);
    callback(d.id, d.name.c_str(), d.tunerType);
  });
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

// The integer entry points report the level rounded to whole percent.
int32_t wholePercent(float percent) { return static_cast<int32_t>(std::lround(percent)); }

void noteFigure(const char* key, const std::string& value) {
  std::string text = key;
  text += '=';
  text += value;
  note(text);
}

int32_t run(Tag<Ep::GetSignal>, Backend& b, int32_t* level, int32_t* quality) {
  SignalFigures s;
  if (!level || !quality || !b.signal(SignalReader::GetSignal, s)) return 0;
  *level = wholePercent(s.levelPercent);
  *quality = s.qualityPercent;
  noteFigure("level", tr::s32(*level));
  noteFigure("quality", tr::s32(s.qualityPercent));
  return 1;
}

int32_t run(Tag<Ep::GetSignalStrength>, Backend& b, float* level, int32_t* quality) {
  SignalFigures s;
  if (!level || !quality || !b.signal(SignalReader::GetSignalStrength, s)) return 0;
  *level = s.levelPercent;
  *quality = s.qualityPercent;
  noteFigure("level", tr::real(s.levelPercent));
  noteFigure("quality", tr::s32(s.qualityPercent));
  return 1;
}

int32_t run(Tag<Ep::GetSignalEx>, Backend& b, float* snr, float* ber) {
  SignalFigures s;
  if (!snr || !ber || !b.signal(SignalReader::GetSignalEx, s)) return 0;
  *snr = s.snrDb;
  *ber = s.ber;
  noteFigure("snr", tr::real(s.snrDb));
  noteFigure("ber", tr::real(s.ber));
  return 1;
}

// `reserved` may be null; when given it receives 0. An RF level the tuner
// cannot give fails the call rather than invent a figure.
int32_t run(Tag<Ep::GetSignalExEx>, Backend& b, uint32_t* reserved, int32_t* lock, int32_t* rfLevel,
            float* snr, float* ber) {
  SignalFigures s;
  if (!lock || !rfLevel || !snr || !ber || !b.signal(SignalReader::GetSignalExEx, s)) return 0;
  if (!s.rfLevelDbm) {
    note("no RF level in dBm");
    return 0;
  }
  if (reserved) *reserved = 0;
  *lock = s.lock ? 1 : 0;
  *rfLevel = *s.rfLevelDbm;
  *snr = s.snrDb;
  *ber = s.ber;
  noteFigure("lock", tr::s32(*lock));
  noteFigure("rf", tr::s32(*rfLevel));
  noteFigure("snr", tr::real(s.snrDb));
  noteFigure("ber", tr::real(s.ber));
  return 1;
}

int32_t run(Tag<Ep::Statistic>, Backend& b, QvStatistic* statistic) {
  SignalFigures s;
  if (!statistic || !b.signal(SignalReader::Statistic, s)) return 0;
  statistic->lock = s.lock ? 1 : 0;
  statistic->quality = s.qualityPercent;
  statistic->present = s.present ? 1 : 0;
  statistic->level = wholePercent(s.levelPercent);
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

// Each export's parameters are those of its slot type; the count comes from
// this table, the types from the slot type itself.
#define QV_ARITY_PFN_CheckForDVB 0
#define QV_ARITY_PFN_CheckForDVBEx 1
#define QV_ARITY_PFN_CheckForDVBExEx 1
#define QV_ARITY_PFN_StartDVB 0
#define QV_ARITY_PFN_StartDVBEx 1
#define QV_ARITY_PFN_StopDVB 0
#define QV_ARITY_PFN_GetTunerType 1
#define QV_ARITY_PFN_SendDiSEqC 2
#define QV_ARITY_PFN_SendDiseqCmd 2
#define QV_ARITY_PFN_SendDiseqCmdEx 4
#define QV_ARITY_PFN_SetChannel 7
#define QV_ARITY_PFN_SetChannelEx 8
#define QV_ARITY_PFN_SetChannelExEx 11
#define QV_ARITY_PFN_SetFilter 5
#define QV_ARITY_PFN_SetRemoteControl 4
#define QV_ARITY_PFN_DelFilter 1
#define QV_ARITY_PFN_GetSignal 2
#define QV_ARITY_PFN_GetSignalStrength 2
#define QV_ARITY_PFN_GetSignalEx 2
#define QV_ARITY_PFN_GetSignalExEx 5
#define QV_ARITY_PFN_Statistic 1
#define QV_ARITY_PFN_GetMAC 1
#define QV_ARITY_PFN_GetEEPROM 3
#define QV_ARITY_PFN_SetEEPROM 3
#define QV_ARITY_PFN_GetCaps 0
#define QV_ARITY_PFN_MISSel 3
#define QV_ARITY_PFN_Unused 0

#define QV_P(T, i) std::tuple_element_t<i, qvabi::Signature<T>::Args> a##i
#define QV_PARAMS_0(T) void
#define QV_PARAMS_1(T) QV_P(T, 0)
#define QV_PARAMS_2(T) QV_PARAMS_1(T), QV_P(T, 1)
#define QV_PARAMS_3(T) QV_PARAMS_2(T), QV_P(T, 2)
#define QV_PARAMS_4(T) QV_PARAMS_3(T), QV_P(T, 3)
#define QV_PARAMS_5(T) QV_PARAMS_4(T), QV_P(T, 4)
#define QV_PARAMS_7(T) QV_PARAMS_5(T), QV_P(T, 5), QV_P(T, 6)
#define QV_PARAMS_8(T) QV_PARAMS_7(T), QV_P(T, 7)
#define QV_PARAMS_11(T) QV_PARAMS_8(T), QV_P(T, 8), QV_P(T, 9), QV_P(T, 10)
#define QV_ARGS_0
#define QV_ARGS_1 a0
#define QV_ARGS_2 QV_ARGS_1, a1
#define QV_ARGS_3 QV_ARGS_2, a2
#define QV_ARGS_4 QV_ARGS_3, a3
#define QV_ARGS_5 QV_ARGS_4, a4
#define QV_ARGS_7 QV_ARGS_5, a5, a6
#define QV_ARGS_8 QV_ARGS_7, a7
#define QV_ARGS_11 QV_ARGS_8, a8, a9, a10
#define QV_CAT(a, b) QV_CAT_(a, b)
#define QV_CAT_(a, b) a##b

// A wrong count in the table does not compile: the definition would not
// match the contract header's prototype of the same C function.
#define QV_DEFINE_EXPORT(name, type, critical)                                     \
  QV_EXPORT qvabi::Signature<type>::Result QV_API name(                            \
      QV_CAT(QV_PARAMS_, QV_ARITY_##type)(type)) {                                 \
    return qvabi::serve<qvabi::Ep::name, type>(QV_CAT(QV_ARGS_, QV_ARITY_##type)); \
  }

extern "C" {
QV_ENTRY_POINTS(QV_DEFINE_EXPORT)
}
