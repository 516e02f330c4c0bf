#include "hosts/headless/headless_host.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include "framework/dialog_life.h"
#include "framework/file_name.h"
#include "framework/notification.h"

namespace headless {

namespace {

const char* IconName(fw::BoxIcon icon) {
  switch (icon) {
    case fw::BoxIcon::Stop:
      return "stop";
    case fw::BoxIcon::Warning:
      return "warning";
    case fw::BoxIcon::Information:
      return "information";
    case fw::BoxIcon::None:
      return "none";
  }
  return "none";
}

std::string WithArticle(const char* noun) {
  const std::string_view vowels = "aeiou";
  return (vowels.find(noun[0]) != std::string_view::npos ? "an " : "a ") + std::string(noun);
}

bool IsComboKind(fw::ControlKind kind) { return kind == fw::ControlKind::ComboBox; }
bool IsListBoxKind(fw::ControlKind kind) { return kind == fw::ControlKind::ListBox; }
bool IsEditKind(fw::ControlKind kind) { return kind == fw::ControlKind::Edit; }
bool AnyKind(fw::ControlKind) { return true; }

// Tells the dialog of a control's event as every host does.
void Notify(fw::Dialog& dialog, int id, fw::ControlEvent event) {
  const fw::ControlTemplate* control = dialog.Template().Find(id);
  if (control == nullptr) return;
  if (const std::optional<fw::Message> m = fw::ControlNotification(*control, event)) {
    dialog.Dispatch(*m);
  }
}

}  // namespace

HeadlessHost::HeadlessHost(std::istream& script, std::ostream& transcript, Options options)
    : script_(script), out_(transcript), options_(options) {}

HeadlessHost::~HeadlessHost() { posts_.Close(); }

int HeadlessHost::RunModal(fw::Dialog& dialog) {
  if (main_ != nullptr) return RunChild(dialog);
  if (!steps_ && options_.checkWholeScriptFirst) ParseScript();

  HeadlessWindow window(dialog, *this);
  posts_.Open();
  main_ = &window;
  // Runs on every way out, a script error in tests included, so no stale
  // work survives the dialog.
  struct Closing {
    HeadlessHost& host;
    ~Closing() {
      host.main_ = nullptr;
      host.posts_.Close();
    }
  } closing{*this};
  const int result = fw::RunDialog(dialog, window, [&] { RunScript(window); });
  out_.Line(result == fw::kIdOk ? "ended: ok" : "ended: cancel");
  return result;
}

int HeadlessHost::RunChild(fw::Dialog& child) {
  HeadlessWindow window(child, *this);
  // Shown and closed again at once, as a user who has read it would.
  return fw::RunDialog(child, window, [&] {
    out_.Line("dialog: " + child.Template().caption);
    window.EndDialog(fw::kIdOk);
  });
}

int HeadlessHost::MessageBox(const std::string& text, const std::string& caption,
                             fw::BoxIcon icon) {
  out_.Line("box: " + caption + " | " + text + " | " + IconName(icon));
  return fw::kIdOk;
}

std::optional<std::string> HeadlessHost::FileDialog(const fw::FileDialogRequest& request) {
  std::optional<std::string> answer;
  if (!fileAnswers_.empty()) {
    answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
  }
  if (answer) answer = fw::WithDefaultExtension(*answer, request.defaultExt);
  out_.Line(std::string("filedialog: ") + (request.save ? "save" : "open") + " name=" +
            request.defaultName + " ext=" + request.defaultExt + " filter=" + request.filter +
            (request.initialDir.empty() ? "" : " dir=" + request.initialDir) + " -> " +
            (answer ? *answer : "cancel"));
  return answer;
}

void HeadlessHost::Appended(const ControlState& list, std::span<const std::string> texts) {
  if (list.kind == fw::ControlKind::ListBox) out_.Lines("log: ", texts);
}

void HeadlessHost::Cleared(const ControlState& list) {
  if (list.kind == fw::ControlKind::ListBox) out_.Line("log-cleared");
}

void HeadlessHost::Post(std::function<void()> work) {
  // Work posted after the main dialog ended has nobody left to run it.
  posts_.Post(std::move(work));
}

void HeadlessHost::Serve(HeadlessWindow& window, std::chrono::milliseconds span) {
  const Clock::time_point end = Clock::now() + span;
  while (!window.Ended()) {
    // Posted work goes before any timer tick, as in a window system's queue,
    // where a timer message is only made when nothing else is waiting. This
    // keeps the order the same however late a slow handler makes the loop.
    if (posts_.RunOne(end)) continue;
    const std::optional<HeadlessWindow::Timer> timer = window.NextTimer();
    const bool timerDue = timer && timer->due <= end;
    const Clock::time_point now = Clock::now();
    if (timerDue && timer->due <= now) {
      window.Advance(timer->id);
      window.Owner().Dispatch(fw::TimerMessage(timer->id));
      continue;
    }
    if (now >= end) break;
    posts_.WaitUntil(timerDue ? timer->due : end);
  }
}

void HeadlessHost::ParseScript() {
  steps_.emplace();
  while (std::optional<Step> step = ReadStep()) steps_->push_back(std::move(*step));
}

std::optional<HeadlessHost::Step> HeadlessHost::ReadStep() {
  for (;;) {
    ++lineNumber_;
    const std::string at = "line " + std::to_string(lineNumber_) + ": ";
    std::optional<std::string> raw;
    try {
      raw = ReadScriptLine(script_);
    } catch (const SyntaxError& e) {
      Fail(at + e.what());
    }
    if (!raw) return std::nullopt;
    std::string_view line = Trim(*raw);
    // An editor may start a UTF-8 file with a byte order mark.
    if (lineNumber_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line = Trim(line.substr(3));
    if (IsSkipped(line)) continue;
    try {
      return Step{lineNumber_, ParseAction(line)};
    } catch (const SyntaxError& e) {
      Fail(at + e.what());
    }
  }
}

std::optional<HeadlessHost::Step> HeadlessHost::NextStep() {
  if (!steps_) return ReadStep();
  if (nextStep_ == steps_->size()) return std::nullopt;
  return (*steps_)[nextStep_++];
}

void HeadlessHost::RunScript(HeadlessWindow& window) {
  while (!window.Ended()) {
    const std::optional<Step> step = NextStep();
    if (!step) {
      // Out of script: the user closes the window.
      window.Owner().Dispatch(fw::MessageOf(fw::MessageKind::Close));
      if (!window.Ended()) Fail("end of script: the dialog did not close when asked to");
      return;
    }
    lineNumber_ = step->lineNumber;
    Perform(step->action, window);
  }
}

HeadlessWindow::ControlState& HeadlessHost::Control(HeadlessWindow& window, int id,
                                                    const char* action,
                                                    bool (*fits)(fw::ControlKind),
                                                    const char* wanted) {
  HeadlessWindow::ControlState* c = window.Find(id);
  const std::string at = "line " + std::to_string(lineNumber_) + ": ";
  if (c == nullptr) Fail(at + "no control with id " + std::to_string(id));
  if (!fits(c->kind)) {
    Fail(at + action + " needs " + wanted + ", but control " + std::to_string(id) + " is " +
         WithArticle(KindName(c->kind)));
  }
  return *c;
}

bool HeadlessHost::Ignored(const Action& action, const HeadlessWindow::ControlState& control) {
  if (control.enabled) return false;
  out_.Line("ignored: " + action.line + " (control " + std::to_string(control.id) +
            " is disabled)");
  return true;
}

void HeadlessHost::Perform(const Action& a, HeadlessWindow& window) {
  fw::Dialog& dialog = window.Owner();
  const std::string at = "line " + std::to_string(lineNumber_) + ": ";
  auto checkIndex = [&](const HeadlessWindow::ControlState& c, int64_t low) {
    const int64_t count = c.list.Count();
    if (a.number < low || a.number >= count) {
      Fail(at + "index " + std::to_string(a.number) + " is out of range for control " +
           std::to_string(c.id) + ", which has " + std::to_string(count) + " entries");
    }
  };

  switch (a.verb) {
    case Verb::Click: {
      HeadlessWindow::ControlState& c = Control(window, a.id, "click", IsButton, "a button");
      if (Ignored(a, c)) return;
      if (c.kind == fw::ControlKind::CheckBox) {
        c.check = c.check == 1 ? 0 : 1;
      } else if (c.kind == fw::ControlKind::Radio) {
        for (int other : dialog.Template().RadioGroup(a.id)) {
          if (HeadlessWindow::ControlState* r = window.Find(other)) r->check = 0;
        }
        c.check = 1;
      }
      Notify(dialog, a.id, fw::ControlEvent::Pressed);
      return;
    }
    case Verb::Select: {
      HeadlessWindow::ControlState& c =
          Control(window, a.id, "select", IsComboKind, "a drop-down list");
      if (Ignored(a, c)) return;
      checkIndex(c, -1);
      c.list.Select(static_cast<int>(a.number));
      Notify(dialog, a.id, fw::ControlEvent::SelectionChanged);
      return;
    }
    case Verb::Type: {
      HeadlessWindow::ControlState& c = Control(window, a.id, "type", IsEditKind, "an edit");
      if (Ignored(a, c)) return;
      // As given, in a number field too, as a paste puts it into a real
      // window: the program's own validation decides what it makes of it.
      c.text = a.text;
      return;
    }
    case Verb::DoubleClick: {
      HeadlessWindow::ControlState& c =
          Control(window, a.id, "dblclick", IsListBoxKind, "a list box");
      if (Ignored(a, c)) return;
      Notify(dialog, a.id, fw::ControlEvent::DoubleClicked);
      return;
    }
    case Verb::AnswerFile:
      fileAnswers_.emplace_back(a.text);
      return;
    case Verb::AnswerCancel:
      fileAnswers_.emplace_back(std::nullopt);
      return;
    case Verb::Wait:
      Serve(window, std::chrono::milliseconds(a.number));
      return;
    case Verb::Timer:
      dialog.Dispatch(fw::TimerMessage(a.timerId));
      return;
    case Verb::SysMenuAbout: {
      const std::optional<unsigned> command = window.AboutCommand();
      if (!command) Fail(at + "the window's system menu has no About entry");
      dialog.Dispatch(fw::SysCommandMessage(*command));
      return;
    }
    case Verb::KeyEnter:
      dialog.Dispatch(fw::KeyCommand(fw::DialogKey::Enter));
      return;
    case Verb::KeyEscape:
      dialog.Dispatch(fw::KeyCommand(fw::DialogKey::Escape));
      return;
    case Verb::Close:
      dialog.Dispatch(fw::MessageOf(fw::MessageKind::Close));
      return;
    case Verb::Show: {
      const HeadlessWindow::ControlState& c = Control(window, a.id, "show", AnyKind, "");
      const bool list = IsList(c.kind);
      const bool button = c.kind == fw::ControlKind::CheckBox || c.kind == fw::ControlKind::Radio;
      out_.Line("control " + std::to_string(c.id) + ": enabled=" + (c.enabled ? "1" : "0") +
                " check=" + std::to_string(button ? c.check : 0) +
                " sel=" + std::to_string(list ? c.list.Selection() : -1) + " count=" +
                std::to_string(list ? c.list.Count() : 0) + " text=" + window.GetText(c.id));
      return;
    }
    case Verb::SaveSignal: {
      if (!saveSignal_) Fail(at + "this program keeps no signal history");
      const std::optional<size_t> rows = saveSignal_(a.text);
      out_.Line(rows ? "signal-csv: " + std::to_string(*rows) + " rows -> " + a.text
                     : "signal-csv: cannot write " + a.text);
      return;
    }
    case Verb::Sweep:
      if (!sweep_) Fail(at + "this program has no transponder sweep");
      sweep_(a.text, [this](const std::string& line) { out_.Line("sweep: " + line); });
      return;
    case Verb::ShowStream:
      if (!reportStream_) Fail(at + "this program captures no stream");
      out_.Line(reportStream_());
      return;
    case Verb::Item: {
      const HeadlessWindow::ControlState& c = Control(window, a.id, "item", IsList, "a list");
      checkIndex(c, 0);
      const int index = static_cast<int>(a.number);
      out_.Line("item " + std::to_string(c.id) + "[" + std::to_string(a.number) + "]: data=" +
                std::to_string(c.list.Data(index)) + " text=" + std::string(c.list.Text(index)));
      return;
    }
  }
}

void HeadlessHost::Fail(const std::string& message) {
  out_.Line("error: " + message);
  if (options_.exitOnScriptError) std::_Exit(2);
  throw ScriptError(message);
}

}  // namespace headless
