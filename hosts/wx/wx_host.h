// The wxWidgets host: runs the program's dialogs as real windows. All calls
// but Post are made on the user-interface thread (the wxWidgets main thread).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/host.h"
#include "framework/post_queue.h"

class wxDialog;
class wxWindow;

namespace wxhost {

class WxDialogWindow;

class WxHost : public fw::Host {
 public:
  struct Options {
    // Called once the main dialog is on screen and has been painted (tests
    // and benchmarks start their work here).
    std::function<void(WxDialogWindow&)> onMainShown;
  };

  WxHost() : WxHost(Options{}) {}
  explicit WxHost(Options options);
  ~WxHost() override;
  WxHost(const WxHost&) = delete;
  WxHost& operator=(const WxHost&) = delete;

  // fw::Host. A dialog run while another is open is owned by the topmost one.
  int RunModal(fw::Dialog& dialog) override;
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) override;
  // Queues the work and wakes the event loop (wxEvtHandler::CallAfter queues
  // and returns at once). Work still queued when the main dialog ends is
  // dropped: the dialog it was meant for is gone.
  void Post(std::function<void()> work) override;

  // The open windows, the main dialog first; empty when none is open.
  const std::vector<WxDialogWindow*>& OpenWindows() const { return open_; }
  Options& GetOptions() { return options_; }

  // Shared by the windows.
  static int ShowMessageBox(wxWindow* owner, const std::string& text, const std::string& caption,
                            fw::BoxIcon icon);
  int RunWindow(fw::Dialog& dialog, wxWindow* owner);

 private:
  // Starts accepting work for a new main dialog, or stops (and forgets what is
  // queued) when it ends.
  void SetAccepting(bool accepting);

  Options options_;
  std::vector<WxDialogWindow*> open_;

  // The wake-ups queued on the application object may outlive the host; they
  // reach the queue only while it exists.
  std::shared_ptr<fw::PostQueue> posts_;
};

}  // namespace wxhost
