// "Read" saves the card's EEPROM to an image file, "Write" puts an image back.
// Each click owns its buffer and its file and gives both up before returning.
#include <memory>
#include <optional>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "eeprom/eeprom_transfer.h"
#include "platform/file.h"
#include "tuner/tuner_api.h"

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

void CQuorvexDemoDlg::OnEepromRead() {
  const uint16_t size =
      EepromSizeFromItemData(m_cbEepromSize.GetItemData(m_cbEepromSize.GetCurSel()));
  ImageBuffer buffer(g_eepromBuffers.allocate(size));
  if (!buffer) {
    AddLog(kNoMemory);
    return;
  }
  if (TunerApi.GetEEPROM(buffer.get(), 0, size) == 0) {
    AddLog("GetEEPROM() failed !");
    return;
  }
  AddLog("GetEEPROM() success.");

  const std::optional<std::string> path = FileDialog(ImageFileRequest(true));
  if (!path) return;
  FileCloser file(platform::CreateFile(*path, platform::Access::Write, platform::Share::Read,
                                       platform::Disposition::CreateAlways));
  if (file.Get() == platform::kInvalidFile) {
    AddLog("CreateFile() failed !");
    return;
  }
  uint32_t written = 0;
  const bool ok = platform::WriteFile(file.Get(), buffer.get(), size, written);
  for (const char* line : EepromWriteLines(ok, written, size)) AddLog(line);
}

void CQuorvexDemoDlg::OnEepromWrite() {
  const std::optional<std::string> path = FileDialog(ImageFileRequest(false));
  if (!path) return;
  FileCloser file(platform::CreateFile(*path, platform::Access::Read, platform::Share::Read,
                                       platform::Disposition::OpenExisting));
  if (file.Get() == platform::kInvalidFile) {
    AddLog("CreateFile() failed !");
    return;
  }
  const uint16_t size =
      EepromSizeFromItemData(m_cbEepromSize.GetItemData(m_cbEepromSize.GetCurSel()));
  ImageBuffer buffer(g_eepromBuffers.allocate(size));
  if (!buffer) {
    AddLog(kNoMemory);
    return;
  }
  uint32_t read = 0;
  const bool ok = platform::ReadFile(file.Get(), buffer.get(), size, read);
  if (const char* problem = EepromReadLine(ok, read, size)) {
    AddLog(problem);
    return;
  }
  // The image is in memory: the file is not needed while the card is written.
  file.Close();
  AddLog(TunerApi.SetEEPROM(buffer.get(), 0, size) != 0 ? "SetEEPROM() success."
                                                        : "SetEEPROM() failed !");
}
