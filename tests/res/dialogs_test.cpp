#include "res/dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource_ids.h"

namespace {

using fw::ControlKind;
using fw::ControlTemplate;
using fw::DluRect;

// A drop-down list's rectangle includes its open list; on the dialog it
// occupies only the closed field, which for an 8 point font is under 14 DLU.
constexpr int kClosedComboHeight = 14;

DluRect PlacedRect(const ControlTemplate& c) {
  DluRect r = c.rect;
  if (c.kind == ControlKind::ComboBox) r.cy = std::min(r.cy, kClosedComboHeight);
  return r;
}

bool Inside(const DluRect& inner, const DluRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
         inner.y + inner.cy <= outer.y + outer.cy;
}

// Edges may touch (adjacent frames share a border line), areas may not.
bool Overlap(const DluRect& a, const DluRect& b) {
  return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

// How a test names a control: its id, or its text when it has none.
std::string Key(const ControlTemplate& c) {
  return c.id == fw::kIdStatic ? c.text : std::to_string(c.id);
}

const fw::DialogTemplate& Main() { return res::MainDialogTemplate(); }

// Guards against duplicate ids and a default button stealing Enter.
TEST(MainDialog, HasAllControlsWithUniqueIds) {
  const auto& controls = Main().controls;
  EXPECT_EQ(controls.size(), 68u);
  std::set<int> ids;
  int withoutId = 0;
  for (const auto& c : controls) {
    if (c.id == fw::kIdStatic) {
      ++withoutId;
      continue;
    }
    EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id " << c.id;
    EXPECT_EQ(Main().Find(c.id), &c);
  }
  // Six frames plus the "RC-Type:" and "bytes" labels.
  EXPECT_EQ(withoutId, 8);
  // Enter and Escape must reach the dialog's default OK/Cancel handling, not a button.
  EXPECT_EQ(Main().Find(fw::kIdOk), nullptr);
  EXPECT_EQ(Main().Find(fw::kIdCancel), nullptr);
  for (const auto& c : controls) EXPECT_NE(c.kind, ControlKind::DefPushButton) << Key(c);
}

// Guards against controls outside the dialog, straddling frames or overlapping.
TEST(MainDialog, LayoutFitsAndNothingOverlaps) {
  const DluRect dialog{0, 0, Main().rect.cx, Main().rect.cy};
  std::vector<const ControlTemplate*> frames;
  for (const auto& c : Main().controls) {
    EXPECT_TRUE(Inside(PlacedRect(c), dialog)) << Key(c);
    if (c.kind == ControlKind::GroupBox) frames.push_back(&c);
  }
  ASSERT_EQ(frames.size(), 7u);

  // Which frame each control sits in, by position; "" is outside every frame.
  std::map<const ControlTemplate*, std::string> frameOf;
  for (const auto& c : Main().controls) {
    if (c.kind == ControlKind::GroupBox) continue;
    int owners = 0;
    for (const auto* f : frames) {
      if (Inside(PlacedRect(c), f->rect)) {
        frameOf[&c] = f->text;
        ++owners;
      } else {
        EXPECT_FALSE(Overlap(PlacedRect(c), f->rect)) << Key(c) << " straddles " << f->text;
      }
    }
    EXPECT_LE(owners, 1) << Key(c);
  }
  // Spot checks that the frames hold what their titles promise.
  EXPECT_EQ(frameOf[Main().Find(IDC_EDIT_FREQ)], "Tuner settings");
  EXPECT_EQ(frameOf[Main().Find(IDC_EDIT_LOF_LOW)], "LNB settings");
  EXPECT_EQ(frameOf[Main().Find(IDC_RADIO_BURST_A)], "DiSEqC");
  EXPECT_EQ(frameOf[Main().Find(IDC_EDIT_PID)], "Filter");
  EXPECT_EQ(frameOf[Main().Find(IDC_LIST_EEPROM_SIZE)], "EEPROM access");
  EXPECT_EQ(frameOf[Main().Find(IDC_LIST_LOG)], "");

  // Frames do not overlap each other, nor do controls sharing a frame.
  const auto& all = Main().controls;
  for (size_t i = 0; i < all.size(); ++i) {
    for (size_t j = i + 1; j < all.size(); ++j) {
      const auto& a = all[i];
      const auto& b = all[j];
      bool bothFrames = a.kind == ControlKind::GroupBox && b.kind == ControlKind::GroupBox;
      bool siblings = a.kind != ControlKind::GroupBox && b.kind != ControlKind::GroupBox &&
                      frameOf[&a] == frameOf[&b];
      if (bothFrames || siblings) {
        EXPECT_FALSE(Overlap(PlacedRect(a), PlacedRect(b))) << Key(a) << " and " << Key(b);
      }
    }
  }
}

// Guards against lost tab stops, misplaced digit flags and broken groups.
TEST(MainDialog, KeyboardAndInputBehaviour) {
  for (const auto& c : Main().controls) {
    bool passive = c.kind == ControlKind::GroupBox || c.kind == ControlKind::Static ||
                   c.id == IDC_CHK_PRESENT || c.id == IDC_CHK_LOCK;
    EXPECT_EQ((c.style & fw::kTabStop) != 0, !passive) << Key(c);
    bool digitsOnly = c.id == IDC_EDIT_FREQ || c.id == IDC_EDIT_SYMRATE || c.id == IDC_EDIT_PID;
    EXPECT_EQ((c.style & fw::kNumber) != 0, digitsOnly) << Key(c);
  }
  // The burst position is one radio group of exactly A and B.
  const std::vector<int> burst{IDC_RADIO_BURST_A, IDC_RADIO_BURST_B};
  EXPECT_TRUE(Main().Find(IDC_RADIO_BURST_A)->style & fw::kGroup);
  EXPECT_EQ(Main().RadioGroup(IDC_RADIO_BURST_A), burst);
  EXPECT_EQ(Main().RadioGroup(IDC_RADIO_BURST_B), burst);

  // The message list toggles entries per click and reports double-clicks.
  const auto* log = Main().Find(IDC_LIST_LOG);
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->kind, ControlKind::ListBox);
  const uint32_t logStyle = fw::kNotify | fw::kMultiSel | fw::kVScroll | fw::kNoIntegralHeight;
  EXPECT_EQ(log->style & logStyle, logStyle);
  const auto* device = Main().Find(IDC_CB_DEVICE);
  EXPECT_TRUE(device->style & fw::kVScroll);
  EXPECT_TRUE(device->style & fw::kDisableNoScroll);
  EXPECT_TRUE(Main().Find(IDC_LIST_MIS)->style & fw::kVScroll);
}

// Guards against index-bound lists opening empty and wrong RC address entries.
TEST(MainDialog, InitialListEntries) {
  auto entries = [](int id) { return Main().Find(id)->entries; };
  EXPECT_EQ(entries(IDC_LIST_FEC).size(), 15u);
  EXPECT_EQ(entries(IDC_LIST_MODULATION).size(), 21u);
  EXPECT_EQ(entries(IDC_LIST_RC_TYPE), (std::vector<std::string>{"RAW", "RC5", "RC6"}));
  EXPECT_EQ(entries(IDC_LIST_MIS), std::vector<std::string>{"OFF"});

  const auto dev = entries(IDC_LIST_RC_DEV);
  ASSERT_EQ(dev.size(), 33u);
  EXPECT_EQ(dev[0], "ALL");
  for (int n = 0; n < 32; ++n) {
    // Entry index n + 1 names device address n in two upper-case hex digits.
    EXPECT_EQ(std::stoi(dev[n + 1], nullptr, 16), n);
    EXPECT_EQ(dev[n + 1].size(), 2u);
  }
  EXPECT_EQ(dev[32], "1F");

  // Lists bound by index show entry 0 when the dialog opens, so they need one;
  // the others are filled at run time and must start empty.
  for (int id : {1006, 1007, 1010, 1036, 1046, 1049, 1057, 1060, 1061}) {
    EXPECT_FALSE(entries(id).empty()) << id;
  }
  for (int id : {1038, 1040, 1047, 1067}) EXPECT_TRUE(entries(id).empty()) << id;
  for (const auto& c : Main().controls) {
    if (c.kind != ControlKind::ComboBox) {
      EXPECT_TRUE(c.entries.empty()) << Key(c);
    }
  }
}

// Guards against a box without its icon or its default OK button.
TEST(AboutDialog, LayoutAndButton) {
  const auto& about = res::AboutDialogTemplate();
  EXPECT_EQ(about.id, IDD_ABOUTBOX);
  const DluRect box{0, 0, about.rect.cx, about.rect.cy};
  int icons = 0;
  for (const auto& c : about.controls) {
    EXPECT_TRUE(Inside(c.rect, box)) << Key(c);
    if (c.kind == ControlKind::Icon) {
      ++icons;
      EXPECT_EQ(c.iconId, IDR_MAINFRAME);
    }
  }
  EXPECT_EQ(icons, 1);
  const auto* ok = about.Find(fw::kIdOk);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->kind, ControlKind::DefPushButton);
  // Cyrillic capitals O and K, not the Latin "OK".
  EXPECT_EQ(ok->text, "\u041E\u041A");
}

// Guards against a resource id that opens the wrong dialog.
TEST(DialogLookup, FindsByResourceId) {
  EXPECT_EQ(res::FindDialogTemplate(IDD_QUORVEXDEMO_DIALOG), &res::MainDialogTemplate());
  EXPECT_EQ(res::FindDialogTemplate(IDD_ABOUTBOX), &res::AboutDialogTemplate());
  EXPECT_EQ(res::FindDialogTemplate(101), nullptr);
  EXPECT_EQ(res::MainDialogTemplate().id, IDD_QUORVEXDEMO_DIALOG);
}

}  // namespace
