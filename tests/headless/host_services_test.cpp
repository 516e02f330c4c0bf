// What the program asks of the host: boxes, file dialogs, child dialogs, list
// semantics, timers and work posted from other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/file_name.h"
#include "tests/headless/test_dialog.h"
#include "tests/support/window_contract.h"

namespace headless_test {
namespace {

// Guards a dot in a folder taken for an extension, "scan." extended, and a
// folder turned into a hidden file.
TEST(DefaultExtension, IsAddedOnlyWhenTheFileNameHasNone) {
  struct Case {
    std::string path, ext, expected;
  };
  const Case cases[] = {
      {"/tmp/scan", "log", "/tmp/scan.log"},
      {"/tmp/scan.txt", "log", "/tmp/scan.txt"},
      {"/tmp.d/scan", "log", "/tmp.d/scan.log"},  // a dot in a folder does not count
      {"C:\\logs.old\\scan", "log", "C:\\logs.old\\scan.log"},
      {"scan", "", "scan"},
      {"scan", ".log", "scan.log"},
      {"scan.", "log", "scan."},
      {"dir/", "bin", "dir/"},
      {"", "bin", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fw::WithDefaultExtension(c.path, c.ext), c.expected) << c.path;
  }
}

// The window contract on the headless window.
struct HeadlessRunner {
  static void Run(fw::Dialog& dialog) {
    std::istringstream in;
    std::ostringstream out;
    headless::HeadlessHost host(in, out, headless::HeadlessHost::Options{false});
    host.RunModal(dialog);
  }
};

// Guards timers served out of due order or posted work starved by them.
TEST(Wait, ServesTimersInDueOrderWithPostedWorkBetween) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  std::vector<std::string> order;
  dialog.onInit = [](TestDialog& d) {
    d.SetTimer(1, 40);
    d.SetTimer(2, 100);
  };
  dialog.onMessage = [&](TestDialog& d, const fw::Message& m) {
    if (m.kind != fw::MessageKind::Timer) return;
    order.push_back('t' + std::to_string(m.timerId));
    if (m.timerId == 2) fw::Dialog::PostToUi([&order] { order.push_back("p"); });
    if (m.timerId == 99) d.KillTimer(1);
  };
  // Timer 1 at 40, 80, 120, 160, 200; timer 2 at 100 and 200 (set later, so after timer 1),
  // each followed by its post; after timer 1 is killed only timer 2 ticks, at 300.
  const Outcome o = RunScript(dialog, "wait 230\ntimer 99\nwait 100\n");
  EXPECT_EQ(order, (std::vector<std::string>{"t1", "t1", "t2", "p", "t1", "t1", "t1", "t2", "p",
                                             "t99", "t2", "p"}));
}

// Guards a wait that outlives the dialog or runs work queued after its end.
TEST(Wait, StopsWhenPostedWorkEndsTheDialogAndDropsTheRest) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  int ran = 0;
  dialog.onInit = [&](TestDialog& d) {
    fw::Dialog::PostToUi([&ran, &d] {
      ++ran;
      d.EndDialog(fw::kIdOk);
    });
    fw::Dialog::PostToUi([&ran] { ++ran; });
  };
  const auto start = headless::Clock::now();
  const Outcome o = RunScript(dialog, "wait 5000\nclick 100\n");
  EXPECT_LT(headless::Clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(o.transcript, "ended: ok\n");
  EXPECT_EQ(ran, 1);
}

// Guards work run outside a wait, and dropped work kept alive.
TEST(Posts, OutsideAWaitNeverRunAndAreDroppedWhenTheDialogEnds) {
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  std::atomic<int> ran = 0;
  auto counted = std::make_shared<int>(0);
  // Dropped work whose capture posts as it goes: destroyed under the queue's
  // lock, it would deadlock.
  struct PostsWhenDropped {
    ~PostsWhenDropped() {
      fw::Dialog::PostToUi([] {});
    }
  };
  dialog.onInit = [&](TestDialog&) {
    fw::Dialog::PostToUi([&ran, counted] { ++ran; });
    fw::Dialog::PostToUi([p = std::make_shared<PostsWhenDropped>()] {});
  };
  dialog.onMessage = [&](TestDialog&, const fw::Message&) {
    fw::Dialog::PostToUi([&ran, counted] { ++ran; });
  };
  std::istringstream in("click 100\nshow 100\nclose\n");
  std::ostringstream out;
  headless::HeadlessHost host(in, out, headless::HeadlessHost::Options{false});
  fw::SetCurrentHost(&host);
  host.RunModal(dialog);
  host.Post([&ran, counted] { ++ran; });  // after the end: never queued
  EXPECT_EQ(counted.use_count(), 1);      // every dropped piece of work was destroyed
  EXPECT_FALSE(dialog.HasWindow());
  fw::SetCurrentHost(nullptr);
  EXPECT_EQ(ran.load(), 0);
}

// Labelled "threads" and also run under ThreadSanitizer.
TEST(Threads, PostsFromManyThreadsArriveInOrderPerThreadAndNoneIsLost) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 2000;
  const fw::DialogTemplate t = MakeTemplate();
  TestDialog dialog(t);
  std::vector<std::vector<int>> seen(kThreads);  // touched on the UI thread only
  int total = 0;
  std::vector<std::thread> threads;
  dialog.onInit = [&](TestDialog& d) {
    for (int k = 0; k < kThreads; ++k) {
      threads.emplace_back([&, k] {
        for (int i = 0; i < kPerThread; ++i) {
          fw::Dialog::PostToUi([&, k, i] {
            seen[static_cast<size_t>(k)].push_back(i);
            if (++total == kThreads * kPerThread) d.EndDialog(fw::kIdOk);
          });
        }
      });
    }
  };
  std::string script;
  for (int i = 0; i < 200; ++i) script += "wait 100\n";  // ends early once all arrived
  std::istringstream in(script);
  std::ostringstream out;
  headless::HeadlessHost host(in, out, headless::HeadlessHost::Options{false});
  fw::SetCurrentHost(&host);
  host.RunModal(dialog);
  for (std::thread& th : threads) th.join();  // the host outlives every poster
  fw::SetCurrentHost(nullptr);
  EXPECT_EQ(out.str(), "ended: ok\n");
  ASSERT_EQ(total, kThreads * kPerThread);
  for (int k = 0; k < kThreads; ++k) {
    const std::vector<int>& s = seen[static_cast<size_t>(k)];
    ASSERT_EQ(s.size(), static_cast<size_t>(kPerThread));
    for (int i = 0; i < kPerThread; ++i) ASSERT_EQ(s[static_cast<size_t>(i)], i) << "thread " << k;
  }
}

}  // namespace
}  // namespace headless_test

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Headless, WindowContract,
                               ::testing::Types<headless_test::HeadlessRunner>);
}  // namespace contract
