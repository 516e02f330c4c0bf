#include "framework/notification.h"

namespace fw {

std::optional<Message> ControlNotification(const ControlTemplate& control, ControlEvent event) {
  const auto notify = [&](Notify code) { return CommandMessage(control.id, code); };
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::CheckBox:
    case ControlKind::Radio:
      if (event == ControlEvent::Pressed) return notify(Notify::Clicked);
      break;
    case ControlKind::ComboBox:
      if (event == ControlEvent::SelectionChanged) return notify(Notify::SelChange);
      break;
    case ControlKind::ListBox:
      // A list box without the style keeps its clicks to itself.
      if ((control.style & kNotify) == 0) break;
      if (event == ControlEvent::SelectionChanged) return notify(Notify::SelChange);
      if (event == ControlEvent::DoubleClicked) return notify(Notify::DoubleClicked);
      break;
    case ControlKind::GroupBox:
    case ControlKind::Static:
    case ControlKind::Edit:
    case ControlKind::Icon:
      break;
  }
  return std::nullopt;
}

Message KeyCommand(DialogKey key) {
  return CommandMessage(key == DialogKey::Enter ? kIdOk : kIdCancel, Notify::Clicked);
}

}  // namespace fw
