#include "signal_outputs.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "config.h"

namespace qvsim {
namespace {

using nlohmann::json;

int32_t toInt32(const json& v, const std::string& where) {
  if (!v.is_number_integer()) throw ConfigError(where + ": expected an integer");
  // A large unsigned number reads as a negative signed one; it is out of range either way.
  if (v.is_number_unsigned() && v.get<uint64_t>() > uint64_t{INT32_MAX}) {
    throw ConfigError(where + ": out of the 32-bit range");
  }
  const int64_t n = v.get<int64_t>();
  if (n < INT32_MIN || n > INT32_MAX) throw ConfigError(where + ": out of the 32-bit range");
  return static_cast<int32_t>(n);
}

float toFloat(const json& v, const std::string& where) {
  if (v.is_string()) {
    const std::string s = v.get<std::string>();
    if (s == "nan") return std::numeric_limits<float>::quiet_NaN();
    if (s == "inf") return std::numeric_limits<float>::infinity();
    if (s == "-inf") return -std::numeric_limits<float>::infinity();
  } else if (v.is_number()) {
    const double d = v.get<double>();
    // Converting a double beyond the float range is undefined.
    if (std::fabs(d) <= std::numeric_limits<float>::max()) return static_cast<float>(d);
    throw ConfigError(where + ": out of the float range");
  }
  throw ConfigError(where + ": expected a number, \"nan\", \"inf\" or \"-inf\"");
}

enum class Kind { Int, Float };

struct Figure {
  const char* key;
  Kind kind;
  std::optional<int32_t> qvabi::SignalOutputs::*whole;
  std::optional<float> qvabi::SignalOutputs::*real;
};

using O = qvabi::SignalOutputs;

struct Entry {
  const char* name;
  SignalReader reader;
  std::vector<Figure> figures;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {"Statistic",
       SignalReader::Statistic,
       {{"lock", Kind::Int, &O::lock, nullptr},
        {"quality", Kind::Int, &O::quality, nullptr},
        {"present", Kind::Int, &O::present, nullptr},
        {"level", Kind::Int, &O::level, nullptr}}},
      {"GetSignal",
       SignalReader::GetSignal,
       {{"level", Kind::Int, &O::level, nullptr}, {"quality", Kind::Int, &O::quality, nullptr}}},
      {"GetSignalStrength",
       SignalReader::GetSignalStrength,
       {{"level", Kind::Float, nullptr, &O::levelPercent},
        {"quality", Kind::Int, &O::quality, nullptr}}},
      {"GetSignalEx",
       SignalReader::GetSignalEx,
       {{"snr", Kind::Float, nullptr, &O::snr}, {"ber", Kind::Float, nullptr, &O::ber}}},
      {"GetSignalExEx",
       SignalReader::GetSignalExEx,
       {{"lock", Kind::Int, &O::lock, nullptr},
        {"rf", Kind::Int, &O::rfLevel, nullptr},
        {"snr", Kind::Float, nullptr, &O::snr},
        {"ber", Kind::Float, nullptr, &O::ber}}},
  };
  return entries;
}

}  // namespace

SignalOutputTable parseSignalOutputs(const json& section) {
  if (!section.is_object()) throw ConfigError("signal: expected an object");
  SignalOutputTable table;
  for (const auto& [name, given] : section.items()) {
    const std::string at = "signal." + name;
    const Entry* entry = nullptr;
    for (const Entry& e : Entries()) entry = name == e.name ? &e : entry;
    if (entry == nullptr) throw ConfigError(at + ": not a signal entry point");
    if (!given.is_object()) throw ConfigError(at + ": expected an object");
    qvabi::SignalOutputs& out = table[entry->reader];
    for (const auto& [key, value] : given.items()) {
      const Figure* figure = nullptr;
      for (const Figure& f : entry->figures) figure = key == f.key ? &f : figure;
      if (figure == nullptr)
        throw ConfigError(at + "." + key + ": " + name + " reports no such figure");
      if (figure->kind == Kind::Int) {
        out.*figure->whole = toInt32(value, at + "." + key);
      } else {
        out.*figure->real = toFloat(value, at + "." + key);
      }
    }
  }
  return table;
}

}  // namespace qvsim
