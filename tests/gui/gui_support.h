// What the GUI tests share: one wxWidgets application and host for the whole
// run, a dialog that records what reaches it, and ways to wait, click, type
// and take screenshots in the virtual X server.
#pragma once

#include <wx/testing.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "hosts/wx/wx_host.h"
#include "hosts/wx/wx_window.h"

namespace guitest {

// The host every test runs its dialogs on.
wxhost::WxHost& Host();

// Names the virtual card's configuration and trace files of this process in
// the environment; called once, before any thread starts.
void NameVirtualCardFiles();
// The configuration file the virtual card reads when it is loaded (a missing
// file gives the built-in devices).
std::string VirtualCardConfig();
// The file the virtual card writes each call it serves to.
std::string VirtualCardTrace();

// A dialog that records every message but paint, in order: "clicked 1012",
// "selchange 1047", "dblclick 1013", "timer 7", "syscommand 16", "close".
// Unhandled messages then get the framework's default handling (Close and
// Cancel end the dialog, OK reads the controls and ends it).
class RecordingDialog : public fw::Dialog {
 public:
  explicit RecordingDialog(const fw::DialogTemplate& t) : fw::Dialog(t) {}
  std::function<void(RecordingDialog&)> onInit;
  std::function<void(RecordingDialog&, const fw::Message&)> onMessage;
  std::vector<std::string> received;

 protected:
  bool OnInitDialog() override;
  bool OnMessage(const fw::Message& m, uintptr_t& result) override;
};

// Runs `dialog` as the main dialog; `steps` run once its window is on screen
// and painted. A dialog the steps leave open is then ended with Cancel; one
// still open after `timeoutMs` fails the test and is ended. Returns the result.
int RunShown(fw::Dialog& dialog, const std::function<void(wxhost::WxDialogWindow&)>& steps,
             int timeoutMs = 30000);

// Serves events until `done` holds or `ms` pass; whether it held.
bool PumpUntil(const std::function<bool()>& done, int ms = 5000);
// Serves events for a while.
void Pump(int ms);

// A real left click (through the X server) in the middle of a control, then
// events are served until `done` holds.
bool ClickAndWait(wxWindow* control, const std::function<bool()>& done, bool doubleClick = false);
// A key press sent to the focused window, then events are served until `done`.
bool KeyAndWait(int key, int modifiers, const std::function<bool()>& done);

// Saves what the screen shows of a window (with its frame) as a PNG under the
// screenshot folder; returns the path or "" on failure.
std::string Screenshot(wxTopLevelWindow& window, const std::string& name);
// The same of the screen under two windows, as a person sees them side by side.
std::string ShotOfBoth(wxTopLevelWindow& a, wxTopLevelWindow& b, const std::string& name);

// A modal hook whose failures fail the running test; it checks at the end of
// its scope that every expected box or file dialog was shown.
class ModalHook : public wxTestingModalHook {
 public:
  ModalHook() : wxTestingModalHook(__FILE__, __LINE__, "test") {}
  ~ModalHook() override;

 protected:
  void ReportFailure(const wxString& message) override;
};

}  // namespace guitest
