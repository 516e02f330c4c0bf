// What the library asks of the frontend, in order, against a fake frontend: the
// DiSEqC framing (supply, tone, waits, the tune after a transfer) and the DVB-T /
// DVB-T2 search. The fake stands in for the ioctl system call of frontend_io.
#include <gtest/gtest.h>
#include <linux/dvb/frontend.h>
#include <stdlib.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "card.h"
#include "frontend_io.h"

namespace ldvb {
namespace {

using Clock = std::chrono::steady_clock;

// One ioctl that changes the frontend, as "NAME VALUE" (a tune: "TUNE <system>").
struct Event {
  std::string what;
  Clock::time_point at;
};

struct FakeFrontend {
  std::vector<uint32_t> delsys;
  bool locked = false;
  std::vector<Event> events;
} g_fe;

void Note(const std::string& what) { g_fe.events.push_back({what, Clock::now()}); }

int FakeIoctl(int, unsigned long request, void* arg) {
  const auto value = reinterpret_cast<uintptr_t>(arg);
  switch (request) {
    case FE_GET_INFO:
      std::strcpy(static_cast<dvb_frontend_info*>(arg)->name, "Fake");
      return 0;
    case FE_GET_PROPERTY: {
      auto* props = static_cast<dtv_properties*>(arg);
      for (uint32_t i = 0; i < props->num; ++i) {
        dtv_property& p = props->props[i];
        if (p.cmd == DTV_ENUM_DELSYS) {
          p.u.buffer.len = static_cast<uint32_t>(g_fe.delsys.size());
          for (size_t k = 0; k < g_fe.delsys.size(); ++k)
            p.u.buffer.data[k] = static_cast<uint8_t>(g_fe.delsys[k]);
        }
      }
      return 0;
    }
    case FE_READ_STATUS:
      *static_cast<fe_status_t*>(arg) = g_fe.locked ? FE_HAS_LOCK : fe_status_t{};
      return 0;
    case FE_SET_PROPERTY: {
      const auto* props = static_cast<dtv_properties*>(arg);
      for (uint32_t i = 0; i < props->num; ++i)
        if (props->props[i].cmd == DTV_DELIVERY_SYSTEM)
          Note("TUNE " + std::to_string(props->props[i].u.data));
      return 0;
    }
    case FE_SET_VOLTAGE:
      Note(value == SEC_VOLTAGE_18 ? "VOLTAGE 18" : "VOLTAGE 13");
      return 0;
    case FE_SET_TONE:
      Note(value == SEC_TONE_ON ? "TONE ON" : "TONE OFF");
      return 0;
    case FE_DISEQC_SEND_BURST:
      Note(value == SEC_MINI_B ? "BURST B" : "BURST A");
      return 0;
    case FE_DISEQC_SEND_MASTER_CMD: {
      const auto* cmd = static_cast<dvb_diseqc_master_cmd*>(arg);
      char text[8];
      std::snprintf(text, sizeof text, "%02X", cmd->msg[cmd->msg_len - 1]);
      Note(std::string("CMD ") + text);
      return 0;
    }
    default:
      errno = EOPNOTSUPP;  // the older 16-bit readings
      return -1;
  }
}

class CardOnAFakeFrontend : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qv-ldvb-card-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ + "/dev/adapter0");
    std::filesystem::create_directories(root_ + "/sys");
    std::ofstream(root_ + "/dev/adapter0/frontend0") << "";
    g_fe = FakeFrontend{};
    previous_ = SwapFrontendIoctl(FakeIoctl);
  }
  void TearDown() override {
    SwapFrontendIoctl(previous_);
    std::filesystem::remove_all(root_);
  }
  // Starts the device of the family on a frontend with these systems.
  void Start(Card& card, std::vector<uint32_t> delsys, Family family) {
    g_fe.delsys = std::move(delsys);
    ASSERT_TRUE(card.Discover([](const Device&) {}));
    ASSERT_TRUE(card.Start(DeviceId(0, 0, family)));
    g_fe.events.clear();
  }
  std::vector<std::string> Events() const {
    std::vector<std::string> out;
    for (const Event& e : g_fe.events) out.push_back(e.what);
    return out;
  }
  // The time between two events, by index.
  std::chrono::milliseconds Gap(size_t a, size_t b) const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(g_fe.events[b].at -
                                                                 g_fe.events[a].at);
  }
  std::string root_;
  IoctlCall previous_ = nullptr;
};

TuneArgs Sat(uint32_t mhz, uint32_t pol) {
  TuneArgs r;
  r.freqKHz = mhz * 1000, r.symbolRate = 27500000, r.pol = pol;
  r.lofLowKHz = 9750000, r.lofHighKHz = 10600000, r.lofSwitchKHz = 11700000;
  return r;
}

const std::string kTuneS = "TUNE " + std::to_string(SYS_DVBS);
const uint8_t kPosAHorizontalLow[4] = {0xE0, 0x10, 0x38, 0xF2};
const uint8_t kPosAHorizontalHigh[4] = {0xE0, 0x10, 0x38, 0xF3};
const uint8_t kPort0[4] = {0xE0, 0x10, 0x39, 0xF0};

// Guards against the LNB powered at 13 V while the committed command selects
// horizontal (18 V), against the tone left off for a high band it selects, and
// against the bus waits dropped.
TEST_F(CardOnAFakeFrontend, BeforeAnyTuneTheCommittedCommandDecidesSupplyAndTone) {
  Card card(root_ + "/dev", root_ + "/sys");
  Start(card, {SYS_DVBS, SYS_DVBS2}, Family::Satellite);
  ASSERT_TRUE(card.MasterCommand(kPosAHorizontalLow, 4));
  ASSERT_TRUE(card.Burst(false));
  ASSERT_TRUE(card.MasterCommand(kPosAHorizontalHigh, 4));
  ASSERT_TRUE(card.MasterCommand(kPort0, 4));  // keeps what the committed one selected
  EXPECT_EQ(Events(), (std::vector<std::string>{"VOLTAGE 18", "TONE OFF", "CMD F2",  //
                                                "TONE OFF", "BURST A",               //
                                                "TONE OFF", "CMD F3", "TONE ON",     //
                                                "TONE OFF", "CMD F0", "TONE ON"}));
  EXPECT_GE(Gap(1, 2), std::chrono::milliseconds(15));  // tone off, then the bus settles
  EXPECT_GE(Gap(6, 7), std::chrono::milliseconds(15));  // the command ends before the tone
}

// Guards against a tuned device left without a tune after a transfer (the kernel's
// frontend stops tuning at a bus command and reports no lock until the next tune), and
// against a command that overrides the supply of the tuned transponder.
TEST_F(CardOnAFakeFrontend, AfterATransferOnATunedDeviceTheLastTuneIsAppliedAgain) {
  Card card(root_ + "/dev", root_ + "/sys");
  Start(card, {SYS_DVBS, SYS_DVBS2}, Family::Satellite);
  ASSERT_TRUE(card.Tune(Sat(11362, 1)));  // vertical: 13 V, in the tune's properties
  ASSERT_TRUE(card.MasterCommand(kPosAHorizontalLow, 4));
  ASSERT_TRUE(card.Burst(true));
  EXPECT_EQ(Events(), (std::vector<std::string>{kTuneS, "TONE OFF", "CMD F2", kTuneS, "TONE OFF",
                                                "BURST B", kTuneS}));
  EXPECT_GE(Gap(2, 3), std::chrono::milliseconds(15));
  EXPECT_GE(Gap(4, 5), std::chrono::milliseconds(15));
  // Not a satellite device: no bus at all.
  Start(card, {SYS_DVBT}, Family::Terrestrial);
  EXPECT_FALSE(card.MasterCommand(kPort0, 4));
  EXPECT_TRUE(Events().empty());
}

// Guards against a DVB-T2 multiplex never found with the dialog's defaults (DVB-T
// tried forever), and against a search that goes on after a lock.
TEST_F(CardOnAFakeFrontend, AmbiguousTerrestrialChoicesSearchDvbTThenDvbT2) {
  Card card(root_ + "/dev", root_ + "/sys");
  Start(card, {SYS_DVBT, SYS_DVBT2}, Family::Terrestrial);
  TuneArgs r;
  r.freqKHz = 474000, r.symbolRate = 27500000, r.modulation = 18;  // 64QAM
  ASSERT_TRUE(card.Tune(r));
  SignalFigures f;
  ASSERT_TRUE(card.Signal(f));  // too early to give up on DVB-T
  std::this_thread::sleep_for(std::chrono::milliseconds(1600));
  ASSERT_TRUE(card.Signal(f));
  g_fe.locked = true;
  ASSERT_TRUE(card.Signal(f));
  EXPECT_TRUE(f.lock);
  g_fe.locked = false;  // a fade after the lock: the system found stays
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(card.Signal(f));
  const std::string t = "TUNE " + std::to_string(SYS_DVBT);
  const std::string t2 = "TUNE " + std::to_string(SYS_DVBT2);
  EXPECT_EQ(Events(), (std::vector<std::string>{t, t2}));
  // Asked for T2 (pilot ON), it is tuned at once, with no search.
  g_fe.events.clear();
  r.pilot = 2;
  ASSERT_TRUE(card.Tune(r));
  EXPECT_EQ(Events(), std::vector<std::string>{t2});
}

}  // namespace
}  // namespace ldvb
