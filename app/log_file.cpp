#include "app/log_file.h"

#include "platform/file.h"

bool LogFile::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = platform::CreateTextStream(path);
  return file_ != nullptr;
}

void LogFile::Close() {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool LogFile::Write(const std::string& text) {
  std::lock_guard lock(mutex_);
  if (file_ == nullptr) return true;
  if (std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0) {
    return true;
  }
  std::fclose(file_);
  file_ = nullptr;
  return false;
}
