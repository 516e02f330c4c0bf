// The shared export layer over a backend of the test's own, one that throws
// from the operations the calls below reach.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "backend.h"

namespace {

struct Throwing : qvabi::Backend {
  bool devices(std::vector<qvabi::DeviceEntry>&) override { throw std::runtime_error("list"); }
  bool start(uint32_t, uint32_t&) override { throw std::bad_alloc(); }
  bool tune(const TuneArgs&, qvabi::TuneGeneration) override { throw 1; }
  bool signal(SignalReader, SignalFigures&) override { throw std::runtime_error("read"); }
  uint32_t caps() override { throw std::runtime_error("caps"); }
};

Throwing& Instance() {
  static Throwing backend;
  return backend;
}

}  // namespace

qvabi::Backend& qvabi::backend() { return Instance(); }

// Guards against an exception crossing into the program, a failure reported
// as success, and an operation left out answering anything but 0.
TEST(ExportLayer, AThrowingBackendFailsEachCallAndTracesWhy) {
  const std::string path = testing::TempDir() + "export_layer_trace.txt";
  std::remove(path.c_str());
  ASSERT_TRUE(Instance().trace().open(path));
  uint32_t type = 7;
  int32_t level = 0, quality = 0;
  QvStatistic statistic{};
  EXPECT_EQ(CheckForDVB(), 0);
  EXPECT_EQ(StartDVBEx(1), 0);
  EXPECT_EQ(SetChannel(11362000, 27500000, 0, 0, 9750000, 10600000, 11700000), 0);
  EXPECT_EQ(GetSignal(&level, &quality), 0);
  EXPECT_EQ(Statistic(&statistic), 0);
  EXPECT_EQ(GetCaps(), 0u);
  EXPECT_EQ(GetTunerType(&type), 0);
  EXPECT_EQ(type, 7u) << "a failed call wrote its output";
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "CheckForDVB() = 0 [internal error]",
                       "StartDVBEx(1) = 0 [internal error]",
                       "SetChannel(11362000, 27500000, 0, 0, 9750000, 10600000, 11700000) = 0 "
                       "[internal error]",
                       "GetSignal(&, &) = 0 [internal error]",
                       "Statistic(&) = 0 [internal error]",
                       "GetCaps() = 0x00000000 [internal error]",
                       "GetTunerType(&) = 0",
                   }));
}
