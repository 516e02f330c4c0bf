#include "gui_support.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "hosts/wx/wx_text.h"
#include "tests/support/received_text.h"

namespace guitest {

void NameVirtualCardFiles() {
  const auto base = std::filesystem::temp_directory_path() / ("qv_gui_" + std::to_string(getpid()));
  const std::pair<const char*, const char*> files[] = {{"QUORVEX_SIM_CONFIG", "_config"},
                                                       {"QUORVEX_SIM_TRACE", "_trace"}};
  for (const auto& [variable, suffix] : files) {
    const std::string path = base.string() + suffix;
    std::filesystem::remove(path);
    setenv(variable, path.c_str(), 1);
  }
}

std::string VirtualCardConfig() { return std::getenv("QUORVEX_SIM_CONFIG"); }

std::string VirtualCardTrace() { return std::getenv("QUORVEX_SIM_TRACE"); }

wxhost::WxHost& Host() {
  static wxhost::WxHost* host = new wxhost::WxHost;  // outlives queued work
  return *host;
}

bool RecordingDialog::OnInitDialog() {
  fw::Dialog::OnInitDialog();
  if (onInit) onInit(*this);
  return true;
}

bool RecordingDialog::OnMessage(const fw::Message& m, uintptr_t&) {
  if (std::string text = testsupport::ReceivedText(m); !text.empty()) {
    received.push_back(std::move(text));
  }
  if (onMessage) onMessage(*this, m);
  return false;
}

int RunShown(fw::Dialog& dialog, const std::function<void(wxhost::WxDialogWindow&)>& steps,
             int timeoutMs) {
  wxhost::WxHost& host = Host();
  bool ran = false;
  host.GetOptions().onMainShown = [&](wxhost::WxDialogWindow& window) {
    ran = true;
    steps(window);
    if (!window.Ended()) window.EndDialog(fw::kIdCancel);
  };
  // The watchdog ends whatever is still open, innermost first.
  wxTimer watchdog;
  watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    ADD_FAILURE() << "the dialog was still open after " << timeoutMs << " ms";
    const auto open = host.OpenWindows();
    for (auto it = open.rbegin(); it != open.rend(); ++it) (*it)->EndDialog(fw::kIdCancel);
  });
  watchdog.StartOnce(timeoutMs);
  const int result = host.RunModal(dialog);
  watchdog.Stop();
  host.GetOptions().onMainShown = nullptr;
  (void)ran;
  return result;
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
      loop->YieldFor(wxEVT_CATEGORY_ALL);
    }
    wxMilliSleep(5);
  }
  return true;
}

void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

bool ClickAndWait(wxWindow* control, const std::function<bool()>& done, bool doubleClick) {
  if (control == nullptr) return false;
  wxUIActionSimulator sim;
  const wxRect r = control->GetScreenRect();
  sim.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
  Pump(50);
  if (doubleClick) {
    sim.MouseDblClick();
  } else {
    sim.MouseClick();
  }
  return PumpUntil(done);
}

bool KeyAndWait(int key, int modifiers, const std::function<bool()>& done) {
  wxUIActionSimulator sim;
  sim.Char(key, modifiers);
  return PumpUntil(done);
}

namespace {

// Reads a part of the screen back from the X server itself (what a person
// would see there) and saves it as NAME.png under the screenshot folder.
std::string SaveScreen(const wxRect& r, const std::string& name) {
  const char* dir = std::getenv("QV_GUI_SHOT_DIR");
  const std::string folder = dir != nullptr ? dir : ".";
  wxFileName::Mkdir(wxhost::ToWx(folder), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  const std::string path = folder + "/" + name + ".png";
  GdkPixbuf* shot =
      gdk_pixbuf_get_from_window(gdk_get_default_root_window(), r.x, r.y, r.width, r.height);
  if (shot == nullptr) return "";
  const bool saved = gdk_pixbuf_save(shot, path.c_str(), "png", nullptr, nullptr) != 0;
  g_object_unref(shot);
  return saved ? path : "";
}

}  // namespace

std::string Screenshot(wxTopLevelWindow& window, const std::string& name) {
  // The frame the window manager draws sits around the client area.
  wxRect r = window.GetScreenRect();
  r.Union(wxRect(window.ClientToScreen(wxPoint(0, 0)), window.GetClientSize()));
  return SaveScreen(r, name);
}

std::string ShotOfBoth(wxTopLevelWindow& a, wxTopLevelWindow& b, const std::string& name) {
  return SaveScreen(a.GetScreenRect().Union(b.GetScreenRect()), name);
}

ModalHook::~ModalHook() { CheckUnmetExpectations(); }

void ModalHook::ReportFailure(const wxString& message) { ADD_FAILURE() << wxhost::FromWx(message); }

}  // namespace guitest
