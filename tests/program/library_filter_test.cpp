// The life of a library filter, the one rule reception and capture share.
#include "tuner/library_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/program/fake_ui.h"

namespace {

std::vector<int32_t> deleted;
std::vector<int32_t> delResults;  // DelFilter's answers in turn; 1 once they run out

int32_t QV_API FakeDelFilter(int32_t number) {
  deleted.push_back(number);
  const size_t call = deleted.size() - 1;
  return call < delResults.size() ? delResults[call] : 1;
}

struct Filter : FakeLibrary {
  FakeUi ui;
  LibraryFilter filter{{"DelFilter() success !", "RC disabled."}};
  std::vector<std::string> events;  // the log, with "returned" where DelFilter came back
  void SetUp() override {
    FakeLibrary::SetUp();
    TunerApi.DelFilter = FakeDelFilter;
    deleted.clear(), delResults.clear();
  }
  LibraryFilter::Returned Mark() {
    return [this](bool gone) {
      for (const std::string& line : ui.lines) events.push_back(line);
      ui.lines.clear();
      events.push_back(gone ? "returned: gone" : "returned: kept");
    };
  }
  std::vector<std::string> Events() {
    for (const std::string& line : ui.lines) events.push_back(line);
    ui.lines.clear();
    return events;
  }
  bool Register(int32_t writes, bool accepts) {
    return filter.Register([&](int32_t* n) { return *n = writes, accepts; });
  }
};

// Guards a refusing library's scribbled number kept (closing would delete a
// filter never handed out), a failed deletion forgotten (the filter may still
// deliver) and deliveries served after the outcome instead of before it.
TEST_F(Filter, OrphansAreKeptRetriedFirstAndDeletedAtClose) {
  EXPECT_FALSE(Register(7, false));
  EXPECT_EQ(filter.Number(), -1);
  EXPECT_TRUE(Register(4, true));
  EXPECT_TRUE(filter.Running());
  delResults = {0, 0, 1};
  EXPECT_FALSE(filter.Delete(ui, Mark()));
  EXPECT_FALSE(filter.Running());
  EXPECT_EQ(filter.Number(), 4) << "an orphan keeps its number";
  EXPECT_FALSE(filter.ClearOrphan(ui, Mark())) << "a new registration waits";
  filter.Close(ui, Mark());
  EXPECT_FALSE(filter.Held());
  EXPECT_EQ(deleted, (std::vector<int32_t>{4, 4, 4}));
  EXPECT_EQ(Events(),
            (std::vector<std::string>{"returned: kept", "DelFilter() failed !", "returned: kept",
                                      "DelFilter() failed !", "returned: gone",
                                      "DelFilter() success !", "RC disabled."}));
}

// Guards lines at close for a filter that ran, and a DelFilter of nothing.
TEST_F(Filter, ARunningFilterGoesSilentlyAtCloseAndNoneIsNeverDeleted) {
  filter.Close(ui, Mark());
  EXPECT_TRUE(filter.ClearOrphan(ui));
  EXPECT_TRUE(deleted.empty());
  ASSERT_TRUE(Register(9, true));
  filter.Close(ui, Mark());
  EXPECT_EQ(deleted, std::vector<int32_t>{9});
  EXPECT_EQ(Events(), std::vector<std::string>{"returned: gone"});
}

}  // namespace
