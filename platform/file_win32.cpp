#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "platform/file.h"
// clang-format on

namespace platform {

namespace {
HANDLE Native(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
}  // namespace

FileHandle CreateFile(const std::string& path, Access access, Share share,
                      Disposition disposition) {
  const DWORD desired = access == Access::Write ? GENERIC_WRITE : GENERIC_READ;
  const DWORD shareMode = share == Share::Read ? FILE_SHARE_READ : 0;
  const DWORD how = disposition == Disposition::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE h =
      ::CreateFileA(path.c_str(), desired, shareMode, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
  // INVALID_HANDLE_VALUE is -1, the same value as kInvalidFile.
  return h == INVALID_HANDLE_VALUE ? kInvalidFile : reinterpret_cast<FileHandle>(h);
}

bool WriteFile(FileHandle file, const void* data, uint32_t length, uint32_t& written) {
  DWORD n = 0;
  const BOOL ok = ::WriteFile(Native(file), data, length, &n, nullptr);
  written = ok ? n : 0;
  return ok != FALSE;
}

bool ReadFile(FileHandle file, void* data, uint32_t length, uint32_t& read) {
  DWORD n = 0;
  const BOOL ok = ::ReadFile(Native(file), data, length, &n, nullptr);
  read = ok ? n : 0;
  return ok != FALSE;
}

void CloseHandle(FileHandle file) {
  if (file != kInvalidFile) ::CloseHandle(Native(file));
}

std::FILE* CreateTextStream(const std::string& path) {
  // Windows itself refuses a folder and never waits for a pipe's other end.
  return std::fopen(path.c_str(), "w");
}

}  // namespace platform
