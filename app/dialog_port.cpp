#include "app/dialog_port.h"

#include <utility>

#include "app/quorvex_demo_dlg.h"

void DialogPort::Log(const std::string& line) { dialog_.AddLog(line); }
void DialogPort::LogLines(const std::string& lines) { dialog_.AddLogLines(lines); }

void DialogPort::Box(const std::string& text, const std::string& caption, fw::BoxIcon icon) {
  dialog_.MessageBox(text, caption, icon);
}

std::optional<std::string> DialogPort::AskFile(const fw::FileDialogRequest& request) {
  return dialog_.FileDialog(request);
}

void DialogPort::Enable(int id, bool enable) { dialog_.EnableItem(id, enable); }
bool DialogPort::IsEnabled(int id) const { return dialog_.IsItemEnabled(id); }
void DialogPort::Check(int id, int state) { dialog_.CheckDlgButton(id, state); }
int DialogPort::Checked(int id) const { return dialog_.IsDlgButtonChecked(id); }
void DialogPort::SetText(int id, const std::string& text) { dialog_.SetDlgItemText(id, text); }
std::string DialogPort::Text(int id) const { return dialog_.GetDlgItemText(id); }
void DialogPort::Select(int id, int index) { dialog_.Window().SetCurSel(id, index); }

bool DialogPort::SetTimer(uintptr_t id, unsigned milliseconds) {
  return dialog_.SetTimer(id, milliseconds) != 0;
}

void DialogPort::KillTimer(uintptr_t id) { dialog_.KillTimer(id); }
fw::ChartWindow* DialogPort::OpenChart(fw::ChartWindowModel& model) {
  return dialog_.HasWindow() ? dialog_.Window().OpenChartWindow(model) : nullptr;
}

fw::SweepWindow* DialogPort::OpenSweep(fw::SweepWindowModel& model) {
  return dialog_.HasWindow() ? dialog_.Window().OpenSweepWindow(model) : nullptr;
}

bool DialogPort::Shown() const { return dialog_.HasWindow(); }
void DialogPort::Post(std::function<void()> work) { fw::Dialog::PostToUi(std::move(work)); }
