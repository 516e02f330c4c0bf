// The call trace: one line per entry-point call, appended to the file named by
// QUORVEX_SIM_TRACE and flushed when the call returns. The format is described
// in simulator/README.md; scenario tests compare the lines exactly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace qvsim {

class Trace {
 public:
  Trace() = default;
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Opens `path` for appending; false when it cannot be opened (tracing off).
  bool open(const std::string& path);
  bool enabled() const { return file_ != nullptr; }
  // Writes one line (a newline is added) and flushes, under the trace lock.
  void line(const std::string& text);

 private:
  std::mutex mu_;
  std::FILE* file_ = nullptr;
};

// Argument formatting shared by the exports.
namespace tr {
std::string u32(uint32_t v);  // decimal, except 0xFFFFFFFF prints as -1
std::string s32(int32_t v);
std::string hex32(uint32_t v);                          // 0x000018FE
std::string bytes(const uint8_t* data, size_t length);  // "E0 10 38", or null
std::string callback(bool present);                     // cb / null
std::string out(const void* p);                         // & / null
std::string real(double v);                             // %g
std::string quoted(const std::string& s);
}  // namespace tr

}  // namespace qvsim
