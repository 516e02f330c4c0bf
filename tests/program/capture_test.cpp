// PID capture against a stand-in library, for what the virtual card never
// does: deliver during SetFilter, scribble a number when refusing, deliver
// thousands of buffers while the user-interface thread is busy.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "capture/capture_control.h"
#include "capture/capture_status.h"
#include "res/resource_ids.h"
#include "tests/program/fake_ui.h"

namespace {

namespace fs = std::filesystem;

// Guards a 32-bit total or a wrong divisor: captures pass 4 GiB.
TEST(CaptureText, WholeKilobytesRoundedDownAlsoPastFourGiB) {
  const struct {
    uint64_t bytes;
    const char* text;
  } cases[] = {
      {1023, "Total: 0 Kb"},
      {1024, "Total: 1 Kb"},
      {(uint64_t{4} << 30) + 1024, "Total: 4194305 Kb"},
      {UINT64_MAX, "Total: 18014398509481983 Kb"},
  };
  for (const auto& c : cases) EXPECT_EQ(CaptureStatusText(c.bytes), c.text) << c.bytes;
}

int32_t setResult = 1;
int32_t setWrites = 5;
std::vector<std::vector<uint8_t>> deliverDuringSet;
std::vector<int32_t> deleted;
QvTsDataCallback lastCallback = nullptr;

int32_t QV_API FakeSetFilter(uint32_t, QvTsDataCallback cb, uint32_t, uint32_t, int32_t* filter) {
  lastCallback = cb;
  *filter = setWrites;
  for (const auto& b : deliverDuringSet) cb(b.data(), static_cast<uint32_t>(b.size()));
  return setResult;
}
int32_t QV_API FakeDelFilter(int32_t filter) {
  deleted.push_back(filter);
  return 1;
}

struct Capture : FakeLibrary {
  FakeUi ui;
  CaptureControl capture{ui};
  fs::path dir;

  void SetUp() override {
    FakeLibrary::SetUp();
    char tmpl[] = "/tmp/qv_capture_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    TunerApi.SetFilter = FakeSetFilter;
    TunerApi.DelFilter = FakeDelFilter;
    setResult = 1, setWrites = 5;
    deliverDuringSet.clear();
    deleted.clear();
    lastCallback = nullptr;
    ui.answers = {(dir / "stream.ts").string()};
  }
  void TearDown() override {
    ui.Pump();
    FakeLibrary::TearDown();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  // The "Enable" box: ticking starts, unticking stops.
  void Click() {
    if (capture.Running()) {
      capture.Stop();
    } else {
      capture.Start();
    }
  }
  std::string Status() const { return ui.Text(IDC_STATIC_FILTER_INFO); }
  std::vector<uint8_t> File() const {
    std::ifstream in(dir / "stream.ts", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

// Guards opening the file after SetFilter, and a status text set from the
// library's thread instead of posted.
TEST_F(Capture, DeliveriesDuringSetFilterReachTheFileInOrder) {
  deliverDuringSet = {{1, 2, 3}, {4, 5}, std::vector<uint8_t>(1019, 6)};
  Click();
  EXPECT_EQ(Status(), "");
  ui.Pump();
  EXPECT_EQ(Status(), "Total: 1 Kb");
  Click();
  std::vector<uint8_t> expected = {1, 2, 3, 4, 5};
  expected.insert(expected.end(), 1019, 6);
  EXPECT_EQ(File(), expected);
  EXPECT_EQ(deleted, std::vector<int32_t>{5});
  EXPECT_EQ(capture.Filter().Number(), -1);
}

// A fast stream: however many buffers come while the user-interface thread is
// busy, one update waits and shows the latest total; while the total grows the
// timer shows it once per tick, and the tick after a quiet period hands
// posting back to the next delivery; a stale update never shows after the
// next start.
TEST_F(Capture, StatusUpdatesAreCoalescedAndShowTheLatestTotal) {
  Click();
  const std::vector<uint8_t> buffer(1316, 0x47);
  std::thread library([&] {
    for (int i = 0; i < 5000; ++i) lastCallback(buffer.data(), 1316);
  });
  library.join();
  EXPECT_EQ(ui.Pending(), 1u);
  ui.Pump();
  EXPECT_EQ(Status(), CaptureStatusText(5000ull * 1316));
  const auto tick = [&] { capture.session.OnStatusTimer(); };
  lastCallback(buffer.data(), 1316);
  EXPECT_EQ(ui.Pending(), 0u) << "posted again within the period";
  tick();
  EXPECT_EQ(Status(), CaptureStatusText(5001ull * 1316)) << "no trailing update";
  EXPECT_EQ(capture.session.m_strFilterInfo, Status())
      << "an exchange would write back an older total";
  tick();
  lastCallback(buffer.data(), 1316);
  EXPECT_EQ(ui.Pending(), 1u) << "a delivery after a quiet period posts no update";
  Click();
  EXPECT_EQ(Status(), CaptureStatusText(5002ull * 1316));
  ui.answers = {(dir / "second.ts").string()};
  Click();
  ui.Pump();
  EXPECT_EQ(Status(), CaptureStatusText(5002ull * 1316)) << "the text changed before a delivery";
  const std::vector<uint8_t> two(2048, 0x47);
  lastCallback(two.data(), 2048);
  ui.Pump();
  EXPECT_EQ(Status(), "Total: 2 Kb");
  Click();
  EXPECT_EQ(fs::file_size(dir / "stream.ts"), 5002u * 1316);
}

// Guards keeping the number a refusing library wrote (closing would delete
// it) and a file left open for late buffers.
TEST_F(Capture, FailedSetFilterLeavesAnEmptyFileAndNoFilterNumber) {
  setResult = 0;
  setWrites = 7;
  deliverDuringSet = {{1, 2, 3}};
  Click();
  EXPECT_EQ(capture.Filter().Number(), -1);
  EXPECT_EQ(capture.m_bFilterEnable, 0);
  lastCallback(deliverDuringSet[0].data(), 3);
  EXPECT_EQ(fs::file_size(dir / "stream.ts"), 3u);
}

}  // namespace
