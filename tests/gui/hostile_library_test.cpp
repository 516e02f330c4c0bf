// The program in the real window on a virtual card that misbehaves on
// purpose: devices reported from a thread of its own long after the
// enumeration call returned, and names no card has (64 KiB, control
// characters, bytes that are not UTF-8). It runs in a process of its own
// (the library reads its configuration once), which CMake starts with
// QV_GUI_FRESH_LIBRARY set.
#include <glib.h>
#include <gtest/gtest.h>
#include <wx/choice.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/quorvex_demo_dlg.h"
#include "gui_support.h"
#include "hosts/wx/wx_text.h"
#include "res/resource_ids.h"

namespace {

// GTK says "Native Windows wider or taller than 65535 pixels are not
// supported" and the like as warnings, not as wxWidgets assertions.
std::atomic<int> g_gtkComplaints{0};
std::string g_firstComplaint;

GLogWriterOutput CountComplaints(GLogLevelFlags level, const GLogField* fields, gsize n,
                                 gpointer data) {
  if ((level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) != 0 && g_gtkComplaints++ == 0) {
    for (gsize i = 0; i < n; ++i) {
      if (std::string(fields[i].key) == "MESSAGE" && fields[i].length < 0) {
        g_firstComplaint = static_cast<const char*>(fields[i].value);
      }
    }
  }
  return g_log_writer_default(level, fields, n, data);
}

// Guards the window dying of late reports added to a control from the
// library's thread (heap corruption within seconds), a device whose name is
// not UTF-8 vanishing from the list, a name with control characters
// breaking its entry, and a 64 KiB name making GTK build a native window
// beyond its size limit.
TEST(HostileLibrary, LateReportsAndOddNamesLeaveTheWindowWhole) {
  if (std::getenv("QV_GUI_FRESH_LIBRARY") == nullptr) GTEST_SKIP() << "needs a process of its own";
  const std::string longName(65536, 'N');
  const std::string config = guitest::VirtualCardConfig();
  std::ofstream(config) << R"({"late": {"enumeration": 40, "interval_ms": 25}, "devices": [)"
                        << R"({"id": 1, "type": 2, "caps": "0x18FE", "name": ")" << longName
                        << R"("}, {"id": 2, "type": 7, "name": "Tuner\n\tTwo\u0001"},)"
                        << R"( {"id": 3, "type": 8, "name_hex": "54756E657220E9FF80"}]})";
  g_log_set_writer_func(CountComplaints, nullptr, nullptr);

  CQuorvexDemoDlg dlg;
  guitest::RunShown(dlg, [&](wxhost::WxDialogWindow& w) {
    // Long after the last late report (40 at 25 ms), the list is what the
    // enumeration call reported, whole.
    guitest::Pump(1500);
    ASSERT_EQ(w.GetCount(IDC_CB_DEVICE), 3);
    EXPECT_EQ(w.GetItemText(IDC_CB_DEVICE, 0), longName + " - DVB-S2");
    EXPECT_EQ(w.GetItemText(IDC_CB_DEVICE, 1), "Tuner\u240A\u2409Two\u2401 - DVB-T2");
    EXPECT_EQ(w.GetItemText(IDC_CB_DEVICE, 2), "Tuner \u00E9\u00FF\u20AC - DVB-C");
    auto* devices = dynamic_cast<wxChoice*>(w.Control(IDC_CB_DEVICE));
    ASSERT_NE(devices, nullptr);
    EXPECT_TRUE(guitest::PumpUntil([&] { return devices->GetCount() == 3u; }));
    EXPECT_EQ(wxhost::FromWx(devices->GetString(2)), "Tuner \u00E9\u00FF\u20AC - DVB-C");
    // The drop-down opens its list and closes it again without harm.
    devices->SetFocus();
    guitest::KeyAndWait(WXK_SPACE, wxMOD_NONE, [] { return false; });
    guitest::Pump(300);
    guitest::KeyAndWait(WXK_ESCAPE, wxMOD_NONE, [] { return false; });
    guitest::Pump(300);
    EXPECT_LT(w.GetSize().x, 4000) << "the dialog grew with the longest name";
    EXPECT_NE(guitest::Screenshot(w, "hostile_names"), "");
    w.Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return w.Ended(); }));
  });
  EXPECT_EQ(g_gtkComplaints.load(), 0) << g_firstComplaint;
  std::filesystem::remove(config);
}

}  // namespace
