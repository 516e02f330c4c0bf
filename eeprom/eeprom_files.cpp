#include "eeprom/eeprom_files.h"

#include <memory>
#include <optional>
#include <string>

#include "eeprom/eeprom_transfer.h"
#include "platform/file.h"
#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

namespace {

const char* const kEepromDefaultName = "eeprom.bin";
const char* const kEepromDefaultExt = "bin";
const char* const kEepromFilter = "EEPROM dumps (*.bin)|*.bin|All Files (*.*)|*.*||";
const char* const kNoMemory = "Can't allocate memory for EEPROM buffer !";

fw::FileDialogRequest ImageFileRequest(bool save) {
  fw::FileDialogRequest request;
  request.save = save;
  request.defaultName = kEepromDefaultName;
  request.defaultExt = kEepromDefaultExt;
  request.filter = kEepromFilter;
  return request;
}

struct BufferDeleter {
  void operator()(uint8_t* p) const { g_eepromBuffers.release(p); }
};
using ImageBuffer = std::unique_ptr<uint8_t[], BufferDeleter>;

// Closes the file whichever way the handler leaves.
class FileCloser {
 public:
  explicit FileCloser(platform::FileHandle file) : file_(file) {}
  ~FileCloser() { Close(); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;
  platform::FileHandle Get() const { return file_; }
  void Close() {
    if (file_ != platform::kInvalidFile) platform::CloseHandle(file_);
    file_ = platform::kInvalidFile;
  }

 private:
  platform::FileHandle file_;
};

}  // namespace

void SaveEeprom(UiPort& ui, uint16_t size) {
  ImageBuffer buffer(g_eepromBuffers.allocate(size));
  if (!buffer) {
    ui.Log(kNoMemory);
    return;
  }
  if (TunerApi.GetEEPROM(buffer.get(), 0, size) == 0) {
    ui.Log("GetEEPROM() failed !");
    return;
  }
  ui.Log("GetEEPROM() success.");

  const std::optional<std::string> path = ui.AskFile(ImageFileRequest(true));
  if (!path) return;
  FileCloser file(platform::CreateFile(*path, platform::Access::Write, platform::Share::Read,
                                       platform::Disposition::CreateAlways));
  if (file.Get() == platform::kInvalidFile) {
    ui.Log("CreateFile() failed !");
    return;
  }
  uint32_t written = 0;
  const bool ok = platform::WriteFile(file.Get(), buffer.get(), size, written);
  for (const char* line : EepromWriteLines(ok, written, size)) ui.Log(line);
}

void RestoreEeprom(UiPort& ui, uint16_t size) {
  const std::optional<std::string> path = ui.AskFile(ImageFileRequest(false));
  if (!path) return;
  FileCloser file(platform::CreateFile(*path, platform::Access::Read, platform::Share::Read,
                                       platform::Disposition::OpenExisting));
  if (file.Get() == platform::kInvalidFile) {
    ui.Log("CreateFile() failed !");
    return;
  }
  ImageBuffer buffer(g_eepromBuffers.allocate(size));
  if (!buffer) {
    ui.Log(kNoMemory);
    return;
  }
  uint32_t read = 0;
  const bool ok = platform::ReadFile(file.Get(), buffer.get(), size, read);
  if (const char* problem = EepromReadLine(ok, read, size)) {
    ui.Log(problem);
    return;
  }
  // The image is in memory: the file is not needed while the card is written.
  file.Close();
  ui.Log(TunerApi.SetEEPROM(buffer.get(), 0, size) != 0 ? "SetEEPROM() success."
                                                        : "SetEEPROM() failed !");
}
