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
#include "hosts/headless/window_hook.h"

namespace headless {

// A script that is wrong; thrown only when the host is told not to exit.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The host is the hook of its windows: it writes what they show to the
// transcript and answers their boxes and file dialogs from the script.
class HeadlessHost : public fw::Host, public WindowHook {
 public:
  struct Options {
    // The executable ends the process with status 2 on a script error, so
    // that no library thread or static destructor runs on; tests want an
    // exception instead.
    bool exitOnScriptError = true;
    // A script from a file is read and checked whole before the program
    // starts, so a wrong line anywhere ends the run before anything happened.
    // A script that arrives over time (a pipe, a terminal) may never end: its
    // lines are acted on as each arrives, and a wrong one ends the run there.
    bool checkWholeScriptFirst = true;
  };
  // Writes the program's signal history as CSV for `save-signal`: the number
  // of rows, or nothing when the file could not be written.
  using SignalSaver = std::function<std::optional<size_t>(const std::string& path)>;
  void SetSignalSaver(SignalSaver saver) { saveSignal_ = std::move(saver); }
  // The line `show-stream` prints: the health of the capture's stream so far.
  using StreamReporter = std::function<std::string()>;
  void SetStreamReporter(StreamReporter reporter) { reportStream_ = std::move(reporter); }

  // Sweeps the transponders of a channel file for `sweep`, handing each line
  // of its outcome to `line` as it comes.
  using Sweeper = std::function<void(const std::string& path,
                                     const std::function<void(const std::string&)>& line)>;
  void SetSweeper(Sweeper sweeper) { sweep_ = std::move(sweeper); }

  HeadlessHost(std::istream& script, std::ostream& transcript, Options options);
  HeadlessHost(std::istream& script, std::ostream& transcript)
      : HeadlessHost(script, transcript, Options{}) {}
  ~HeadlessHost() override;
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // fw::Host. A dialog run while the main dialog is open is shown as a child
  // of it.
  int RunModal(fw::Dialog& dialog) override;
  // Also the boxes of the windows (WindowHook): all are shown alike.
  int MessageBox(const std::string& text, const std::string& caption, fw::BoxIcon icon) override;
  void Post(std::function<void()> work) override;

 private:
  // WindowHook
  void Appended(const ControlState& list, std::span<const std::string> texts) override;
  void Cleared(const ControlState& list) override;
  std::optional<std::string> FileDialog(const fw::FileDialogRequest& request) override;
  int RunChild(fw::Dialog& child) override;

  struct Step {
    int64_t lineNumber;
    Action action;
  };

  // Reads and parses the whole script, so that a wrong line anywhere ends the
  // run before the program has done anything.
  void ParseScript();
  // The next action of the script, read now unless it was read first; none
  // at the end of the script.
  std::optional<Step> NextStep();
  // Reads the next line that carries an action and parses it.
  std::optional<Step> ReadStep();
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

  std::istream& script_;
  Transcript out_;
  Options options_;
  StreamReporter reportStream_;             // unset: the program captures nothing
  SignalSaver saveSignal_;                  // unset: the program keeps no signal history
  Sweeper sweep_;                           // unset: the program has no sweep
  std::optional<std::vector<Step>> steps_;  // once the script has been parsed
  size_t nextStep_ = 0;
  int64_t lineNumber_ = 0;  // of the line being parsed or performed
  HeadlessWindow* main_ = nullptr;
  std::deque<std::optional<std::string>> fileAnswers_;
  // The user-interface thread waits on the queue itself; no wake-up needed.
  fw::PostQueue posts_;
};

}  // namespace headless
