#include <windows.h>

#include "platform/win32_undef.h"
// clang-format off
#include "platform/file.h"
// clang-format on

namespace platform {

namespace {

HANDLE Native(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// A pipe whose other end stops would hold a blocking WriteFile or ReadFile
// forever: pipes are switched to non-blocking mode and waited for here, but
// only kStallLimitMs at a time.
bool IsPipe(HANDLE h) { return ::GetFileType(h) == FILE_TYPE_PIPE; }

constexpr DWORD kPollMs = 10;

}  // namespace

FileHandle CreateFile(const std::string& path, Access access, Share share,
                      Disposition disposition) {
  const DWORD desired = access == Access::Write ? GENERIC_WRITE : GENERIC_READ;
  const DWORD shareMode = share == Share::Read ? FILE_SHARE_READ : 0;
  const DWORD how = disposition == Disposition::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE h =
      ::CreateFileA(path.c_str(), desired, shareMode, nullptr, how, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return kInvalidFile;
  if (IsPipe(h)) {
    DWORD mode = PIPE_NOWAIT;
    ::SetNamedPipeHandleState(h, &mode, nullptr, nullptr);
  }
  // INVALID_HANDLE_VALUE is -1, the same value as kInvalidFile.
  return reinterpret_cast<FileHandle>(h);
}

FileHandle CreateTextFile(const std::string& path) {
  // Windows itself refuses a folder and never waits for a pipe's other end.
  return CreateFile(path, Access::Write, Share::Read, Disposition::CreateAlways);
}

bool WriteFile(FileHandle file, const void* data, uint32_t length, uint32_t& written,
               unsigned stallMs) {
  written = 0;
  HANDLE h = Native(file);
  const char* p = static_cast<const char*>(data);
  DWORD waited = 0;
  while (written < length) {
    DWORD n = 0;
    if (!::WriteFile(h, p + written, length - written, &n, nullptr)) return written > 0;
    written += n;
    if (n > 0) {
      waited = 0;
    } else if (waited >= stallMs || !IsPipe(h)) {
      return written > 0;
    } else {
      ::Sleep(kPollMs);
      waited += kPollMs;
    }
  }
  return true;
}

bool WriteText(FileHandle file, const std::string& text) {
  std::string native;
  native.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') native += '\r';
    native += c;
  }
  uint32_t written = 0;
  return WriteFile(file, native.data(), static_cast<uint32_t>(native.size()), written) &&
         written == native.size();
}

bool ReadFile(FileHandle file, void* data, uint32_t length, uint32_t& read) {
  read = 0;
  HANDLE h = Native(file);
  if (!IsPipe(h)) {
    DWORD n = 0;
    const BOOL ok = ::ReadFile(h, data, length, &n, nullptr);
    read = ok ? n : 0;
    return ok != FALSE;
  }
  char* p = static_cast<char*>(data);
  DWORD waited = 0;
  while (read < length) {
    DWORD n = 0;
    if (!::ReadFile(h, p + read, length - read, &n, nullptr)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_BROKEN_PIPE) break;  // the writer closed: the end
      // A non-blocking pipe with nothing in it yet; its writer may still come.
      if (error != ERROR_NO_DATA || waited >= kStallLimitMs) return false;
      ::Sleep(kPollMs);
      waited += kPollMs;
      continue;
    }
    if (n == 0) break;
    read += n;
    waited = 0;
  }
  return true;
}

void CloseHandle(FileHandle file) {
  if (file != kInvalidFile) ::CloseHandle(Native(file));
}

}  // namespace platform
