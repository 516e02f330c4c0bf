// The dialog's sweep session against a port and a tuner of the test's own:
// the controls it takes and gives back, stopping, the rows, the CSV, and the
// ways a sweep cannot start.
#include "sweep/sweep_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "res/resource_ids.h"
#include "tests/program/fake_ui.h"

namespace {

using Clock = SweepEngine::Clock;

struct SweepUi : FakeUi, fw::SweepWindow {
  fw::SweepWindow* OpenSweep(fw::SweepWindowModel&) override { return this; }
  void ShowNewData() override {}
  void BringToFront() override {}
};

// Locks 10722 and 11362 MHz at once, the others never; a call takes 1 ms.
struct FakeTuner : SweepTuner {
  Clock::time_point* now;
  std::vector<uint32_t>* tuned;
  SweepTuneOutcome Tune(const ChannelTuning& t) override {
    *now += std::chrono::milliseconds(1);
    tuned->push_back(t.fields.freq);
    return {true, "", ""};
  }
  SweepReading Read() override {
    *now += std::chrono::milliseconds(1);
    SweepReading r;
    r.lock = tuned->back() == 10722 || tuned->back() == 11362;
    r.texts = {*r.lock ? "Level: 68%" : "Level: 0%"};
    return r;
  }
};

struct Session : ::testing::Test {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qv-session-" + std::to_string(getpid()));
  std::string file = (dir / "sky.conf").string();
  SweepUi ui;
  Clock::time_point now{};
  bool clockRuns = false;  // RunNow sleeps until each step is due: its clock must move
  std::vector<uint32_t> tuned;
  bool started = true;
  SweepSession session{
      ui,
      [this] {
        return started ? std::optional<SweepDevice>(SweepDevice{2u, 0x18FEu, {}}) : std::nullopt;
      },
      [this](const SweepDevice&) -> std::unique_ptr<SweepTuner> {
        auto t = std::make_unique<FakeTuner>();
        t->now = &now, t->tuned = &tuned;
        return t;
      },
      SweepSettings{50, 20},
      [this] { return now += std::chrono::milliseconds(clockRuns ? 1 : 0); }};

  void SetUp() override {
    std::filesystem::create_directories(dir);
    std::ofstream out(file);
    for (const char* f : {"10722000", "11111000", "11362000", "12000000"}) {
      out << "[X]\n\tDELIVERY_SYSTEM = DVBS2\n\tFREQUENCY = " << f
          << "\n\tPOLARIZATION = VERTICAL\n\tSYMBOL_RATE = 27500000\n\n";
    }
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  // Ticks of the window timer, 10 ms apart, while the sweep runs.
  void Tick(int ticks) {
    for (int i = 0; i < ticks && session.Running(); ++i) {
      ASSERT_TRUE(ui.timers.count(kSweepTimerId)) << "a running sweep without its timer";
      session.OnTimer();
      now += std::chrono::milliseconds(10);
    }
  }
  void ExpectControlsBack(int disabledBefore = 0) {
    for (int id : SweepLockedControls()) EXPECT_EQ(ui.IsEnabled(id), id != disabledBefore) << id;
    EXPECT_EQ(ui.timers.count(kSweepTimerId), 0u);
  }
};

TEST_F(Session, TakesTheLibraryControlsAndGivesThemBackAsTheyWere) {
  ui.Enable(IDC_CHK_FILTER_ENABLE, false);  // the device offers no capture
  session.Open();
  session.SetFile(file);
  session.ChooseFile();  // cancelled; it opens where the last file was
  EXPECT_EQ(ui.asked.back().initialDir, dir.string());
  session.Start();
  ASSERT_TRUE(session.Running());
  for (int id : SweepLockedControls()) EXPECT_FALSE(ui.IsEnabled(id)) << id;
  for (int id : {IDC_LIST_LOG, IDC_CHK_LOG_TO_FILE, IDC_CHK_RC_ENABLE})
    EXPECT_TRUE(ui.IsEnabled(id));
  Tick(200);
  ASSERT_FALSE(session.Running());
  ExpectControlsBack(IDC_CHK_FILTER_ENABLE);
  EXPECT_EQ(tuned, (std::vector<uint32_t>{10722, 11111, 11362, 12000}));
  ASSERT_EQ(session.RowCount(), 4u);
  EXPECT_EQ(session.Finished(), session.Total());
  EXPECT_EQ(session.Row(1),
            (std::vector<std::string>{"sky.conf:7", "11111 MHz V/R 27500 kS/s DVBS2",
                                      "no lock within 50 ms", "Level: 0%"}));
  EXPECT_EQ(session.Status(), "Locked: 2 of 4");
}

TEST_F(Session, StopAndCloseEndTheSweepBeforeTheNextTransponder) {
  session.SetFile(file);
  session.Start();
  while (session.Running() && tuned.size() < 2) Tick(1);
  ASSERT_EQ(tuned.size(), 2u);  // the second transponder is in hand, unlocked
  session.Stop();
  session.OnTimer();
  EXPECT_EQ(tuned.size(), 2u) << "a call after Stop";
  EXPECT_EQ(session.Status(), "Stopped after 1 of 4 transponders; Locked: 1 of 1");
  ExpectControlsBack();
  // Closing the window and the dialog's close sequence stop it too.
  for (auto end : {&SweepSession::Closed, &SweepSession::Abort}) {
    session.Start();
    ASSERT_TRUE(session.Running());
    (session.*end)();
    EXPECT_FALSE(session.Running());
    ExpectControlsBack();
  }
}

TEST_F(Session, ReasonsASweepCannotStartTouchNothingAndRunNowPrintsTheLines) {
  std::vector<std::string> lines;
  const auto run = [&](const std::string& path) {
    lines.clear();
    return session.RunNow(path, [&](const std::string& l) { lines.push_back(l); });
  };
  FakeUi windowless;  // a host without a sweep window says so
  SweepSession(windowless, {}, {}).Open();
  EXPECT_EQ(windowless.boxes.size(), 1u);
  started = false;
  EXPECT_FALSE(run(file));
  EXPECT_EQ(lines,
            std::vector<std::string>{"No device is started: choose one in the device list."});
  started = true;
  EXPECT_FALSE(run((dir / "missing.conf").string()));
  std::ofstream((dir / "t.conf").string())
      << "[T]\n\tDELIVERY_SYSTEM = DVBT\n\tFREQUENCY = 474000000\n";
  EXPECT_FALSE(run((dir / "t.conf").string()));
  EXPECT_EQ(lines[0].rfind("Nothing to sweep in t.conf. Skipped: 1", 0), 0u) << lines[0];
  EXPECT_TRUE(tuned.empty());
  EXPECT_TRUE(ui.enabled.empty());

  clockRuns = true;
  ASSERT_TRUE(run(file));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "sky.conf:7 11111 MHz V/R 27500 kS/s DVBS2: no lock within 50 ms; Level: 0%");
  EXPECT_EQ(lines[4], "Locked: 2 of 4");
  ExpectControlsBack();

  // The CSV of the rows; a file that cannot be written is said so.
  ui.answers = {(dir / "out.csv").string(), (dir / "none" / "x.csv").string()};
  session.Save();
  std::ifstream in((dir / "out.csv").string());
  int rows = 0;
  for (std::string row; std::getline(in, row);) rows += row.find(",1,1,") != std::string::npos;
  EXPECT_EQ(rows, 2);  // tuned and locked
  session.Save();
  EXPECT_EQ(ui.boxes,
            std::vector<std::string>{"Error | Can't write " + (dir / "none" / "x.csv").string()});
}

}  // namespace
