#include "call_trace.h"

#include <charconv>
#include <cmath>

namespace qvabi {

CallTrace::~CallTrace() {
  if (file_) std::fclose(file_);
}

bool CallTrace::open(const std::string& path) {
  std::lock_guard lock(mu_);
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "ab");
  return file_ != nullptr;
}

void CallTrace::line(const std::string& text) {
  std::lock_guard lock(mu_);
  if (!file_) return;
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

namespace tr {

std::string u32(uint32_t v) { return v == 0xFFFFFFFFu ? "-1" : std::to_string(v); }

std::string s32(int32_t v) { return std::to_string(v); }

std::string hex32(uint32_t v) {
  char buf[11];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

std::string bytes(const uint8_t* data, size_t length) {
  if (!data) return "null";
  std::string s;
  for (size_t i = 0; i < length; ++i) {
    char buf[4];
    std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", data[i]);
    s += buf;
  }
  return s;
}

std::string callback(bool present) { return present ? "cb" : "null"; }

std::string out(const void* p) { return p ? "&" : "null"; }

// "%g" as the C locale writes it: the trace is written inside the program's
// process, whose locale may use a decimal comma, and the C runtimes spell a
// NaN each their own way.
std::string real(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  return std::string(buf, r.ptr);
}

std::string quoted(const std::string& s) {
  std::string q = "\"";
  q += s;
  q += '"';
  return q;
}

std::string mac(const std::array<uint8_t, 6>& mac) {
  char buf[18];
  std::snprintf(buf, sizeof buf, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return buf;
}

}  // namespace tr
}  // namespace qvabi
