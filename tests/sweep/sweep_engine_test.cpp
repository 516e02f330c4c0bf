// The sweep engine over a tuner of the test's own and a clock the test moves:
// lock times, the lock limit, tuning failures, libraries without a lock flag,
// stopping, and the recording of a locked transponder's stream.
#include "sweep/sweep_engine.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "sweep/sweep_text.h"

namespace {

using Clock = SweepEngine::Clock;

// Each transponder locks after `lockAfterMs` of its tune, or never (-1); a
// tune costs `tuneMs` of the test's clock.
struct ScriptedTuner : SweepTuner {
  Clock::time_point now{};
  std::deque<int> lockAfterMs;
  int tuneMs = 0;
  bool reportsLock = true;
  bool failTune = false;
  Clock::time_point tunedAt{};
  int current = -1;
  int reads = 0;

  SweepTuneOutcome Tune(const ChannelTuning&) override {
    now += std::chrono::milliseconds(tuneMs);
    current = lockAfterMs.front();
    lockAfterMs.pop_front();
    tunedAt = now;
    if (failTune) return {false, "SetChannelExEx failed !", ""};
    return {true, "", ""};
  }
  // Recording: the refusal, the bytes a second delivers, the faults counted,
  // the deletion's note, and what the registering call costs.
  std::string refuse, stopNote;
  uint64_t bytesPerSecond = 0;
  SweepStreamTotals faults;
  int startMs = 0, asked = 0, started = 0, stopped = 0;
  Clock::time_point recordingFrom{};

  std::string StartRecording() override {
    ++asked;
    recordingFrom = now;
    now += std::chrono::milliseconds(startMs);
    started += refuse.empty();
    return refuse;
  }
  SweepRecordingEnd StopRecording() override {
    ++stopped;
    SweepRecordingEnd end{faults, stopNote};
    end.totals.bytes = static_cast<uint64_t>(
        std::chrono::duration<double>(now - recordingFrom).count() * double(bytesPerSecond));
    now += std::chrono::milliseconds(3);
    return end;
  }
  SweepReading Read() override {
    ++reads;
    SweepReading r;
    if (reportsLock) r.lock = current >= 0 && now - tunedAt >= std::chrono::milliseconds(current);
    r.texts = {"Level: 50%"};
    return r;
  }
};

// Drives the engine as RunSweep does, moving the test's clock to each due time.
std::vector<SweepResult> Drive(SweepEngine& engine, ScriptedTuner& tuner, int stopAfterReads = -1) {
  std::vector<SweepResult> results;
  for (int steps = 0; !engine.Done() && steps < 10000; ++steps) {
    tuner.now = std::max(tuner.now, engine.NextDue());
    if (tuner.reads == stopAfterReads) engine.Stop();
    if (auto r = engine.Advance()) results.push_back(*r);
  }
  EXPECT_TRUE(engine.Done());
  return results;
}

TEST(SweepEngine, LockTimesAndTheLimit) {
  struct Case {
    int lockAfterMs;  // -1: never
    bool locked;
    std::optional<uint32_t> lockMs;
    uint32_t elapsedMs;
    int reads;
  } cases[] = {
      {0, true, 0, 5, 1},  // the 5 ms are the tuning call's
      {30, true, 40, 45, 3},
      {100, true, 100, 105, 6},           // polls at 0, 20, 40, 60, 80, 100
      {-1, false, std::nullopt, 105, 6},  // the last poll falls on the limit
      {101, false, std::nullopt, 105, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lockAfterMs);
    ScriptedTuner tuner;
    tuner.tuneMs = 5;
    tuner.lockAfterMs = {c.lockAfterMs};
    SweepEngine engine(tuner, {ChannelTuning{}}, {100, 20}, [&] { return tuner.now; });
    const std::vector<SweepResult> results = Drive(engine, tuner);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].locked, c.locked);
    EXPECT_EQ(results[0].lockMs, c.lockMs);
    EXPECT_EQ(results[0].elapsedMs, c.elapsedMs);
    EXPECT_EQ(tuner.reads, c.reads);
    EXPECT_EQ(results[0].reading.texts.size(), 1u);
  }
}

TEST(SweepEngine, EveryTransponderInOrderWithItsIndex) {
  ScriptedTuner tuner;
  tuner.lockAfterMs = {0, -1, 10};
  SweepEngine engine(tuner, std::vector<ChannelTuning>(3), {50, 10}, [&] { return tuner.now; });
  EXPECT_EQ(engine.Total(), 3u);
  const std::vector<SweepResult> results = Drive(engine, tuner);
  ASSERT_EQ(results.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(results[i].index, i);
  EXPECT_TRUE(results[0].locked);
  EXPECT_FALSE(results[1].locked);
  EXPECT_EQ(results[2].lockMs, 10u);
  EXPECT_EQ(engine.Finished(), 3u);
}

TEST(SweepEngine, NothingToWaitFor) {
  // A failed tune reads nothing; a library without a lock flag is read once.
  for (const bool failTune : {true, false}) {
    ScriptedTuner tuner;
    tuner.lockAfterMs = {0};
    tuner.failTune = failTune;
    tuner.reportsLock = false;
    SweepEngine engine(tuner, {ChannelTuning{}}, {3000, 20}, [&] { return tuner.now; });
    const std::vector<SweepResult> results = Drive(engine, tuner);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_FALSE(results[0].locked);
    EXPECT_EQ(results[0].tune.tuned, !failTune);
    EXPECT_EQ(tuner.reads, failTune ? 0 : 1);
    EXPECT_EQ(results[0].elapsedMs, 0u);
  }
}

TEST(SweepEngine, StopDropsTheTransponderInHandAndTunesNoOther) {
  ScriptedTuner tuner;
  tuner.lockAfterMs = {0, -1, 0};
  SweepEngine engine(tuner, std::vector<ChannelTuning>(3), {3000, 20}, [&] { return tuner.now; });
  // Stopped while the second transponder waits for its lock.
  const std::vector<SweepResult> results = Drive(engine, tuner, 3);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_TRUE(engine.Stopped());
  EXPECT_EQ(engine.Finished(), 1u);
  EXPECT_EQ(tuner.lockAfterMs.size(), 1u);  // the third was never tuned
  EXPECT_LT(tuner.now - tuner.tunedAt, std::chrono::milliseconds(100));
}

TEST(SweepEngine, RecordsEachLockedTransponderForItsTime) {
  ScriptedTuner tuner;
  tuner.tuneMs = 5;
  tuner.startMs = 4;
  tuner.lockAfterMs = {30, -1, 0};
  tuner.bytesPerSecond = 5000000;
  tuner.faults = {0, 7000, 3, 1, 2};
  SweepEngine engine(tuner, std::vector<ChannelTuning>(3), {100, 20, 1000},
                     [&] { return tuner.now; });
  const std::vector<SweepResult> results = Drive(engine, tuner);
  ASSERT_EQ(results.size(), 3u);
  // Only the locked ones are recorded, each once, and each filter is deleted.
  EXPECT_EQ(tuner.started, 2);
  EXPECT_EQ(tuner.stopped, 2);
  EXPECT_FALSE(results[1].stream);
  for (const size_t i : {size_t{0}, size_t{2}}) {
    EXPECT_EQ(results[i].recordedMs, 1000u);  // the registering call's time included
    EXPECT_EQ(results[i].bitrateBps, 40000000u);
    EXPECT_EQ(results[i].streamErrors, 6u);
    EXPECT_TRUE(RecordingFailed(results[i]));
  }
  // Locked 40 ms after the tune, then 1000 ms of stream and 3 ms of deletion.
  EXPECT_EQ(results[0].elapsedMs, 5u + 40 + 1000 + 3);
  EXPECT_EQ(RecordingText(results[0]),
            "stream 1000 ms: 40.00 Mbit/s, 6 errors (continuity 3, sync 1, TEI 2)");
}

TEST(SweepEngine, ARecordingRefusedOrNotDeletedIsANote) {
  for (const bool refused : {true, false}) {
    ScriptedTuner tuner;
    tuner.lockAfterMs = {0, 0};
    (refused ? tuner.refuse : tuner.stopNote) =
        refused ? "SetFilter() failed !" : "DelFilter() failed !";
    SweepEngine engine(tuner, std::vector<ChannelTuning>(2), {100, 20, 500},
                       [&] { return tuner.now; });
    const std::vector<SweepResult> results = Drive(engine, tuner);
    ASSERT_EQ(results.size(), 2u);  // the sweep goes on, each transponder asks anew
    EXPECT_EQ(tuner.asked, 2);
    EXPECT_EQ(tuner.stopped, refused ? 0 : 2);  // a refused filter is never deleted
    EXPECT_TRUE(results[1].locked && RecordingFailed(results[1]));
    EXPECT_EQ(RecordingText(results[1]), refused
                                             ? "not recorded: SetFilter() failed !"
                                             : "stream 500 ms: 0.00 Mbit/s, 0 errors (continuity "
                                               "0, sync 0, TEI 0) (DelFilter() failed !)");
  }
}

TEST(SweepEngine, StoppingOrDroppingTheSweepEndsTheRecording) {
  for (const bool drop : {false, true}) {
    ScriptedTuner tuner;
    tuner.lockAfterMs = {0, 0};
    std::optional<SweepEngine> engine(std::in_place, tuner, std::vector<ChannelTuning>(2),
                                      SweepSettings{100, 20, 60000}, [&] { return tuner.now; });
    EXPECT_FALSE(engine->Advance() || engine->Advance());  // tuned, then locked and recording
    ASSERT_EQ(tuner.started, 1);
    EXPECT_EQ(engine->NextDue(), tuner.now + std::chrono::minutes(1));
    if (drop) {
      engine.reset();
    } else {
      engine->Stop();
      EXPECT_FALSE(engine->Advance());
      EXPECT_TRUE(engine->Done());
    }
    EXPECT_EQ(tuner.stopped, 1);
    EXPECT_EQ(tuner.lockAfterMs.size(), 1u);  // the second was never tuned
  }
}

}  // namespace
