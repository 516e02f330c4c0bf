// The application object: socket start-up decides whether the dialog runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/quorvex_demo_app.h"
#include "framework/dialog.h"
#include "framework/icon_origin.h"
#include "res/resource_ids.h"
#include "res/strings.h"

namespace {

struct RecordingHost : fw::Host {
  std::vector<std::string> boxes;
  int modalRuns = 0;
  int RunModal(fw::Dialog&) override {
    ++modalRuns;
    return fw::kIdCancel;
  }
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) override {
    boxes.push_back(caption + " | " + text + " | " + std::to_string(static_cast<int>(icon)));
    return fw::kIdOk;
  }
  void Post(std::function<void()>) override {}
};

struct AppTest : ::testing::Test {
  RecordingHost host;
  std::function<bool()> saved = theApp.startSockets;
  void SetUp() override { fw::SetCurrentHost(&host); }
  void TearDown() override {
    theApp.startSockets = saved;
    fw::SetCurrentHost(nullptr);
  }
};

// Guards the dialog built although sockets failed, and a wrong string or icon.
TEST_F(AppTest, SocketFailureShowsString103AndNeverBuildsTheDialog) {
  theApp.startSockets = [] { return false; };
  EXPECT_FALSE(theApp.InitInstance());
  EXPECT_EQ(host.modalRuns, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0], "QuorvexDemo | " + res::LoadString(IDP_SOCKETS_INIT_FAILED) + " | " +
                               std::to_string(static_cast<int>(fw::BoxIcon::Warning)));
  EXPECT_EQ(res::LoadString(IDP_SOCKETS_INIT_FAILED),
            "Не удалось инициализировать Windows Sockets.");
}

// Guards InitInstance returning true, which would start a message pump.
TEST_F(AppTest, StartedSocketsRunTheDialogOnceAndStillReturnFalse) {
  theApp.startSockets = [] { return true; };
  EXPECT_FALSE(theApp.InitInstance());
  EXPECT_EQ(host.modalRuns, 1);
  EXPECT_TRUE(host.boxes.empty());
}

// Guards rounding the centred icon the other way for odd differences.
TEST(CenteredIconOrigin, RoundsLikeTheClassicDialog) {
  struct Case {
    int cw, ch, iw, ih, x, y;
  } cases[] = {
      {32, 32, 32, 32, 0, 0},    {36, 36, 32, 32, 2, 2}, {37, 38, 32, 32, 3, 3},
      {160, 24, 32, 32, 64, -3}, {0, 0, 16, 16, -7, -7},
  };
  for (const Case& c : cases) {
    const fw::Point p = fw::CenteredIconOrigin(c.cw, c.ch, c.iw, c.ih);
    EXPECT_EQ(p.x, c.x) << c.cw;
    EXPECT_EQ(p.y, c.y) << c.ch;
  }
}

}  // namespace
