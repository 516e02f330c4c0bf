// The main dialog as its subsystems' logic sees it: the log, boxes, file
// dialogs, controls by id, timers and posting, through the dialog's window.
#pragma once

#include "tuner/ui_port.h"

class CQuorvexDemoDlg;

class DialogPort final : public UiPort {
 public:
  explicit DialogPort(CQuorvexDemoDlg& dialog) : dialog_(dialog) {}

  void Log(const std::string& line) override;
  void LogLines(const std::string& lines) override;
  void Box(const std::string& text, const std::string& caption, fw::BoxIcon icon) override;
  std::optional<std::string> AskFile(const fw::FileDialogRequest& request) override;
  void Enable(int id, bool enable) override;
  bool IsEnabled(int id) const override;
  void Check(int id, int state) override;
  int Checked(int id) const override;
  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  void Select(int id, int index) override;
  bool SetTimer(uintptr_t id, unsigned milliseconds) override;
  void KillTimer(uintptr_t id) override;
  fw::ChartWindow* OpenChart(fw::ChartWindowModel& model) override;
  fw::SweepWindow* OpenSweep(fw::SweepWindowModel& model) override;
  bool Shown() const override;
  void Post(std::function<void()> work) override;

 private:
  CQuorvexDemoDlg& dialog_;
};
