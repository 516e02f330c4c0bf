// The dialog as the subsystems' logic sees it, kept in a record the test
// reads, on a user-interface thread busy elsewhere: posted work waits for
// Pump(). The library's entry table starts empty for the test to fill and
// is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/post_queue.h"
#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

class FakeUi : public UiPort {
 public:
  std::vector<std::string> lines;  // the message log, oldest first
  std::vector<std::string> boxes;  // "caption | text"
  std::map<int, bool> enabled;     // every control enabled unless set
  std::map<int, int> checks;
  std::map<int, std::string> texts;
  std::map<int, int> selected;
  std::deque<std::optional<std::string>> answers;  // file dialogs; none left: cancelled
  std::vector<fw::FileDialogRequest> asked;
  std::set<uintptr_t> timers;
  bool shown = true;

  void Log(const std::string& line) override { lines.push_back(line); }
  void LogLines(const std::string& text) override {
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
      lines.push_back(text.substr(at, end - at));
    }
  }
  void Box(const std::string& text, const std::string& caption, fw::BoxIcon) override {
    boxes.push_back(caption + " | " + text);
  }
  std::optional<std::string> AskFile(const fw::FileDialogRequest& request) override {
    asked.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Enable(int id, bool enable) override { enabled[id] = enable; }
  bool IsEnabled(int id) const override {
    const auto it = enabled.find(id);
    return it == enabled.end() || it->second;
  }
  void Check(int id, int state) override { checks[id] = state; }
  int Checked(int id) const override {
    const auto it = checks.find(id);
    return it == checks.end() ? 0 : it->second;
  }
  void SetText(int id, const std::string& text) override { texts[id] = text; }
  std::string Text(int id) const override {
    const auto it = texts.find(id);
    return it == texts.end() ? "" : it->second;
  }
  void Select(int id, int index) override { selected[id] = index; }
  bool SetTimer(uintptr_t id, unsigned) override { return timers.insert(id), true; }
  void KillTimer(uintptr_t id) override { timers.erase(id); }
  bool Shown() const override { return shown; }
  void Post(std::function<void()> work) override { posts_.Post(std::move(work)); }

  size_t Pending() const { return posts_.Pending(); }
  // Runs the posted work, work posted meanwhile included; how much ran.
  size_t Pump() { return posts_.Drain(); }

 private:
  fw::PostQueue posts_;
};

// A test whose library is the entry table it fills itself.
struct FakeLibrary : ::testing::Test {
  TunerApiRecord saved{};
  void SetUp() override {
    saved = TunerApi;
    TunerApi = TunerApiRecord{};
  }
  void TearDown() override { TunerApi = saved; }
};
