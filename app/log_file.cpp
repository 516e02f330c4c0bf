#include "app/log_file.h"

bool LogFile::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  platform::CloseHandle(file_);
  file_ = platform::CreateTextFile(path);
  return file_ != platform::kInvalidFile;
}

void LogFile::Close() {
  std::lock_guard lock(mutex_);
  platform::CloseHandle(file_);
  file_ = platform::kInvalidFile;
}

bool LogFile::Write(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (file_ == platform::kInvalidFile || platform::WriteText(file_, text)) return true;
  platform::CloseHandle(file_);
  file_ = platform::kInvalidFile;
  return false;
}
