// The dialog's port with no window behind it: nothing is shown, lines go to
// a function, file dialogs are cancelled and work is posted where the owner
// says. For the logic run outside a dialog (benchmarks, tools).
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "tuner/ui_port.h"

class NoWindowPort final : public UiPort {
 public:
  explicit NoWindowPort(std::function<void(std::function<void()>)> post,
                        std::function<void(const std::string&)> log = {})
      : post_(std::move(post)), log_(std::move(log)) {}

  void Log(const std::string& line) override {
    if (log_) log_(line);
  }
  void LogLines(const std::string& lines) override {
    for (size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1) {
      Log(lines.substr(at, end - at));
    }
  }
  void Box(const std::string&, const std::string&, fw::BoxIcon) override {}
  std::optional<std::string> AskFile(const fw::FileDialogRequest&) override { return {}; }
  void Enable(int, bool) override {}
  bool IsEnabled(int) const override { return false; }
  void Check(int, int) override {}
  int Checked(int) const override { return 0; }
  void SetText(int, const std::string&) override {}
  std::string Text(int) const override { return {}; }
  void Select(int, int) override {}
  bool SetTimer(uintptr_t, unsigned) override { return false; }
  void KillTimer(uintptr_t) override {}
  bool Shown() const override { return false; }
  void Post(std::function<void()> work) override { post_(std::move(work)); }

 private:
  std::function<void(std::function<void()>)> post_;
  std::function<void(const std::string&)> log_;
};
