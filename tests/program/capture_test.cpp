// PID capture: the status text, the PID range, and the "Enable" handler with
// its data callback against a stand-in library.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>

#include "app/quorvex_demo_app.h"
#include "app/quorvex_demo_dlg.h"
#include "capture/capture_status.h"
#include "res/resource_ids.h"
#include "tests/program/fake_window.h"
#include "tests/program/queue_host.h"
#include "tuner/tuner_api.h"

namespace {

namespace fs = std::filesystem;

TEST(CaptureText, WholeKilobytesRoundedDownAlsoPastFourGiB) {
  const struct {
    uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "Total: 0 Kb"},
      {1023, "Total: 0 Kb"},
      {1024, "Total: 1 Kb"},
      {1572864, "Total: 1536 Kb"},
      {(uint64_t{4} << 30) - 1, "Total: 4194303 Kb"},
      {(uint64_t{4} << 30) + 1024, "Total: 4194305 Kb"},
      {UINT64_MAX, "Total: 18014398509481983 Kb"},
  };
  for (const auto& c : cases) EXPECT_EQ(CaptureStatusText(c.bytes), c.text) << c.bytes;
}

TEST(CaptureText, PidRangeIsZeroTo8192) {
  const struct {
    uint32_t pid;
    bool accepted;
  } cases[] = {{0, true},     {8191, true},       {8192, true},
               {8193, false}, {65536 + 1, false}, {UINT32_MAX, false}};
  for (const auto& c : cases) EXPECT_EQ(CapturePidAccepted(c.pid), c.accepted) << c.pid;
}

class AnsweringWindow : public FakeWindow {
 public:
  using FakeWindow::FakeWindow;
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& r) override {
    requests.push_back(r);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<fw::FileDialogRequest> requests;
};

class TestDlg : public CQuorvexDemoDlg {
 public:
  using CQuorvexDemoDlg::OnFilterEnableClicked;
  using CQuorvexDemoDlg::UpdateData;
};

// The stand-in library: SetFilter may deliver during the call, as a card
// whose stream is already running does, and may scribble a number on failure.
int32_t setResult = 1;
int32_t setWrites = 5;
std::vector<std::vector<uint8_t>> deliverDuringSet;
int32_t delResult = 1;
std::vector<int32_t> deleted;
uint32_t lastPid = 0;
QvTsDataCallback lastCallback = nullptr;

int32_t QV_API FakeSetFilter(uint32_t pid, QvTsDataCallback cb, uint32_t, uint32_t,
                             int32_t* filter) {
  lastPid = pid;
  lastCallback = cb;
  *filter = setWrites;
  for (const auto& b : deliverDuringSet) cb(b.data(), static_cast<uint32_t>(b.size()));
  return setResult;
}
int32_t QV_API FakeDelFilter(int32_t filter) {
  deleted.push_back(filter);
  return delResult;
}

struct CaptureDialog : ::testing::Test {
  QueueHost host;
  TestDlg dlg;
  AnsweringWindow window{dlg.Template()};
  TunerApiRecord saved = TunerApi;
  fs::path dir;

  void SetUp() override {
    ASSERT_TRUE(theApp.startSockets);
    char tmpl[] = "/tmp/qv_capture_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fw::SetCurrentHost(&host);
    TunerApi.SetFilter = FakeSetFilter;
    TunerApi.DelFilter = FakeDelFilter;
    setResult = 1, setWrites = 5, delResult = 1;
    deliverDuringSet.clear();
    deleted.clear();
    lastCallback = nullptr;
    dlg.AttachWindow(&window);
    ASSERT_TRUE(dlg.UpdateData(false));
    window.answer = (dir / "stream.ts").string();
  }
  void TearDown() override {
    host.Pump();
    dlg.AttachWindow(nullptr);
    fw::SetCurrentHost(nullptr);
    TunerApi = saved;
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void Click() {
    FakeControl& box = window.C(IDC_CHK_FILTER_ENABLE);
    box.check = box.check == 1 ? 0 : 1;
    dlg.OnFilterEnableClicked();
  }
  std::string Status() const { return window.C(IDC_STATIC_FILTER_INFO).text; }
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    for (const auto& e : window.C(IDC_LIST_LOG).entries) lines.push_back(e.first);
    return lines;
  }
  std::vector<uint8_t> File() const {
    std::ifstream in(dir / "stream.ts", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(CaptureDialog, DeliveriesDuringSetFilterReachTheFileInOrder) {
  deliverDuringSet = {{1, 2, 3}, {4, 5}, std::vector<uint8_t>(1019, 6)};
  Click();
  ASSERT_EQ(window.requests.size(), 1u);
  EXPECT_EQ(window.requests[0].defaultName, "stream.ts");
  EXPECT_EQ(window.requests[0].defaultExt, "ts");
  EXPECT_EQ(window.requests[0].filter, "Stream files (*.ts)|*.ts|All Files (*.*)|*.*||");
  EXPECT_TRUE(window.requests[0].save);
  EXPECT_EQ(lastPid, 8192u);
  EXPECT_EQ(dlg.m_nTsFilter, 5);
  EXPECT_EQ(window.C(IDC_CHK_FILTER_ENABLE).check, 1);
  // The text waits for the user-interface thread.
  EXPECT_EQ(Status(), "");
  host.Pump();
  EXPECT_EQ(Status(), "Total: 1 Kb");
  Click();
  std::vector<uint8_t> expected = {1, 2, 3, 4, 5};
  expected.insert(expected.end(), 1019, 6);
  EXPECT_EQ(File(), expected);
  EXPECT_EQ(deleted, std::vector<int32_t>{5});
  EXPECT_EQ(dlg.m_nTsFilter, -1);
  EXPECT_EQ(Log(), (std::vector<std::string>{"SetFilter() success.", "DelFilter() success."}));
}

// A fast stream: however many buffers come while the user-interface thread is
// busy, one update waits, and it shows the latest total.
TEST_F(CaptureDialog, StatusUpdatesAreCoalescedAndShowTheLatestTotal) {
  Click();
  const std::vector<uint8_t> buffer(1316, 0x47);
  std::thread library([&] {
    for (int i = 0; i < 5000; ++i) lastCallback(buffer.data(), 1316);
  });
  library.join();
  EXPECT_EQ(host.Pending(), 1u);
  host.Pump();
  EXPECT_EQ(Status(), CaptureStatusText(5000ull * 1316));
  lastCallback(buffer.data(), 1316);
  EXPECT_EQ(host.Pending(), 1u) << "no update was posted after the last one ran";
  // Stopping shows the final total at once; the update still queued does not
  // come back later with a total of the next capture.
  Click();
  EXPECT_EQ(Status(), CaptureStatusText(5001ull * 1316));
  window.answer = (dir / "second.ts").string();
  Click();
  host.Pump();
  EXPECT_EQ(Status(), CaptureStatusText(5001ull * 1316)) << "the text changed before a delivery";
  const std::vector<uint8_t> two(2048, 0x47);
  lastCallback(two.data(), 2048);
  host.Pump();
  EXPECT_EQ(Status(), "Total: 2 Kb");
  Click();
  EXPECT_EQ(fs::file_size(dir / "stream.ts"), 5001u * 1316);
}

TEST_F(CaptureDialog, FailedSetFilterLeavesAnEmptyFileAndNoFilterNumber) {
  setResult = 0;
  setWrites = 7;
  deliverDuringSet = {{1, 2, 3}};  // a library that delivered and then refused
  Click();
  EXPECT_EQ(dlg.m_nTsFilter, -1) << "closing would delete a number the library did not hand out";
  EXPECT_EQ(window.C(IDC_CHK_FILTER_ENABLE).check, 0);
  EXPECT_EQ(Log(), std::vector<std::string>{"SetFilter() failed !"});
  EXPECT_TRUE(fs::exists(dir / "stream.ts"));
  // The file is closed: a late buffer goes nowhere.
  lastCallback(deliverDuringSet[0].data(), 3);
  EXPECT_EQ(fs::file_size(dir / "stream.ts"), 3u);
}

TEST_F(CaptureDialog, FailedDelFilterStillClosesTheFile) {
  Click();
  const uint8_t b[188] = {0x47};
  lastCallback(b, sizeof b);
  delResult = 0;
  Click();
  EXPECT_EQ(Log(), (std::vector<std::string>{"SetFilter() success.", "DelFilter() failed !"}));
  EXPECT_EQ(dlg.m_nTsFilter, 5) << "the filter may still deliver: it is deleted later";
  EXPECT_EQ(window.C(IDC_CHK_FILTER_ENABLE).check, 0);
  // The library goes on delivering; nothing reaches the file or the text.
  lastCallback(b, sizeof b);
  host.Pump();
  EXPECT_EQ(fs::file_size(dir / "stream.ts"), 188u);
  EXPECT_EQ(Status(), "Total: 0 Kb");
}

TEST_F(CaptureDialog, RefusedPidAndCancelAskNothingOfTheLibrary) {
  window.C(IDC_EDIT_PID).text = "8193";
  Click();
  EXPECT_TRUE(window.requests.empty());
  window.C(IDC_EDIT_PID).text = "0";
  window.answer.reset();
  Click();
  EXPECT_EQ(window.requests.size(), 1u);
  EXPECT_EQ(lastCallback, nullptr);
  EXPECT_EQ(window.C(IDC_CHK_FILTER_ENABLE).check, 0);
  EXPECT_EQ(Log(), std::vector<std::string>{"PID must be 0-8192 !"});
  EXPECT_FALSE(fs::exists(dir / "stream.ts"));
}

}  // namespace
