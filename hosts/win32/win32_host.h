// The native Win32 host: every dialog of the program is a real Windows dialog,
// built by the dialog manager from the program's templates, with real
// controls, the system menu, window timers, message boxes and the common file
// dialogs. Work posted from library threads reaches the user-interface thread
// through the thread's message queue.
#pragma once

#include <functional>
#include <string>

#include "framework/host.h"
#include "framework/post_queue.h"

namespace win32host {

class Win32Host : public fw::Host {
 public:
  // Must be built on the user-interface thread, before any library thread.
  Win32Host();
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  int RunModal(fw::Dialog& dialog) override;
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) override;
  void Post(std::function<void()> work) override;

  // Runs the queued work; the message window calls this on the UI thread.
  void RunPosted();
  // Runs a dialog with an owner window (nullptr: none).
  int RunModalOwned(fw::Dialog& dialog, void* owner);

 private:
  void* messageWindow_ = nullptr;  // HWND of a message-only window
  int openDialogs_ = 0;            // UI thread only
  // Wakes the user-interface thread with a message to the message window.
  fw::PostQueue posts_;
};

}  // namespace win32host
