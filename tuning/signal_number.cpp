#include "tuning/signal_number.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

std::optional<std::string> NotFinite(double value) {
  // The sign of a NaN means nothing and glibc would print it ("-nan").
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return std::nullopt;
}

template <class T, class... Format>
std::string Chars(T value, Format... format) {
  // Room for every double in fixed notation: 309 digits and the decimals.
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, format...);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

}  // namespace

std::string FixedText(double value, int decimals) {
  if (const auto text = NotFinite(value)) return *text;
  return Chars(value, std::chars_format::fixed, decimals);
}

std::string ScientificText(double value, int decimals) {
  if (const auto text = NotFinite(value)) return *text;
  return Chars(value, std::chars_format::scientific, decimals);
}

std::string GeneralText(double value) {
  if (const auto text = NotFinite(value)) return *text;
  return Chars(value, std::chars_format::general, 6);
}

std::string ShortestText(double value) {
  if (const auto text = NotFinite(value)) return *text;
  // A double beyond the float range has no float to compare with (the
  // conversion would be undefined).
  const bool floatRange = std::fabs(value) <= std::numeric_limits<float>::max();
  if (floatRange && static_cast<double>(static_cast<float>(value)) == value) {
    return Chars(static_cast<float>(value));
  }
  return Chars(value);
}
