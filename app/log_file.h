// The file the message log is copied to while "Log to file" is checked.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

class LogFile {
 public:
  LogFile() = default;
  ~LogFile() { Close(); }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  // Opens (creates or empties) the file at `path`; one still open is closed
  // first rather than leaked. False when it cannot be opened.
  bool Open(const std::string& path);
  void Close();
  // Writes whole lines and flushes them. False only for a write or flush
  // that failed: the file is then closed and ends at the last line it took,
  // so exactly one caller learns of the failure.
  bool Write(const std::string& text);

 private:
  // Serialises the stream: a line never goes to a stream being closed.
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};
