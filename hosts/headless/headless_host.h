// The headless host: runs the program's dialogs without a window system. A
// script plays the user (clicks, typing, answers to file dialogs, waiting),
// and a transcript records what the user would have seen.
#pragma once

#include <deque>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/host.h"
#include "framework/post_queue.h"
#include "hosts/headless/headless_window.h"
#include "hosts/headless/script.h"
#include "hosts/headless/transcript.h"

namespace headless {

// A script that is wrong; thrown only when the host is told not to exit.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HeadlessHost : public fw::Host {
 public:
  struct Options {
    // The executable ends the process with status 2 on a script error, so
    // that no library thread or static destructor runs on; tests want an
    // exception instead.
    bool exitOnScriptError = true;
  };
  // Writes the program's signal history as CSV for `save-signal`: the number
  // of rows, or nothing when the file could not be written.
  using SignalSaver = std::function<std::optional<size_t>(const std::string& path)>;
  void SetSignalSaver(SignalSaver saver) { saveSignal_ = std::move(saver); }

  HeadlessHost(std::istream& script, std::ostream& transcript, Options options);
  HeadlessHost(std::istream& script, std::ostream& transcript)
      : HeadlessHost(script, transcript, Options{}) {}
  ~HeadlessHost() override;
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // fw::Host. A dialog run while the main dialog is open is shown as a child
  // of it.
  int RunModal(fw::Dialog& dialog) override;
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) override;
  void Post(std::function<void()> work) override;

  // Used by the windows.
  Transcript& Out() { return out_; }
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& request);
  int RunChild(fw::Dialog& child);

 private:
  // Reads and parses the whole script, so that a wrong line anywhere ends the
  // run before the program has done anything.
  void ParseScript();
  void RunScript(HeadlessWindow& window);
  void Perform(const Action& action, HeadlessWindow& window);
  // Serves timers and posted work, in due order, for a span of real time.
  void Serve(HeadlessWindow& window, std::chrono::milliseconds span);
  // The control an action names, checked to be of a kind the action works on.
  HeadlessWindow::ControlState& Control(HeadlessWindow& window, int id, const char* action,
                                        bool (*fits)(fw::ControlKind), const char* wanted);
  // Reports a disabled control; true when the action must be skipped.
  bool Ignored(const Action& action, const HeadlessWindow::ControlState& control);
  [[noreturn]] void Fail(const std::string& message);

  struct Step {
    int lineNumber;
    Action action;
  };

  std::istream& script_;
  Transcript out_;
  Options options_;
  SignalSaver saveSignal_;                  // unset: the program keeps no signal history
  std::optional<std::vector<Step>> steps_;  // once the script has been parsed
  size_t nextStep_ = 0;
  int lineNumber_ = 0;  // of the line being parsed or performed
  HeadlessWindow* main_ = nullptr;
  std::deque<std::optional<std::string>> fileAnswers_;
  // The user-interface thread waits on the queue itself; no wake-up needed.
  fw::PostQueue posts_;
};

}  // namespace headless
