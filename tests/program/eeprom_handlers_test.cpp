// Backing up and restoring the EEPROM through the dialog's handlers: what is
// logged, what reaches the library and the file, and that no buffer or file
// outlives the click whichever way it ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "eeprom/eeprom_transfer.h"
#include "res/resource_ids.h"
#include "tests/program/fake_window.h"
#include "tuner/tuner_api.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

TEST(EepromTransfer, WriteOutcomeLines) {
  struct Case {
    bool ok;
    uint32_t written, size;
    Lines lines;
  } cases[] = {
      {true, 256, 256, {}},
      {true, 100, 256, {"WriteFile() error !"}},  // short write reported as success
      {false, 0, 256, {"WriteFile() failed !", "WriteFile() error !"}},
      // A failed call counts as nothing written even if it claimed bytes.
      {false, 256, 256, {"WriteFile() failed !", "WriteFile() error !"}},
      {true, 8192, 8192, {}},
  };
  for (const Case& c : cases) {
    Lines got;
    for (const char* l : EepromWriteLines(c.ok, c.written, c.size)) got.push_back(l);
    EXPECT_EQ(got, c.lines) << c.ok << " " << c.written << "/" << c.size;
  }
}

TEST(EepromTransfer, ReadOutcomeAndSize) {
  EXPECT_EQ(EepromReadLine(true, 512, 512), nullptr);
  EXPECT_STREQ(EepromReadLine(true, 256, 512), "Incorrect EEPROM dump !");
  EXPECT_STREQ(EepromReadLine(true, 0, 256), "Incorrect EEPROM dump !");
  EXPECT_STREQ(EepromReadLine(false, 0, 256), "ReadFile() failed !");
  EXPECT_STREQ(EepromReadLine(false, 256, 256), "ReadFile() failed !");
  EXPECT_EQ(EepromSizeFromItemData(8192), 8192);
  EXPECT_EQ(EepromSizeFromItemData(0x10100), 0x100);  // only the low 16 bits
}

// What the fake library saw and answers.
struct FakeCard {
  Bytes content;
  int32_t getResult = 1, setResult = 1;
  std::vector<uint32_t> getSizes, setOffsets, getOffsets;
  Bytes written;  // what the last SetEEPROM passed
  int setCalls = 0;
} g_card;

int32_t QV_API FakeGet(uint8_t* buffer, uint32_t offset, uint32_t size) {
  g_card.getSizes.push_back(size);
  g_card.getOffsets.push_back(offset);
  if (g_card.getResult == 0) return 0;
  std::copy_n(g_card.content.begin(), size, buffer);
  return g_card.getResult;
}
int32_t QV_API FakeSet(uint8_t* buffer, uint32_t offset, uint32_t size) {
  ++g_card.setCalls;
  g_card.setOffsets.push_back(offset);
  g_card.written.assign(buffer, buffer + size);
  return g_card.setResult;
}

int g_liveBuffers = 0;
bool g_allocFails = false;
uint8_t* CountingAlloc(size_t size) {
  if (g_allocFails) return nullptr;
  ++g_liveBuffers;
  return new uint8_t[size];
}
void CountingRelease(uint8_t* buffer) {
  if (buffer != nullptr) --g_liveBuffers;
  delete[] buffer;
}

// A window whose file dialogs answer from a queue and are recorded.
class DialogWindow : public FakeWindow {
 public:
  using FakeWindow::FakeWindow;
  std::deque<std::optional<std::string>> answers;
  std::vector<fw::FileDialogRequest> asked;
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& r) override {
    asked.push_back(r);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

class TestDlg : public CQuorvexDemoDlg {
 public:
  using CQuorvexDemoDlg::OnEepromRead;
  using CQuorvexDemoDlg::OnEepromWrite;
  using CQuorvexDemoDlg::UpdateData;
};

int OpenFds() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const Bytes& b) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes Pattern(size_t n, uint8_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 31 + seed + (i >> 8));
  return b;
}

struct Eeprom : ::testing::Test {
  TestDlg dlg;
  DialogWindow window{dlg.Template()};
  std::string dir;
  EepromBufferFunctions savedBuffers = g_eepromBuffers;

  void SetUp() override {
    ASSERT_TRUE(theApp.startSockets);
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
    FakeControl& sizes = window.C(IDC_LIST_EEPROM_SIZE);
    sizes.entries.clear();
    for (uintptr_t s : {256, 512, 1024, 2048, 4096, 8192})
      sizes.entries.push_back({std::to_string(s), s});
    sizes.sel = 0;
    window.C(IDC_LIST_LOG).entries.clear();
    TunerApi = {};
    TunerApi.GetEEPROM = &FakeGet;
    TunerApi.SetEEPROM = &FakeSet;
    g_card = {};
    g_card.content = Pattern(8192, 7);
    g_liveBuffers = 0;
    g_allocFails = false;
    g_eepromBuffers = {&CountingAlloc, &CountingRelease};
    char tmpl[] = "/tmp/qv-eeprom-test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override {
    g_eepromBuffers = savedBuffers;
    TunerApi = {};
    dlg.AttachWindow(nullptr);
    std::filesystem::remove_all(dir);
  }
  void SelectSize(int index) { window.C(IDC_LIST_EEPROM_SIZE).sel = index; }
  Lines Log() const {
    Lines l;
    for (const auto& e : window.C(IDC_LIST_LOG).entries) l.push_back(e.first);
    return l;
  }
};

TEST_F(Eeprom, BackupPaths) {
  ASSERT_EQ(::symlink("/dev/full", (dir + "/full.bin").c_str()), 0);
  struct Case {
    const char* name;
    int sizeIndex;
    int32_t getResult;
    bool allocFails;
    std::optional<std::string> answer;  // relative to dir; nullopt = cancel
    Lines log;
    bool dialogShown;
    size_t fileBytes;  // expected length of dir/out.bin, 0 = no file
  } cases[] = {
      {"saved 256", 0, 1, false, "out.bin", {"GetEEPROM() success."}, true, 256},
      {"saved 8192", 5, 1, false, "out.bin", {"GetEEPROM() success."}, true, 8192},
      {"cancelled", 0, 1, false, std::nullopt, {"GetEEPROM() success."}, true, 0},
      {"library refuses", 0, 0, false, "out.bin", {"GetEEPROM() failed !"}, false, 0},
      {"no memory", 0, 1, true, "out.bin", {"Can't allocate memory for EEPROM buffer !"}, false, 0},
      {"folder missing",
       0,
       1,
       false,
       "nowhere/out.bin",
       {"GetEEPROM() success.", "CreateFile() failed !"},
       true,
       0},
      {"device full",
       1,
       1,
       false,
       "full.bin",
       {"GetEEPROM() success.", "WriteFile() failed !", "WriteFile() error !"},
       true,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir + "/out.bin");
    window.C(IDC_LIST_LOG).entries.clear();
    window.asked.clear();
    window.answers = {c.answer ? std::optional<std::string>(dir + "/" + *c.answer) : std::nullopt};
    g_card.getResult = c.getResult;
    g_card.getSizes.clear();
    g_allocFails = c.allocFails;
    SelectSize(c.sizeIndex);
    const int fds = OpenFds();

    dlg.OnEepromRead();

    EXPECT_EQ(Log(), c.log);
    EXPECT_EQ(OpenFds(), fds) << "a file was left open";
    EXPECT_EQ(g_liveBuffers, 0) << "a buffer was not released";
    EXPECT_EQ(window.asked.size(), c.dialogShown ? 1u : 0u);
    if (!c.allocFails) {
      const uint32_t size = 256u << c.sizeIndex;
      EXPECT_EQ(g_card.getSizes, std::vector<uint32_t>{size});
    } else {
      EXPECT_TRUE(g_card.getSizes.empty());
    }
    if (c.fileBytes != 0) {
      EXPECT_EQ(
          ReadAll(dir + "/out.bin"),
          Bytes(g_card.content.begin(), g_card.content.begin() + static_cast<long>(c.fileBytes)));
    } else {
      EXPECT_FALSE(std::filesystem::exists(dir + "/out.bin"));
    }
  }
}

TEST_F(Eeprom, BackupAsksForTheImageFileAndReplacesAnOldOne) {
  WriteAll(dir + "/old.bin", Pattern(4000, 1));
  window.answers = {dir + "/old.bin"};
  dlg.OnEepromRead();
  ASSERT_EQ(window.asked.size(), 1u);
  const fw::FileDialogRequest& r = window.asked[0];
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.defaultName, "eeprom.bin");
  EXPECT_EQ(r.defaultExt, "bin");
  EXPECT_EQ(r.filter, "EEPROM dumps (*.bin)|*.bin|All Files (*.*)|*.*||");
  EXPECT_EQ(g_card.getOffsets, std::vector<uint32_t>{0});
  EXPECT_EQ(ReadAll(dir + "/old.bin").size(), 256u) << "the old file was not truncated";
}

TEST_F(Eeprom, RestorePaths) {
  std::filesystem::create_directory(dir + "/folder.bin");
  WriteAll(dir + "/empty.bin", {});
  WriteAll(dir + "/i256.bin", Pattern(256, 3));
  WriteAll(dir + "/i8192.bin", Pattern(8192, 5));
  struct Case {
    const char* name;
    int sizeIndex;
    const char* file;  // nullptr = cancel
    bool allocFails;
    int32_t setResult;
    Lines log;
    size_t passed;  // bytes passed to SetEEPROM (0 = not called)
  } cases[] = {
      {"exact", 0, "i256.bin", false, 1, {"SetEEPROM() success."}, 256},
      {"longer file, first bytes", 0, "i8192.bin", false, 1, {"SetEEPROM() success."}, 256},
      {"whole image", 5, "i8192.bin", false, 1, {"SetEEPROM() success."}, 8192},
      {"library refuses", 0, "i256.bin", false, 0, {"SetEEPROM() failed !"}, 256},
      {"shorter file", 1, "i256.bin", false, 1, {"Incorrect EEPROM dump !"}, 0},
      {"empty file", 0, "empty.bin", false, 1, {"Incorrect EEPROM dump !"}, 0},
      {"missing file", 0, "none.bin", false, 1, {"CreateFile() failed !"}, 0},
      {"unreadable", 0, "folder.bin", false, 1, {"ReadFile() failed !"}, 0},
      {"no memory", 0, "i256.bin", true, 1, {"Can't allocate memory for EEPROM buffer !"}, 0},
      {"cancelled", 0, nullptr, false, 1, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.C(IDC_LIST_LOG).entries.clear();
    window.asked.clear();
    window.answers = {c.file ? std::optional<std::string>(dir + "/" + c.file) : std::nullopt};
    g_card.setCalls = 0;
    g_card.setResult = c.setResult;
    g_card.written.clear();
    g_card.setOffsets.clear();
    g_allocFails = c.allocFails;
    SelectSize(c.sizeIndex);
    const int fds = OpenFds();

    dlg.OnEepromWrite();

    EXPECT_EQ(Log(), c.log);
    EXPECT_EQ(OpenFds(), fds) << "a file was left open";
    EXPECT_EQ(g_liveBuffers, 0) << "a buffer was not released";
    ASSERT_EQ(window.asked.size(), 1u);
    EXPECT_FALSE(window.asked[0].save);
    EXPECT_EQ(window.asked[0].defaultName, "eeprom.bin");
    EXPECT_EQ(window.asked[0].defaultExt, "bin");
    EXPECT_EQ(window.asked[0].filter, "EEPROM dumps (*.bin)|*.bin|All Files (*.*)|*.*||");
    if (c.passed != 0) {
      EXPECT_EQ(g_card.setCalls, 1);
      EXPECT_EQ(g_card.setOffsets, std::vector<uint32_t>{0});
      const Bytes image = ReadAll(dir + "/" + c.file);
      EXPECT_EQ(g_card.written, Bytes(image.begin(), image.begin() + static_cast<long>(c.passed)));
    } else {
      EXPECT_EQ(g_card.setCalls, 0);
    }
  }
}

}  // namespace
