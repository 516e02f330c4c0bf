// Channel files as dtv-scan-tables ships them and dvbv5-scan writes them,
// broken ones, and their mapping to the dialog's tuning fields.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

#include "channels/channel_entry.h"
#include "res/dialogs.h"
#include "res/resource_ids.h"
#include "sweep/sweep_plan.h"
#include "sweep/sweep_text.h"
#include "tuning/channel_tuning.h"

namespace {

using channels::ChannelEntry;
using channels::ChannelFile;
using channels::DeliverySystem;

const std::string kTables = "/usr/share/dvb/";

// The dialog's text for entry `index` of list `id`: the mapping must land on
// the entry a user would pick.
std::string ListText(int id, int32_t index) {
  for (const auto& c : res::MainDialogTemplate().controls) {
    if (c.id == id && index >= 0 && static_cast<size_t>(index) < c.entries.size()) {
      return c.entries[index];
    }
  }
  return "?";
}

ChannelEntry OnlyEntry(const std::string& text) {
  const ChannelFile f = channels::ReadChannelText("t.conf", text);
  EXPECT_TRUE(f.errors.empty()) << f.errors.front().Text();
  EXPECT_EQ(f.entries.size(), 1u);
  return f.entries.empty() ? ChannelEntry{} : f.entries.front();
}

TEST(ChannelFile, ReadsThePackagesTables) {
  struct Case {
    const char* file;
    size_t entries;
    int line;
    DeliverySystem system;
    uint32_t frequency, symbolRate;
  } cases[] = {
      {"dvb-s/Astra-19.2E", 1, 3, DeliverySystem::DvbS2, 11362000, 22000000},
      {"dvb-t/uk-CrystalPalace", 9, 9, DeliverySystem::DvbT, 490000000, 0},
      {"dvb-c/de-Kabel_BW", 1, 16, DeliverySystem::DvbCAnnexA, 114000000, 6900000},
      // Repeats INVERSION, GUARD_INTERVAL and TRANSMISSION_MODE with the same values.
      {"isdb-t/br-ac-RioBranco", 15, 5, DeliverySystem::IsdbT, 473142857, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const ChannelFile f = channels::ReadChannelFile(kTables + c.file);
    ASSERT_TRUE(f.errors.empty()) << f.errors.front().Text();
    ASSERT_EQ(f.entries.size(), c.entries);
    const ChannelEntry& e = f.entries.front();
    EXPECT_EQ(e.section.line, c.line);
    EXPECT_EQ(e.system, c.system);
    EXPECT_EQ(e.frequency, c.frequency);
    EXPECT_EQ(e.symbolRate.value_or(0), c.symbolRate);
  }
  const ChannelEntry astra = channels::ReadChannelFile(kTables + "dvb-s/Astra-19.2E").entries[0];
  EXPECT_EQ(astra.polarization, channels::Polarization::Horizontal);
  EXPECT_EQ(astra.innerFec->Text(), "2/3");
  EXPECT_EQ(astra.modulation, channels::Modulation::Psk8);
}

// Every table of the package reads without a complaint of the reader: the
// format as the package uses it, all of it.
TEST(ChannelFile, EveryTableOfThePackageReads) {
  size_t files = 0, entries = 0;
  for (const char* dir : {"dvb-s", "dvb-t", "dvb-c", "atsc", "isdb-t"}) {
    for (const auto& f : std::filesystem::directory_iterator(kTables + dir)) {
      const ChannelFile read = channels::ReadChannelFile(f.path().string());
      for (const auto& e : read.errors) ADD_FAILURE() << e.Text();
      ++files, entries += read.entries.size();
    }
  }
  EXPECT_GT(files, 1000u);
  EXPECT_GT(entries, 20000u);
}

// dvbv5-scan's form: one entry per service, with keys the sweep does not use.
TEST(ChannelFile, ReadsTheFormDvbv5ScanWrites) {
  const ChannelFile f = channels::ReadChannelFile(QV_SWEEP_DATA "/dvbv5-services.conf");
  ASSERT_TRUE(f.errors.empty()) << f.errors.front().Text();
  ASSERT_EQ(f.entries.size(), 5u);
  const ChannelEntry& one = f.entries[0];
  EXPECT_EQ(one.section.name, "Virtual One HD");
  EXPECT_EQ(one.serviceId, 1101u);
  EXPECT_EQ(one.streamId, channels::kNoStreamId);
  EXPECT_EQ(one.pilot, channels::Switch::On);
  EXPECT_EQ(one.rollOff, channels::RollOff::R20);
  ASSERT_NE(one.section.Find("AUDIO_PID"), nullptr);
  EXPECT_EQ(one.section.Find("AUDIO_PID")->value, "258 259");

  // The two services of 10722 H are one transponder.
  const SweepPlan plan = PlanSweep({f}, 2, LnbValues{});
  ASSERT_EQ(plan.items.size(), 4u);
  EXPECT_EQ(plan.items[0].entries, 2);
  EXPECT_EQ(plan.items[2].tuning.streamId, 2);
  EXPECT_FALSE(plan.items[0].tuning.streamId);
}

TEST(ChannelFile, EveryErrorNamesFileLineAndKey) {
  const std::string head = "[X]\n\tDELIVERY_SYSTEM = DVBT\n";
  struct Case {
    std::string text, error;
  } cases[] = {
      {"FREQUENCY = 1\n", "b.conf:1: FREQUENCY: a key outside any [section]"},
      {"[X\n\tFREQUENCY = 1\n", "b.conf:1: [X: a section name without its closing ']'"},
      {"[X] tail\n", "b.conf:1: [X] tail: text after the section name"},
      {head + "\tFREQUENCY\n", "b.conf:3: FREQUENCY: not a KEY = VALUE line"},
      {head + "\t= 5\n", "b.conf:3: = 5: not a KEY = VALUE line"},
      {head + "\tFREQUENCY = 47\x01\n",
       "b.conf:3: FREQUENCY = 47?: a control character in the line"},
      {head + "\tFREQUENCY = abc\n",
       "b.conf:3: FREQUENCY: abc is not a frequency of the channel-file format"},
      {head + "\tFREQUENCY = 4294967296\n",
       "b.conf:3: FREQUENCY: 4294967296 is not a frequency of the channel-file format"},
      {head + "\tFREQUENCY = 474000000\n\tMODULATION = QAM/999\n",
       "b.conf:4: MODULATION: QAM/999 is not a modulation of the channel-file format"},
      {head + "\tFREQUENCY = 474000000\n\tINNER_FEC = 5/11\n",
       "b.conf:4: INNER_FEC: 5/11 is not a code rate of the channel-file format"},
      {head + "\tFREQUENCY = 474000000\n\tINVERSION =\n",
       "b.conf:4: INVERSION: no value is not an inversion of the channel-file format"},
      {head + "\tFREQUENCY = 474000000\n\tFREQUENCY = 482000000\n",
       "b.conf:4: FREQUENCY: 482000000 here, 474000000 on line 3"},
      {"[X]\n\tFREQUENCY = 474000000\n", "b.conf:1: DELIVERY_SYSTEM: missing"},
      {"[X]\n\tDELIVERY_SYSTEM = DVBX\n",
       "b.conf:2: DELIVERY_SYSTEM: DVBX is not a delivery system of the channel-file format"},
      {head, "b.conf:1: FREQUENCY: missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    // A good entry after the broken one still counts.
    const ChannelFile f = channels::ReadChannelText(
        "b.conf", c.text + "\n[Y]\nDELIVERY_SYSTEM = DVBT\nFREQUENCY = 1\n");
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_EQ(f.errors[0].Text(), c.error);
    ASSERT_EQ(f.entries.size(), 1u);
    EXPECT_EQ(f.entries[0].section.name, "Y");
  }
}

TEST(ChannelFile, TakesWhatLibdvbv5Takes) {
  // Windows line ends, a comment after a value, keys and values in any case,
  // blanks around the '=', and keys the sweep does not know.
  const ChannelEntry e = OnlyEntry(
      "# comment\r\n[A]  # name comment\r\n  delivery_system=dvbs2\r\n\tFrequency = 10722000 # "
      "H\r\n"
      "\tpolarization = left\r\n\tSYMBOL_RATE =27500000\r\n\tVCHANNEL = 1.1\r\n");
  EXPECT_EQ(e.system, DeliverySystem::DvbS2);
  EXPECT_EQ(e.frequency, 10722000u);
  EXPECT_EQ(e.polarization, channels::Polarization::Left);
  EXPECT_EQ(e.symbolRate, 27500000u);
}

TEST(ChannelTuning, MapsToTheDialogsFieldsAndLists) {
  struct Case {
    std::string keys;
    uint32_t mhz, khz, ksps, symbolRate;
    const char *pol, *fec, *modulation, *rollOff, *pilot;
    int stream;  // -1: none
  } cases[] = {
      {"DVBS2\nFREQUENCY = 11362000\nPOLARIZATION = HORIZONTAL\nSYMBOL_RATE = 22000000\n"
       "INNER_FEC = 2/3\nMODULATION = PSK/8\nROLLOFF = 35\nPILOT = ON\n",
       11362, 11362000, 22000, 22000000, "H/L", "2/3", "8PSK", "0.35", "ON", -1},
      // The list has a QPSK of its own for DVB-S2.
      {"DVBS2\nFREQUENCY = 11836500\nPOLARIZATION = RIGHT\nSYMBOL_RATE = 29700000\n"
       "INNER_FEC = 1/4\nMODULATION = QPSK\nROLLOFF = 20\nPILOT = OFF\nSTREAM_ID = 5\n",
       11837, 11836500, 29700, 29700000, "V/R", "1/4", "QPSK-S2", "0.20", "OFF", 5},
      {"DVBS\nFREQUENCY = 10744000\nPOLARIZATION = LEFT\nSYMBOL_RATE = 22000000\n"
       "INNER_FEC = 9/10\nMODULATION = QPSK\nSTREAM_ID = 4294967295\n",
       10744, 10744000, 22000, 22000000, "H/L", "9/10", "QPSK", "AUTO", "AUTO", -1},
      {"TURBO\nFREQUENCY = 12224000\nPOLARIZATION = VERTICAL\nSYMBOL_RATE = 21500000\n"
       "MODULATION = PSK/8\nINNER_FEC = 3/5\n",
       12224, 12224000, 21500, 21500000, "V/R", "3/5", "Turbo 8PSK", "AUTO", "AUTO", -1},
      // Terrestrial: Hz, and the bandwidth in kHz where the symbol rate goes.
      {"DVBT2\nFREQUENCY = 641500000\nBANDWIDTH_HZ = 7000000\nCODE_RATE_HP = 3/5\n"
       "INNER_FEC = 1/2\nMODULATION = QAM/256\nSTREAM_ID = 1\n",
       642, 641500, 7000, 7000000, "H/L", "3/5", "256QAM", "AUTO", "AUTO", 1},
      {"DVBT\nFREQUENCY = 189028615\nMODULATION = QAM/AUTO\nCODE_RATE_HP = AUTO\n", 189, 189029, 0,
       0, "H/L", "AUTO", "AUTO", "AUTO", "AUTO", -1},
      // Cable: no inner code is the list's AUTO.
      {"DVBC/ANNEX_A\nFREQUENCY = 114000000\nSYMBOL_RATE = 6875000\nINNER_FEC = NONE\n"
       "MODULATION = QAM/64\n",
       114, 114000, 6875, 6875000, "H/L", "AUTO", "64QAM", "AUTO", "AUTO", -1},
      {"ATSC\nFREQUENCY = 57028615\nMODULATION = VSB/8\n", 57, 57029, 0, 0, "H/L", "AUTO", "AUTO",
       "AUTO", "AUTO", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    const auto mapped = ChannelTuningFor(OnlyEntry("[X]\nDELIVERY_SYSTEM = " + c.keys), {});
    ASSERT_TRUE(std::holds_alternative<ChannelTuning>(mapped))
        << std::get<channels::ChannelError>(mapped).Text();
    const ChannelTuning& t = std::get<ChannelTuning>(mapped);
    EXPECT_EQ(t.fields.freq, c.mhz);
    EXPECT_EQ(t.freqKHz, c.khz);
    EXPECT_EQ(t.fields.symRate, c.ksps);
    EXPECT_EQ(t.symbolRate, c.symbolRate);
    EXPECT_EQ(ListText(IDC_LIST_POL, t.fields.pol), c.pol);
    EXPECT_EQ(ListText(IDC_LIST_FEC, t.fields.fec), c.fec);
    EXPECT_EQ(ListText(IDC_LIST_MODULATION, t.fields.modulation), c.modulation);
    EXPECT_EQ(ListText(IDC_LIST_ROLLOFF, t.fields.rollOff), c.rollOff);
    EXPECT_EQ(ListText(IDC_LIST_PILOT, t.fields.pilot), c.pilot);
    EXPECT_EQ(t.streamId ? *t.streamId : -1, c.stream);
    EXPECT_EQ(t.fields.lofLow, 9750u);
    EXPECT_EQ(t.fields.lofSwitch, 11700u);
    // The library gets the exact figures, not the dialog's rounded ones.
    EXPECT_EQ(ChannelTuneArgs(t).freqKHz, c.khz);
    EXPECT_EQ(ChannelTuneArgs(t).symbolRate, c.symbolRate);
  }
}

TEST(ChannelTuning, WhatTheDialogCannotCarryNamesLineAndKey) {
  const std::string sat = "[X]\nDELIVERY_SYSTEM = DVBS2\nFREQUENCY = 11362000\n";
  const std::string pol = "POLARIZATION = VERTICAL\n", rate = "SYMBOL_RATE = 22000000\n";
  struct Case {
    std::string text, error;
  } cases[] = {
      {"[X]\nDELIVERY_SYSTEM = DVBS\nFREQUENCY = 12207\n" + pol + rate,
       "t.conf:3: FREQUENCY: 12207 kHz is outside every satellite band (1 to 40 GHz; satellite "
       "frequencies are given in kHz)"},
      {"[X]\nDELIVERY_SYSTEM = DVBT\nFREQUENCY = 474000\n",
       "t.conf:3: FREQUENCY: 474000 Hz is outside every terrestrial and cable band (30 MHz to "
       "3 GHz; these frequencies are given in Hz)"},
      {sat + rate, "t.conf:1: POLARIZATION: missing"},
      {sat + "POLARIZATION = OFF\n" + rate,
       "t.conf:4: POLARIZATION: OFF: the dialog's list has H/L and V/R only"},
      {sat + pol, "t.conf:1: SYMBOL_RATE: missing"},
      {sat + pol + "SYMBOL_RATE = 27500\n",
       "t.conf:5: SYMBOL_RATE: 27500 is below any carrier's symbol rate (the format gives "
       "symbols per second)"},
      {sat + pol + rate + "INNER_FEC = 5/9\n",
       "t.conf:6: INNER_FEC: 5/9: the dialog's FEC list has no such rate"},
      {sat + pol + rate + "MODULATION = APSK/64\n",
       "t.conf:6: MODULATION: APSK/64: the dialog's modulation list has no such entry"},
      {sat + pol + rate + "ROLLOFF = 15\n",
       "t.conf:6: ROLLOFF: 15: the dialog's list has 0.20, 0.25 and 0.35 only"},
      {sat + pol + rate + "STREAM_ID = 16416\n",
       "t.conf:6: STREAM_ID: 16416 holds more than an 8-bit stream id (a PLS code above bit "
       "7); the dialog selects 8-bit ids only"},
      {"[X]\nDELIVERY_SYSTEM = DAB\nFREQUENCY = 225648000\n",
       "t.conf:2: DELIVERY_SYSTEM: DAB: the dialog has no tuning fields for it"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto mapped = ChannelTuningFor(OnlyEntry(c.text), {});
    ASSERT_TRUE(std::holds_alternative<channels::ChannelError>(mapped));
    EXPECT_EQ(std::get<channels::ChannelError>(mapped).Text(), c.error);
  }
}

TEST(ChannelTuning, TheTunerTypeDecidesWhatIsSwept) {
  const ChannelFile f = channels::ReadChannelText(
      "m.conf",
      "[S]\nDELIVERY_SYSTEM = DVBS\nFREQUENCY = 11362000\nPOLARIZATION = VERTICAL\n"
      "SYMBOL_RATE = 22000000\n[S2]\nDELIVERY_SYSTEM = DVBS2\nFREQUENCY = 11400000\n"
      "POLARIZATION = VERTICAL\nSYMBOL_RATE = 22000000\n[T]\nDELIVERY_SYSTEM = DVBT\n"
      "FREQUENCY = 474000000\n[C]\nDELIVERY_SYSTEM = DVBC/ANNEX_B\nFREQUENCY = 57000000\n");
  struct Case {
    std::optional<uint32_t> type;
    size_t swept;
    const char* skipped;
  } cases[] = {
      {1, 1,
       "Skipped: 3 entries (DVBS2: a DVB-S tuner does not receive it: 1; DVBT: a DVB-S "
       "tuner does not receive it: 1; DVBC/ANNEX_B: a DVB-S tuner does not receive it: 1)"},
      {2, 2,
       "Skipped: 2 entries (DVBT: a DVB-S2 tuner does not receive it: 1; DVBC/ANNEX_B: a "
       "DVB-S2 tuner does not receive it: 1)"},
      {7, 1, nullptr},
      {10, 1, nullptr},  // ATSC tuners take North American cable
      {0, 4, ""},        // "Unknown": nothing can be ruled out
      {std::nullopt, 4, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type.value_or(99));
    const SweepPlan plan = PlanSweep({f}, c.type, LnbValues{});
    EXPECT_EQ(plan.items.size(), c.swept);
    EXPECT_TRUE(plan.errors.empty());
    if (c.skipped) {
      EXPECT_EQ(SkippedSummary(plan), c.skipped);
    }
  }
}

}  // namespace
