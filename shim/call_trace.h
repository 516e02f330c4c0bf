// The call trace: one line per entry-point call, appended to a file the
// library names and flushed when the call returns, so a crash loses nothing.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace qvabi {

class CallTrace {
 public:
  CallTrace() = default;
  ~CallTrace();
  CallTrace(const CallTrace&) = delete;
  CallTrace& operator=(const CallTrace&) = delete;

  // Opens `path` for appending; false when it cannot be opened (tracing off).
  bool open(const std::string& path);
  bool enabled() const { return file_ != nullptr; }
  // Writes one line (a newline is added) and flushes, under the trace lock.
  void line(const std::string& text);

 private:
  std::mutex mu_;
  std::FILE* file_ = nullptr;
};

// Formatting of arguments and results for the trace.
namespace tr {
std::string u32(uint32_t v);  // decimal, except 0xFFFFFFFF prints as -1
std::string s32(int32_t v);
std::string hex32(uint32_t v);                          // 0x000018FE
std::string bytes(const uint8_t* data, size_t length);  // "E0 10 38", or null
std::string callback(bool present);                     // cb / null
std::string out(const void* p);                         // & / null
std::string real(double v);                             // %g
std::string quoted(const std::string& s);
std::string mac(const std::array<uint8_t, 6>& mac);  // 00:1A:2B:3C:4D:5E
}  // namespace tr

}  // namespace qvabi
