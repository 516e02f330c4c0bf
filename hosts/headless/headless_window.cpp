#include "hosts/headless/headless_window.h"

#include <algorithm>

namespace headless {

bool IsList(fw::ControlKind kind) {
  return kind == fw::ControlKind::ComboBox || kind == fw::ControlKind::ListBox;
}

bool IsButton(fw::ControlKind kind) {
  return kind == fw::ControlKind::PushButton || kind == fw::ControlKind::DefPushButton ||
         kind == fw::ControlKind::CheckBox || kind == fw::ControlKind::Radio;
}

const char* KindName(fw::ControlKind kind) {
  switch (kind) {
    case fw::ControlKind::GroupBox:
      return "group box";
    case fw::ControlKind::Static:
      return "label";
    case fw::ControlKind::Edit:
      return "edit";
    case fw::ControlKind::PushButton:
    case fw::ControlKind::DefPushButton:
      return "push button";
    case fw::ControlKind::CheckBox:
      return "check box";
    case fw::ControlKind::Radio:
      return "radio button";
    case fw::ControlKind::ComboBox:
      return "drop-down list";
    case fw::ControlKind::ListBox:
      return "list box";
    case fw::ControlKind::Icon:
      return "icon";
  }
  return "control";
}

HeadlessWindow::HeadlessWindow(fw::Dialog& dialog, WindowHook& hook)
    : dialog_(dialog), hook_(hook) {
  const fw::DialogTemplate& t = dialog.Template();
  hasSystemMenu_ = (t.style & fw::kDlgSysMenu) != 0;
  for (const fw::ControlTemplate& c : t.controls) {
    // Frames and labels without an id can never be addressed; a repeated id
    // reaches the first control, as looking a control up by id does.
    if (c.id == fw::kIdStatic || Find(c.id) != nullptr) continue;
    ControlState s;
    s.id = c.id;
    s.kind = c.kind;
    s.style = c.style;
    s.enabled = (c.style & fw::kDisabled) == 0;
    s.text = c.text;
    controls_.push_back(std::move(s));
  }
}

HeadlessWindow::ControlState* HeadlessWindow::Find(int id) {
  if (id == fw::kIdStatic) return nullptr;
  for (ControlState& c : controls_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const HeadlessWindow::ControlState* HeadlessWindow::Find(int id) const {
  return const_cast<HeadlessWindow*>(this)->Find(id);
}

HeadlessWindow::ControlState* HeadlessWindow::FindList(int id) {
  ControlState* c = Find(id);
  return c != nullptr && IsList(c->kind) ? c : nullptr;
}

const HeadlessWindow::ControlState* HeadlessWindow::FindList(int id) const {
  return const_cast<HeadlessWindow*>(this)->FindList(id);
}

bool HeadlessWindow::HasControl(int id) const { return Find(id) != nullptr; }

const ControlState* HeadlessWindow::Reading(int id) const {
  const ControlState* c = Find(id);
  if (c != nullptr) hook_.Read(*c);
  return c;
}

void HeadlessWindow::EnableControl(int id, bool enable) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->enabled = enable;
  hook_.Written(*c);
}

bool HeadlessWindow::IsControlEnabled(int id) const {
  const ControlState* c = Find(id);
  return c != nullptr && c->enabled;
}

void HeadlessWindow::SetText(int id, const std::string& text) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->text = text;
  hook_.Written(*c);
}

std::string HeadlessWindow::GetText(int id) const {
  const ControlState* c = Reading(id);
  if (c == nullptr) return {};
  if (IsList(c->kind)) return std::string(c->list.Text(c->list.Selection()));
  return c->text;
}

void HeadlessWindow::SetCheck(int id, int state) {
  ControlState* c = Find(id);
  if (c != nullptr && (c->kind == fw::ControlKind::CheckBox || c->kind == fw::ControlKind::Radio)) {
    c->check = state;
    hook_.Written(*c);
  }
}

int HeadlessWindow::GetCheck(int id) const {
  const ControlState* c = Reading(id);
  return c != nullptr ? c->check : 0;
}

int HeadlessWindow::AddString(int id, const std::string& text) {
  ControlState* c = FindList(id);
  if (c == nullptr) return -1;
  const int index = c->list.Add(text);
  if (index >= 0) hook_.Appended(*c, std::span(&text, 1));
  return index;
}

void HeadlessWindow::AddStrings(int id, std::vector<std::string> texts) {
  ControlState* c = FindList(id);
  if (c == nullptr) return;
  for (const std::string& text : texts) c->list.Add(text);
  hook_.Appended(*c, texts);
}

int HeadlessWindow::GetCount(int id) const {
  const ControlState* c = FindList(id);
  return c != nullptr ? c->list.Count() : -1;
}

int HeadlessWindow::GetCurSel(int id) const {
  const ControlState* c = FindList(id);
  if (c == nullptr) return -1;
  hook_.Read(*c);
  return c->list.Selection();
}

int HeadlessWindow::SetCurSel(int id, int index) {
  ControlState* c = FindList(id);
  if (c == nullptr) return -1;
  const int selected = c->list.Select(index);
  hook_.Written(*c);
  return selected;
}

int HeadlessWindow::SetItemData(int id, int index, uintptr_t data) {
  ControlState* c = FindList(id);
  return c != nullptr ? c->list.SetData(index, data) : -1;
}

uintptr_t HeadlessWindow::GetItemData(int id, int index) const {
  const ControlState* c = FindList(id);
  return c != nullptr ? c->list.Data(index) : 0;
}

std::string HeadlessWindow::GetItemText(int id, int index) const {
  const ControlState* c = FindList(id);
  return c != nullptr ? std::string(c->list.Text(index)) : std::string();
}

void HeadlessWindow::ResetContent(int id) {
  ControlState* c = FindList(id);
  if (c == nullptr) return;
  c->list.Clear();
  hook_.Cleared(*c);
}

int HeadlessWindow::SetTopIndex(int id, int index) {
  ControlState* c = FindList(id);
  return c != nullptr ? c->list.SetTop(index) : -1;
}

void HeadlessWindow::SetFocus(int) {}

bool HeadlessWindow::AppendSystemMenu(unsigned command, const std::string& text) {
  if (!hasSystemMenu_) return false;
  systemMenu_.emplace_back(command, text);
  return true;
}

std::optional<unsigned> HeadlessWindow::AboutCommand() const {
  return fw::AboutMenuCommand(systemMenu_);
}

void HeadlessWindow::SetIcon(fw::IconHandle, bool) {}

bool HeadlessWindow::IsIconic() const { return false; }

void HeadlessWindow::PaintIconic(fw::IconHandle) {}

int HeadlessWindow::MessageBox(const std::string& text, const std::string& caption,
                               fw::BoxIcon icon) {
  return hook_.MessageBox(text, caption, icon);
}

std::optional<std::string> HeadlessWindow::FileDialog(const fw::FileDialogRequest& request) {
  return hook_.FileDialog(request);
}

uintptr_t HeadlessWindow::SetTimer(uintptr_t id, unsigned milliseconds) {
  // The dialog sees to a period of at least fw::kMinTimerMs; a zero period
  // asked for directly would still never let a wait end.
  const std::chrono::milliseconds period{std::max(milliseconds, 1u)};
  const Clock::time_point due = Clock::now() + period;
  // Setting a running timer again restarts it with the new period.
  auto it =
      std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.id == id; });
  if (it != timers_.end()) {
    it->period = period;
    it->due = due;
    it->order = ++timerOrder_;
  } else {
    timers_.push_back(Timer{id, period, due, ++timerOrder_});
  }
  return id;
}

bool HeadlessWindow::KillTimer(uintptr_t id) {
  auto it =
      std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

std::optional<HeadlessWindow::Timer> HeadlessWindow::NextTimer() const {
  const Timer* next = nullptr;
  for (const Timer& t : timers_) {
    if (next == nullptr || t.due < next->due || (t.due == next->due && t.order < next->order)) {
      next = &t;
    }
  }
  if (next == nullptr) return std::nullopt;
  return *next;
}

void HeadlessWindow::Advance(uintptr_t timerId) {
  // Due times stay on the grid of the moment the timer was set, so a wait of
  // a given length always sees the same number of ticks, however slow the
  // handlers are.
  for (Timer& t : timers_) {
    if (t.id == timerId) t.due += t.period;
  }
}

void HeadlessWindow::EndDialog(int result) {
  ended_ = true;
  result_ = result;
}

int HeadlessWindow::RunModal(fw::Dialog& child) { return hook_.RunChild(child); }

}  // namespace headless
