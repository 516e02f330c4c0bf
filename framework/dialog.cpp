#include "framework/dialog.h"

#include <algorithm>
#include <stdexcept>

#include "framework/data_exchange.h"

namespace fw {

namespace {
std::string& TitleStorage() {
  static std::string title;
  return title;
}
}  // namespace

void SetAppTitle(const std::string& title) { TitleStorage() = title; }
const std::string& AppTitle() { return TitleStorage(); }

Dialog::Dialog(const DialogTemplate& dialogTemplate) : template_(&dialogTemplate) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() { return CurrentHost().RunModal(*this); }

DialogWindow& Dialog::Window() const {
  if (window_ == nullptr) throw std::logic_error("dialog has no window");
  return *window_;
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnMessage(const Message&, uintptr_t&) { return false; }

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange dx(*this, saveAndValidate);
  try {
    DoDataExchange(dx);
  } catch (const DataExchangeFailure&) {
    return false;
  }
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(kIdOk);
}

void Dialog::OnCancel() { EndDialog(kIdCancel); }

void Dialog::EndDialog(int result) { Window().EndDialog(result); }

void Dialog::PostToUi(std::function<void()> work) { CurrentHost().Post(std::move(work)); }

uintptr_t Dialog::Dispatch(const Message& message) {
  uintptr_t result = 0;
  if (OnMessage(message, result)) return result;
  return DefaultHandling(message);
}

uintptr_t Dialog::DefaultHandling(const Message& message) {
  switch (message.kind) {
    case MessageKind::Command:
      if (message.id == kIdOk && message.code == Notify::Clicked) OnOK();
      if (message.id == kIdCancel && message.code == Notify::Clicked) OnCancel();
      return 0;
    case MessageKind::Close:
      // A dialog's close box means Cancel.
      OnCancel();
      return 0;
    case MessageKind::SysCommand:
      if ((message.command & 0xFFF0u) == kScClose) return Dispatch(MessageOf(MessageKind::Close));
      return 0;
    case MessageKind::Timer:
    case MessageKind::Paint:
    case MessageKind::QueryDragIcon:
      return 0;
  }
  return 0;
}

void Dialog::EnableItem(int id, bool enable) { Window().EnableControl(id, enable); }
bool Dialog::IsItemEnabled(int id) const { return Window().IsControlEnabled(id); }
void Dialog::SetDlgItemText(int id, const std::string& text) { Window().SetText(id, text); }
std::string Dialog::GetDlgItemText(int id) const { return Window().GetText(id); }
void Dialog::CheckDlgButton(int id, int state) { Window().SetCheck(id, state); }
int Dialog::IsDlgButtonChecked(int id) const { return Window().GetCheck(id); }

int Dialog::MessageBox(const std::string& text, const std::string& caption, BoxIcon icon) {
  return Window().MessageBox(text, caption, icon);
}

std::optional<std::string> Dialog::FileDialog(const FileDialogRequest& request) {
  return Window().FileDialog(request);
}

uintptr_t Dialog::SetTimer(uintptr_t id, unsigned milliseconds) {
  return Window().SetTimer(id, std::max(milliseconds, kMinTimerMs));
}

bool Dialog::KillTimer(uintptr_t id) { return Window().KillTimer(id); }

}  // namespace fw
