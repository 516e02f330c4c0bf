// The file the message log is copied to while "Log to file" is checked.
#pragma once

#include <mutex>
#include <string>

#include "platform/file.h"

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
  // Writes whole lines, straight to the file. False only for a write that
  // failed (a full disk, a pipe whose reader stopped reading): the file is
  // then closed, so exactly one caller learns of the failure.
  bool Write(const std::string& text);

 private:
  // Serialises the file: a line never goes to a file being closed.
  std::mutex mutex_;
  platform::FileHandle file_ = platform::kInvalidFile;
};
